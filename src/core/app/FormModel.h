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
    // The window "Gráficos" is open (app/GraphicsForm.h).
    bool graphicsShown = false;

    // Set when the window has agreed to close and the program should end.
    bool closed = false;

    void SetPathText(std::string path) {
        txtArquivo.caption = std::move(path);
        ++txtArquivoRevision;
    }
};

} // namespace zandrel
