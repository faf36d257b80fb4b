// An abort requested while a run still measures and draws its palette ends the run there: the
// glyph source stops asking for glyphs, nothing is handed off, and the outcome is an abort.

#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"
#include "convert/ConvDispatch.h"

#include <QImage>
#include <QTest>

namespace {

// Counts every glyph call and asks for the abort once a number of them were made.
class CountingGlyphs : public HandGlyphs {
public:
    CountingGlyphs() : HandGlyphs(2) {}
    mutable int calls = 0;
    double textWidth(const QString& text) const override {
        ++calls;
        return HandGlyphs::textWidth(text);
    }
    GlyphBitmap drawCharacter(const QString& c, int width, int height) const override {
        ++calls;
        return HandGlyphs::drawCharacter(c, width, height);
    }
};

class AbortingServices : public RecordingServices {
public:
    const CountingGlyphs* glyphs = nullptr;
    int abortAtCalls = 0;
    bool abortRequested() override { return glyphs->calls >= abortAtCalls; }
};

} // namespace

class AbortPollingTest : public QObject {
    Q_OBJECT

private slots:
    void abortWhileMeasuring_data();
    void abortWhileMeasuring();
};

void AbortPollingTest::abortWhileMeasuring_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("normal") << 0;
    QTest::newRow("two-level") << 1;
}

void AbortPollingTest::abortWhileMeasuring() {
    QFETCH(int, mode);
    CountingGlyphs glyphs;
    QString palette;
    for (char16_t c = u'A'; c < u'A' + 400; ++c) {
        glyphs.add(QString(QChar(c)), {QStringLiteral("#."), QStringLiteral(".#")});
        palette += QChar(c);
    }
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextTable1 = palette;
    settings.TextTable2 = palette;
    settings.TextLines = 2;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    AbortingServices services;
    services.glyphs = &glyphs;
    services.abortAtCalls = 100;
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    QCOMPARE(ConvDispatch(input, services).outcome, ConvOutcome::Aborted);
    QVERIFY(!services.handedOff);
    // Stopped within a few calls of the request, long before all 400 glyphs were measured.
    QVERIFY2(glyphs.calls < 100 + 16, qPrintable(QString::number(glyphs.calls)));
    // Without the request the same run finishes.
    services.abortAtCalls = 1 << 30;
    glyphs.calls = 0;
    QCOMPARE(ConvDispatch(input, services).outcome, ConvOutcome::HandedOff);
    QVERIFY(glyphs.calls > 400);
}

QTEST_APPLESS_MAIN(AbortPollingTest)
#include "AbortPollingTest.moc"
