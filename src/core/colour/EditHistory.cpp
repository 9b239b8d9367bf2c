#include "colour/EditHistory.h"

namespace zandrel {

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
