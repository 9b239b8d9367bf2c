#include "app/GraphicsForm.h"

#include "platform/SameFile.h"
#include "util/Messages.h"

namespace zandrel {

namespace {

constexpr GraphicsLocation kFirstByte{0, false, 0};

std::string PointerText(const PointedPixel& pixel) {
    return "Tile " + std::to_string(pixel.tile) + " em " + PaletteLocationText(pixel.tileAt) +
           ", cor " + std::to_string(pixel.index);
}

} // namespace

void GraphicsForm::Follow(const GraphicsContext& context) {
    if (context_ == context)
        return;
    const bool sameFile = context_ && context_->romPath == context.romPath;
    if (!context_ || context_->settingsPath != context.settingsPath) {
        WritePlaces();
        places_ = ReadViewerSettings(context.settingsPath);
    }
    context_ = context;

    Failure failure;
    if (context.palette)
        failure = viewer_.UsePalette(context.romPath, *context.palette);
    const auto kept =
        context.palette ? places_.find(PaletteLocationText(*context.palette)) : places_.end();
    if (failure.ok() && kept != places_.end()) {
        failure = viewer_.SetGrid(kept->second.grid);
        if (failure.ok())
            failure = viewer_.Open(context.romPath, kept->second.start);
    } else if (failure.ok() && (!sameFile || !viewer_.IsOpen())) {
        failure = viewer_.Open(context.romPath, kFirstByte);
    }
    ++viewRevision_;
    ShowTexts();
    if (!failure.ok())
        model_.lblPointer = ErrorMessage(failure);
}

void GraphicsForm::Closed() {
    WritePlaces();
    context_.reset();
}

void GraphicsForm::WritePlaces() {
    if (!placesChanged_ || !context_ || context_->settingsPath.empty())
        return;
    placesChanged_ = false;
    // Only what the viewer remembers is lost when this fails; nothing the user asked to save.
    (void)WriteViewerSettings(context_->settingsPath, places_);
}

void GraphicsForm::ShowTexts() {
    model_.txtLocation = viewer_.IsOpen() ? PaletteLocationText(viewer_.Start()) : std::string();
    ++model_.txtLocationRevision;
    model_.lblStart = viewer_.IsOpen() ? text::kGraphicsStart + model_.txtLocation : std::string();
    model_.lblPointer.clear();
}

void GraphicsForm::Moved() {
    ++viewRevision_;
    ShowTexts();
    if (context_ && context_->palette && viewer_.IsOpen()) {
        const ViewerPlace place{viewer_.Start(), viewer_.Grid()};
        auto [kept, added] = places_.try_emplace(PaletteLocationText(*context_->palette), place);
        if (added || kept->second != place) {
            kept->second = place;
            placesChanged_ = true;
        }
    }
}

void GraphicsForm::Report(const Failure& failure) {
    if (failure.ok()) {
        Moved();
        return;
    }
    ShowTexts(); // what the user typed gives way to where the view is
    services_.MessageBox(ErrorMessage(failure), kStyleCritical);
}

void GraphicsForm::txtLocation_Enter(const std::string& typed) {
    Report(context_ ? viewer_.Open(context_->romPath, typed) : Failure{});
}

void GraphicsForm::SetBitsPerPixel(int bits) {
    Report(viewer_.SetGrid({bits, viewer_.Grid().widthInTiles}));
}

void GraphicsForm::SetWidth(int tiles) {
    Report(viewer_.SetGrid({viewer_.Grid().bitsPerPixel, tiles}));
}

void GraphicsForm::SetZoom(int zoom) {
    viewer_.SetZoom(zoom);
    ++viewRevision_;
}

void GraphicsForm::SetTransparentZero(bool transparent) {
    viewer_.SetTransparentZero(transparent);
}

void GraphicsForm::SetRows(int rows) {
    if (Failure failure = viewer_.SetRows(rows); !failure.ok())
        model_.lblPointer = ErrorMessage(failure);
    ++viewRevision_;
}

void GraphicsForm::ScrollRows(int rows) {
    Report(viewer_.ScrollRows(rows));
}

void GraphicsForm::StepStart(std::int64_t bytes) {
    Report(viewer_.StepStart(bytes));
}

void GraphicsForm::JumpToBlock(bool backward) {
    Report(viewer_.JumpToBlock(backward));
}

void GraphicsForm::PointAt(int x, int y) {
    const std::optional<PointedPixel> pixel = viewer_.At(x, y);
    model_.lblPointer = pixel ? PointerText(*pixel) : std::string();
}

std::optional<int> GraphicsForm::PickedIndex(int x, int y) const {
    const std::optional<PointedPixel> pixel = viewer_.At(x, y);
    if (!pixel || pixel->index >= static_cast<int>(kPaletteColours))
        return std::nullopt;
    return pixel->index;
}

void GraphicsForm::SaveImage_Click(const Palette16& swatches, bool gbaScreen) {
    if (!viewer_.IsOpen())
        return;
    const std::string path =
        services_.ShowSaveDialog(text::kGraphicsSaveTitle, text::kGraphicsPngFilter, "png");
    if (path.empty())
        return;
    // An image written over the open file would replace the game with it.
    Failure failure = RefuseWritingOverOpenFile(path, viewer_.Path());
    if (failure.ok())
        failure = viewer_.SaveImage(path, swatches, gbaScreen);
    if (!failure.ok())
        services_.MessageBox(ErrorMessage(failure), kStyleCritical);
}

bool GraphicsForm::Paint(const Palette16& swatches, bool gbaScreen) {
    const Painted now{swatches, gbaScreen, viewer_.TransparentZero(), viewRevision_};
    if (painted_ == now)
        return false;
    viewer_.Paint(swatches, gbaScreen);
    painted_ = now;
    return true;
}

} // namespace zandrel
