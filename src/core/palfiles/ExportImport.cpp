// Export and import of the swatch colours.
#include "app/MainForm.h"

namespace zandrel {
void MainForm::cmdExp_Click() {}
void MainForm::cmdImp_Click() {}
Failure MainForm::WriteTplPalette(const std::string&) {
    return {};
}
Failure MainForm::WriteJascPalette(const std::string&) {
    return {};
}
Failure MainForm::ReadGbaPalette(const std::string&) {
    return {};
}
} // namespace zandrel
