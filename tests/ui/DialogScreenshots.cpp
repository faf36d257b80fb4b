// Saves pictures of the conversion settings, font and colour dialogs (and the about box) into the
// folder named on the command line, for the README. Run under a real X server such as Xvfb by
// scripts/dialog-screenshots.sh.
#include "convert/FontSetup.h"
#include "convert/fomSetup.h"
#include "platform/fomVersion.h"
#include "settings/fomColorSet.h"
#include "settings/fomFontSet.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

static bool save(QDialog& dialog, const QDir& folder, const QString& name) {
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return false;
    QTest::qWait(200);
    const QString path = folder.filePath(name);
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    dialog.close();
    return saved;
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    FontSetup::installSubstitutions();
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    SettingsRecord settings;
    bool ok = true;
    {
        fomSetup dialog(settings);
        ok = save(dialog, folder, QStringLiteral("fomSetup.png")) && ok;
    }
    {
        fomFontSet dialog(settings);
        ok = save(dialog, folder, QStringLiteral("fomFontSet.png")) && ok;
    }
    {
        settings.ForeColor = ColorRef::ImageColor;
        fomColorSet dialog(settings);
        ok = save(dialog, folder, QStringLiteral("fomColorSet.png")) && ok;
    }
    {
        fomVersion dialog;
        ok = save(dialog, folder, QStringLiteral("fomVersion.png")) && ok;
    }
    return ok ? 0 : 1;
}
