// Sharing the edits: the open file as saved, against the original ROM, as a patch; and the
// palette on show found in a ROM, which is then opened with it chosen.
#include <algorithm>
#include <filesystem>

#include "app/MainForm.h"
#include "patch/PatchFiles.h"
#include "platform/FolderWrites.h"
#include "platform/NewFile.h"
#include "rom/Definitions.h"
#include "rom/Identify.h"
#include "scan/PaletteFind.h"
#include "scan/PaletteScanner.h"
#include "util/Messages.h"
#include "util/Text.h"

namespace zandrel {

namespace {

constexpr std::size_t kPlacesListed = 10;

// The places found, one a line, for a ROM that cannot be opened with them.
std::string PlacesText(const FindResult& result) {
    std::string text;
    for (std::size_t i = 0; i < result.matches.size() && i < kPlacesListed; ++i)
        text += "\r\n" + PaletteLocationText(result.matches[i].where) + " (" +
                MatchName(result.matches[i]) + ")";
    return text;
}

// A code a definition file may be named after: four letters or digits.
bool UsableCode(const std::string& code) {
    return code.size() == 4 && std::ranges::all_of(code, [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

} // namespace

void MainForm::mnuCreatePatch_Click() {
    if (!EditMenuState().createPatch || !MayReadSavedFile())
        return;
    const std::string original =
        ChooseFile(FileDialog::Open, text::kOriginalRomTitle, text::kSpecialFilter);
    if (original.empty())
        return;
    const std::string out = ChooseFile(FileDialog::Save, text::kPatchTitle, text::kPatchFilter);
    if (out.empty())
        return;
    const PatchMade made = MakePatchFile(original, app_.RomPath, out);
    if (!made.ok()) {
        ReportFailure(made.failure);
        return;
    }
    services_.MessageBox("Patch gravado em " + Quoted(out) + ": " +
                             std::to_string(made.changedBytes) +
                             (made.changedBytes == 1 ? " byte mudado" : " bytes mudados") + ", " +
                             std::to_string(made.patchSize) + " bytes de patch.",
                         kStyleInformation);
}

int MainForm::RowAt(const PaletteLocation& where) const {
    for (std::size_t row = 0; row < model_.lstColor.rows.size(); ++row)
        if (ParsePaletteLocation(model_.lstColor.Row(static_cast<int>(row))) == where)
            return static_cast<int>(row);
    return -1;
}

Failure MainForm::AddDefinitionRow(const std::string& name, const PaletteLocation& where,
                                   const std::string& rowName) {
    const std::filesystem::path user = std::filesystem::path(app_.Folders.userData) / name;
    std::vector<std::uint8_t> bytes;
    // The installed rows come first, so none is hidden by the user's file.
    const std::string from =
        DefinitionFileExists(name, app_.Folders)
            ? (std::filesystem::path(DefinitionFolder(name, app_.Folders)) / name).string()
            : std::string();
    if (!from.empty())
        if (const FileStatus status = ReadWholeFile(from, kMaxDefinitionFileSize, bytes);
            !status.ok())
            return Failure::CannotRead(from, status);
    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r')
        bytes.insert(bytes.end(), {'\r', '\n'});
    const std::string line = DefinitionEntryText(kPaletteColours, where, rowName) + "\r\n";
    bytes.insert(bytes.end(), line.begin(), line.end());
    if (const FileStatus status = CreateFolders(app_.Folders.userData); !status.ok())
        return Failure::CannotWrite(app_.Folders.userData, status);
    return WriteNewFile(user.string(), bytes);
}

void MainForm::mnuFindInRom_Click() {
    if (!PaletteShown())
        return;
    const std::vector<ColorWord> shown = editor_.SwatchWords(kPaletteColours);
    PaletteWords16 wanted{};
    std::ranges::copy(shown, wanted.begin());
    const std::string rom =
        ChooseFile(FileDialog::Open, text::kFindInRomTitle, text::kSpecialFilter);
    if (rom.empty())
        return;
    std::vector<std::uint8_t> bytes;
    if (const Failure failure = ReadRomImage(rom, bytes); !failure.ok()) {
        ReportFailure(failure);
        return;
    }
    const FindResult result = FindPalette(bytes, wanted);
    if (result.matches.empty()) {
        services_.MessageBox("A paleta não foi encontrada em " + Quoted(rom) + ": procurados os " +
                                 std::to_string(bytes.size()) + " bytes do arquivo e os dados de " +
                                 std::to_string(result.blocks) + " blocos LZ77.",
                             kStyleInformation);
        return;
    }
    const PaletteLocation found = result.matches.front().where;
    std::optional<Identification> identification = IdentifyFile(rom, app_.Folders);
    if (!identification && bytes.size() > 0xAF) {
        const std::string header(bytes.begin() + 0xAC, bytes.begin() + 0xB0);
        if (UsableCode(header)) {
            // No definition file yet: one of its own, with this row, makes the ROM known.
            const std::string rowName = services_.InputBox(text::kNameFoundPalette);
            if (rowName.empty())
                return;
            if (const Failure failure = AddDefinitionRow(header + ".ZNDL", found, rowName);
                !failure.ok()) {
                ReportFailure(failure);
                return;
            }
            identification = IdentifyFile(rom, app_.Folders);
        }
    }
    if (!identification || identification->IsMemoryDump()) {
        services_.MessageBox("A paleta está em " + Quoted(rom) +
                                 ", que não tem um código de jogo utilizável; nada foi aberto. "
                                 "Lugares encontrados:" +
                                 PlacesText(result),
                             kStyleInformation);
        return;
    }
    OpenChosenFile(rom, OpenedFrom::Outside);
    // An open that went through shows the game with no row chosen; Cancelar or a failure
    // (said in its box) leaves what was on show.
    if (!app_.RomLoaded || app_.shown != Shown::Game || model_.List1.selected != -1 ||
        app_.RomPath != rom)
        return;
    int row = RowAt(found);
    if (row < 0) {
        const std::string rowName = services_.InputBox(text::kNameFoundPalette);
        if (rowName.empty())
            return;
        if (const Failure failure = AddDefinitionRow(DefinitionFileName(), found, rowName);
            !failure.ok()) {
            ReportFailure(failure);
            return;
        }
        if (const Failure failure = LoadPaletteDefinitions(); !failure.ok()) {
            ReportFailure(failure);
            return;
        }
        ShowDefinitionsLoaded();
        row = RowAt(found);
    }
    if (row >= 0)
        ChooseRow(row);
}

} // namespace zandrel
