#include "FileDialogs.h"

#include <QFileDialog>

#include "LocalPaths.h"
#include "platform/DialogFilter.h"

namespace zandrel {

QStringList QtNameFilters(const std::string& filter) {
    QStringList filters;
    for (const FilterEntry& entry : SplitDialogFilter(filter)) {
        // Several patterns are separated by ";" in the filter text and by blanks in Qt.
        QString patterns = QString::fromStdString(entry.pattern);
        patterns.replace(u';', u' ');
        filters << QString::fromStdString(entry.description) + QStringLiteral(" (") +
                       patterns.simplified() + u')';
    }
    return filters;
}

std::string AcceptedPath(const QString& chosen) {
    if (chosen.toUcs4().size() > kMaxDialogPath)
        return {};
    return FileSystemPath(chosen).value_or(std::string());
}

int SelectedFilterIndex(const QFileDialog& dialog) {
    // With the patterns hidden the dialog names its filter by the description alone.
    const QString chosen = dialog.selectedNameFilter();
    const QStringList filters = dialog.nameFilters();
    for (int k = 0; k < filters.size(); ++k) {
        const QString& full = filters.at(k);
        if (full == chosen || full.left(full.lastIndexOf(QStringLiteral(" ("))) == chosen)
            return k;
    }
    return -1;
}

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* owner, FileDialogKind kind,
                                            const std::string& title, const std::string& filter,
                                            const FilterMemory& memory) {
    auto dialog = std::make_unique<QFileDialog>(owner, QString::fromStdString(title));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setAcceptMode(kind == FileDialogKind::Open ? QFileDialog::AcceptOpen
                                                       : QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The built-in dialog matches patterns regardless of case unless told otherwise; say so,
    // so "*.GBAPAL" also lists "foo.gbapal".
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    const QStringList filters = QtNameFilters(filter);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        dialog->selectNameFilter(filters.at(memory.Preselect(static_cast<int>(filters.size()))));
    }
    return dialog;
}

std::string RunFileDialog(QFileDialog& dialog, FilterMemory& memory) {
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return {};
    std::string path = AcceptedPath(chosen.first());
    // A path too long to take fails like a cancel and leaves the memory as it was.
    if (!path.empty())
        memory.Remember(SelectedFilterIndex(dialog));
    return path;
}

} // namespace zandrel
