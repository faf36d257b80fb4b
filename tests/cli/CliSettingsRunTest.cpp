// charloom-cli --settings, end to end: a run with a settings file converts with the file's
// palette, line count, mode, font and knob positions, as the same run spelled out in options.

#include "common/CliRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QByteArray settingsFile(const QByteArray& mode, const QByteArray& knobs) {
    return "[Settings]\r\n"
           "ConvMode=" +
           mode +
           "\r\n"
           "TextLines=6\r\n"
           "LineSpace=0\r\n"
           "RvFlg=False\r\n"
           "TextTable1= .:+#\r\n"
           "TextTable2= @\r\n" +
           knobs +
           "\r\n"
           "LsConv=1\r\n"
           "NitiGosa=0.2\r\n"
           "FontName=IPAPGothic\r\n"
           "FontSize=24\r\n"
           "FontItalic=False\r\n"
           "FontBold=False\r\n"
           "FontStrikethrough=False\r\n"
           "FontUnderline=False\r\n"
           "ForeColor=-2147483630\r\n"
           "BackColor=-2147483643\r\n";
}

} // namespace

class CliSettingsRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void convertsWithTheFile();
    void fileKnobsGiveTheLevels();
    void modeOptionWinsOverTheFile();
    void missingFileIsAnError();

private:
    Run run(const QStringList& arguments);
    QString writeSettings(const QString& name, const QByteArray& bytes);

    QTemporaryDir m_dir;
    QString m_picture;
};

void CliSettingsRunTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(cliProgram()), qPrintable(cliProgram()));
    // A grey ramp from black on the left to white on the right.
    QImage ramp(256, 96, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x)
            ramp.setPixel(x, y, qRgb(x, x, x));
    m_picture = m_dir.filePath(QStringLiteral("ramp.png"));
    QVERIFY(ramp.save(m_picture));
}

QString CliSettingsRunTest::writeSettings(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test's settings file");
    return path;
}

Run CliSettingsRunTest::run(const QStringList& arguments) {
    const CliRun r = runCli(arguments + QStringList{QStringLiteral("-q"), m_picture});
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

void CliSettingsRunTest::convertsWithTheFile() {
    const QString file =
        writeSettings(QStringLiteral("plain.ini"), settingsFile("0", "Low=-1\r\nHigh=-1"));
    const Run fromFile = run({QStringLiteral("--settings"), file});
    QCOMPARE(fromFile.exitCode, 0);
    const QStringList lines = fromFile.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 6);
    for (const QString& line : lines)
        for (const QChar c : line)
            QVERIFY2(QStringLiteral(" .:+#").contains(c), qPrintable(line));
    QVERIFY(fromFile.out.contains(u'+'));

    const QStringList spelledOut{QStringLiteral("--palette"), QStringLiteral(" .:+#"),
                                 QStringLiteral("--lines"),   QStringLiteral("6"),
                                 QStringLiteral("--font"),    QStringLiteral("IPAPGothic"),
                                 QStringLiteral("--size"),    QStringLiteral("24")};
    const Run fromOptions = run(spelledOut);
    QCOMPARE(fromOptions.exitCode, 0);
    QCOMPARE(fromFile.out, fromOptions.out);

    // The font reaches the run: the fixed-pitch face lays out other text than the proportional.
    const Run fixedPitch =
        run(spelledOut + QStringList{QStringLiteral("--font"), QStringLiteral("IPAGothic")});
    QCOMPARE(fixedPitch.exitCode, 0);
    QVERIFY(fixedPitch.out != fromFile.out);
}

void CliSettingsRunTest::fileKnobsGiveTheLevels() {
    const QString plain =
        writeSettings(QStringLiteral("plain2.ini"), settingsFile("0", "Low=-1\r\nHigh=-1"));
    const QString knobs =
        writeSettings(QStringLiteral("knobs.ini"), settingsFile("0", "Low=662\r\nHigh=1200"));
    const Run fromKnobs = run({QStringLiteral("--settings"), knobs});
    QCOMPARE(fromKnobs.exitCode, 0);
    // Knobs at 662 and 1200 twips are grey levels 99 and 154.
    const Run fromLevels = run({QStringLiteral("--settings"), plain, QStringLiteral("--levels"),
                                QStringLiteral("99,154")});
    QCOMPARE(fromLevels.exitCode, 0);
    QCOMPARE(fromKnobs.out, fromLevels.out);
    const Run fullRange = run({QStringLiteral("--settings"), plain});
    QVERIFY(fullRange.out != fromKnobs.out);
    // --levels wins over the file's knobs.
    const Run overridden = run(
        {QStringLiteral("--settings"), knobs, QStringLiteral("--levels"), QStringLiteral("0,255")});
    QCOMPARE(overridden.out, fullRange.out);
}

void CliSettingsRunTest::modeOptionWinsOverTheFile() {
    const QString twoLevel =
        writeSettings(QStringLiteral("twolevel.ini"), settingsFile("1", "Low=-1\r\nHigh=-1"));
    const QString normal =
        writeSettings(QStringLiteral("normal.ini"), settingsFile("0", "Low=-1\r\nHigh=-1"));
    const Run forced = run({QStringLiteral("--settings"), twoLevel, QStringLiteral("--mode"),
                            QStringLiteral("normal")});
    QCOMPARE(forced.exitCode, 0);
    // The normal mode's palette " .:+#", not the two-level palette " @" of the file.
    QCOMPARE(forced.out, run({QStringLiteral("--settings"), normal}).out);
}

void CliSettingsRunTest::missingFileIsAnError() {
    const QString missing = m_dir.filePath(QStringLiteral("missing.ini"));
    const Run r = run({QStringLiteral("--settings"), missing});
    QVERIFY(r.exitCode > 0);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains(missing + QStringLiteral(" ファイルは存在しません。")),
             qPrintable(r.err));
}

QTEST_GUILESS_MAIN(CliSettingsRunTest)
#include "CliSettingsRunTest.moc"
