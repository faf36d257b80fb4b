// The dispatch on the conversion mode: 0 runs the normal converter with TextTable1, 1 the
// two-level one with TextTable2, anything else runs nothing.

#include "convert/ConvDispatch.h"
#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"

#include <QImage>
#include <QTest>

class ConvDispatchTest : public QObject {
    Q_OBJECT

private slots:
    void dispatch_data();
    void dispatch();
};

void ConvDispatchTest::dispatch_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<ConvOutcome>("outcome");
    QTest::addColumn<QString>("text");
    // A white picture 4 pixels wide: the normal converter fills the whole line, the two-level
    // one leaves the widest character's width free at the right end.
    QTest::newRow("normal") << 0 << ConvOutcome::HandedOff << QStringLiteral("aaaa");
    QTest::newRow("two-level") << 1 << ConvOutcome::HandedOff << QStringLiteral("bbb");
    QTest::newRow("mode 2") << 2 << ConvOutcome::NotRun << QString();
    QTest::newRow("mode -1") << -1 << ConvOutcome::NotRun << QString();
}

void ConvDispatchTest::dispatch() {
    QFETCH(int, mode);
    QFETCH(ConvOutcome, outcome);
    QFETCH(QString, text);
    HandGlyphs glyphs(1);
    glyphs.addBlank(QStringLiteral("a"), 1);
    glyphs.addBlank(QStringLiteral("b"), 1);
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(mode);
    settings.TextTable1 = QStringLiteral("a");
    settings.TextTable2 = QStringLiteral("b");
    settings.TextLines = 1;
    settings.LsConv = 0;
    QImage picture(4, 1, QImage::Format_RGB32);
    picture.fill(Qt::white);
    RecordingServices services;
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    QCOMPARE(ConvDispatch(input, services).outcome, outcome);
    QCOMPARE(services.text, text);
    const bool ran = outcome != ConvOutcome::NotRun;
    QCOMPARE(services.handedOff, ran);
    QCOMPARE(services.preparingShown, ran ? 1 : 0);
}

QTEST_APPLESS_MAIN(ConvDispatchTest)
#include "ConvDispatchTest.moc"
