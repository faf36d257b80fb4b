#pragma once

#include "convert/FontSetup.h"
#include "convert/SettingsRecord.h"

#include <QFontDatabase>
#include <QTest>

// Loads Monapo, the free face drawn to MS PGothic's widths, from its Debian path, and gives a
// settings record that uses it.
inline bool loadMonapo() {
    static const int id = QFontDatabase::addApplicationFont(
        QStringLiteral("/usr/share/fonts/truetype/monapo/monapo.ttf"));
    return id >= 0;
}

inline SettingsRecord monapoSettings(double points = 12) {
    SettingsRecord s;
    s.FontName = QStringLiteral("Monapo");
    s.FontSize = points;
    return s;
}

#define REQUIRE_MONAPO()                                                                           \
    QVERIFY2(loadMonapo(), "Monapo is missing: install the Debian package fonts-monapo")
