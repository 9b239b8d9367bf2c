#include "colour/ColourEditor.h"

#include <algorithm>

#include "colour/Codec.h"

namespace zandrel {

namespace {

constexpr int kSliderMax = 31;

bool IsSwatch(int index) {
    return index >= 0 && index < kPaletteColours;
}

} // namespace

bool ColourEditor::ClickSwatch(int index) {
    if (!IsSwatch(index))
        return false;
    c_.OptSelected = static_cast<std::int16_t>(index);
    // The sixteen swatches are one toggle group: the clicked one shows pressed, the others
    // are released. That happens on every click, also before a file is open, when the click
    // selects nothing (OptSelected goes back to -1) but the button still looks pressed.
    for (int k = 0; k < kPaletteColours; ++k)
        c_.Opt[static_cast<std::size_t>(k)].selected = k == index;

    if (!fileLoaded_)
        c_.OptSelected = -1;
    return true;
}

void ColourEditor::SetWorkingColor(RgbColor lngColor) {
    c_.Picture1 = lngColor;
    c_.StrColor = ColorHexText(c_.Picture1);
    const Rgb rgb = SplitColor(c_.Picture1);

    // Each setting that moves a slider runs its change at once, so the selected swatch
    // passes through the mixed colours (new blue with old green and red, and so on).
    SetSliderValue(SliderId::Blue, ReduceComponent(rgb.blue));
    SetSliderValue(SliderId::Green, ReduceComponent(rgb.green));
    SetSliderValue(SliderId::Red, ReduceComponent(rgb.red));

    ShowSliderValues();
    // When no slider moved, the sample keeps lngColor as given, even outside the 15-bit set.
}

void ColourEditor::SetSliderValue(SliderId slider, int value) {
    value = std::clamp(value, 0, kSliderMax);
    int* current = nullptr;
    switch (slider) {
    case SliderId::Blue:
        current = &c_.BlueScroll;
        break;
    case SliderId::Green:
        current = &c_.GreenScroll;
        break;
    case SliderId::Red:
        current = &c_.RedScroll;
        break;
    }
    if (*current == value)
        return; // a slider set to the value it holds raises no change
    *current = value;
    // The three sliders' changes do the same.
    SliderChanged();
}

ColorWord ColourEditor::ShowSliderValues() {
    // Each slider is read afresh: a nested change may have moved one since the caller began.
    c_.lblBlue.caption = std::to_string(c_.BlueScroll);
    c_.lblGreen.caption = std::to_string(c_.GreenScroll);
    c_.lblRed.caption = std::to_string(c_.RedScroll);
    const auto word =
        static_cast<ColorWord>(c_.BlueScroll * 1024 + c_.GreenScroll * 32 + c_.RedScroll);
    c_.StrColor = WordHexText(word);
    c_.lblColor.caption = c_.StrColor;
    return word;
}

void ColourEditor::SliderChanged() {
    const ColorWord word = ShowSliderValues();
    c_.Picture1 = WordToColor(word);
    // This is how an edit reaches the palette.
    if (fileLoaded_ && IsSwatch(c_.OptSelected))
        c_.Opt[static_cast<std::size_t>(c_.OptSelected)].backColor = c_.Picture1;
}

void ColourEditor::ApplyWorkingColour() {
    // Runs even when no slider moved, so sample and swatch get the 15-bit colour and never
    // the chosen one as it was.
    SliderChanged();
    c_.Opt[static_cast<std::size_t>(c_.OptSelected)].backColor = c_.Picture1;
}

bool ColourEditor::HasSelectedSwatch() const {
    return IsSwatch(c_.OptSelected);
}

RgbColor ColourEditor::SelectedSwatchColour() const {
    return c_.Opt[static_cast<std::size_t>(c_.OptSelected)].backColor;
}

void ColourEditor::ShowWords(std::span<const ColorWord> words) {
    const std::size_t shown = std::min(words.size(), c_.Opt.size());
    for (std::size_t i = 0; i < shown; ++i) {
        c_.Opt[i].backColor = WordToColor(words[i]);
        c_.Opt[i].visible = true;
    }
}

void ColourEditor::ReleaseSwatches() {
    for (Swatch& swatch : c_.Opt)
        swatch.selected = false;
}

void ColourEditor::ClearSelection() {
    ReleaseSwatches();
    c_.OptSelected = -1;
}

std::vector<ColorWord> ColourEditor::SwatchWords(int count) const {
    // There are sixteen swatches; hidden ones are written too.
    const int colours = std::clamp(count, 0, kPaletteColours);
    std::vector<ColorWord> words;
    words.reserve(static_cast<std::size_t>(colours));
    for (int i = 0; i < colours; ++i)
        words.push_back(ColorToWord(c_.Opt[static_cast<std::size_t>(i)].backColor));
    return words;
}

void ColourEditor::ChangeSwatches(const Palette16& colours) {
    for (std::size_t i = 0; i < colours.size(); ++i)
        c_.Opt[i].backColor = colours[i];
    if (HasSelectedSwatch())
        SetWorkingColor(SelectedSwatchColour());
}

PaletteSnapshot ColourEditor::Snapshot() const {
    PaletteSnapshot snapshot{.colours = SwatchColours(c_),
                             .selected = c_.OptSelected,
                             .blue = c_.BlueScroll,
                             .green = c_.GreenScroll,
                             .red = c_.RedScroll,
                             .sample = c_.Picture1,
                             .blueText = c_.lblBlue.caption,
                             .greenText = c_.lblGreen.caption,
                             .redText = c_.lblRed.caption,
                             .wordText = c_.lblColor.caption};
    for (std::size_t i = 0; i < c_.Opt.size(); ++i)
        snapshot.visible[i] = c_.Opt[i].visible;
    return snapshot;
}

void ColourEditor::Restore(const PaletteSnapshot& snapshot) {
    for (std::size_t i = 0; i < c_.Opt.size(); ++i) {
        c_.Opt[i].backColor = snapshot.colours[i];
        c_.Opt[i].visible = snapshot.visible[i];
        c_.Opt[i].selected = static_cast<int>(i) == snapshot.selected;
    }
    c_.OptSelected = static_cast<std::int16_t>(snapshot.selected);
    // Set as values, not through SetSliderValue: a change would write mixed colours into the
    // selected swatch on the way.
    c_.BlueScroll = snapshot.blue;
    c_.GreenScroll = snapshot.green;
    c_.RedScroll = snapshot.red;
    c_.Picture1 = snapshot.sample;
    c_.lblBlue.caption = snapshot.blueText;
    c_.lblGreen.caption = snapshot.greenText;
    c_.lblRed.caption = snapshot.redText;
    c_.lblColor.caption = snapshot.wordText;
    c_.StrColor = snapshot.wordText;
}

Palette16 SwatchColours(const EditorControls& controls) {
    Palette16 colours{};
    for (std::size_t i = 0; i < colours.size(); ++i)
        colours[i] = controls.Opt[i].backColor;
    return colours;
}

} // namespace zandrel
