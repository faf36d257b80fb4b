#include "TestFont.h"

#include "textview/LinePrinting.h"
#include "textview/TextLayout.h"
#include "textview/WidthCache.h"

#include "convert/FontSetup.h"
#include "platform/Numbers.h"

#include <QTest>

class tst_TextLayout : public QObject {
    Q_OBJECT
private:
    TextLayout monapoLayout(double points = 12) {
        TextLayout layout;
        layout.setFont(FontSetup::textFont(monapoSettings(points)));
        return layout;
    }

private slots:
    void initTestCase() { REQUIRE_MONAPO(); }

    // Against the font's own metrics: the pitch is the line spacing at 96 dpi plus the line
    // height, rounded; the widest line, wherever it is, gives the width.
    void figures_data() {
        QTest::addColumn<double>("points");
        QTest::addColumn<double>("lineSpace");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("12 pt, no spacing") << 12.0 << 0.0 << u"ab\r\nWWWW\r\nc"_qs << 3;
        QTest::newRow("12 pt, 3 pt spacing") << 12.0 << 3.0 << u"／＼\r\n(´・ω・`)"_qs << 2;
        QTest::newRow("9 pt, -1.5 pt spacing") << 9.0 << -1.5 << u"x\r\n\r\n"_qs << 2;
        QTest::newRow("widest last, final CR LF") << 12.0 << 0.0 << u"ab\r\nWWWW\r\n"_qs << 2;
        QTest::newRow("empty") << 12.0 << 0.0 << QString() << 0;
    }
    void figures() {
        QFETCH(double, points);
        QFETCH(double, lineSpace);
        QFETCH(QString, text);
        TextLayout layout = monapoLayout(points);
        layout.TxtToPic(text, lineSpace);
        const QFontMetricsF fm(FontSetup::textFont(monapoSettings(points)));
        QCOMPARE(layout.font().pixelSize(), FontSetup::pixelSizeFor(points));
        QTEST(int(layout.LineCount()), "lines");
        const qint64 pitch = Numbers::roundHalfEven(lineSpace * 96 / 72 + fm.height());
        QCOMPARE(layout.LinePitch(), pitch);
        double widest = 0;
        for (const QString& l : text.split(QStringLiteral("\r\n")))
            widest = qMax(widest, fm.horizontalAdvance(l));
        QCOMPARE(layout.TxtWidth(), Numbers::roundHalfEven(widest));
        QCOMPARE(layout.TxtHeight(), pitch * layout.LineCount());
        QCOMPARE(layout.LaidText(), text);
    }

    void visibleLines_data() {
        QTest::addColumn<int>("scrY");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("viewHeight");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("y0");
        // One pitch plus 3: line 1 starts 3 pixels above the top, ceil(100 / 16) + 1 lines.
        QTest::newRow("pitch + 3") << 19 << 16 << 100 << 1 << 8 << -3;
        QTest::newRow("top") << 0 << 16 << 100 << 0 << 7 << 0;
        QTest::newRow("exact multiple") << 32 << 16 << 96 << 2 << 6 << 0;
        QTest::newRow("no pitch") << 5 << 0 << 100 << 0 << 0 << 0;
    }
    void visibleLines() {
        QFETCH(int, scrY);
        QFETCH(int, pitch);
        QFETCH(int, viewHeight);
        const LinePrinting::VisibleLines v = LinePrinting::visibleLines(scrY, pitch, viewHeight);
        QTEST(v.first, "first");
        QTEST(v.count, "count");
        QTEST(v.y0, "y0");
    }

    void widthCacheReplacesOldest() {
        TextLayout layout = monapoLayout();
        WidthCache cache;
        for (int i = 0; i < 100; ++i)
            cache.WidthOf(layout.metrics(), QString(QChar(0x4E00 + i)));
        QCOMPARE(cache.count(), 100);
        QCOMPARE(cache.slotOf(QString(QChar(0x4E00))), 0);
        // A cached character is not stored again.
        cache.WidthOf(layout.metrics(), QString(QChar(0x4E05)));
        QCOMPARE(cache.next(), 100);
        cache.WidthOf(layout.metrics(), QStringLiteral("a"));
        QCOMPARE(cache.count(), 100);
        QCOMPARE(cache.slotOf(QStringLiteral("a")), 0);
        QCOMPARE(cache.slotOf(QString(QChar(0x4E00))), -1);
        cache.WidthOf(layout.metrics(), QStringLiteral("b"));
        QCOMPARE(cache.slotOf(QStringLiteral("b")), 1);
        QCOMPARE(cache.slotOf(QString(QChar(0x4E01))), -1);
        QCOMPARE(cache.slotOf(QString(QChar(0x4E02))), 2);
    }

    void widthCacheMeasuresAgainAfterClear() {
        TextLayout small = monapoLayout(12);
        TextLayout large = monapoLayout(24);
        WidthCache cache;
        const float smallW =
            static_cast<float>(small.metrics().horizontalAdvance(QStringLiteral("W")));
        QCOMPARE(cache.WidthOf(small.metrics(), QStringLiteral("W")), smallW);
        // Still cached: the old width, whatever the metrics.
        QCOMPARE(cache.WidthOf(large.metrics(), QStringLiteral("W")), smallW);
        cache.clear();
        QCOMPARE(cache.count(), 0);
        QCOMPARE(cache.WidthOf(large.metrics(), QStringLiteral("W")),
                 static_cast<float>(large.metrics().horizontalAdvance(QStringLiteral("W"))));
    }

    void lineStart_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("start");
        QTest::addColumn<double>("x");
        TextLayout layout = monapoLayout();
        const int wide = qRound(layout.metrics().horizontalAdvance(QStringLiteral("あ")));
        const int w = qRound(layout.metrics().horizontalAdvance(QStringLiteral("W")));
        QTest::newRow("offset 0") << QStringLiteral("あW") << 0 << 1 << 0.0;
        QTest::newRow("inside the wide character") << QStringLiteral("あW") << 5 << 1 << -5.0;
        QTest::newRow("at its end") << QStringLiteral("あW") << wide << 2 << 0.0;
        QTest::newRow("inside the second") << QStringLiteral("あW") << wide + 4 << 2 << -4.0;
        QTest::newRow("whole line left of view") << QStringLiteral("あW") << wide + w << 0 << 0.0;
        QTest::newRow("empty line") << QString() << 0 << 0 << 0.0;
    }
    void lineStart() {
        QFETCH(QString, line);
        QFETCH(int, offset);
        TextLayout layout = monapoLayout();
        WidthCache cache;
        const LinePrinting::LineStartResult r =
            LinePrinting::LineStart(layout, cache, offset, line);
        QTEST(r.start, "start");
        QTEST(r.x, "x");
    }
};

QTEST_MAIN(tst_TextLayout)
#include "tst_TextLayout.moc"
