// The graphics viewer's ties to the main window: opening it, the palette it draws with and
// picking a swatch from it.
#include "app/MainForm.h"
#include "gfx/ViewerSettings.h"

namespace zandrel {

void MainForm::mnuGraphics_Click() {
    if (!app_.RomLoaded)
        return;
    model_.graphicsShown = true;
    SyncGraphics();
}

void MainForm::GraphicsClosed() {
    model_.graphicsShown = false;
    graphics_.Closed();
}

void MainForm::Graphics_Click(int x, int y) {
    const std::optional<int> index = graphics_.PickedIndex(x, y);
    if (index && model_.Opt[static_cast<std::size_t>(*index)].visible)
        Opt_Click(*index);
}

void MainForm::SyncGraphics() {
    if (!model_.graphicsShown)
        return;
    GraphicsContext context{app_.RomPath, std::nullopt, {}};
    if (PaletteShown()) {
        PaletteLocation where{static_cast<std::uint32_t>(app_.CurrentLocation), false, 0};
        if (app_.InSpecialState() || SelectedLocation(where).ok())
            context.palette = where;
    }
    // The special state shows palettes of no game: nothing is kept for them.
    if (!app_.InSpecialState())
        context.settingsPath = ViewerSettingsPath(app_.Folders.userData, app_.DefinitionFile);
    graphics_.Follow(context);
}

} // namespace zandrel
