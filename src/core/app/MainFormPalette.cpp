// Choosing a palette, saving it in place and reloading the definitions.
#include <algorithm>
#include <vector>

#include "app/MainForm.h"
#include "rom/PaletteAccess.h"
#include "util/Messages.h"
#include "util/NumberText.h"
#include "util/Text.h"

namespace zandrel {

void MainForm::ChooseRow(int row) {
    // Asked before the row counts as chosen, so Cancelar keeps the row that was.
    if (!MayLeavePalette())
        return;
    model_.List1.selected = row;
    List1_Click();
}

void MainForm::List1_Click() {
    const int row = model_.List1.selected;
    if (row < 0 || static_cast<std::size_t>(row) >= model_.List1.rows.size())
        return; // the list raises its click only for a row

    // A file that cannot be read must not leave a half-chosen palette behind, so the
    // swatches are put back as they were when the read fails.
    const std::array<Swatch, kPaletteColours> swatchesBefore = model_.Opt;
    const std::int16_t selectedBefore = model_.OptSelected;

    for (Swatch& swatch : model_.Opt) {
        swatch.selected = false;
        swatch.visible = false;
    }
    model_.OptSelected = -1;
    if (const Failure failure = ReadSelectedPalette(); !failure.ok()) {
        model_.Opt = swatchesBefore;
        model_.OptSelected = selectedBefore;
        // The swatches still hold the previous palette: with this row chosen, a save would
        // write them at the wrong location. Leave no row chosen and nothing to save, as a
        // reload does.
        model_.List1.selected = -1;
        DisablePaletteCommands();
        ReportFailure(failure);
        return;
    }

    model_.lblLocaliza.caption = text::kLocationCaption + std::string(model_.lstColor.Row(row));
    model_.Command2.enabled = true;
    if (app_.ShowsMemoryDump())
        model_.cmdExibir.enabled = true;
    model_.cmdAmostra.enabled = true;
    model_.cmdImp.enabled = true;
    model_.cmdExp.enabled = true;
}

Failure MainForm::ReadSelectedPalette() {
    // A location text that is no location reads nothing at all.
    PaletteLocation where;
    if (Failure failure = SelectedLocation(where); !failure.ok())
        return failure;
    const int count = SelectedColourCount();

    // Everything is read before any swatch changes, so a failed read changes none.
    // A count of 0 still opens the file: a vanished file is reported, never created.
    std::vector<ColorWord> words;
    if (Failure failure = ReadPalette(app_.RomPath, where, count, words); !failure.ok())
        return failure;
    editor_.ShowWords(words);
    stored_ = {model_.List1.selected, editor_.SwatchWords(count)};
    ForgetEdits();
    return {};
}

void MainForm::Command2_Click() {
    SaveChosenPalette();
}

bool MainForm::SaveChosenPalette() {
    const int row = model_.List1.selected;
    // A reload that stopped early leaves no row chosen: there is no palette location to write
    // to, and "Paleta salva." would claim an edit that was never written.
    if (row < 0 || static_cast<std::size_t>(row) >= model_.List1.rows.size())
        return false;
    // A count that gives no colours writes no byte, so nothing may be confirmed as saved.
    const int count = SelectedColourCount();
    if (count < 1) {
        services_.MessageBox(
            ErrorMessage(Failure::NoColours(app_.RomPath, Quoted(model_.List1.Row(row)),
                                            std::string(model_.lstCount.Row(row)))),
            kStyleExclamation);
        return false;
    }
    // Saving traps nothing: a write that did not happen is reported, never confirmed.
    PaletteLocation where;
    Failure failure = SelectedLocation(where);
    if (failure.ok())
        failure = WritePaletteWords(app_.RomPath, where, count);
    if (!failure.ok()) {
        ReportFailure(failure);
        return false;
    }
    stored_ = {row, editor_.SwatchWords(count)};
    return true;
}

Failure MainForm::WritePaletteWords(const std::string& path, const PaletteLocation& where,
                                    int count) {
    // In place: the file never grows or appears anew.
    if (Failure failure = WritePalette(path, where, editor_.SwatchWords(count)); !failure.ok())
        return failure;
    // Only reached once the bytes are on the disk.
    services_.MessageBox(text::kPaletteSaved, kStyleInformation);
    return {};
}

void MainForm::cmdRecarrega_Click() {
    if (!MayLeavePalette())
        return;
    // Unlike the open command, the reload says why it stopped; the lists keep what was
    // loaded up to the failing line and nothing after the load runs.
    if (const Failure failure = LoadPaletteDefinitions(); !failure.ok()) {
        ReportFailure(failure);
        return;
    }
    ShowDefinitionsLoaded(); // cmdRecarrega stays enabled
}

} // namespace zandrel
