// The main window: its fields and controls (FormModel) and one handler per event, each with
// its own name. The handlers are defined in app/MainForm*.cpp as short callers of the
// subsystems (colour/, rom/, palfiles/, special/), which take what they need and return
// results or Failures.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/FormModel.h"
#include "app/GraphicsForm.h"
#include "app/StartArguments.h"
#include "colour/Codec.h"
#include "colour/ColourEditor.h"
#include "colour/EditHistory.h"
#include "palfiles/PaletteFormats.h"
#include "platform/Failure.h"
#include "platform/Services.h"
#include "rom/Identify.h"
#include "rom/PaletteLocation.h"
#include "special/CandidateJumps.h"

namespace zandrel {

// The open and save dialogs, and the context menu's, which keep a filter memory of their own.
enum class FileDialog { Open, Save, OpenPaletteFile, SavePaletteFile };

// Which commands of the swatches' context menu apply now, and so their shortcuts; the window
// enables them accordingly and checks the GBA's-screen toggle while that view is on.
struct EditMenu {
    bool undo = false;
    bool redo = false;
    bool copyColour = false;
    bool copyPalette = false;
    bool paste = false;
    bool typeColour = false;
    bool ramp = false;
    bool findInRom = false;
    bool createPatch = false;
    bool gbaScreen = false; // checked
    bool importFile = false;
    bool exportAs = false;
    bool graphics = false;
};

class MainForm {
  public:
    MainForm(AppState& app, Services& services) : app_(app), services_(services) {}

    FormModel& model() { return model_; }
    const FormModel& model() const { return model_; }
    AppState& app() { return app_; }
    const AppState& app() const { return app_; }

    // Start, open and definitions (MainFormOpen.cpp, over rom/).
    // Runs once before the window is first shown, with what main found at start.
    void Form_Load(const StartValues& start);
    void Command1_Click();
    // The open command for a path chosen otherwise (the command line, a file dropped on the
    // window), as if the open dialog had returned it; but a path holding a NUL is refused as
    // RefuseUnusablePath refuses it, and a file that does not exist or cannot be read is named in
    // a box of its own.
    void OpenFile(const std::string& path);
    // A path the desktop could not give as the file system's bytes (it holds a NUL, or bytes
    // that are no text of its encoding), named as the user may recognise it: refused in an
    // exclamation box, and nothing else happens.
    void RefuseUnusablePath(const std::string& shownPath);
    // Refills the three lists; a failure stops the load where it happened.
    Failure LoadPaletteDefinitions();

    // Palette read and write-back (MainFormPalette.cpp, over rom/ and colour/).
    // The list's click on `row`, chosen by the mouse or the keyboard.
    void ChooseRow(int row);
    void List1_Click();
    Failure ReadSelectedPalette();
    void Command2_Click();
    // Writes the first `count` swatch colours in place into the existing file at `path`, at
    // the location (raw: the file must already hold every byte; compressed: the recompressed
    // block must fit in the original's space); shows the confirmation once the bytes are on
    // disk. A failure is returned for the caller to report.
    Failure WritePaletteWords(const std::string& path, const PaletteLocation& where, int count);
    void cmdRecarrega_Click();

    // Unsaved edits (MainFormUnsaved.cpp). Outside the special state, the chosen row's swatches
    // differ from the colour words last read from its location or saved there.
    bool HasUnsavedEdits() const;
    // Every command that leaves the palette on show asks this first (choosing a row, the same
    // one too; opening a file; the reload; the special mode; leaving the program). With an
    // unsaved edit it asks whether to save: true when the command may go on (Sim saved it, or
    // Não let the edit go, after which the colours on show count as saved); false (Cancelar,
    // or a save that failed or was refused) keeps everything as it was. True when nothing is
    // unsaved, without a question.
    bool MayLeavePalette();
    // The same question before a command that reads the file as saved (Criar patch): true when
    // it may go on (Sim saved the edit, Não keeps it on show, unsaved); false on Cancelar or a
    // save that failed.
    bool MayReadSavedFile();

    // Exit and About (MainFormExit.cpp).
    void Command4_Click();
    // Returns the cancel flag: true keeps the window open.
    bool Form_QueryUnload();
    // The close box and a session's end ask as the exit button does: true, with the model
    // closed, when the window may close.
    bool AgreeToClose();
    void Command3_Click();

    // Colour editor (MainFormColour.cpp, over colour/ColourEditor).
    void Opt_Click(int index);
    void SetWorkingColor(RgbColor lngColor);
    // The program setting a slider; a different value raises its change event at once.
    void SetSliderValue(SliderId slider, int value);
    void BlueScroll_Change();
    void GreenScroll_Change();
    void RedScroll_Change();
    void Picture1_DblClick();
    void Form_KeyDown(int keyCode, int shift);

