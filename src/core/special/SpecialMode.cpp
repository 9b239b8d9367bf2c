// The special mode: sixteen colours at any location of any file.
#include <limits>
#include <vector>

#include "app/MainForm.h"
#include "rom/PaletteIO.h"
#include "util/Messages.h"
#include "util/Text.h"

namespace zandrel {

namespace {

inline constexpr std::int32_t kStepBytes = 32;

// Typed locations are bare hex; lower-case letters count once upper-cased.
std::int32_t TypedLocation(const std::string& answer) {
    return HexToNumber(UpperCase(answer));
}

} // namespace

void MainForm::cmdSpecial_Click() {
    // Any failure below ends the command quietly; the steps already done stay done.
    model_.strDialogFilter = text::kSpecialFilter;
    model_.strDialogDefaultExt.clear();
    model_.strFileHandler = services_.ShowOpenDialog(text::kOpenTitle, model_.strDialogFilter,
                                                     model_.strDialogDefaultExt);
    if (model_.strFileHandler.empty())
        return;

    // A cancelled box or text that is not hex gives location 0, which is accepted.
    app_.CurrentLocation = TypedLocation(services_.InputBox(text::kTypeLocation));

    model_.txtArquivo.caption = model_.strFileHandler;
    app_.RomPath = model_.txtArquivo.caption;
    model_.lblGame.caption = text::kSpecialState;
    model_.List1.Clear();

    if (!ReadPaletteAtLocation().ok())
        return;

    model_.cmdRecarrega.enabled = false;
    model_.lblLocaliza.caption = text::kLocationCaption;
    model_.lblLoc.visible = true;
    model_.lblLocOpt.visible = true;
    model_.lblLoc.caption = HexText(app_.CurrentLocation);
    app_.RomLoaded = true;
    model_.Command2.enabled = false;
    model_.cmdExibir.enabled = false;
    model_.cmdAmostra.enabled = false;
    model_.cmdImp.enabled = false;
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
    for (int i = 0; i < kPaletteColours; ++i) {
        Swatch& swatch = model_.Opt[static_cast<std::size_t>(i)];
        swatch.backColor = WordToColor(words[static_cast<std::size_t>(i)]);
        swatch.visible = true;
    }
    return {};
}

namespace {

// Shows the palette at `location`. The location changes only when the read succeeds; a
// file that can no longer be read is reported and nothing else changes.
void ShowLocation(MainForm& form, std::int32_t location) {
    AppState& app = form.app();
    const std::int32_t previous = app.CurrentLocation;
    app.CurrentLocation = location;
    if (Failure failure = form.ReadPaletteAtLocation(); !failure.ok()) {
        app.CurrentLocation = previous;
        form.ReportFailure(failure);
        return;
    }
    FormModel& model = form.model();
    model.lblLoc.caption = HexText(app.CurrentLocation);
    // The swatches lose their pressed look; OptSelected, lblLocOpt and the editor stay.
    for (Swatch& swatch : model.Opt)
        swatch.selected = false;
}

} // namespace

void MainForm::SpecialAction(std::int32_t ActionKey) {
    std::int32_t next = 0;
    if (ActionKey == kKeyAdd) {
        // Past the largest location there is nowhere to go.
        if (app_.CurrentLocation > std::numeric_limits<std::int32_t>::max() - kStepBytes)
            return;
        next = app_.CurrentLocation + kStepBytes;
    } else if (ActionKey == kKeySubtract) {
        // No palette starts before the first byte of the file.
        if (app_.CurrentLocation < kStepBytes)
            return;
        next = app_.CurrentLocation - kStepBytes;
    } else {
        return;
    }
    ShowLocation(*this, next);
}

void MainForm::lblLoc_Click() {
    if (model_.lblGame.caption != text::kSpecialState)
        return;
    const std::int32_t location = TypedLocation(services_.InputBox(text::kTypeNewLocation));
    // 0 also stands for a cancelled box and text that is not hex.
    if (location == 0)
        return;
    ShowLocation(*this, location);
}

} // namespace zandrel
