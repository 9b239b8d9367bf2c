// Choosing a palette, saving it in place and reloading the definitions.
#include "app/MainForm.h"

namespace zandrel {
void MainForm::List1_Click() {}
Failure MainForm::ReadSelectedPalette() {
    return {};
}
void MainForm::Command2_Click() {}
Failure MainForm::WritePaletteWords(const std::string&, const std::string&, int, bool) {
    return {};
}
void MainForm::cmdRecarrega_Click() {}
} // namespace zandrel
