#include "QtServices.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "ByteWindow.h"
#include "MessageBoxes.h"
#include "PreviewWindow.h"
#include "QtColour.h"
#include "SystemColours.h"

namespace zandrel {

void QtServices::BeforeModal() {
    if (beforeModal_)
        beforeModal_();
}

int QtServices::ShowMessage(const std::string& text, int style, const std::string& title,
                            const std::string& details) {
    BeforeModal();
    QMessageBox box(owner_);
    SetUpMessageBox(box, text, style, title, details);
    box.exec();
    return AnswerCode(box, style);
}

Choice QtServices::AskYesNoCancel(const std::string& question) {
    BeforeModal();
    QMessageBox box(owner_);
    SetUpYesNoCancel(box, question);
    box.exec();
    return ChoiceOf(box);
}

std::string QtServices::InputBox(const std::string& prompt) {
    BeforeModal();
    QInputDialog dialog(owner_);
    dialog.setWindowTitle(QString::fromUtf8(kProgramTitle));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(DisplayText(prompt));
    dialog.setTextValue(QString());
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancelar"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

std::string QtServices::FileDialog(FileDialogKind kind, const std::string& title,
                                   const std::string& filter, FilterMemory& memory) {
    BeforeModal();
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(owner_, kind, title, filter, memory);
    return RunFileDialog(*dialog, memory);
}

// The default extension is always empty and the dialog adds none.
std::string QtServices::ShowOpenDialog(const std::string& title, const std::string& filter,
                                       const std::string&) {
    return FileDialog(FileDialogKind::Open, title, filter, filters_);
}

std::string QtServices::ShowSaveDialog(const std::string& title, const std::string& filter,
                                       const std::string&) {
    return FileDialog(FileDialogKind::Save, title, filter, filters_);
}

std::string QtServices::ShowPaletteOpenDialog(const std::string& title, const std::string& filter) {
    return FileDialog(FileDialogKind::Open, title, filter, paletteOpenFilters_);
}

std::string QtServices::ShowPaletteSaveDialog(const std::string& title, const std::string& filter) {
    return FileDialog(FileDialogKind::Save, title, filter, paletteSaveFilters_);
}

bool QtServices::ChooseColor(RgbColor& color, const CustomColorTable& customColors) {
    BeforeModal();
    // The custom colours are shared by every colour dialog of the process; set them each time.
    for (std::size_t k = 0; k < customColors.size(); ++k)
        QColorDialog::setCustomColor(static_cast<int>(k), ToQColor(customColors[k]));
    QColorDialog dialog(ToQColor(color), owner_);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    color = FromQColor(dialog.selectedColor());
    return true;
}

CustomColorTable QtServices::SystemColors() {
    return SystemColoursFrom(QApplication::palette());
}

void QtServices::ShowPreviewWindow(const std::string& imagePath, bool gbaScreen) {
    BeforeModal();
    PreviewWindow window(QString::fromStdString(imagePath), gbaScreen, owner_);
    window.exec();
}

void QtServices::ShowByteWindow(const std::string& text) {
    BeforeModal();
    ByteWindow window(text, owner_);
    window.exec();
}

std::string QtServices::ClipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtServices::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

VersionNumbers QtServices::Version() {
    return {ZANDREL_VERSION_MAJOR, ZANDREL_VERSION_MINOR, ZANDREL_VERSION_PATCH};
}

} // namespace zandrel
