// The normal converter on hand-drawn glyphs, where every brightness can be worked out by hand.
// Glyphs are 2 pixels high; a picture 2 x TextLines pixels high maps 1:1 onto the raster.

#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"
#include "convert/ConvNormal.h"
#include "convert/RunMessages.h"

#include <QTest>

namespace {

// 36 characters drawn like "A": with them a palette has more than 32 characters, so the converter
// searches it sorted by brightness.
const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");

// Ground counts as bright, so: blank 1, "A", "B", "+" and the letters 0.75, "|" 0.5, "#" 0; "W" is
// a blank four pixels wide and "Z" has no width. "I" (blank) and "i" (ink) are one pixel square.
HandGlyphs handGlyphs() {
    HandGlyphs glyphs(2);
    glyphs.addBlank(QStringLiteral(" "), 2);
    glyphs.add(QStringLiteral("#"), rows("##/##"));
    for (const QChar c : QStringLiteral("+A") + letters)
        glyphs.add(QString(c), rows("#./.."));
    glyphs.add(QStringLiteral("B"), rows(".#/.."));
    glyphs.add(QStringLiteral("|"), rows("#/."));
    glyphs.addBlank(QStringLiteral("W"), 4);
    glyphs.add(QStringLiteral("Z"), {QString(), QString()});
    return glyphs;
}

// Glyphs one pixel square, so the raster is as wide as the picture: "I" blank, "i" ink.
HandGlyphs pixelGlyphs() {
    HandGlyphs glyphs(1);
    glyphs.add(QStringLiteral("I"), rows("."));
    glyphs.add(QStringLiteral("i"), rows("#"));
    return glyphs;
}

QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage grey(int width, int height, int level) {
    return filled(width, height, QColor(level, level, level));
}

struct Run {
    QString palette;
    int lines = 1;
    bool reverse = false;
    SelectionState selection{};
    LevelPair levels{0, 255};
};

ConversionResult convert(const Run& run, const QImage* picture, const GlyphSource& glyphs,
                         RecordingServices& services) {
    SettingsRecord settings;
    settings.TextTable1 = run.palette;
    settings.TextLines = static_cast<qint16>(run.lines);
    settings.RvFlg = run.reverse;
    return ConvNormal({settings, picture, run.selection, glyphs, run.levels}, services);
}

struct Choice {
    QString palette;
    bool reverse;
    QImage picture;
    QString line;
    LevelPair levels{0, 255};
};

struct Ending {
    QString palette;
    QSize picture; // empty: no picture loaded
    SelectionState selection;
    ConvOutcome outcome;
    QString message;
};

} // namespace
Q_DECLARE_METATYPE(Choice)
Q_DECLARE_METATYPE(Ending)

