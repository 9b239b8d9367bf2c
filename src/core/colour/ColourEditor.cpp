// The colour editor: swatches, the working colour, the three sliders and the colour dialog.
#include "app/MainForm.h"

namespace zandrel {
void MainForm::Opt_Click(int) {}
void MainForm::SetWorkingColor(RgbColor) {}
void MainForm::SetSliderValue(SliderId, int) {}
void MainForm::BlueScroll_Change() {}
void MainForm::GreenScroll_Change() {}
void MainForm::RedScroll_Change() {}
void MainForm::Picture1_DblClick() {}
void MainForm::Form_KeyDown(int, int) {}
bool MainForm::ColorDialog(RgbColor&) {
    return false;
}
} // namespace zandrel
