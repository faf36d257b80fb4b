// charloom-cli --settings: the file's conversion and font fields are the defaults of the run,
// and every option given on the command line wins over them.

#include "CliOptions.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The conversion and font keys of a settings file: two-level mode, knobs at 662 and 1200 twips.
const QByteArray storedFile("[Settings]\r\nConvMode=1\r\nTextLines=7\r\nLineSpace=2\r\n"
                            "RvFlg=True\r\nTextTable1= .o\r\nTextTable2= '|#\r\n"
                            "Low=662\r\nHigh=1200\r\nLsConv=0\r\nNitiGosa=0.5\r\n"
                            "FontName=IPAGothic\r\nFontSize=24\r\nFontItalic=True\r\n"
                            "FontBold=True\r\nFontStrikethrough=False\r\nFontUnderline=True\r\n");

// One field of a parsed run as text, so that fields of every type fit one table.
QString field(const CliParse& p, const QString& name) {
    const SettingsRecord& s = p.options.settings;
    QString levels = QStringLiteral("none");
    if (p.options.levels)
        levels = QStringLiteral("%1,%2").arg(p.options.levels->lo).arg(p.options.levels->hi);
    QString styles;
    for (const auto& [on, letter] :
         {std::pair{s.RvFlg, u'R'}, std::pair{s.FontBold, u'B'}, std::pair{s.FontItalic, u'I'},
          std::pair{s.FontUnderline, u'U'}, std::pair{s.FontStrikethrough, u'S'}})
        if (on)
            styles += QChar(letter);
    const QHash<QString, QString> fields{
        {QStringLiteral("mode"), QString::number(s.ConvMode)},
        {QStringLiteral("lines"), QString::number(s.TextLines)},
        {QStringLiteral("tables"), s.TextTable1 + u'|' + s.TextTable2},
        {QStringLiteral("font"), s.FontName},
        {QStringLiteral("size"), QString::number(s.FontSize)},
        {QStringLiteral("line space"), QString::number(s.LineSpace)},
        {QStringLiteral("ls-conv"), QString::number(s.LsConv)},
        {QStringLiteral("niti-gosa"), QString::number(s.NitiGosa)},
        {QStringLiteral("styles"), styles},
        {QStringLiteral("levels"), levels}};
    return fields.value(name, QStringLiteral("<no such field>"));
}

} // namespace

class CliSettingsParseTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString writeSettings(const QByteArray& bytes) {
        const QString path = m_dir.filePath(QStringLiteral("s%1.ini").arg(++m_files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test's settings file");
        return path;
    }
    static CliParse parse(const QString& settings, const QStringList& options = {}) {
        return parseCliArguments(
            QStringList{QStringLiteral("charloom-cli"), QStringLiteral("--settings"), settings} +
            options + QStringList{QStringLiteral("picture.png")});
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void optionsWin_data() {
        QTest::addColumn<QString>("options"); // split at blanks
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fromFile");
        QTest::addColumn<QString>("withOptions");
        const auto row = [](const char* options, const char* name, const char* fromFile,
                            const char* withOptions) {
            QTest::newRow(options) << QString::fromUtf8(options) << QString::fromUtf8(name)
                                   << QString::fromUtf8(fromFile) << QString::fromUtf8(withOptions);
        };
        row("--mode normal", "mode", "1", "0");
        row("--lines 3", "lines", "7", "3");
        // --palette sets the table of the mode the run uses.
        row("--palette xy", "tables", " .o| '|#", " .o|xy");
        row("--mode normal --palette ab", "tables", " .o| '|#", "ab| '|#");
        row("--font Mona", "font", "IPAGothic", "Mona");
        row("--size 10", "size", "24", "10");
        row("--line-space 1.5", "line space", "2", "1.5");
        row("--ls-conv 1", "ls-conv", "0", "1");
        row("--niti-gosa 0.25", "niti-gosa", "0.5", "0.25");
        // A style option adds its style; the file's others stay.
        row("--strikethrough", "styles", "RBIU", "RBIUS");
        row("--levels 5,6", "levels", "99,154", "5,6");
    }

    void optionsWin() {
        QFETCH(QString, options);
        QFETCH(QString, name);
        QFETCH(QString, fromFile);
        QFETCH(QString, withOptions);
        const QString file = writeSettings(storedFile);
        const CliParse plain = parse(file);
        QCOMPARE(plain.action, CliParse::Action::Run);
        QCOMPARE(field(plain, name), fromFile);
        const CliParse overridden = parse(file, options.split(u' '));
        QCOMPARE(overridden.action, CliParse::Action::Run);
        QCOMPARE(field(overridden, name), withOptions);
    }

    void knobPositionsBecomeLevels_data() {
        QTest::addColumn<QByteArray>("knobs");
        QTest::addColumn<QString>("levels");
        // 6.62109375 twips a level: floor(662 / 6.62109375) = 99, floor((1200 - 180) / ...) = 154.
        QTest::newRow("662, 1200") << QByteArray("Low=662\r\nHigh=1200") << "99,154";
        // The knobs at the two ends of the track.
        QTest::newRow("0, 1874") << QByteArray("Low=0\r\nHigh=1874") << "0,255";
        // The high knob stops at one knob width (180) and pushes the low knob back to 0; levels
        // 0 and 0 then become 0 and 1.
        QTest::newRow("1000, 100") << QByteArray("Low=1000\r\nHigh=100") << "0,1";
        QTest::newRow("never set") << QByteArray("Low=-1\r\nHigh=-1") << "none";
    }

    void knobPositionsBecomeLevels() {
        QFETCH(QByteArray, knobs);
        QFETCH(QString, levels);
        QByteArray bytes = storedFile;
        bytes.replace("Low=662\r\nHigh=1200", knobs);
        const CliParse p = parse(writeSettings(bytes));
        QCOMPARE(p.action, CliParse::Action::Run);
        QCOMPARE(field(p, QStringLiteral("levels")), levels);
    }

    void badFiles_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const QString missing = m_dir.filePath(QStringLiteral("missing.ini"));
        QTest::newRow("missing") << missing
                                 << missing + QStringLiteral(" ファイルは存在しません。");
        QTest::newRow("a folder") << m_dir.path()
                                  << m_dir.path() + QStringLiteral(" ファイルを読み込めません。");
        // The palette check looks at the table of the mode the run uses.
        QByteArray noPalette = storedFile;
        noPalette.replace("TextTable2= '|#", "TextTable2=");
        QTest::newRow("no palette for its mode")
            << writeSettings(noPalette) << QStringLiteral("文字パレットの設定が必要です");
    }

    void badFiles() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        const CliParse p = parse(path);
        QCOMPARE(p.action, CliParse::Action::Exit);
        QCOMPARE(p.exitCode, 2);
        QCOMPARE(p.error, message);
    }
};

QTEST_GUILESS_MAIN(CliSettingsParseTest)
#include "CliSettingsParseTest.moc"
