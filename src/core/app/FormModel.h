// The main window's controls as plain data. The window draws this model after every event;
// the event handlers of MainForm change it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "colour/ColourEditor.h"
#include "platform/Controls.h"
#include "util/Messages.h"

namespace zandrel {

// The colour editor's controls (OptSelected, StrColor, the swatches Opt, the sliders, Picture1
// and its labels) come first.
struct FormModel : EditorControls {
    // The window's fields.
    std::string strFileHandler;
    std::string strDialogFilter;
    std::string strDialogDefaultExt;

    std::string caption = "Zandrel";
    Control Command1{"&ABRIR ROM"};
    Control Command2{"&SALVAR", false};
    Control Command3{"S&OBRE"};
    Control Command4{"SA&IR"};
    Control cmdSpecial{"Especial", true, false};
    Control txtArquivo{""};
    // Raised each time the program sets txtArquivo's text (SetPathText), so the window shows
    // it again over what the user typed there, even when the text is the same as before.
    std::uint64_t txtArquivoRevision = 0;
    Control lblGame{text::kNoGame};
    Control Label2{"&Paletas:"};
    Control cmdRecarrega{"&Recarregar", false};
    Control lblLoc{"000000", true, false};
    Control lblLocOpt{"000000", true, false};
    ListBox List1;
    Control cmdImp{"I&mportar", false};
    Control cmdExp{"&Exportar", false};
    Control cmdAmostra{"Amostra", false};
    Control cmdExibir{"E&xibir bytes", false};
    Control lblLocaliza{"Localização:"};
    ListBox lstColor{{}, -1, false};
    ListBox lstCount{{}, -1, false};

    // The swatches' context menu: the two ends of a ramp (the swatch clicked, then the one
    // Shift+clicked; -1 while none is marked), and the GBA's-screen view, which changes only
    // what the window draws.
    int rampFrom = -1;
    int rampTo = -1;
    bool gbaScreen = false;

    // Set when the window has agreed to close and the program should end.
    bool closed = false;

    void SetPathText(std::string path) {
        txtArquivo.caption = std::move(path);
        ++txtArquivoRevision;
    }
};

// Where each control stands, in twips; the client area is 7185 x 4590.
namespace layout {
inline constexpr int kClientWidth = 7185;
inline constexpr int kClientHeight = 4590;
inline constexpr TwipBox Command1{240, 240, 1695, 495};
inline constexpr TwipBox Command2{1920, 240, 1695, 495};
inline constexpr TwipBox Command3{3600, 240, 1695, 495};
inline constexpr TwipBox Command4{5280, 240, 1695, 495};
inline constexpr TwipBox cmdSpecial{5280, 720, 1695, 495};
inline constexpr TwipBox txtArquivo{120, 840, 6975, 285};
inline constexpr TwipBox lblGame{120, 1200, 6975, 255};
inline constexpr TwipBox Label2{240, 1560, 615, 255};
inline constexpr TwipBox cmdRecarrega{1920, 1560, 1935, 255};
inline constexpr TwipBox lblLoc{4200, 1560, 735, 255};
inline constexpr TwipBox lblLocOpt{5280, 1560, 855, 255};
inline constexpr TwipBox List1{240, 1800, 3615, 2400};
inline constexpr TwipBox cmdImp{4080, 2640, 1095, 255};
inline constexpr TwipBox cmdExp{5160, 2640, 1095, 255};
inline constexpr TwipBox cmdAmostra{4080, 2880, 1095, 255};
inline constexpr TwipBox cmdExibir{5160, 2880, 1095, 255};
inline constexpr TwipBox BlueScroll{6360, 2760, 255, 1695};
inline constexpr TwipBox GreenScroll{6600, 2760, 255, 1695};
inline constexpr TwipBox RedScroll{6840, 2760, 255, 1695};
inline constexpr TwipBox Picture1{4080, 3240, 975, 975};
inline constexpr TwipBox lblColor{5160, 3840, 1095, 375};
inline constexpr TwipBox lblBlue{5400, 4320, 255, 255};
inline constexpr TwipBox lblGreen{5640, 4320, 255, 255};
inline constexpr TwipBox lblRed{5880, 4320, 255, 255};
inline constexpr TwipBox lblLocaliza{240, 4200, 3135, 255};
inline constexpr TwipBox lstColor{120, 3600, 1695, 450};
inline constexpr TwipBox lstCount{1800, 3600, 1455, 450};
// Swatch i: 375 x 375, two rows of eight.
inline constexpr TwipBox Opt(int index) {
    return TwipBox{4080 + 360 * (index % 8), index < 8 ? 1800 : 2160, 375, 375};
}
} // namespace layout

} // namespace zandrel