    // Palette files (MainFormFiles.cpp, over palfiles/).
    void cmdExp_Click();
    void cmdImp_Click();
    void cmdAmostra_Click();
    // The context menu's Importar and Exportar, with their rules and offered where those are
    // (EditMenuState), whose dialogs list every format: the import reads any by content, the
    // export writes the one the name ends in.
    void mnuImportFile_Click();
    void mnuExportAs_Click();

    // Special mode and byte viewer (MainFormSpecial.cpp, over special/).
    void cmdSpecial_Click();
    void lblLoc_Click();
    // The keypad's add and subtract step 32 bytes; F3 jumps to the next palette candidate
    // the scanner finds after the location, Shift+F3 (shift bit 1) to the one before it.
    void SpecialAction(std::int32_t ActionKey, int shift = 0);
    void cmdExibir_Click();

    // Colour work on the swatches (MainFormEditing.cpp, over colour/): the context menu's
    // commands, which have shortcuts too, and the swatches' mouse gestures. Every change of
    // the swatch colours is one undo step; see EditHistory::Step.
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCopyColour_Click();
    void mnuCopyPalette_Click();
    void mnuPaste_Click();
    void mnuTypeColour_Click();
    void lblColor_DblClick();
    void mnuRamp_Click();
    void mnuGbaScreen_Click();
    // Sharing (MainFormShare.cpp, over patch/): a patch from an original ROM chosen in the open
    // dialog to the open file as saved, written where the save dialog says, in the format its
    // name ends with; its size and the bytes it changes are confirmed.
    void mnuCreatePatch_Click();
    // The palette on show, as the swatches show it, looked for in a ROM chosen in the open
    // dialog (zandrel-cli find's search, exact); the ROM is then opened as the open command
    // opens it (the unsaved-edits question included) with the best place chosen in its list.
    // A place no row names gets one, named as the user types it, in the user's definition file
    // of that game, which starts as a copy of the installed one; a ROM with a usable code but
    // no definition file gets a new <CODE>.ZNDL there. Information boxes say when nothing was
    // found (and what was searched), and list the places found in a ROM without a usable code,
    // which is not opened.
    void mnuFindInRom_Click();
    // A click with Shift held: the swatch selected before and swatch `index` become a ramp's
    // ends, and `index` is selected as Opt_Click selects it.
    void Opt_ShiftClick(int index);
    // A right click, before the context menu opens: selects swatch `index` as Opt_Click does
    // but keeps the ramp's ends, so the menu's commands act on the swatch under the pointer.
    void Opt_RightClick(int index);
    // Only the selected swatch, while it shows pressed, can be dragged: a press on any other
    // is a click, so a click that slips never moves a colour.
    bool SwatchDraggable(int index) const;
    // Swatch `source` dropped on swatch `index`: their colours swap, or with `copy` the
    // source's colour is copied. Nothing happens unless the source could be dragged.
    void Opt_DragDrop(int index, int source, bool copy);
    // A file dropped on the swatches, imported as Importar imports a chosen file. (A file
    // dropped elsewhere on the window is opened with OpenFile.)
    void Opt_OLEDragDrop(const std::string& path);
    EditMenu EditMenuState() const;

    // The window "Gráficos" (MainFormGraphics.cpp, over app/GraphicsForm): opened from the
    // swatches' context menu, and closed.
    void mnuGraphics_Click();
    void GraphicsClosed();
    // A click on the viewer's point (x, y) selects the swatch of the pixel's colour index as
    // a click on that swatch does; a hidden swatch is never selected.
    void Graphics_Click(int x, int y);
    // After every event: the open viewer follows the file and the palette on show.
    void SyncGraphics();
    GraphicsForm& graphics() { return graphics_; }
    const GraphicsForm& graphics() const { return graphics_; }
    // Every notation of swatch `index`'s colour while a palette is on show; empty text else.
    std::string SwatchToolTip(int index) const;

  private:
    // The unsaved-edits question about the chosen row, when it has one: Sim saves, Não goes on
    // (`forgetOnNo`: the colours on show then count as saved), Cancelar stays.
    bool AnswerUnsavedEdits(bool forgetOnNo);
    // The first row of the lists at `where`, or -1.
    int RowAt(const PaletteLocation& where) const;
    // The definition file `name` in the user's data folder with the line of `where` added at
    // its end, written whole; the installed file's rows first when the user has none yet.
    Failure AddDefinitionRow(const std::string& name, const PaletteLocation& where,
                             const std::string& rowName);
    // The colour words of a chosen row as read from its location or last saved there.
    struct StoredPalette {
        int row = -1;
        std::vector<ColorWord> words;
    };

