// Colour work on the swatches: undo and redo, copy and paste, a typed colour, drags between
// swatches, ramps, the GBA's-screen view and palette files dropped on the swatches.
#include <algorithm>
#include <utility>
#include <variant>

#include "app/MainForm.h"
#include "colour/ColourRamp.h"
#include "colour/ColourText.h"
#include "util/Messages.h"

namespace zandrel {

namespace {

bool IsShownSwatch(const FormModel& model, int index) {
    return index >= 0 && index < kPaletteColours &&
           model.Opt[static_cast<std::size_t>(index)].visible;
}

PaletteWords16 AllSwatchWords(const ColourEditor& editor) {
    const std::vector<ColorWord> words = editor.SwatchWords(kPaletteColours);
    PaletteWords16 all{};
    std::copy(words.begin(), words.end(), all.begin());
    return all;
}

} // namespace

void MainForm::ForgetEdits() {
    history_.Clear();
    model_.rampFrom = -1;
    model_.rampTo = -1;
}

bool MainForm::PaletteShown() const {
    return app_.RomLoaded && (app_.InSpecialState() || model_.List1.selected >= 0);
}

bool MainForm::RefusePartPalette() {
    return !app_.InSpecialState() && RefuseFewerThan16();
}

void MainForm::mnuUndo_Click() {
    if (const std::optional<PaletteSnapshot> previous = history_.Undo(editor_.Snapshot()))
        editor_.Restore(*previous);
}

void MainForm::mnuRedo_Click() {
    if (const std::optional<PaletteSnapshot> next = history_.Redo(editor_.Snapshot()))
        editor_.Restore(*next);
}

void MainForm::mnuCopyColour_Click() {
    if (editor_.HasSelectedSwatch())
        services_.SetClipboardText(SwatchColourText(editor_.SelectedSwatchColour()));
}

void MainForm::mnuCopyPalette_Click() {
    if (!PaletteShown() || RefusePartPalette())
        return;
    services_.SetClipboardText(PaletteText(AllSwatchWords(editor_)));
}

void MainForm::mnuPaste_Click() {
    if (!app_.RomLoaded)
        return;
    const PastedColours pasted = ParsePastedColours(services_.ClipboardText());
    if (const auto* failure = std::get_if<ColourTextFailure>(&pasted)) {
        services_.MessageBox(ColourTextMessage(*failure), kStyleExclamation);
        return;
    }
    if (const auto* word = std::get_if<ColorWord>(&pasted)) {
        if (!editor_.HasSelectedSwatch()) {
            services_.MessageBox(text::kPasteNeedsSwatch, kStyleExclamation);
            return;
        }
        const auto step = history_.Begin(editor_);
        // Through the sliders, as a colour-dialog choice goes.
        TakeChosenColour(WordToColor(*word));
        return;
    }
    if (!PaletteShown()) {
        services_.MessageBox(text::kPasteNeedsPalette, kStyleExclamation);
        return;
    }
    if (RefusePartPalette())
        return;
    const auto step = history_.Begin(editor_);
    editor_.ChangeSwatches(WordsToColours(std::get<PaletteWords16>(pasted)));
}

void MainForm::mnuTypeColour_Click() {
    // Like the colour dialog, it is for the selected swatch.
    if (!editor_.HasSelectedSwatch())
        return;
    const std::string typed = services_.InputBox(text::kTypeColour);
    if (typed.empty())
        return; // cancelled
    const TypedColour colour = ParseTypedColour(typed);
    if (const auto* failure = std::get_if<ColourTextFailure>(&colour)) {
        services_.MessageBox(ColourTextMessage(*failure), kStyleExclamation);
        return;
    }
    const auto step = history_.Begin(editor_);
    TakeChosenColour(WordToColor(std::get<ColorWord>(colour)));
}

void MainForm::lblColor_DblClick() {
    mnuTypeColour_Click();
}

void MainForm::Opt_ShiftClick(int index) {
    const int first = model_.OptSelected;
    // A click all the same, so the next edit reaches this swatch.
    Opt_Click(index);
    // With no swatch selected before there is no first end.
    if (first < 0 || !editor_.HasSelectedSwatch() || index == first ||
        !IsShownSwatch(model_, index))
        return;
    model_.rampFrom = first;
    model_.rampTo = index;
}

void MainForm::Opt_RightClick(int index) {
    SelectSwatch(index);
}

void MainForm::mnuRamp_Click() {
    if (model_.rampFrom < 0)
        return;
    const auto [low, high] = std::minmax(model_.rampFrom, model_.rampTo);
    const PaletteWords16 ramp = RampBetween(AllSwatchWords(editor_), low, high);
    // Only the swatches between change; the hidden ones keep their colours as they are.
    Palette16 colours = SwatchColours(model_);
    for (int k = low + 1; k < high; ++k)
        colours[static_cast<std::size_t>(k)] = WordToColor(ramp[static_cast<std::size_t>(k)]);
    const auto step = history_.Begin(editor_);
    editor_.ChangeSwatches(colours);
}

void MainForm::mnuGbaScreen_Click() {
    model_.gbaScreen = !model_.gbaScreen;
}

bool MainForm::SwatchDraggable(int index) const {
    return app_.RomLoaded && IsShownSwatch(model_, index) && index == model_.OptSelected &&
           model_.Opt[static_cast<std::size_t>(index)].selected;
}

void MainForm::Opt_DragDrop(int index, int source, bool copy) {
    if (!SwatchDraggable(source) || !IsShownSwatch(model_, index) || index == source)
        return;
    Palette16 colours = SwatchColours(model_);
    const auto to = static_cast<std::size_t>(index);
    const auto from = static_cast<std::size_t>(source);
    if (copy)
        colours[to] = colours[from];
    else
        std::swap(colours[to], colours[from]);
    const auto step = history_.Begin(editor_);
    editor_.ChangeSwatches(colours);
}

void MainForm::Opt_OLEDragDrop(const std::string& path) {
    // Importar's command with its checks, and only while Importar is offered.
    if (!model_.cmdImp.enabled || RefuseFewerThan16())
        return;
    const auto step = history_.Begin(editor_);
    ImportPaletteFile(path);
}

EditMenu MainForm::EditMenuState() const {
    return {.undo = history_.CanUndo(),
            .redo = history_.CanRedo(),
            .copyColour = editor_.HasSelectedSwatch(),
            .copyPalette = PaletteShown(),
            .paste = app_.RomLoaded,
            .typeColour = editor_.HasSelectedSwatch(),
            .ramp = model_.rampFrom >= 0,
            .findInRom = PaletteShown(),
            .createPatch = app_.RomLoaded && !app_.InSpecialState(),
            .gbaScreen = model_.gbaScreen,
            // Importar's and Exportar's commands, where those are offered.
            .importFile = model_.cmdImp.enabled,
            .exportAs = model_.cmdExp.enabled,
            .graphics = app_.RomLoaded};
}

std::string MainForm::SwatchToolTip(int index) const {
    // Before a palette is read the swatches hold the button colour, which is no GBA colour.
    if (!PaletteShown() || index < 0 || index >= kPaletteColours)
        return {};
    return ColourNotations(model_.Opt[static_cast<std::size_t>(index)].backColor);
}

} // namespace zandrel
