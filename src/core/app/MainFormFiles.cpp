// The palette files' events: export, import and the sample preview.
#include <filesystem>
#include <string>

#include "app/MainForm.h"
#include "palfiles/PaletteFiles.h"
#include "palfiles/Preview.h"
#include "platform/SameFile.h"
#include "util/Hex.h"
#include "util/Messages.h"

namespace zandrel {

Failure MainForm::ExportPaletteFile(const std::string& path, PaletteFormat format) {
    // Unlike the export's other failures, this one is said: the file would have been the ROM.
    if (Failure failure = RefuseWritingOverOpenFile(path, app_.RomPath); !failure.ok()) {
        ReportFailure(failure);
        return failure;
    }
    // A GIMP palette carries a name: the chosen row's, or the special state's location.
    const std::string name = app_.InSpecialState()
                                 ? "@" + HexText(app_.CurrentLocation)
                                 : std::string(model_.List1.Row(model_.List1.selected));
    if (Failure failure = WritePaletteFile(path, format, SwatchColours(model_), name);
        !failure.ok())
        return failure;
    // Only reached once the bytes are on the disk.
    services_.MessageBox(std::string(text::kPaletteSaved) + "\r\n\r\n" + path, kStyleInformation);
    return {};
}

Failure MainForm::WriteTplPalette(const std::string& path) {
    return ExportPaletteFile(path, PaletteFormat::Tpl);
}

Failure MainForm::WriteJascPalette(const std::string& path) {
    return ExportPaletteFile(path, PaletteFormat::Jasc);
}

PaletteFormat MainForm::ExportToChosenFile(FileDialog dialog, const char* title,
                                           std::span<const PaletteFormat> formats) {
    const std::string path = ChooseFile(dialog, title, PaletteDialogFilter(formats));
    // Only the returned name counts, not the filter entry the user picked.
    const PaletteFormat format = FormatForName(path, formats);
    switch (format) {
    case PaletteFormat::None:
        break; // also a cancelled dialog
    case PaletteFormat::Tpl:
        WriteTplPalette(path);
        break;
    case PaletteFormat::Jasc:
        WriteJascPalette(path);
        break;
    case PaletteFormat::GbaRaw:
    case PaletteFormat::Gimp:
    case PaletteFormat::Act:
        ExportPaletteFile(path, format);
        break;
    case PaletteFormat::Png: // read only: no writer offers it
        break;
    }
    return format;
}

// The export ends quietly at the first failure: no message, no confirmation.
void MainForm::cmdExp_Click() {
    // The special state reads no list row: its palette always has sixteen colours.
    if (!app_.InSpecialState() && RefuseFewerThan16())
        return;
    ExportToChosenFile(FileDialog::Save, text::kSaveTitle, kWindowExportFormats);
}

void MainForm::mnuExportAs_Click() {
    if (!app_.InSpecialState() && RefuseFewerThan16())
        return;
    // With five formats to choose from, a name that asks for none is said.
    if (ExportToChosenFile(FileDialog::SavePaletteFile, text::kExportAsTitle,
                           kEveryPaletteFormat) == PaletteFormat::None &&
        !model_.strFileHandler.empty())
        services_.MessageBox(text::kExportNeedsExtension, kStyleExclamation);
}

void MainForm::ImportChosenFile(FileDialog dialog, const char* title, const std::string& filter) {
    const std::string path = ChooseFile(dialog, title, filter);
    if (path.empty())
        return;
    const auto step = history_.Begin(editor_);
    ImportPaletteFile(path);
}

void MainForm::cmdImp_Click() {
    if (RefuseFewerThan16())
        return;
    ImportChosenFile(FileDialog::Open, text::kOpenTitle, PaletteDialogFilter(kWindowImportFormats));
}

void MainForm::mnuImportFile_Click() {
    if (RefuseFewerThan16())
        return;
    ImportChosenFile(FileDialog::OpenPaletteFile, text::kImportFileTitle,
                     std::string(text::kEveryPaletteEntry) + "|" +
                         PalettePatterns(kEveryReadableFormat) + "|" +
                         PaletteDialogFilter(kEveryReadableFormat) + "|" + text::kAllFilesEntry);
}

void MainForm::ImportPaletteFile(const std::string& path) {
    PaletteWords16 words{};
    if (const Failure failure = ReadPaletteFile(path, words); !failure.ok()) {
        // A file that is not there ends the import quietly, as it always has.
        if (failure.io.error != FileError::NotFound)
            services_.MessageBox(ErrorMessage(failure), kStyleExclamation);
        return;
    }
    editor_.ShowWords(words);
    editor_.ClearSelection();
}

Failure MainForm::PatchPreviewImages(std::string& folder) {
    if (Failure failure = SampleImageFolder(app_.ProgramFolder, app_.Folders, folder);
        !failure.ok())
        return failure;
    return PatchSampleImages(folder, SwatchColours(model_));
}

void MainForm::cmdAmostra_Click() {
    if (RefuseFewerThan16())
        return;
    std::string folder;
    if (Failure failure = PatchPreviewImages(folder); !failure.ok()) {
        ReportFailure(failure);
        return;
    }
    // A ROM found by its code's definition file is none of the five games: the first image.
    const std::int16_t game = app_.GameCodeFile.empty() ? app_.GameIndex : kFirstImageGame;
    services_.ShowPreviewWindow((std::filesystem::path(folder) / PreviewImageName(game)).string(),
                                model_.gbaScreen);
}

} // namespace zandrel
