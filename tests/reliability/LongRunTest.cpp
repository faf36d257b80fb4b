// charloom-cli at its limits: Ctrl+C during a long run of 999 lines on a 4000 x 3000 picture
// ends the program promptly with nothing written, and a palette of the 2965 first-level kanji
// (亜--腕) converts in both modes.

#include "convert/TblExpand.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QString cliPath() {
    return qEnvironmentVariable("CHARLOOM_BIN_DIR") + QStringLiteral("/charloom-cli");
}

QImage gradient(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 7 + y) & 255, (y * 3) & 255, ((x ^ y) * 5) & 255);
    }
    return picture;
}

} // namespace

class LongRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void interruptStopsRun_data();
    void interruptStopsRun();
    void kanjiPalette_data();
    void kanjiPalette();

private:
    QTemporaryDir m_dir;
    QString m_bigPicture;
};

void LongRunTest::initTestCase() {
    QVERIFY2(QFile::exists(cliPath()), qPrintable(cliPath()));
    m_bigPicture = m_dir.filePath(QStringLiteral("big.bmp"));
    QVERIFY(gradient(4000, 3000).save(m_bigPicture));
}

void LongRunTest::interruptStopsRun_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<QString>("palette");
    const QString usual = QStringLiteral(" .:1/72X&%@#");
    const QString kanji = QStringLiteral("亜--腕");
    QTest::newRow("normal, early") << QStringLiteral("normal") << 300 << usual;
    QTest::newRow("normal, in the conversion") << QStringLiteral("normal") << 1500 << usual;
    QTest::newRow("two-level, early") << QStringLiteral("two-level") << 300 << usual;
    QTest::newRow("two-level, in the conversion") << QStringLiteral("two-level") << 1500 << usual;
    // Thousands of kanji take a while to measure and draw before the first character.
    QTest::newRow("normal, measuring kanji") << QStringLiteral("normal") << 400 << kanji;
    QTest::newRow("two-level, measuring kanji") << QStringLiteral("two-level") << 400 << kanji;
}

// The aim is a tenth of a second from the signal to the exit; the bound here is generous so that
// a loaded machine or a sanitizer build never fails it, and the time taken is printed.
void LongRunTest::interruptStopsRun() {
    QFETCH(QString, mode);
    QFETCH(int, afterMs);
    QFETCH(QString, palette);
    const QString output = m_dir.filePath(QStringLiteral("out.txt"));
    QFile::remove(output);
    QProcess cli;
    cli.start(cliPath(), {QStringLiteral("--mode"), mode, QStringLiteral("--lines"),
                          QStringLiteral("999"), QStringLiteral("--palette"), palette,
                          QStringLiteral("-q"), QStringLiteral("-o"), output, m_bigPicture});
    QVERIFY(cli.waitForStarted());
    // A fast machine may finish before the signal; the other rows still interrupt.
    if (cli.waitForFinished(afterMs))
        QSKIP("the run ended before the signal; it is too short to test an interruption");
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    QVERIFY(cli.waitForFinished(30000));
    const qint64 ms = sinceSignal.elapsed();
    qInfo("%s: ended %lld ms after the signal", qPrintable(mode), static_cast<long long>(ms));
    // A signal that comes while Qt is still starting, before the handler is in place, ends the
    // program at once by its default action; from the loading of the picture on, the run stops
    // and the program exits with 130.
    if (cli.exitStatus() == QProcess::NormalExit)
        QCOMPARE(cli.exitCode(), 130);
    QVERIFY(!QFile::exists(output));
    QVERIFY2(ms < 10000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
}

void LongRunTest::kanjiPalette_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("normal") << QStringLiteral("normal");
    QTest::newRow("two-level") << QStringLiteral("two-level");
}

void LongRunTest::kanjiPalette() {
    QFETCH(QString, mode);
    const QString range = QStringLiteral("亜--腕");
    // Rows 16 to 47 of JIS X 0208: 31 full rows of 94 and the 51 characters of row 47.
    const QStringList palette = TblExpand(range);
    QCOMPARE(palette.size(), 31 * 94 + 51);
    QCOMPARE(palette.first(), QStringLiteral("亜"));
    QCOMPARE(palette.last(), QStringLiteral("腕"));
    const QString picture = m_dir.filePath(QStringLiteral("small.png"));
    QVERIFY(gradient(120, 90).save(picture));
    QProcess cli;
    cli.start(cliPath(),
              {QStringLiteral("--mode"), mode, QStringLiteral("--lines"), QStringLiteral("6"),
               QStringLiteral("--palette"), range, QStringLiteral("-q"), picture});
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(cli.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    for (const QString& line : lines) {
        QVERIFY(!line.isEmpty());
        for (const QChar c : line)
            QVERIFY2(palette.contains(QString(c)), qPrintable(line));
    }
}

QTEST_GUILESS_MAIN(LongRunTest)
#include "LongRunTest.moc"
