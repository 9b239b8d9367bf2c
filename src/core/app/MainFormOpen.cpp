// Start-up, the open command, identification and the palette definitions.
#include <filesystem>

#include "app/MainForm.h"
#include "platform/File.h"
#include "rom/Definitions.h"
#include "rom/Games.h"
#include "util/Messages.h"
#include "util/NumberText.h"
#include "util/Text.h"

namespace zandrel {

namespace {

std::string MissingFileMessage(const std::string& path) {
    return "O arquivo " + Quoted(path) + " não existe.";
}

std::string UnusablePathMessage(const std::string& shownPath) {
    return "O nome de arquivo " + Quoted(shownPath) +
           " não pode ser usado: ele contém um caractere nulo ou bytes que não são texto válido "
           "(UTF-8).";
}

} // namespace

void MainForm::Form_Load(const StartValues& start) {
    app_.ProgramFolder = start.programFolder;
    app_.Folders = start.folders;
    model_.SetPathText(app_.ProgramFolder);
    app_.RomLoaded = false;
    model_.OptSelected = -1;
    app_.SpecialMode = start.arguments.specialWord;
    if (app_.SpecialMode)
        model_.cmdSpecial.visible = true;
}

void MainForm::TakeIdentification(const Identification& identification) {
    app_.GameName = identification.title;
    // A memory dump and a ROM found by its code's definition file leave GameIndex as it was.
    if (identification.gameIndex)
        app_.GameIndex = *identification.gameIndex;
    app_.GameCodeFile = identification.codeDefinitionFile;
}

std::string MainForm::DefinitionFileName() const {
    // A failed attempt leaves GameName empty: the file then follows GameIndex alone.
    if (!app_.GameName.empty() && !app_.GameCodeFile.empty())
        return app_.GameCodeFile;
    return DefinitionFileFor(app_.GameName, app_.GameIndex);
}

Failure MainForm::LoadPaletteDefinitions() {
    const std::string name = DefinitionFileName();
    // No palette stays chosen, so no undo step carries over.
    ForgetEdits();
    model_.List1.Clear();
    model_.lstColor.Clear();
    model_.lstCount.Clear();

    // Looked up afresh each time, the user's folder first, as the open looks it up: the file
    // a reload picks may be another than the open's, and the user may have added one since.
    const std::string path =
        (std::filesystem::path(DefinitionFolder(name, app_.Folders)) / name).string();
    PaletteTable table;
    // Messages name the definition file by its full path: the user's copy or the program's.
    const Failure failure = LoadDefinitionFile(path, path, table);
    model_.lstCount.Assign(std::move(table.counts));
    model_.List1.Assign(std::move(table.names));
    model_.lstColor.Assign(std::move(table.locations));
    // However the load ends, no row is chosen now.
    DisablePaletteCommands();
    app_.DefinitionFile = path;
    app_.DefinitionLines = std::move(table.lines);
    return failure;
}

void MainForm::Command1_Click() {
    const std::string path = ChooseFile(FileDialog::Open, text::kOpenTitle, text::kOpenFilter);
    if (path.empty())
        return;
    OpenChosenFile(path, OpenedFrom::Dialog);
}

void MainForm::OpenFile(const std::string& path) {
    model_.strFileHandler = path;
    // The name would end at the NUL for the system: another file than the one named.
    if (path.find('\0') != std::string::npos) {
        std::string shown;
        for (const char c : path)
            shown += c == '\0' ? std::string("%00") : std::string(1, c);
        RefuseUnusablePath(shown);
        return;
    }
    // A name from outside was not typed: one that names no file says so (the open dialog's
    // gets the not-identified box).
    if (!FileExists(path)) {
        services_.MessageBox(MissingFileMessage(path), kStyleCritical);
        return;
    }
    OpenChosenFile(path, OpenedFrom::Outside);
}

void MainForm::RefuseUnusablePath(const std::string& shownPath) {
    services_.MessageBox(UnusablePathMessage(shownPath), kStyleExclamation);
}

void MainForm::OpenChosenFile(const std::string& path, OpenedFrom from) {
    // A file that cannot be opened or read ends the command here, with GameName as it was:
    // silently when the open dialog chose it, named when it came from outside. A definition
    // file of the user's that cannot be read is always named.
    std::optional<Identification> identification;
    if (const Failure failure = IdentifyFile(path, app_.Folders, identification); !failure.ok()) {
        if (from == OpenedFrom::Outside || failure.result == Result::DefinitionMissing)
            ReportFailure(failure);
        return;
    }
    if (!identification) {
        app_.GameName.clear(); // the latest attempt failed
        services_.MessageBox(text::kNotIdentified, kStyleCritical, {},
                             NotIdentifiedDetails(path, app_.Folders));
        return;
    }
    // Nothing has changed yet, so Cancelar keeps even GameName as it was.
    if (!MayLeavePalette())
        return;
    TakeIdentification(*identification);

    model_.SetPathText(path);
    app_.RomPath = model_.txtArquivo.caption;
    ShowGameLabel(identification->IsMemoryDump() ? Shown::MemoryDump : Shown::Game, app_.GameName);

    // The open command ends silently where the load fails; what it did before stays done.
    if (!LoadPaletteDefinitions().ok())
        return;

    model_.cmdRecarrega.enabled = true;
    ShowDefinitionsLoaded();
}

void MainForm::ShowGameLabel(Shown shown, const std::string& caption) {
    model_.lblGame.caption = caption;
    app_.shown = shown;
}

void MainForm::ShowDefinitionsLoaded() {
    // The swatches, the working colour and the sliders stay as they were.
    model_.lblLocaliza.caption = text::kLocationCaption;
    model_.lblLoc.visible = false;
    model_.lblLocOpt.visible = false;
    app_.RomLoaded = true;
}

void MainForm::DisablePaletteCommands() {
    model_.Command2.enabled = false;
    model_.cmdExibir.enabled = false;
    model_.cmdAmostra.enabled = false;
    model_.cmdImp.enabled = false;
    // The special state's palette is no row: its export stays as that state left it.
    if (!app_.InSpecialState())
        model_.cmdExp.enabled = false;
}

std::string MainForm::ChooseFile(FileDialog dialog, const char* title, const std::string& filter) {
    model_.strDialogFilter = filter;
    model_.strDialogDefaultExt.clear();
    const std::string& ext = model_.strDialogDefaultExt;
    switch (dialog) {
    case FileDialog::Open:
        model_.strFileHandler = services_.ShowOpenDialog(title, filter, ext);
        break;
    case FileDialog::Save:
        model_.strFileHandler = services_.ShowSaveDialog(title, filter, ext);
        break;
    case FileDialog::OpenPaletteFile:
        model_.strFileHandler = services_.ShowPaletteOpenDialog(title, filter);
        break;
    case FileDialog::SavePaletteFile:
        model_.strFileHandler = services_.ShowPaletteSaveDialog(title, filter);
        break;
    }
    return model_.strFileHandler;
}

bool MainForm::RefuseFewerThan16() {
    if (SelectedColourCount() >= kPaletteColours)
        return false;
    services_.MessageBox(text::kFewerThan16, kStyleExclamation);
    return true;
}

int MainForm::SelectedColourCount() const {
    return PaletteColourCount(model_.lstCount.Row(model_.List1.selected));
}

Failure MainForm::SelectedLocation(PaletteLocation& where) const {
    const int row = model_.List1.selected;
    const std::string_view text = model_.lstColor.Row(row);
    if (const std::optional<PaletteLocation> parsed = ParsePaletteLocation(text)) {
        where = *parsed;
        return {};
    }
    const std::vector<std::int64_t>& lines = app_.DefinitionLines;
    const std::int64_t line =
        row >= 0 && static_cast<std::size_t>(row) < lines.size() ? lines[row] : 0;
    return Failure::BadLocation(app_.DefinitionFile, line, std::string(text));
}

void MainForm::ReportFailure(const Failure& failure) {
    services_.MessageBox(ErrorMessage(failure), kStyleCritical);
}

} // namespace zandrel
