// The palette files' events: export, import and the sample preview.
#include <filesystem>
#include <string>

#include "app/MainForm.h"
#include "palfiles/PaletteFiles.h"
#include "palfiles/Preview.h"
#include "platform/SameFile.h"
#include "util/Messages.h"

namespace zandrel {

Failure MainForm::ExportPaletteFile(const std::string& path, PaletteFormat format) {
    // Unlike the export's other failures, this one is said: the file would have been the ROM.
    if (Failure failure = RefuseWritingOverOpenFile(path, app_.RomPath); !failure.ok()) {
        ReportFailure(failure);
        return failure;
    }
    if (Failure failure = WritePaletteFile(path, format, SwatchColours(model_)); !failure.ok())
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

// The export ends quietly at the first failure: no message, no confirmation.
void MainForm::cmdExp_Click() {
    // The special state reads no list row: its palette always has sixteen colours.
    if (!app_.InSpecialState() && RefuseFewerThan16())
        return;
    const std::string path = ChooseFile(FileDialog::Save, text::kSaveTitle, text::kExportFilter);
    // Only the returned name counts, not the filter entry the user picked.
    switch (FormatForName(path, kWindowExportFormats)) {
    case PaletteFormat::Tpl:
        WriteTplPalette(path);
        break;
    case PaletteFormat::Jasc:
        WriteJascPalette(path);
        break;
    case PaletteFormat::GbaRaw:
        ExportPaletteFile(path, PaletteFormat::GbaRaw);
        break;
    case PaletteFormat::None:
    case PaletteFormat::Gimp: // the window's names never ask for these three
    case PaletteFormat::Act:
    case PaletteFormat::Png:
        break; // also a cancelled dialog
    }
}

void MainForm::cmdImp_Click() {
    if (RefuseFewerThan16())
        return;
    const std::string path = ChooseFile(FileDialog::Open, text::kOpenTitle, text::kImportFilter);
    if (path.empty())
        return;
    const auto step = history_.Begin(editor_);
    ImportPaletteFile(path);
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
