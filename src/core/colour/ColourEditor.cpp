// The colour editor: swatches, the working colour, the three sliders and the colour dialog.
#include <algorithm>
#include <string>

#include "app/MainForm.h"
#include "util/Messages.h"

namespace zandrel {

namespace {

constexpr int kSliderMax = 31;

bool IsSwatch(int index) {
    return index >= 0 && index < kPaletteColours;
}

} // namespace

void MainForm::Opt_Click(int index) {
    if (!IsSwatch(index))
        return;
    model_.OptSelected = static_cast<std::int16_t>(index);
    // The sixteen swatches are one toggle group: the clicked one shows pressed, the others
    // are released. That happens on every click, also before a file is open, when the click
    // selects nothing (OptSelected goes back to -1) but the button still looks pressed.
    for (int k = 0; k < kPaletteColours; ++k)
        model_.Opt[static_cast<std::size_t>(k)].selected = k == index;

    if (app_.RomLoaded)
        SetWorkingColor(model_.Opt[static_cast<std::size_t>(index)].backColor);
    else
        model_.OptSelected = -1;

    // The offset of the low byte of this colour word in the file.
    if (app_.SpecialMode)
        model_.lblLocOpt.caption =
            HexText(static_cast<std::int64_t>(app_.CurrentLocation) + 2 * index);
}

void MainForm::SetWorkingColor(RgbColor lngColor) {
    model_.Picture1 = lngColor;
    model_.StrColor = ColorHexText(model_.Picture1);
    const Rgb rgb = SplitColor(model_.Picture1);

    // Each setting that moves a slider runs its change at once, so the selected swatch
    // passes through the mixed colours (new blue with old green and red, and so on).
    SetSliderValue(SliderId::Blue, ReduceComponent(rgb.blue));
    SetSliderValue(SliderId::Green, ReduceComponent(rgb.green));
    SetSliderValue(SliderId::Red, ReduceComponent(rgb.red));

    ShowSliderValues();
    // When no slider moved, the sample keeps lngColor as given, even outside the 15-bit set.
}

void MainForm::SetSliderValue(SliderId slider, int value) {
    value = std::clamp(value, 0, kSliderMax);
    int* current = nullptr;
    switch (slider) {
    case SliderId::Blue:
        current = &model_.BlueScroll;
        break;
    case SliderId::Green:
        current = &model_.GreenScroll;
        break;
    case SliderId::Red:
        current = &model_.RedScroll;
        break;
    }
    if (*current == value)
        return; // a slider set to the value it holds raises no change
    *current = value;
    switch (slider) {
    case SliderId::Blue:
        BlueScroll_Change();
        break;
    case SliderId::Green:
        GreenScroll_Change();
        break;
    case SliderId::Red:
        RedScroll_Change();
        break;
    }
}

ColorWord MainForm::ShowSliderValues() {
    // Each slider is read afresh: a nested change may have moved one since the caller began.
    model_.lblBlue.caption = std::to_string(model_.BlueScroll);
    model_.lblGreen.caption = std::to_string(model_.GreenScroll);
    model_.lblRed.caption = std::to_string(model_.RedScroll);
    const auto word = static_cast<ColorWord>(model_.BlueScroll * 1024 + model_.GreenScroll * 32 +
                                             model_.RedScroll);
    model_.StrColor = WordHexText(word);
    model_.lblColor.caption = model_.StrColor;
    return word;
}

void MainForm::BlueScroll_Change() {
    const ColorWord word = ShowSliderValues();
    model_.Picture1 = WordToColor(word);
    // This is how an edit reaches the palette.
    if (app_.RomLoaded && IsSwatch(model_.OptSelected))
        model_.Opt[static_cast<std::size_t>(model_.OptSelected)].backColor = model_.Picture1;
}

void MainForm::GreenScroll_Change() {
    BlueScroll_Change();
}

void MainForm::RedScroll_Change() {
    BlueScroll_Change();
}

void MainForm::Picture1_DblClick() {
    // No file test here: no swatch is selected while no file is open.
    if (!IsSwatch(model_.OptSelected))
        return;
    const auto selected = static_cast<std::size_t>(model_.OptSelected);
    RgbColor color = model_.Opt[selected].backColor;
    if (!ColorDialog(color))
        return; // a cancelled dialog changes nothing
    SetWorkingColor(color);
    // Runs even when no slider moved, so sample and swatch get the 15-bit colour and never
    // the chosen one as it was.
    BlueScroll_Change();
    model_.Opt[selected].backColor = model_.Picture1;
}

void MainForm::Form_KeyDown(int keyCode, int /*shift*/) {
    if (app_.RomLoaded && keyCode == kKeyMultiply)
        Picture1_DblClick();
    if (model_.lblGame.caption == text::kSpecialState)
        SpecialAction(keyCode);
}

bool MainForm::ColorDialog(RgbColor& color) {
    // Seeded afresh before every opening, so colours the user stored there last time are gone.
    const CustomColorTable customColors = services_.SystemColors();
    return services_.ChooseColor(color, customColors);
}

} // namespace zandrel
