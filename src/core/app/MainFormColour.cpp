// The colour editor's events: swatch clicks, the sliders, the sample's double click and the
// keys of the main window.
#include "app/MainForm.h"
#include "special/SpecialMode.h"
#include "util/Messages.h"

namespace zandrel {

void MainForm::Opt_Click(int index) {
    // A plain click starts a new pair of ramp ends.
    model_.rampFrom = -1;
    model_.rampTo = -1;
    SelectSwatch(index);
}

void MainForm::SelectSwatch(int index) {
    if (!editor_.ClickSwatch(index))
        return;
    // Only while a file is loaded does the click select the swatch.
    if (editor_.HasSelectedSwatch())
        SetWorkingColor(editor_.SelectedSwatchColour());
    // The offset of the low byte of this colour word in the file.
    if (app_.SpecialMode)
        model_.lblLocOpt.caption = SwatchOffsetText(app_.CurrentLocation, index);
}

void MainForm::SetWorkingColor(RgbColor lngColor) {
    editor_.SetWorkingColor(lngColor);
}

void MainForm::SetSliderValue(SliderId slider, int value) {
    const auto step = history_.Begin(editor_);
    editor_.SetSliderValue(slider, value);
}

void MainForm::BlueScroll_Change() {
    const auto step = history_.Begin(editor_);
    editor_.SliderChanged();
}

void MainForm::GreenScroll_Change() {
    const auto step = history_.Begin(editor_);
    editor_.SliderChanged();
}

void MainForm::RedScroll_Change() {
    const auto step = history_.Begin(editor_);
    editor_.SliderChanged();
}

void MainForm::Picture1_DblClick() {
    // No file test here: no swatch is selected while no file is open.
    if (!editor_.HasSelectedSwatch())
        return;
    RgbColor color = editor_.SelectedSwatchColour();
    if (!ColorDialog(color))
        return; // a cancelled dialog changes nothing
    // The three slider changes it runs are one step.
    const auto step = history_.Begin(editor_);
    TakeChosenColour(color);
}

void MainForm::TakeChosenColour(RgbColor colour) {
    SetWorkingColor(colour);
    editor_.ApplyWorkingColour();
}

void MainForm::Form_KeyDown(int keyCode, int shift) {
    if (app_.RomLoaded && keyCode == kKeyMultiply)
        Picture1_DblClick();
    if (app_.InSpecialState())
        SpecialAction(keyCode, shift);
}

bool MainForm::ColorDialog(RgbColor& color) {
    // Seeded afresh before every opening, so colours the user stored there last time are gone.
    const CustomColorTable customColors = services_.SystemColors();
    return services_.ChooseColor(color, customColors);
}

} // namespace zandrel
