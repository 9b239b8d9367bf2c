// The special mode's events and the byte viewer.
#include <optional>
#include <vector>

#include "app/MainForm.h"
#include "platform/Controls.h"
#include "rom/PaletteIO.h"
#include "special/ByteDump.h"
#include "special/SpecialMode.h"
#include "util/Messages.h"

namespace zandrel {

void MainForm::cmdSpecial_Click() {
    if (!MayLeavePalette())
        return;
    // Any failure below ends the command quietly; the steps already done stay done.
    if (ChooseFile(FileDialog::Open, text::kOpenTitle, text::kSpecialFilter).empty())
        return;

    // Nothing checks the answer: a cancelled box gives location 0, which is accepted, and any
    // text is whatever HexToNumber makes of it (0 for a blank or a sign, 253 hex for "ZZ").
    app_.CurrentLocation = TypedLocation(services_.InputBox(text::kTypeLocation));

    model_.SetPathText(model_.strFileHandler);
    app_.RomPath = model_.txtArquivo.caption;
    ShowGameLabel(Shown::SpecialState, text::kSpecialState);
    model_.List1.Clear();
    DisablePaletteCommands();

    if (!ReadPaletteAtLocation().ok())
        return;

    model_.cmdRecarrega.enabled = false;
    model_.lblLocaliza.caption = text::kLocationCaption;
    model_.lblLoc.visible = true;
    model_.lblLocOpt.visible = true;
    model_.lblLoc.caption = HexText(app_.CurrentLocation);
    app_.RomLoaded = true;
    model_.cmdExp.enabled = true;
}

Failure MainForm::ReadPaletteAtLocation() {
    std::vector<ColorWord> words;
    // All sixteen words are read before any swatch changes, so a failure leaves them as
    // they were. Bytes past the end of the file read as 0.
    if (Failure failure =
            ReadColourWords(app_.RomPath, app_.CurrentLocation, kPaletteColours, words);
        !failure.ok())
        return failure;
    editor_.ShowWords(words);
    ForgetEdits();
    return {};
}

void MainForm::ShowLocation(std::int32_t location) {
    // The location changes only when the read succeeds; a file that can no longer be read is
    // reported and nothing else changes.
    const std::int32_t previous = app_.CurrentLocation;
    app_.CurrentLocation = location;
    if (Failure failure = ReadPaletteAtLocation(); !failure.ok()) {
        app_.CurrentLocation = previous;
        ReportFailure(failure);
        return;
    }
    model_.lblLoc.caption = HexText(app_.CurrentLocation);
    // The swatches lose their pressed look; OptSelected, lblLocOpt and the editor stay.
    editor_.ReleaseSwatches();
}

void MainForm::SpecialAction(std::int32_t ActionKey, int shift) {
    if (ActionKey != kKeyF3) {
        if (const auto next = SteppedLocation(app_.CurrentLocation, ActionKey))
            ShowLocation(*next);
        return;
    }
    const bool backward = (shift & kShiftBit) != 0;
    std::optional<std::int32_t> next;
    if (Failure failure = candidates_.Next(app_.RomPath, app_.CurrentLocation, backward, next);
        !failure.ok()) {
        ReportFailure(failure);
        return;
    }
    if (next) // no candidate that way: nothing changes
        ShowLocation(*next);
}

void MainForm::lblLoc_Click() {
    if (!app_.InSpecialState())
        return;
    const std::int32_t location = TypedLocation(services_.InputBox(text::kTypeNewLocation));
    // 0 also stands for a cancelled box and for text HexToNumber refuses (a blank, a sign).
    if (location == 0)
        return;
    ShowLocation(location);
}

void MainForm::cmdExibir_Click() {
    const int row = model_.List1.selected;
    PaletteLocation where;
    if (Failure failure = SelectedLocation(where); !failure.ok()) {
        ReportFailure(failure);
        return;
    }
    const std::int64_t count = ViewerColourCount(model_.lstCount.Row(row));
    std::string text;
    if (Failure failure = BuildByteDump(app_.RomPath, where, count, text); !failure.ok()) {
        ReportFailure(failure);
        return;
    }
    app_.ByteDumpText = text;
    services_.ShowByteWindow(app_.ByteDumpText);
}

} // namespace zandrel
