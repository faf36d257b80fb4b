// A very wide, low picture at many lines makes a raster of tens of millions of columns, but every
// line is cut at 999 characters: both converters read only as far as such a line can reach, so
// the run converts instead of being refused as too large, and the characters it keeps are the
// ones the straightforward converters choose.

#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"
#include "common/ReferenceConverters.h"
#include "convert/ConvNormal.h"
#include "convert/ConvTwoLevel.h"

#include <QImage>
#include <QTest>

#include <random>

namespace {

// Two pixels high, two of them two pixels wide: the widest character is 2, so a line of 999
// characters never reaches beyond raster column 2 x 999.
HandGlyphs glyphs() {
    HandGlyphs g(2);
    g.addBlank(QStringLiteral(" "), 2);
    g.add(QStringLiteral("#"), rows("##/##"));
    g.add(QStringLiteral("i"), rows("#/#"));
    g.add(QStringLiteral("."), rows("./#"));
    g.add(QStringLiteral("/"), rows(".#/#."));
    return g;
}

SettingsRecord settingsFor(int mode, int lines) {
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextTable1 = QStringLiteral(" #i./");
    settings.TextTable2 = settings.TextTable1;
    settings.TextLines = static_cast<qint16>(lines);
    settings.LsConv = 0;
    settings.LineSpace = 0;
    // Map values are multiples of 1/8 and the picture is black and white, so every score is
    // exact whatever order its differences are summed in: the texts compare character for
    // character.
    settings.NitiGosa = 0.25;
    return settings;
}

// White 254 and above counts as full white, so white pixels map to exactly 1.
constexpr LevelPair levels{0, 254};

ConversionResult convert(bool reference, const SettingsRecord& settings, const QImage& picture,
                         const GlyphSource& source, RecordingServices& services) {
    const ConversionInput input{settings, &picture, SelectionState{}, source, levels};
    if (reference)
        return settings.ConvMode == 0 ? ReferenceConverters::normal(input, services)
                                      : ReferenceConverters::twoLevel(input, services);
    return settings.ConvMode == 0 ? ConvNormal(input, services) : ConvTwoLevel(input, services);
}

} // namespace

class WideLowPictureTest : public QObject {
    Q_OBJECT

private slots:
    void sameTextAsReference_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("answer");
        // colsPx = width x 2 x lines: 12000 columns, far beyond the 2 x 1000 read.
        for (const int mode : {0, 1}) {
            const char* name = mode == 0 ? "normal" : "two-level";
            QTest::addRow("%s, 300 x 1 at 20 lines", name) << mode << 300 << 20 << true;
            QTest::addRow("%s, 300 x 1 at 20 lines, Cancel", name) << mode << 300 << 20 << false;
            // Lines of 998 and 999 places, just below the cut: no question.
            QTest::addRow("%s, 999 columns", name) << mode << 999 << 1 << true;
            QTest::addRow("%s, 1000 columns", name) << mode << 1000 << 1 << true;
        }
    }

    void sameTextAsReference() {
        QFETCH(int, mode);
        QFETCH(int, width);
        QFETCH(int, lines);
        QFETCH(bool, answer);
        const HandGlyphs source = glyphs();
        const SettingsRecord settings = settingsFor(mode, lines);
        // Black and white pixels at random.
        QImage picture(width, 1, QImage::Format_RGB32);
        std::mt19937 random(static_cast<unsigned>(width + lines));
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, 0, (random() & 1) != 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));

        RecordingServices fast;
        fast.answer999 = answer;
        RecordingServices reference;
        reference.answer999 = answer;
        QCOMPARE(convert(false, settings, picture, source, fast).outcome,
                 convert(true, settings, picture, source, reference).outcome);
        QCOMPARE(fast.questions999, reference.questions999);
        QCOMPARE(fast.handedOff, reference.handedOff);
        QCOMPARE(fast.text, reference.text);
        QVERIFY(fast.messages.isEmpty());
        if (answer && lines > 1) {
            QCOMPARE(fast.questions999, 1);
            const QStringList textLines = fast.text.split(QStringLiteral("\r\n"));
            QCOMPARE(textLines.size(), lines);
            for (const QString& line : textLines)
                QCOMPARE(line.size(), 999);
        }
    }

    void widestPictureConverts_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("normal") << 0;
        QTest::newRow("two-level") << 1;
    }

    // 32767 x 1 at 999 lines: 999 x 2 raster rows and 32767 x 1998 = 65 million raster columns,
    // a row band of 131 million doubles before the reading was bounded. The first ten picture
    // columns are black and cover raster columns 0..19979, so every line is 999 full blocks.
    void widestPictureConverts() {
        QFETCH(int, mode);
        const HandGlyphs source = glyphs();
        QImage picture(32767, 1, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int x = 0; x < 10; ++x)
            picture.setPixel(x, 0, qRgb(0, 0, 0));
        RecordingServices services;
        const ConversionResult result =
            convert(false, settingsFor(mode, 999), picture, source, services);
        QCOMPARE(result.outcome, ConvOutcome::HandedOff);
        QVERIFY2(services.messages.isEmpty(), qPrintable(services.messages.join(u'\n')));
        QCOMPARE(services.questions999, 1);
        QCOMPARE(services.text, QStringList(999, QString(999, u'#')).join(QStringLiteral("\r\n")));
    }
};

QTEST_APPLESS_MAIN(WideLowPictureTest)
#include "WideLowPictureTest.moc"
