#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/SettingsRecord.h"
#include "settings/FontDesc.h"
#include "settings/FontNameList.h"
#include "settings/FontSetCheck.h"

#include <QFontDatabase>
#include <QTest>

#include <algorithm>

// The font dialog's description line, its checks and its face list, and the colour swatches.
class FontDialogHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void fontDesc_data() {
        QTest::addColumn<double>("size");
        QTest::addColumn<double>("lineSpace");
        QTest::addColumn<int>("styles");       // 1 italic, 2 bold, 4 strike-through, 8 underline
        QTest::addColumn<QString>("expected"); // after the face name
        QTest::newRow("no line space") << 12.0 << 0.0 << 0 << u"12pt"_qs;
        QTest::newRow("half point") << 10.5 << 0.0 << 0 << u"10.5pt"_qs;
        QTest::newRow("four decimals at most") << 10.123456 << 0.0 << 0 << u"10.1235pt"_qs;
        QTest::newRow("trailing zeros dropped") << 9.10000001 << 0.0 << 0 << u"9.1pt"_qs;
        QTest::newRow("negative line space, single precision")
            << 12.0 << -1.1 << 0 << u"12pt 行間-1.1pt"_qs;
        QTest::newRow("all styles in order")
            << 12.0 << 0.0 << 15 << u"12pt 斜体 太字 取消線 下線"_qs;
        QTest::newRow("underline and italic") << 12.0 << 0.5 << 9 << u"12pt 行間0.5pt 斜体 下線"_qs;
    }
    void fontDesc() {
        QFETCH(double, size);
        QFETCH(double, lineSpace);
        QFETCH(int, styles);
        QFETCH(QString, expected);
        const FontChoice font{u"ＭＳ Ｐゴシック"_qs, size,
                              bool(styles & 1),      bool(styles & 2),
                              bool(styles & 4),      bool(styles & 8)};
        QCOMPARE(FontDesc(font, lineSpace), QStringLiteral("ＭＳ Ｐゴシック") + expected);
    }

    void fontDescOfTheDefaults() {
        SettingsRecord settings;
        settings.FontBold = true;
        QCOMPARE(FontDesc(FontChoice::fromSettings(settings), 2),
                 QStringLiteral("ＭＳ Ｐゴシック12pt 行間2pt 太字"));
    }

    // FontDialogTest drives 400, 401, 12 with -12 and -11, and letters through the dialog; these
    // are the other bounds and orders of the checks.
    void check_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("space");
        QTest::addColumn<QString>("expected");
        const QString small = u"サイズが小さすぎです。1 から 400 の間に設定して下さい。"_qs;
        QTest::newRow("1") << u"1"_qs << u"0"_qs << QString();
        QTest::newRow("10.5") << u"10.5"_qs << u"0"_qs << QString();
        QTest::newRow("10.5 with -11")
            << u"10.5"_qs << u"-11"_qs
            << u"行間隔が狭すぎです。-10.5 より大きい値に設定して下さい。"_qs;
        QTest::newRow("empty size") << QString() << u"0"_qs << u"サイズが不正です。"_qs;
        QTest::newRow("both wrong: size first") << u"x"_qs << u"y"_qs << u"サイズが不正です。"_qs;
        QTest::newRow("0 and 0") << u"0"_qs << u"0"_qs << small;
        QTest::newRow("-1 with a large line space") << u"-1"_qs << u"20"_qs << small;
        QTest::newRow("blanks around") << u" 14 "_qs << u" 2 "_qs << QString();
    }
    void check() {
        QFETCH(QString, size);
        QFETCH(QString, space);
        QTEST(FontSetCheck(size, space), "expected");
    }

    void faceList() {
        const QStringList list = FontNameList::fromFamilies(
            {QStringLiteral("Monapo"), QStringLiteral("DejaVu Sans"), QStringLiteral("mona"),
             QStringLiteral("MS Gothic"), QStringLiteral("Mona")});
        const QStringList expected = {
            QStringLiteral("DejaVu Sans"), QStringLiteral("Mona"), QStringLiteral("mona"),
            QStringLiteral("Monapo"), QStringLiteral("MS Gothic"), QStringLiteral("MS PGothic"),
            // U+30B4 (ゴ) sorts before U+FF30 (Ｐ).
            QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック")};
        QCOMPARE(list, expected);
    }

    void unknownFaceStillMeasures() {
        // A face from another machine, neither installed nor substituted: Qt's fallback draws
        // it, so a conversion can still measure and draw characters.
        SettingsRecord settings;
        settings.FontName = QStringLiteral("No Such Face 7");
        const QFont font = FontSetup::textFont(settings);
        QVERIFY(QFontDatabase::families().contains(FontSetup::resolvedFamily(font)));
        const FontGlyphs glyphs(font);
        QVERIFY(glyphs.textHeight(QStringLiteral("M")) > 0);
        QVERIFY(glyphs.textWidth(QStringLiteral("#")) > 0);
        const GlyphBitmap hash = glyphs.drawCharacter(QStringLiteral("#"), 16, 16);
        QVERIFY(std::count(hash.stroke.begin(), hash.stroke.end(), 1) > 0);
    }
};

QTEST_MAIN(FontDialogHelpersTest)
#include "FontDialogHelpersTest.moc"
