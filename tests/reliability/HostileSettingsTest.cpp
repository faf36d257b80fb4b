// Settings files with values far outside anything the dialogs allow (found by fuzzing the
// settings reader): the record reads them and a conversion with them ends with a message or a
// text, never with undefined behaviour (the sanitizer build stops at any).

#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"
#include "convert/ConvDispatch.h"
#include "platform/Numbers.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>

class HostileSettingsTest : public QObject {
    Q_OBJECT

private slots:
    // Rounding saturates instead of converting an out-of-range double to an integer.
    void roundingSaturates_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("rounded");
        const qint64 most = std::numeric_limits<qint64>::max();
        const qint64 least = std::numeric_limits<qint64>::min();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("1e308") << 1e308 << most;
        QTest::newRow("-1e308") << -1e308 << least;
        QTest::newRow("+inf") << inf << most;
        QTest::newRow("-inf") << -inf << least;
        QTest::newRow("2^63") << 9223372036854775808.0 << most;
        QTest::newRow("-2^63") << -9223372036854775808.0 << least;
        QTest::newRow("NaN") << std::nan("") << qint64(0);
    }

    void roundingSaturates() {
        QFETCH(double, value);
        QFETCH(qint64, rounded);
        QCOMPARE(Numbers::roundHalfEven(value), rounded);
    }

    void extremeValuesConvert_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<ConvOutcome>("outcome");
        // The row height goes negative: "too small" before anything is sampled.
        QTest::newRow("LineSpace=-1e308, spacing sampled")
            << QByteArray("LineSpace=-1e308\r\nLsConv=0\r\n") << ConvOutcome::RowHeightTooSmall;
        // The line space is skipped but makes the raster infinitely narrow: "too narrow".
        QTest::newRow("LineSpace=-1e308, spacing skipped")
            << QByteArray("LineSpace=-1e308\r\nLsConv=1\r\n") << ConvOutcome::TooNarrow;
        QTest::newRow("LineSpace=1e308, spacing skipped")
            << QByteArray("LineSpace=1e308\r\nLsConv=1\r\n") << ConvOutcome::TooNarrow;
        QTest::newRow("NitiGosa=1e308")
            << QByteArray("NitiGosa=1e308\r\n") << ConvOutcome::HandedOff;
        QTest::newRow("NitiGosa=-1e308")
            << QByteArray("NitiGosa=-1e308\r\n") << ConvOutcome::HandedOff;
    }

    void extremeValuesConvert() {
        QFETCH(QByteArray, lines);
        QFETCH(ConvOutcome, outcome);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Settings]\r\nTextLines=2\r\nTextTable1=ab\r\nTextTable2=ab\r\n" + lines);
        }
        SettingsRecord settings;
        QCOMPARE(SettingsFile::IniRead(path, settings), SettingsFile::IniReadResult::Read);
        HandGlyphs glyphs(2);
        glyphs.add(QStringLiteral("a"), {QStringLiteral("#."), QStringLiteral(".#")});
        glyphs.addBlank(QStringLiteral("b"), 2);
        QImage picture(12, 6, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        for (const qint16 mode : {qint16(0), qint16(1)}) {
            settings.ConvMode = mode;
            RecordingServices services;
            const ConversionInput input{settings, &picture, SelectionState{}, glyphs,
                                        LevelPair{0, 255}};
            QCOMPARE(ConvDispatch(input, services).outcome, outcome);
        }
    }
};

QTEST_APPLESS_MAIN(HostileSettingsTest)
#include "HostileSettingsTest.moc"