    // The open command once a path is chosen: identified, then (if the palette on show may be
    // left) shown with the definitions of its game.
    enum class OpenedFrom { Dialog, Outside };
    void OpenChosenFile(const std::string& path, OpenedFrom from);
    // GameName takes the title, a game of the five sets GameIndex.
    void TakeIdentification(const Identification& identification);
    // The definition file the open and the reload read: the one named after the header code
    // for a ROM found by it, otherwise the one GameName and GameIndex choose.
    std::string DefinitionFileName() const;
    // SALVAR's work: true once the chosen row's colours are in the file; a failure or refusal
    // is reported.
    bool SaveChosenPalette();
    // Sets the game label's caption and what it stands for, always together.
    void ShowGameLabel(Shown shown, const std::string& caption);
    // The state an open or a reload leaves once the definitions are in the lists.
    void ShowDefinitionsLoaded();
    // Whenever no row is chosen: disables the commands that work on a chosen palette (save,
    // byte viewer, preview, import and, outside the special state, export), so none acts on
    // a palette that is not there.
    void DisablePaletteCommands();
    // Sets the dialog fields (the filter, no default extension), shows the dialog and keeps
    // its answer in strFileHandler; empty text when cancelled.
    std::string ChooseFile(FileDialog dialog, const char* title, const std::string& filter);
    // Export, import and preview need a full palette: true, after the exclamation box, when
    // the chosen row has fewer than sixteen colours.
    bool RefuseFewerThan16();
    // The colour count of the row chosen in List1 (0 to 16).
    int SelectedColourCount() const;
    // The location of the row chosen in List1; BadLocation, naming the definition file and
    // the row's line, when its text is neither plain hex nor the LZ: form.
    Failure SelectedLocation(PaletteLocation& where) const;
    // Shows a failure in a critical box.
    void ReportFailure(const Failure& failure);

    // Opt_Click without touching the ramp's ends: swatch `index` shows pressed and, while a
    // file is loaded, is selected and gives the working colour.
    void SelectSwatch(int index);
    // A colour chosen for the selected swatch (the colour dialog, a pasted or typed colour)
    // becomes the working colour and reaches the swatch as a 15-bit colour.
    void TakeChosenColour(RgbColor colour);
    // The colour dialog seeded with the system colours; true when the user confirmed.
    bool ColorDialog(RgbColor& color);

    // Writes the swatch colours to a palette file of its own in `format` and confirms it once
    // the bytes are on disk; a failure is returned for the export to end on quietly. A path
    // that is the open file itself is refused in a critical box, unwritten.
    Failure ExportPaletteFile(const std::string& path, PaletteFormat format);
    // The export's steps after the sixteen-colour rule: the dialog, then the file in the format
    // among `formats` that the name ends in, which is returned (None: nothing written).
    PaletteFormat ExportToChosenFile(FileDialog dialog, const char* title,
                                     std::span<const PaletteFormat> formats);
    // The import's steps after the rules: the dialog, then the chosen file, one undo step.
    void ImportChosenFile(FileDialog dialog, const char* title, const std::string& filter);
    Failure WriteTplPalette(const std::string& path);
    Failure WriteJascPalette(const std::string& path);
    // The import of a chosen palette file (from the dialog, or dropped on the swatches): read by
    // its content in any format the program reads; on success the swatches show its sixteen
    // colours and none stays selected. A file that is no palette leaves the swatches as they
    // were and is named in an exclamation box with what is wrong.
    void ImportPaletteFile(const std::string& path);
    // Writes the swatch colours into the sample images in `folder`: the program's own, or
    // the user's cache folder when the program's cannot be written (palfiles/Preview.h).
    Failure PatchPreviewImages(std::string& folder);

    Failure ReadPaletteAtLocation();
    // Shows the special mode's palette at `location`; the location changes only when the
    // read succeeds, and a file that can no longer be read is reported.
    void ShowLocation(std::int32_t location);

    // Copying or pasting a palette's 32 bytes needs sixteen colours, as Exportar does: true,
    // after the exclamation box, when the chosen row has fewer (the special state's palette
    // always has sixteen).
    bool RefusePartPalette();
    // Another palette on show, or the list read again: no undo step or ramp mark carries over.
    void ForgetEdits();
    // A palette is on show: chosen in the list, or read in the special state.
    bool PaletteShown() const;

    AppState& app_;
    Services& services_;
    FormModel model_;
    ColourEditor editor_{model_, app_.RomLoaded};
    CandidateJumps candidates_;
    EditHistory history_;
    StoredPalette stored_;
    GraphicsForm graphics_{services_};
};

} // namespace zandrel
