// charloom-cli --levels auto: the levels the slider's double-click would set, end to end.

#include "common/CliRun.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class CliAutoLevelsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void autoTakesThePicturesRange();
    void invalidSelectionIsAnError();

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run run(const QStringList& arguments);

    QTemporaryDir m_dir;
    QString m_picture;
};

void CliAutoLevelsTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(cliProgram()), qPrintable(cliProgram()));
    // Greys 64..191 from left to right.
    QImage ramp(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x)
            ramp.setPixel(x, y, qRgb(64 + x / 2, 64 + x / 2, 64 + x / 2));
    m_picture = m_dir.filePath(QStringLiteral("ramp.png"));
    QVERIFY(ramp.save(m_picture));
}

CliAutoLevelsTest::Run CliAutoLevelsTest::run(const QStringList& arguments) {
    const CliRun r = runCli(arguments + QStringList{QStringLiteral("-q"), QStringLiteral("--lines"),
                                                    QStringLiteral("4"), m_picture});
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

void CliAutoLevelsTest::autoTakesThePicturesRange() {
    // Knobs at nearest(64u) = 424 and nearest(191u + 180) = 1445 twips (u = 1695 / 256), which
    // the converters read as levels floor(424 / u) = 64 and floor(1265 / u) = 191.
    const Run automatic = run({QStringLiteral("--levels"), QStringLiteral("auto")});
    QCOMPARE(automatic.exitCode, 0);
    const Run explicitLevels = run({QStringLiteral("--levels"), QStringLiteral("64,191")});
    QCOMPARE(explicitLevels.exitCode, 0);
    QCOMPARE(automatic.out, explicitLevels.out);
    const Run plain = run({});
    QVERIFY(plain.out != automatic.out);
}

void CliAutoLevelsTest::invalidSelectionIsAnError() {
    const Run r = run({QStringLiteral("--levels"), QStringLiteral("auto"),
                       QStringLiteral("--select"), QStringLiteral("300,0,400,10")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("選択範囲が不正です")), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(CliAutoLevelsTest)
#include "CliAutoLevelsTest.moc"
