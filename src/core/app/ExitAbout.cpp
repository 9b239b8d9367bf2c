// Leaving the program and the About box.
#include "app/MainForm.h"

namespace zandrel {
void MainForm::Command4_Click() {}
bool MainForm::Form_QueryUnload() {
    return false;
}
void MainForm::Command3_Click() {}
} // namespace zandrel
