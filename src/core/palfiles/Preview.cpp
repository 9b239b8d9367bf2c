// The sample preview.
#include "app/MainForm.h"

namespace zandrel {
void MainForm::cmdAmostra_Click() {}
Failure MainForm::PatchPreviewImages() {
    return {};
}
} // namespace zandrel
