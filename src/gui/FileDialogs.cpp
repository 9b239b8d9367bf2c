#include "FileDialogs.h"

#include <QFileDialog>

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
    return chosen.toStdString();
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
        memory.Remember(
            static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
    return path;
}

} // namespace zandrel
