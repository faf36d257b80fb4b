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
    void dispatch() {
        HandGlyphs glyphs(1);
        glyphs.addBlank(QStringLiteral("a"), 1);
        glyphs.addBlank(QStringLiteral("b"), 1);
        QImage picture(4, 1, QImage::Format_RGB32);
        picture.fill(Qt::white);
        // A white picture 4 pixels wide: the normal converter fills the whole line, the two-level
        // one leaves the widest character's width free at the right end.
        const std::tuple<int, ConvOutcome, QString> cases[] = {
            {0, ConvOutcome::HandedOff, QStringLiteral("aaaa")},
            {1, ConvOutcome::HandedOff, QStringLiteral("bbb")},
            {2, ConvOutcome::NotRun, QString()},
            {-1, ConvOutcome::NotRun, QString()},
        };
        for (const auto& [mode, outcome, text] : cases) {
            SettingsRecord settings;
            settings.ConvMode = static_cast<qint16>(mode);
            settings.TextTable1 = QStringLiteral("a");
            settings.TextTable2 = QStringLiteral("b");
            settings.TextLines = 1;
            settings.LsConv = 0;
            RecordingServices services;
            QCOMPARE(ConvDispatch({settings, &picture, {}, glyphs, {0, 255}}, services).outcome,
                     outcome);
            QCOMPARE(services.text, text);
            const bool ran = outcome != ConvOutcome::NotRun;
            QCOMPARE(services.handedOff, ran);
            QCOMPARE(services.preparingShown, ran ? 1 : 0);
        }
    }
};

QTEST_APPLESS_MAIN(ConvDispatchTest)
#include "ConvDispatchTest.moc"