class TestConvNormal : public QObject {
    Q_OBJECT

private slots:
    void choice_data() {
        QTest::addColumn<Choice>("c");
        QImage edge = filled(5, 2, Qt::black);
        edge.setPixel(4, 0, qRgb(255, 255, 255));
        edge.setPixel(4, 1, qRgb(255, 255, 255));
        QImage halves = filled(8, 2, Qt::white);
        for (int x = 4; x < 8; ++x) {
            halves.setPixel(x, 0, qRgb(0, 0, 0));
            halves.setPixel(x, 1, qRgb(0, 0, 0));
        }
        QImage gradient(8, 2, QImage::Format_RGB32);
        for (int x = 0; x < 8; ++x)
            for (int y = 0; y < 2; ++y)
                gradient.setPixel(x, y, qRgb(x * 36, x * 36, x * 36));
        const QImage white = filled(6, 2, Qt::white);
        const QImage black = filled(6, 2, Qt::black);
        const QImage grey191 = grey(6, 2, 191);
        QTest::newRow("white: blanks") << Choice{u" +#"_qs, false, white, u"   "_qs};
        QTest::newRow("black: densest") << Choice{u" +#"_qs, false, black, u"###"_qs};
        QTest::newRow("grey 191: nearest") << Choice{u" +#"_qs, false, grey191, u"+++"_qs};
        QTest::newRow("halves") << Choice{u" +#"_qs, false, halves, u"  ##"_qs};
        // Reversed, the ink is what is bright: blank 0, "+" 0.25, "#" 1.
        QTest::newRow("reversed white") << Choice{u" +#"_qs, true, white, u"###"_qs};
        QTest::newRow("reversed black") << Choice{u" +#"_qs, true, black, u"   "_qs};
        QTest::newRow("reversed grey 64") << Choice{u" +#"_qs, true, grey(6, 2, 64), u"+++"_qs};
        QTest::newRow("tie: first wins") << Choice{u" AB#"_qs, false, grey191, u"AAA"_qs};
        QTest::newRow("tie: other order") << Choice{u" BA#"_qs, false, grey191, u"BBB"_qs};
        // The same ties in a long palette: the earliest of the 37 still wins, wherever it stands.
        QTest::newRow("long tie: first wins")
            << Choice{u" #A"_qs + letters, false, grey191, u"AAA"_qs};
        QTest::newRow("long tie: first letter wins")
            << Choice{u" #"_qs + letters + u'A', false, grey191, u"aaa"_qs};
        QTest::newRow("long tie: a middle one wins")
            << Choice{letters.mid(20) + u"# "_qs + letters.left(20), false, grey191,
                      letters.mid(20, 1).repeated(3)};
        QTest::newRow("one character") << Choice{u"+"_qs, false, gradient, u"++++"_qs};
        QTest::newRow("same brightness") << Choice{u"AB"_qs, false, gradient, u"AAAA"_qs};
        // A blank of no width would tie with the blank and come first; it is never placed.
        QTest::newRow("width 0 never placed") << Choice{u"Z #"_qs, false, white, u"   "_qs};
        // At x = 4 one white column is left: "W" matches it exactly when judged on that column
        // alone; averaged over its four columns it would lose to "#".
        QTest::newRow("right edge") << Choice{u"W#|"_qs, false, edge, u"##W"_qs};
        QTest::newRow("right edge, white")
            << Choice{u"W#|"_qs, false, filled(5, 2, Qt::white), u"WW"_qs};
        // 128 / 255 through levels 0..128 is 1, through 128..255 it is 0.
        QTest::newRow("levels up to 128")
            << Choice{u" +#"_qs, false, grey(6, 2, 128), u"   "_qs, {0, 128}};
        QTest::newRow("levels from 128")
            << Choice{u" +#"_qs, false, grey(6, 2, 128), u"###"_qs, {128, 255}};
    }

    void choice() {
        QFETCH(Choice, c);
        RecordingServices services;
        const ConversionResult result =
            convert({c.palette, 1, c.reverse, {}, c.levels}, &c.picture, handGlyphs(), services);
        QCOMPARE(result.outcome, ConvOutcome::HandedOff);
        QVERIFY(services.handedOff);
        QCOMPARE(services.text, c.line);
        QVERIFY(services.messages.isEmpty());
        QCOMPARE(services.questions999, 0);
    }

    // Exactly TextLines lines, joined by CR LF, no line end after the last.
    void lineLayout() {
        QImage picture = filled(4, 6, Qt::white);
        for (int x = 0; x < 4; ++x) {
            picture.setPixel(x, 2, qRgb(0, 0, 0));
            picture.setPixel(x, 3, qRgb(0, 0, 0));
        }
        RecordingServices services;
        convert({u" #"_qs, 3}, &picture, handGlyphs(), services);
        QCOMPARE(services.text, QStringLiteral("  \r\n##\r\n  "));
    }

    // Four columns of one-pixel characters on two lines: the percentage before each character is
    // floor((x / 4 + r) / 2 * 100), shown only when it changes.
    void progress() {
        const QImage picture = filled(4, 2, Qt::white);
        RecordingServices services;
        convert({u"II"_qs, 2}, &picture, pixelGlyphs(), services);
        QCOMPARE(services.preparingShown, 1);
        QCOMPARE(services.percents, (QList<int>{0, 12, 25, 37, 50, 62, 75, 87}));
        QCOMPARE(services.yields, 1 + 8);
        QCOMPARE(services.text, QStringLiteral("IIII\r\nIIII"));
    }

