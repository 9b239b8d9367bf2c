// Edits that were not saved: the question every command asks before it leaves them.
#include "app/MainForm.h"
#include "util/Text.h"

namespace zandrel {

bool MainForm::HasUnsavedEdits() const {
    // Compared, not flagged: an edit undone back to the colours read leaves nothing unsaved.
    // The special state has no save; its way out is Exportar.
    return !app_.InSpecialState() && stored_.row >= 0 && stored_.row == model_.List1.selected &&
           editor_.SwatchWords(static_cast<int>(stored_.words.size())) != stored_.words;
}

bool MainForm::AnswerUnsavedEdits(bool forgetOnNo) {
    if (!HasUnsavedEdits())
        return true;
    switch (services_.AskYesNoCancel("A paleta " + Quoted(model_.List1.Row(stored_.row)) +
                                     " tem alterações que não foram salvas. Salvar agora?")) {
    case Choice::Yes:
        return SaveChosenPalette();
    case Choice::No:
        if (forgetOnNo)
            stored_.words = editor_.SwatchWords(static_cast<int>(stored_.words.size()));
        return true;
    case Choice::Cancel:
        break;
    }
    return false;
}

bool MainForm::MayLeavePalette() {
    return AnswerUnsavedEdits(true);
}

bool MainForm::MayReadSavedFile() {
    return AnswerUnsavedEdits(false);
}

} // namespace zandrel
