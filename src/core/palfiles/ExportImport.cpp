// Export and import of the swatch colours.
#include <string>

#include "app/MainForm.h"
#include "palfiles/PaletteFormats.h"
#include "platform/File.h"
#include "rom/PaletteIO.h"
#include "util/Messages.h"

namespace zandrel {

namespace {

// A palette file of its own: an older, longer file is emptied first, so none of its bytes
// stay behind the palette.
Failure WritePaletteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (const FileStatus status = WriteWholeFile(path, bytes); !status.ok())
        return Failure::CannotWrite(path, status);
    return {};
}

} // namespace

Failure MainForm::WriteTplPalette(const std::string& path) {
    if (Failure failure = WritePaletteFile(path, TplPaletteBytes(SwatchColours(model_)));
        !failure.ok())
        return failure;
    services_.MessageBox(std::string(text::kPaletteSaved) + "\r\n\r\n" + path, kStyleInformation);
    return {};
}

Failure MainForm::WriteJascPalette(const std::string& path) {
    if (Failure failure =
            WritePaletteFile(path, PaletteFileBytes(PaletteFormat::Jasc, SwatchColours(model_)));
        !failure.ok())
        return failure;
    services_.MessageBox(std::string(text::kPaletteSaved) + "\r\n\r\n" + path, kStyleInformation);
    return {};
}

Failure MainForm::ReadGbaPalette(const std::string& path) {
    // Read only: a missing file is a failure and nothing is created.
    std::vector<std::uint8_t> bytes;
    if (Failure failure = ReadFileBytes(path, 0, kGbaPaletteSize, bytes); !failure.ok())
        return failure;
    const PaletteWords16 words = GbaPaletteWords(bytes);
    for (std::size_t i = 0; i < words.size(); ++i) {
        model_.Opt[i].backColor = WordToColor(words[i]);
        model_.Opt[i].visible = true;
    }
    return {};
}

// Both commands end quietly at the first failure: no message, no confirmation.
void MainForm::cmdExp_Click() {
    if (model_.lblGame.caption != text::kSpecialState && SelectedColourCount() < kPaletteColours) {
        services_.MessageBox(text::kFewerThan16, kStyleExclamation);
        return;
    }
    model_.strDialogFilter = text::kExportFilter;
    model_.strDialogDefaultExt.clear();
    model_.strFileHandler = services_.ShowSaveDialog(text::kSaveTitle, model_.strDialogFilter,
                                                     model_.strDialogDefaultExt);
    const std::string path = model_.strFileHandler;
    // Only the returned name counts, not the filter entry the user picked.
    switch (ExportFormatForName(path)) {
    case PaletteFormat::Tpl:
        WriteTplPalette(path);
        break;
    case PaletteFormat::Jasc:
        WriteJascPalette(path);
        break;
    case PaletteFormat::GbaRaw:
        WritePaletteWords(path, "0", kPaletteColours, true);
        break;
    case PaletteFormat::None:
        break; // also a cancelled dialog
    }
}

void MainForm::cmdImp_Click() {
    if (SelectedColourCount() < kPaletteColours) {
        services_.MessageBox(text::kFewerThan16, kStyleExclamation);
        return;
    }
    model_.strDialogFilter = text::kImportFilter;
    model_.strDialogDefaultExt.clear();
    model_.strFileHandler = services_.ShowOpenDialog(text::kOpenTitle, model_.strDialogFilter,
                                                     model_.strDialogDefaultExt);
    if (model_.strFileHandler.empty())
        return;
    if (!ReadGbaPalette(model_.strFileHandler).ok())
        return;
    for (Swatch& swatch : model_.Opt)
        swatch.selected = false;
    model_.OptSelected = -1;
}

} // namespace zandrel
