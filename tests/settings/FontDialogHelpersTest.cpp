#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/SettingsRecord.h"
#include "settings/FontDesc.h"
#include "settings/FontNameList.h"
#include "settings/FontSetCheck.h"
#include "settings/SwatchColors.h"

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
        QTest::addColumn<int>("styles"); // 1 italic, 2 bold, 4 strike-through, 8 underline
        QTest::addColumn<QString>("expected");
        const QString ms = QStringLiteral("ＭＳ Ｐゴシック");
        QTest::newRow("default, line space 2, bold")
            << 12.0 << 2.0 << 2 << ms + QStringLiteral("12pt 行間2pt 太字");
        QTest::newRow("no line space") << 12.0 << 0.0 << 0 << ms + QStringLiteral("12pt");
        QTest::newRow("half point") << 10.5 << 0.0 << 0 << ms + QStringLiteral("10.5pt");
        QTest::newRow("four decimals at most")
            << 10.123456 << 0.0 << 0 << ms + QStringLiteral("10.1235pt");
        QTest::newRow("trailing zeros dropped")
            << 9.10000001 << 0.0 << 0 << ms + QStringLiteral("9.1pt");
        QTest::newRow("negative line space, single precision")
            << 12.0 << -1.1 << 0 << ms + QStringLiteral("12pt 行間-1.1pt");
        QTest::newRow("all styles in order")
            << 12.0 << 0.0 << 15 << ms + QStringLiteral("12pt 斜体 太字 取消線 下線");
        QTest::newRow("underline and italic")
            << 12.0 << 0.5 << 9 << ms + QStringLiteral("12pt 行間0.5pt 斜体 下線");
    }
    void fontDesc() {
        QFETCH(double, size);
        QFETCH(double, lineSpace);
        QFETCH(int, styles);
        QFETCH(QString, expected);
        const FontChoice font{QStringLiteral("ＭＳ Ｐゴシック"),
                              size,
                              (styles & 1) != 0,
                              (styles & 2) != 0,
                              (styles & 4) != 0,
                              (styles & 8) != 0};
        QCOMPARE(FontDesc(font, lineSpace), expected);
    }

    void fontDescOfTheDefaults() {
        SettingsRecord settings;
        settings.FontBold = true;
        QCOMPARE(FontDesc(FontChoice::fromSettings(settings), 2),
                 QStringLiteral("ＭＳ Ｐゴシック12pt 行間2pt 太字"));
    }

    void check_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("space");
        QTest::addColumn<QString>("expected");
        const QString big =
            QStringLiteral("サイズが大きすぎです。1 から 400 の間に設定して下さい。");
        const QString small =
            QStringLiteral("サイズが小さすぎです。1 から 400 の間に設定して下さい。");
        QTest::newRow("12 and 0") << "12"
                                  << "0" << QString();
        QTest::newRow("10.5") << "10.5"
                              << "0" << QString();
        QTest::newRow("401") << "401"
                             << "0" << big;
        QTest::newRow("400") << "400"
                             << "0" << QString();
        QTest::newRow("12 with -12")
            << "12"
            << "-12" << QStringLiteral("行間隔が狭すぎです。-12 より大きい値に設定して下さい。");
        QTest::newRow("10.5 with -11")
            << "10.5"
            << "-11" << QStringLiteral("行間隔が狭すぎです。-10.5 より大きい値に設定して下さい。");
        QTest::newRow("12 with -11") << "12"
                                     << "-11" << QString();
        QTest::newRow("letters as size") << "abc"
                                         << "0" << QStringLiteral("サイズが不正です。");
        QTest::newRow("empty size") << ""
                                    << "0" << QStringLiteral("サイズが不正です。");
        QTest::newRow("letters as space") << "12"
                                          << "x" << QStringLiteral("行間隔が不正です。");
        QTest::newRow("both wrong: size first") << "x"
                                                << "y" << QStringLiteral("サイズが不正です。");
        QTest::newRow("0 and 0") << "0"
                                 << "0" << small;
        QTest::newRow("-3 and 0") << "-3"
                                  << "0" << small;
        QTest::newRow("0 with a large line space") << "0"
                                                   << "5" << small;
        QTest::newRow("-1 with a large line space") << "-1"
                                                    << "20" << small;
        QTest::newRow("blanks around") << " 14 "
                                       << " 2 " << QString();
    }
    void check() {
        QFETCH(QString, size);
        QFETCH(QString, space);
        QFETCH(QString, expected);
        QCOMPARE(FontSetCheck(size, space), expected);
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

    void faceListOfThisMachineHoldsTheDefault() {
        const QStringList list = FontNameList::current();
        QVERIFY(list.contains(SettingsRecord::defaultFontName()));
        QVERIFY(list.contains(QStringLiteral("MS PGothic")));
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

    void swatches() {
        const QList<qint32>& refs = SwatchColors::references();
        QCOMPARE(refs.size(), 11);
        QCOMPARE(refs[0], ColorRef::WindowBackground);
        QCOMPARE(refs[1], ColorRef::ButtonText);
        QCOMPARE(refs[2], ColorRef::ImageColor);
        QCOMPARE(refs[3], 0x000000FF);
        QCOMPARE(refs[7], 0x00FF0000);
        QCOMPARE(refs[10], 0);
    }
};

QTEST_MAIN(FontDialogHelpersTest)
#include "FontDialogHelpersTest.moc"
