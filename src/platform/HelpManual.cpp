#include "platform/HelpManual.h"

#include "platform/FileTests.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>

namespace HelpManual {

static UrlOpener& testOpener() {
    static UrlOpener opener;
    return opener;
}

void setOpenerForTests(UrlOpener opener) {
    testOpener() = std::move(opener);
}

QString manualPath(const QString& folder) {
    QString path = folder;
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + QStringLiteral("Manual.txt");
}

QString locate(const QString& programFolder) {
    const QString beside = manualPath(programFolder);
    if (FileTests::IsFile(beside))
        return beside;
    const QString installed =
        QDir::cleanPath(programFolder + QStringLiteral("/../share/charloom/Manual.txt"));
    return FileTests::IsFile(installed) ? installed : QString();
}

void open(QWidget* parent, const QString& folder) {
    const QString path = locate(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder);
    if (path.isEmpty()) {
        MessageBoxes::ok(parent, QStringLiteral("付属の Manual.txt を読んで下さい。"));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    if (testOpener())
        testOpener()(url);
    else
        QDesktopServices::openUrl(url);
}

} // namespace HelpManual
