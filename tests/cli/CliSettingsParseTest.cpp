// charloom-cli --settings: the file's conversion and font fields are the defaults of the run,
// and every option given on the command line wins over them.

#include "CliOptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A file as the desktop program writes it, two-level mode, knobs at 662 and 1200 twips.
const QByteArray
    storedFile("[Settings]\r\n"
               "ConvMode=1\r\n"
               "TextLines=7\r\n"
               "LineSpace=2\r\n"
               "RvFlg=True\r\n"
               "TextTable1= .o\r\n"
               "TextTable2= '|#\r\n"
               "Low=662\r\n"
               "High=1200\r\n"
               "LsConv=0\r\n"
               "NitiGosa=0.5\r\n"
               "FontName=IPAGothic\r\n"
               "FontSize=24\r\n"
               "FontItalic=True\r\n"
               "FontBold=True\r\n"
               "FontStrikethrough=False\r\n"
               "FontUnderline=True\r\n"
               "ForeColor=255\r\n"
               "BackColor=0\r\n"
               "\r\n"
               "[MainWindow]\r\nTop=0\r\nLeft=0\r\nWidth=0\r\nHeight=0\r\nState=0\r\n"
               "\r\n"
               "[TextWindow]\r\nTop=0\r\nLeft=0\r\nWidth=0\r\nHeight=0\r\nState=0\r\n");

} // namespace

class CliSettingsParseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fileGivesTheDefaults();
    void optionsWin();
    void paletteOptionSetsTheModesTable();
    void knobPositionsBecomeLevels_data();
    void knobPositionsBecomeLevels();
    void fileThatCannotBeRead_data();
    void fileThatCannotBeRead();

private:
    QString writeSettings(const QByteArray& bytes);
    CliParse parse(const QStringList& options);

    QTemporaryDir m_dir;
    int m_files = 0;
};

void CliSettingsParseTest::initTestCase() {
    QVERIFY(m_dir.isValid());
}

QString CliSettingsParseTest::writeSettings(const QByteArray& bytes) {
    const QString path = m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test's settings file");
    return path;
}

CliParse CliSettingsParseTest::parse(const QStringList& options) {
    return parseCliArguments(QStringList{QStringLiteral("charloom-cli")} + options +
                             QStringList{QStringLiteral("picture.png")});
}

void CliSettingsParseTest::fileGivesTheDefaults() {
    const CliParse p = parse({QStringLiteral("--settings"), writeSettings(storedFile)});
    QCOMPARE(p.action, CliParse::Action::Run);
    const SettingsRecord& s = p.options.settings;
    QCOMPARE(s.ConvMode, qint16(1));
    QCOMPARE(s.TextLines, qint16(7));
    QCOMPARE(s.LineSpace, 2.0);
    QCOMPARE(s.RvFlg, true);
    QCOMPARE(s.TextTable1, QStringLiteral(" .o"));
    QCOMPARE(s.TextTable2, QStringLiteral(" '|#"));
    QCOMPARE(s.LsConv, qint16(0));
    QCOMPARE(s.NitiGosa, 0.5);
    QCOMPARE(s.FontName, QStringLiteral("IPAGothic"));
    QCOMPARE(s.FontSize, 24.0);
    QCOMPARE(s.FontItalic, true);
    QCOMPARE(s.FontBold, true);
    QCOMPARE(s.FontStrikethrough, false);
    QCOMPARE(s.FontUnderline, true);
}

