#include "platform/HelpManual.h"

#include "platform/FileTests.h"
#include "platform/MessageBoxes.h"

#include <QCoreApplication>
#include <QDesktopServices>

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

void open(QWidget* parent, const QString& folder) {
    const QString path =
        manualPath(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder);
    if (!FileTests::IsFile(path)) {
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
