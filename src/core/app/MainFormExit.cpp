// Leaving the program and the About box.
#include "app/MainForm.h"
#include "app/Version.h"
#include "util/Messages.h"

namespace zandrel {

void MainForm::Command4_Click() {
    AgreeToClose();
}

bool MainForm::AgreeToClose() {
    if (!Form_QueryUnload())
        model_.closed = true;
    return model_.closed;
}

bool MainForm::Form_QueryUnload() {
    // An unsaved edit's question takes the place of the exit question.
    if (HasUnsavedEdits())
        return !MayLeavePalette();
    // Nothing identified yet: nothing to lose, so no question.
    if (app_.NothingIdentified())
        return false;
    return services_.MessageBox(text::kQuitQuestion, kStyleQuestionYesNo, text::kQuitTitle) ==
           kAnswerNo;
}

void MainForm::Command3_Click() {
    const std::string about = std::string(kProgramTitle) + "\r\n" + text::kAboutVersion +
                              BuildVersionText(services_.Version()) + "\r\n\r\n" +
                              text::kAboutCopyright;
    services_.MessageBox(about, kStylePlain);
}

} // namespace zandrel