void CliSettingsParseTest::optionsWin() {
    const CliParse p =
        parse({QStringLiteral("--settings"), writeSettings(storedFile), QStringLiteral("--mode"),
               QStringLiteral("normal"), QStringLiteral("--lines"), QStringLiteral("3"),
               QStringLiteral("--palette"), QStringLiteral("ab"), QStringLiteral("--font"),
               QStringLiteral("Mona"), QStringLiteral("--size"), QStringLiteral("10"),
               QStringLiteral("--line-space"), QStringLiteral("1.5"), QStringLiteral("--ls-conv"),
               QStringLiteral("1"), QStringLiteral("--levels"), QStringLiteral("5,6"),
               QStringLiteral("--strikethrough")});
    QCOMPARE(p.action, CliParse::Action::Run);
    const SettingsRecord& s = p.options.settings;
    QCOMPARE(s.ConvMode, qint16(0));
    QCOMPARE(s.TextLines, qint16(3));
    QCOMPARE(s.TextTable1, QStringLiteral("ab"));
    QCOMPARE(s.TextTable2, QStringLiteral(" '|#"));
    QCOMPARE(s.FontName, QStringLiteral("Mona"));
    QCOMPARE(s.FontSize, 10.0);
    QCOMPARE(s.LineSpace, 1.5);
    QCOMPARE(s.LsConv, qint16(1));
    QCOMPARE(s.FontStrikethrough, true);
    QCOMPARE(s.FontBold, true);
    QVERIFY(p.options.levels.has_value());
    QCOMPARE(p.options.levels->lo, qint16(5));
    QCOMPARE(p.options.levels->hi, qint16(6));
}

void CliSettingsParseTest::paletteOptionSetsTheModesTable() {
    const CliParse p = parse({QStringLiteral("--settings"), writeSettings(storedFile),
                              QStringLiteral("--palette"), QStringLiteral("xy")});
    QCOMPARE(p.action, CliParse::Action::Run);
    QCOMPARE(p.options.settings.TextTable1, QStringLiteral(" .o"));
    QCOMPARE(p.options.settings.TextTable2, QStringLiteral("xy"));

    // The palette check looks at the table of the mode the run uses.
    QByteArray noPalette = storedFile;
    noPalette.replace("TextTable2= '|#", "TextTable2=");
    const CliParse empty = parse({QStringLiteral("--settings"), writeSettings(noPalette)});
    QCOMPARE(empty.action, CliParse::Action::Exit);
    QCOMPARE(empty.error, QStringLiteral("文字パレットの設定が必要です"));
}

void CliSettingsParseTest::knobPositionsBecomeLevels_data() {
    QTest::addColumn<QByteArray>("knobs");
    QTest::addColumn<bool>("hasLevels");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");

    // 6.62109375 twips a level: floor(662 / 6.62109375) = 99, floor((1200 - 180) / ...) = 154.
    QTest::newRow("662, 1200") << QByteArray("Low=662\r\nHigh=1200") << true << 99 << 154;
    // The knobs at the two ends of the track.
    QTest::newRow("0, 1874") << QByteArray("Low=0\r\nHigh=1874") << true << 0 << 255;
    // The high knob stops at one knob width (180) and pushes the low knob back to 0; levels
    // 0 and 0 then become 0 and 1.
    QTest::newRow("1000, 100") << QByteArray("Low=1000\r\nHigh=100") << true << 0 << 1;
    QTest::newRow("never set") << QByteArray("Low=-1\r\nHigh=-1") << false << 0 << 255;
}

void CliSettingsParseTest::knobPositionsBecomeLevels() {
    QFETCH(QByteArray, knobs);
    QFETCH(bool, hasLevels);
    QFETCH(int, lo);
    QFETCH(int, hi);
    QByteArray bytes = storedFile;
    bytes.replace("Low=662\r\nHigh=1200", knobs);
    const CliParse p = parse({QStringLiteral("--settings"), writeSettings(bytes)});
    QCOMPARE(p.action, CliParse::Action::Run);
    QCOMPARE(p.options.levels.has_value(), hasLevels);
    if (hasLevels) {
        QCOMPARE(p.options.levels->lo, qint16(lo));
        QCOMPARE(p.options.levels->hi, qint16(hi));
    }
}

void CliSettingsParseTest::fileThatCannotBeRead_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");

    const QString missing = m_dir.filePath(QStringLiteral("missing.ini"));
    QTest::newRow("missing") << missing << missing + QStringLiteral(" ファイルは存在しません。");
    QTest::newRow("a folder") << m_dir.path()
                              << m_dir.path() + QStringLiteral(" ファイルを読み込めません。");
}

void CliSettingsParseTest::fileThatCannotBeRead() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    const CliParse p = parse({QStringLiteral("--settings"), path});
    QCOMPARE(p.action, CliParse::Action::Exit);
    QVERIFY(p.exitCode != 0);
    QCOMPARE(p.error, message);
}

QTEST_GUILESS_MAIN(CliSettingsParseTest)
#include "CliSettingsParseTest.moc"
