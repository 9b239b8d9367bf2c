// The special mode: sixteen colours at any location of any file.
#include "app/MainForm.h"

namespace zandrel {
void MainForm::cmdSpecial_Click() {}
void MainForm::lblLoc_Click() {}
void MainForm::SpecialAction(std::int32_t) {}
Failure MainForm::ReadPaletteAtLocation() {
    return {};
}
} // namespace zandrel
