// The main window's controls as tables: for each kind of control, one row per control with its
// object name, the model member it shows, where it stands in twips and the handler its event
// raises; and one row per command of the swatches' context menu. MainWindow creates, connects
// and draws them in loops.
#pragma once

#include <array>

#include <QKeyCombination>

#include "Twips.h"
#include "app/MainForm.h"
#include "util/Messages.h"

namespace zandrel {

using Handler = void (MainForm::*)();

struct ButtonRow {
    const char* name;
    Control FormModel::*control;
    TwipBox box;
    Handler click;
};

// What a label shows besides its caption.
enum class LabelLook {
    Plain,
    // Its "&" marks the access key of the palette list; a caption too wide for the box shrinks.
    AccessKey,
    // The colour word, large and bold.
    ColourWord,
    // A slider's value, in the slider's colour on white.
    BlueValue,
    GreenValue,
    RedValue,
};

struct LabelRow {
    const char* name;
    Control FormModel::*control;
    TwipBox box;
    LabelLook look = LabelLook::Plain;
    Handler click = nullptr;
    Handler doubleClick = nullptr;
};

struct SliderRow {
    const char* name;
    int FormModel::*value;
    TwipBox box;
    SliderId slider; // which one SetSliderValue sets
};

struct ListRow {
    const char* name;
    ListBox FormModel::*list;
    TwipBox box;
    // The palette list: a row chosen raises ChooseRow. The other lists are hidden and take no
    // focus.
    bool chooses = false;
};

// A row with no text is a separator.
struct MenuRow {
    const char* text;
    // Ctrl shortcuts (and F4, which the window's key handler leaves alone), so they leave the
    // keypad keys, Esc and the Alt access keys to it; the second is empty where there is one.
    std::array<QKeyCombination, 2> keys;
    Handler click;
    bool EditMenu::*enabled;           // null: always enabled
    bool EditMenu::*checked = nullptr; // a toggle, checked while this holds
};

namespace layout {
// The client area, in twips.
inline constexpr int kClientWidth = 7185;
inline constexpr int kClientHeight = 4590;
inline constexpr TwipBox txtArquivo{120, 840, 6975, 285};
inline constexpr TwipBox Picture1{4080, 3240, 975, 975};
// Swatch i: 375 x 375, two rows of eight.
inline constexpr TwipBox Opt(int index) {
    return TwipBox{4080 + 360 * (index % 8), index < 8 ? 1800 : 2160, 375, 375};
}
} // namespace layout

inline constexpr ButtonRow kButtons[] = {
    {"Command1", &FormModel::Command1, {240, 240, 1695, 495}, &MainForm::Command1_Click},
    {"Command2", &FormModel::Command2, {1920, 240, 1695, 495}, &MainForm::Command2_Click},
    {"Command3", &FormModel::Command3, {3600, 240, 1695, 495}, &MainForm::Command3_Click},
    {"Command4", &FormModel::Command4, {5280, 240, 1695, 495}, &MainForm::Command4_Click},
    {"cmdSpecial", &FormModel::cmdSpecial, {5280, 720, 1695, 495}, &MainForm::cmdSpecial_Click},
    {"cmdRecarrega",
     &FormModel::cmdRecarrega,
     {1920, 1560, 1935, 255},
     &MainForm::cmdRecarrega_Click},
    {"cmdImp", &FormModel::cmdImp, {4080, 2640, 1095, 255}, &MainForm::cmdImp_Click},
    {"cmdExp", &FormModel::cmdExp, {5160, 2640, 1095, 255}, &MainForm::cmdExp_Click},
    {"cmdAmostra", &FormModel::cmdAmostra, {4080, 2880, 1095, 255}, &MainForm::cmdAmostra_Click},
    {"cmdExibir", &FormModel::cmdExibir, {5160, 2880, 1095, 255}, &MainForm::cmdExibir_Click},
};

inline constexpr LabelRow kLabels[] = {
    {"lblGame", &FormModel::lblGame, {120, 1200, 6975, 255}},
    {"Label2", &FormModel::Label2, {240, 1560, 615, 255}, LabelLook::AccessKey},
    {.name = "lblLoc",
     .control = &FormModel::lblLoc,
     .box = {4200, 1560, 735, 255},
     .click = &MainForm::lblLoc_Click},
    {"lblLocOpt", &FormModel::lblLocOpt, {5280, 1560, 855, 255}},
    {.name = "lblColor",
     .control = &FormModel::lblColor,
     .box = {5160, 3840, 1095, 375},
     .look = LabelLook::ColourWord,
     .doubleClick = &MainForm::lblColor_DblClick},
    {"lblBlue", &FormModel::lblBlue, {5400, 4320, 255, 255}, LabelLook::BlueValue},
    {"lblGreen", &FormModel::lblGreen, {5640, 4320, 255, 255}, LabelLook::GreenValue},
    {"lblRed", &FormModel::lblRed, {5880, 4320, 255, 255}, LabelLook::RedValue},
    {"lblLocaliza", &FormModel::lblLocaliza, {240, 4200, 3135, 255}},
};

inline constexpr SliderRow kSliders[] = {
    {"BlueScroll", &FormModel::BlueScroll, {6360, 2760, 255, 1695}, SliderId::Blue},
    {"GreenScroll", &FormModel::GreenScroll, {6600, 2760, 255, 1695}, SliderId::Green},
    {"RedScroll", &FormModel::RedScroll, {6840, 2760, 255, 1695}, SliderId::Red},
};

inline constexpr ListRow kLists[] = {
    {"List1", &FormModel::List1, {240, 1800, 3615, 2400}, true},
    {"lstColor", &FormModel::lstColor, {120, 3600, 1695, 450}},
    {"lstCount", &FormModel::lstCount, {1800, 3600, 1455, 450}},
};

inline constexpr MenuRow kEditMenu[] = {
    {text::kMenuUndo, {Qt::CTRL | Qt::Key_Z}, &MainForm::mnuUndo_Click, &EditMenu::undo},
    {text::kMenuRedo,
     {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y},
     &MainForm::mnuRedo_Click,
     &EditMenu::redo},
    {},
    {text::kMenuCopyColour,
     {Qt::CTRL | Qt::Key_C},
     &MainForm::mnuCopyColour_Click,
     &EditMenu::copyColour},
    {text::kMenuCopyPalette,
     {Qt::CTRL | Qt::SHIFT | Qt::Key_C},
     &MainForm::mnuCopyPalette_Click,
     &EditMenu::copyPalette},
    {text::kMenuPaste, {Qt::CTRL | Qt::Key_V}, &MainForm::mnuPaste_Click, &EditMenu::paste},
    {text::kMenuTypeColour,
     {Qt::CTRL | Qt::Key_D},
     &MainForm::mnuTypeColour_Click,
     &EditMenu::typeColour},
    {},
    {text::kMenuRamp, {Qt::CTRL | Qt::Key_G}, &MainForm::mnuRamp_Click, &EditMenu::ramp},
    {.text = text::kMenuGbaScreen,
     .keys = {Qt::CTRL | Qt::Key_L},
     .click = &MainForm::mnuGbaScreen_Click,
     .enabled = nullptr,
     .checked = &EditMenu::gbaScreen},
    {},
    {text::kMenuImportFile, {}, &MainForm::mnuImportFile_Click, &EditMenu::importFile},
    {text::kMenuExportAs, {}, &MainForm::mnuExportAs_Click, &EditMenu::exportAs},
    {},
    {text::kMenuFindInRom, {}, &MainForm::mnuFindInRom_Click, &EditMenu::findInRom},
    {text::kMenuCreatePatch, {}, &MainForm::mnuCreatePatch_Click, &EditMenu::createPatch},
    {},
    {text::kMenuGraphics, {Qt::Key_F4}, &MainForm::mnuGraphics_Click, &EditMenu::graphics},
};

// The tab order by object name; the sixteen swatches stand where "Opt" does.
inline constexpr const char* kTabOrder[] = {
    "Command1", "Command2",   "Command3",     "Command4",    "txtArquivo", "List1",
    "Opt",      "Picture1",   "BlueScroll",   "GreenScroll", "RedScroll",  "cmdImp",
    "cmdExp",   "cmdSpecial", "cmdRecarrega", "cmdAmostra",  "cmdExibir",
};

} // namespace zandrel
