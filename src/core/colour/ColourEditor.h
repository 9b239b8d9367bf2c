// The colour editor: sixteen swatches holding the palette being edited, the working colour
// with its sample, and three 5-bit sliders whose changes reach the selected swatch at once.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "colour/EditHistory.h"
#include "platform/Controls.h"
#include "util/ColourTypes.h"

namespace zandrel {

enum class SliderId { Blue, Green, Red };

// The editor's controls, as the main window holds them.
struct EditorControls {
    std::int16_t OptSelected = -1; // the selected swatch, -1 for none
    std::string StrColor;          // the working colour as hex text
    std::array<Swatch, kPaletteColours> Opt{};
    // Slider values change only through ColourEditor::SetSliderValue, which raises the change.
    int BlueScroll = 0;
    int GreenScroll = 0;
    int RedScroll = 0;
    RgbColor Picture1 = kDefaultSwatchColor;
    Control lblColor{"0000"};
    Control lblBlue{"00"};
    Control lblGreen{"00"};
    Control lblRed{"00"};
};

class ColourEditor {
  public:
    // Edits reach the selected swatch only while `fileLoaded` holds.
    ColourEditor(EditorControls& controls, const bool& fileLoaded)
        : c_(controls), fileLoaded_(fileLoaded) {}

    // A click on swatch `index`: the swatch shows pressed and, while a file is loaded, it is
    // the selected one (its colour is then made the working colour with SetWorkingColor).
    // False for an index that is no swatch.
    bool ClickSwatch(int index);
    // Shows the colour in the sample and moves the sliders to it: blue, green, then red, each
    // change running at once with the sliders as they stand.
    void SetWorkingColor(RgbColor lngColor);
    // The program setting a slider; a different value raises its change at once.
    void SetSliderValue(SliderId slider, int value);
    // The change of any slider: the sample and the selected swatch take the sliders' colour.
    void SliderChanged();
    // After SetWorkingColor with a colour chosen for the selected swatch (the colour dialog, a
    // pasted or typed colour): the slider change runs once more, so sample and swatch get the
    // 15-bit colour even where no slider moved.
    void ApplyWorkingColour();

    bool HasSelectedSwatch() const;
    RgbColor SelectedSwatchColour() const;
    // Fills the first words.size() swatches with the words' colours and shows them.
    void ShowWords(std::span<const ColorWord> words);
    // Every swatch loses its pressed look; the selection stays.
    void ReleaseSwatches();
    // Every swatch released and none selected.
    void ClearSelection();
    // The colour words of the first `count` swatches (0 to 16), hidden ones too.
    std::vector<ColorWord> SwatchWords(int count) const;
    // New colours for the swatches, shown or hidden as they were; the working colour follows
    // the selected swatch, so a slider moved next starts from what it shows.
    void ChangeSwatches(const Palette16& colours);

    // What undo keeps of the swatches and the working colour, and puts back: the selected
    // swatch shows pressed, the sliders move without raising changes.
    PaletteSnapshot Snapshot() const;
    void Restore(const PaletteSnapshot& snapshot);

  private:
    // Shows the three slider values in their labels and the colour word in lblColor.
    ColorWord ShowSliderValues();

    EditorControls& c_;
    const bool& fileLoaded_;
};

// The back colours of the sixteen swatches, visible or not: the palette being edited.
Palette16 SwatchColours(const EditorControls& controls);

} // namespace zandrel
