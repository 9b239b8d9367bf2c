#include "colour/EditHistory.h"

#include "colour/ColourEditor.h"

namespace zandrel {

EditHistory::Step::Step(EditHistory& history, const ColourEditor& editor)
    : history_(history), editor_(editor), before_(editor.Snapshot()) {
    ++history_.openSteps_;
}

EditHistory::Step::~Step() {
    // A step inside another began after it: only the outermost one is kept.
    if (--history_.openSteps_ > 0)
        return;
    const PaletteSnapshot after = editor_.Snapshot();
    // Moving a slider with no swatch selected changes no colour of the palette: no step.
    if (before_.colours != after.colours || before_.visible != after.visible)
        history_.Commit(before_, after);
}

void EditHistory::Commit(const PaletteSnapshot& before, const PaletteSnapshot& after) {
    if (before == after)
        return;
    redo_.clear();
    undo_.push_back(before);
    if (undo_.size() > kMaxSteps)
        undo_.pop_front();
}

std::optional<PaletteSnapshot> EditHistory::Undo(const PaletteSnapshot& current) {
    if (undo_.empty())
        return std::nullopt;
    redo_.push_back(current);
    const PaletteSnapshot previous = undo_.back();
    undo_.pop_back();
    return previous;
}

std::optional<PaletteSnapshot> EditHistory::Redo(const PaletteSnapshot& current) {
    if (redo_.empty())
        return std::nullopt;
    undo_.push_back(current);
    const PaletteSnapshot next = redo_.back();
    redo_.pop_back();
    return next;
}

void EditHistory::Clear() {
    undo_.clear();
    redo_.clear();
}

} // namespace zandrel
