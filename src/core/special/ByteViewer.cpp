// The byte viewer of memory-dump palettes.
#include "app/MainForm.h"

namespace zandrel {
void MainForm::cmdExibir_Click() {}
} // namespace zandrel
