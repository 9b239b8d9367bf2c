// Undo and redo for palette edits.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "util/ColourTypes.h"

namespace zandrel {

class ColourEditor;

// What undo puts back: the swatches and the editor's working colour with its labels.
struct PaletteSnapshot {
    Palette16 colours{};
    // An import shows every swatch, even those a shorter palette had hidden.
    std::array<bool, kPaletteColours> visible{};
    int selected = -1; // the selected swatch, or -1 for none
    int blue = 0;      // slider values, 0-31
    int green = 0;
    int red = 0;
    RgbColor sample = 0;
    // The labels as shown: "00" and "0000" until the editor first changes, then the values.
    std::string blueText{};
    std::string greenText{};
    std::string redText{};
    std::string wordText{};
    friend bool operator==(const PaletteSnapshot&, const PaletteSnapshot&) = default;
};

// Steps of one palette's editing. Choosing another palette or reloading starts afresh
// (Clear); a save does not, so an edit undone after a save can be saved again.
class EditHistory {
  public:
    static constexpr std::size_t kMaxSteps = 1000;

    // One undo step from its start to its end, however many changes it holds (the colour
    // dialog's three slider changes): the editor's state as the outermost step began, committed
    // when it ends if the swatch colours changed. Steps begun inside it are part of it.
    class Step {
      public:
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

      private:
        friend class EditHistory;
        Step(EditHistory& history, const ColourEditor& editor);

        EditHistory& history_;
        const ColourEditor& editor_;
        PaletteSnapshot before_;
    };
    // Begins a step over `editor`'s swatches; it ends when the returned value goes.
    [[nodiscard]] Step Begin(const ColourEditor& editor) { return Step(*this, editor); }

    // A change went from `before` to `after`: one undo step, unless nothing changed. A new
    // step discards what could be redone; past kMaxSteps the oldest step is forgotten.
    void Commit(const PaletteSnapshot& before, const PaletteSnapshot& after);
    // The state to show instead of `current`, which becomes redoable; nothing when no step.
    std::optional<PaletteSnapshot> Undo(const PaletteSnapshot& current);
    // The state an undo left, `current` becoming undoable again; nothing when no step.
    std::optional<PaletteSnapshot> Redo(const PaletteSnapshot& current);
    void Clear();
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }

  private:
    std::deque<PaletteSnapshot> undo_;
    std::vector<PaletteSnapshot> redo_;
    int openSteps_ = 0; // steps begun and not yet ended, the outer ones included
};

} // namespace zandrel
