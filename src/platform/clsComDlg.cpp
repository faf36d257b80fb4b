#include "platform/clsComDlg.h"

#include "platform/PathHelpers.h"

#include <QDir>
#include <QFileDialog>

static clsComDlg::Chooser& testChooser() {
    static clsComDlg::Chooser chooser;
    return chooser;
}

void clsComDlg::setChooserForTests(Chooser chooser) {
    testChooser() = std::move(chooser);
}

QStringList clsComDlg::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters.append(parts[i] + QStringLiteral(" (") + patterns + u')');
    }
    return filters;
}

void clsComDlg::setAction(int action) {
    if (testChooser()) {
        testChooser()(*this, action);
        return;
    }
    QFileDialog dialog(OwnerhWnd, DialogTitle);
    const QStringList filters = nameFilters(Filter);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[FilterIndex - 1]);
    const QString folder = PathHelpers::PathDir(FileName);
    dialog.setDirectory(folder.isEmpty() ? QDir::currentPath() : folder);
    dialog.selectFile(PathHelpers::PathFile(FileName));
    if (action == 2) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // The program asks before overwriting, in its own words.
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode((Flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        FileName.clear();
        return;
    }
    FileName = QDir::toNativeSeparators(dialog.selectedFiles().first());
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        FilterIndex = static_cast<int>(chosen) + 1;
}
