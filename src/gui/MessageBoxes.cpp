#include "MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

namespace zandrel {

QString DisplayText(const std::string& text) {
    QString display = QString::fromStdString(text);
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return display;
}

void SetUpMessageBox(QMessageBox& box, const std::string& text, int style, const std::string& title,
                     const std::string& details) {
    box.setWindowTitle(QString::fromStdString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(text));
    if (!details.empty())
        box.setDetailedText(DisplayText(details));
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
    // The buttons' texts are the program's own, the same whatever the desktop's language.
    if (style == kStyleQuestionYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Sim"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Não"));
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.setDefaultButton(QMessageBox::Ok);
    }
}

int AnswerCode(const QMessageBox& box, int style) {
    if (style != kStyleQuestionYesNo)
        return kAnswerOk;
    // Anything but Yes keeps things as they are.
    return box.standardButton(box.clickedButton()) == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

void SetUpYesNoCancel(QMessageBox& box, const std::string& question) {
    box.setWindowTitle(QString::fromUtf8(kProgramTitle));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(question));
    box.setIcon(QMessageBox::Question);
    QPushButton* yes = box.addButton(QStringLiteral("&Sim"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&Não"), QMessageBox::NoRole);
    box.setEscapeButton(box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole));
    box.setDefaultButton(yes);
}

Choice ChoiceOf(const QMessageBox& box) {
    QAbstractButton* clicked = box.clickedButton();
    switch (clicked != nullptr ? box.buttonRole(clicked) : QMessageBox::RejectRole) {
    case QMessageBox::YesRole:
        return Choice::Yes;
    case QMessageBox::NoRole:
        return Choice::No;
    default:
        return Choice::Cancel;
    }
}

} // namespace zandrel
