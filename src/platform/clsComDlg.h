#pragma once

#include <QString>
#include <QWidget>

#include <functional>

// The open and save file dialogs, driven by a handful of properties: a filter list in the form
// "description|pattern;pattern|description|pattern", a title, flags, a proposed file and the
// 1-based index of the filter shown first. Setting Action shows the dialog; FileName is "" after
// Cancel, and FilterIndex tells which filter the user chose.
class clsComDlg {
public:
    // Common-dialog flags the callers pass.
    static constexpr int OFN_HIDEREADONLY = 4;
    static constexpr int OFN_PATHMUSTEXIST = 2048;
    static constexpr int OFN_FILEMUSTEXIST = 4096;
    static constexpr int OFN_EXPLORER = 524288;
    static constexpr int OFN_LONGNAMES = 2097152;
    static constexpr int OpenFlags = 2625540;
    static constexpr int SaveFlags = 2623492;

    QString DialogTitle;
    QString Filter;
    int Flags = 0;
    QWidget* OwnerhWnd = nullptr;
    QString FileName;
    int FilterIndex = 1;

    // 1 shows the open dialog, 2 the save dialog.
    void setAction(int action);

    // The Qt name filters of a "description|pattern;pattern|..." list.
    static QStringList nameFilters(const QString& filter);

    // Tests answer the dialog instead of a user: given the dialog (its properties set and the
    // action), the chooser sets FileName and FilterIndex as a user's choice would.
    using Chooser = std::function<void(clsComDlg& dialog, int action)>;
    static void setChooserForTests(Chooser chooser);
};
