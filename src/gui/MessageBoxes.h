// Message boxes by the program's style numbers.
#pragma once

#include <string>

#include "platform/Services.h"

class QMessageBox;
class QString;

namespace zandrel {

// Lines end with CR LF in the program's texts; the box wants plain line feeds.
QString DisplayText(const std::string& text);

// Icon, buttons and default button for a style: 0 plain, 16 critical, 48 exclamation and
// 64 information with "OK", 292 "&Sim" and "&Não" with a question icon and Não as the default.
// Non-empty `details` go under the box's details button.
void SetUpMessageBox(QMessageBox& box, const std::string& text, int style, const std::string& title,
                     const std::string& details = {});

// A question with the buttons "&Sim", "&Não" and "Cancelar" (texts of the program's own, so
// Alt+S and Alt+N press them whatever the desktop's language), Sim as the default and
// Cancelar for Esc and the close box.
void SetUpYesNoCancel(QMessageBox& box, const std::string& question);
// The answer of that box once closed.
Choice ChoiceOf(const QMessageBox& box);

// The answer code of a box that has been closed: 6 for Yes, 7 for No, 1 for OK.
int AnswerCode(const QMessageBox& box, int style);

} // namespace zandrel