    void cut999() {
        // width, the answer, whether the question comes
        for (const auto& [width, answer, asked] : {std::tuple{999, true, false},
                                                   {1000, true, true},
                                                   {2500, true, true},
                                                   {1000, false, true}}) {
            const QImage picture = filled(width, 3, Qt::white);
            RecordingServices services;
            services.answer999 = answer;
            const ConversionResult result =
                convert({u"I"_qs, 3}, &picture, pixelGlyphs(), services);
            QCOMPARE(services.questions999, asked ? 1 : 0);
            QCOMPARE(services.handedOff, answer);
            if (answer)
                QCOMPARE(services.text, QStringList(3, QString(999, u'I')).join(u"\r\n"_qs));
            else
                QCOMPARE(result.outcome, ConvOutcome::Cancelled999);
        }
    }

    // The 999th character of a cut line still sees the brightness of its own column: a black
    // picture 5000 pixels wide with a white column at x = 998.
    void lastColumnOfACutLine() {
        QImage picture = filled(5000, 1, Qt::black);
        picture.setPixel(998, 0, qRgb(255, 255, 255));
        RecordingServices services;
        convert({u"Ii"_qs}, &picture, pixelGlyphs(), services);
        QCOMPARE(services.questions999, 1);
        QCOMPARE(services.text, QString(998, u'i') + u'I');
    }

    void abort() {
        // While preparing, at the fourth character and at the last one (of 12).
        const QImage picture = filled(8, 6, Qt::white);
        for (const int afterYields : {0, 4, 12}) {
            RecordingServices services;
            services.abortAfterYields = afterYields;
            const ConversionResult result =
                convert({u" #"_qs, 3}, &picture, handGlyphs(), services);
            QCOMPARE(result.outcome, ConvOutcome::Aborted);
            QCOMPARE(services.yields, afterYields + 1);
            QVERIFY(!services.handedOff);
            QVERIFY(services.messages.isEmpty());
        }
    }

    void endsWithoutText_data() {
        QTest::addColumn<Ending>("c");
        const QSize size(8, 2);
        const QString unusable = RunMessages::paletteHasNoUsableCharacter();
        const QString invalid = RunMessages::invalidSelection();
        QTest::newRow("no picture") << Ending{u" #"_qs, QSize(), {}, ConvOutcome::EmptyText, {}};
        QTest::newRow("hyphens alone")
            << Ending{u"--"_qs, size, {}, ConvOutcome::EmptyPalette, unusable};
        QTest::newRow("only width 0")
            << Ending{u"ZZ"_qs, size, {}, ConvOutcome::EmptyPalette, unusable};
        // 2 * 1 * 1 / 100 rounds to no column.
        QTest::newRow("too narrow") << Ending{
            u" #"_qs, QSize(1, 100), {}, ConvOutcome::TooNarrow, RunMessages::selectionTooNarrow()};
        QTest::newRow("origin beyond right")
            << Ending{u" #"_qs, size, {true, 9, 0, 12, 1}, ConvOutcome::InvalidSelection, invalid};
        QTest::newRow("wholly left")
            << Ending{u" #"_qs, size, {true, -9, 0, -2, 1}, ConvOutcome::InvalidSelection, invalid};
        QTest::newRow("no pixels")
            << Ending{u" #"_qs, size, {true, 3, 1, 3, 1}, ConvOutcome::EmptySelection, {}};
    }

    void endsWithoutText() {
        QFETCH(Ending, c);
        const QImage image = filled(c.picture.width(), c.picture.height(), Qt::white);
        RecordingServices services;
        const ConversionResult result =
            convert({c.palette, 1, false, c.selection}, c.picture.isEmpty() ? nullptr : &image,
                    handGlyphs(), services);
        QCOMPARE(result.outcome, c.outcome);
        QCOMPARE(services.messages, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        // Only a run without a picture hands off, an empty text.
        QCOMPARE(services.handedOff, c.outcome == ConvOutcome::EmptyText);
        QVERIFY(services.text.isEmpty());
        QCOMPARE(services.questions999, 0);
    }
};

QTEST_APPLESS_MAIN(TestConvNormal)
#include "TestConvNormal.moc"
