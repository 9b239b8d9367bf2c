// The open and save dialogs: filter conversion, the path-length rule and the remembered filter.
#pragma once

#include <memory>
#include <string>

#include <QStringList>

class QFileDialog;
class QWidget;

namespace zandrel {

enum class FileDialogKind { Open, Save };

// The longest path the program takes from a dialog.
inline constexpr int kMaxDialogPath = 259;

// One Qt name filter per "description|pattern" pair. The pattern goes in brackets behind the
// description, where Qt reads it; the dialog hides that part, so the user sees the description.
QStringList QtNameFilters(const std::string& filter);

// The chosen path as the file system's bytes (FileSystemPath), or empty text, as for a failed
// dialog, when it is longer than kMaxDialogPath characters or has no such bytes.
std::string AcceptedPath(const QString& chosen);

// The filter entry the user last confirmed, shared by every dialog of the run. A dialog with
// at least that many entries starts on it; the first dialog starts on the first entry.
class FilterMemory {
  public:
    int Preselect(int entryCount) const { return last_ < entryCount ? last_ : 0; }
    void Remember(int index) { last_ = index < 0 ? 0 : index; }

  private:
    int last_ = 0;
};

// A dialog set up and ready to show: non-native, never asking before an overwrite, accepting
// names that do not exist, matching patterns in any letter case.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* owner, FileDialogKind kind,
                                            const std::string& title, const std::string& filter,
                                            const FilterMemory& memory);

// The number (from 0) of the filter entry the dialog shows, or -1.
int SelectedFilterIndex(const QFileDialog& dialog);

// Shows the dialog modally; the chosen path, or empty text on cancel. A confirmed choice
// updates the filter memory.
std::string RunFileDialog(QFileDialog& dialog, FilterMemory& memory);

} // namespace zandrel
