#include "MessageBoxes.h"

#include <QMessageBox>

#include "platform/Services.h"

namespace zandrel {

QString DisplayText(const std::string& text) {
    QString display = QString::fromStdString(text);
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return display;
}

void SetUpMessageBox(QMessageBox& box, const std::string& text, int style,
                     const std::string& title) {
    box.setWindowTitle(QString::fromStdString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(text));
    switch (style) {
    case kStyleCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case kStyleExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case kStyleInformation:
        box.setIcon(QMessageBox::Information);
        break;
    case kStyleQuestionYesNo:
        box.setIcon(QMessageBox::Question);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (style == kStyleQuestionYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
}

int AnswerCode(const QMessageBox& box, int style) {
    if (style != kStyleQuestionYesNo)
        return kAnswerOk;
    // Anything but Yes keeps things as they are.
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

} // namespace zandrel
