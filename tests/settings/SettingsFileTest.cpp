// The settings file: its exact bytes, write-then-read, the reader's rules for sections, keys,
// case, duplicates and line ends, values that do not fit, and writes that must not lose the
// old file.

#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(SettingsRecord)

namespace {

// "ＭＳ Ｐゴシック" in code page 932.
const QByteArray msPGothic("\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");

QByteArray placementLines(const char* header, const char* top, const char* left, const char* width,
                          const char* height, const char* state) {
    return QByteArray(header) + "\r\nTop=" + top + "\r\nLeft=" + left + "\r\nWidth=" + width +
           "\r\nHeight=" + height + "\r\nState=" + state + "\r\n";
}

// The 33 lines of a file holding the defaults, written out by hand.
QByteArray defaultFile() {
    return QByteArray("[Settings]\r\n"
                      "ConvMode=0\r\n"
                      "TextLines=26\r\n"
                      "LineSpace=0\r\n"
                      "RvFlg=False\r\n"
                      "TextTable1= .:1/72X&%@#\r\n"
                      "TextTable2= .'\"-~+:_1|/72X&%@#\r\n"
                      "Low=-1\r\n"
                      "High=-1\r\n"
                      "LsConv=1\r\n"
                      "NitiGosa=0.2\r\n"
                      "FontName=") +
           msPGothic +
           "\r\n"
           "FontSize=12\r\n"
           "FontItalic=False\r\n"
           "FontBold=False\r\n"
           "FontStrikethrough=False\r\n"
           "FontUnderline=False\r\n"
           "ForeColor=-2147483630\r\n"
           "BackColor=-2147483643\r\n"
           "\r\n" +
           placementLines("[MainWindow]", "0", "0", "0", "0", "0") + "\r\n" +
           placementLines("[TextWindow]", "0", "0", "0", "0", "0");
}

SettingsRecord defaultsAsRead() {
    SettingsRecord r;
    r.MainWindow.Width = 0;
    r.TextWindow.Width = 0;
    return r;
}

// Every field as "Key=value", so that a difference names its field.
QStringList fields(const SettingsRecord& r) {
    auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    auto num = [](double v) { return QString::number(v, 'g', 17); };
    auto placement = [](const QString& name, const WindowPlacement& p) {
        return QStringList{name + QStringLiteral(".Top=") + QString::number(p.Top),
                           name + QStringLiteral(".Left=") + QString::number(p.Left),
                           name + QStringLiteral(".Width=") + QString::number(p.Width),
                           name + QStringLiteral(".Height=") + QString::number(p.Height),
                           name + QStringLiteral(".State=") + QString::number(p.State)};
    };
    return QStringList{QStringLiteral("ConvMode=") + QString::number(r.ConvMode),
                       QStringLiteral("TextLines=") + QString::number(r.TextLines),
                       QStringLiteral("LineSpace=") + num(r.LineSpace),
                       QStringLiteral("RvFlg=") + flag(r.RvFlg),
                       QStringLiteral("TextTable1=") + r.TextTable1,
                       QStringLiteral("TextTable2=") + r.TextTable2,
                       QStringLiteral("Low=") + QString::number(r.Low),
                       QStringLiteral("High=") + QString::number(r.High),
                       QStringLiteral("LsConv=") + QString::number(r.LsConv),
                       QStringLiteral("NitiGosa=") + num(r.NitiGosa),
                       QStringLiteral("FontName=") + r.FontName,
                       QStringLiteral("FontSize=") + num(r.FontSize),
                       QStringLiteral("FontItalic=") + flag(r.FontItalic),
                       QStringLiteral("FontBold=") + flag(r.FontBold),
                       QStringLiteral("FontStrikethrough=") + flag(r.FontStrikethrough),
                       QStringLiteral("FontUnderline=") + flag(r.FontUnderline),
                       QStringLiteral("ForeColor=") + QString::number(r.ForeColor),
                       QStringLiteral("BackColor=") + QString::number(r.BackColor)} +
           placement(QStringLiteral("MainWindow"), r.MainWindow) +
           placement(QStringLiteral("TextWindow"), r.TextWindow);
}

SettingsRecord changedRecord() {
    SettingsRecord r;
    r.ConvMode = 1;
    r.TextLines = 999;
    r.LineSpace = 10.5;
    r.RvFlg = true;
    r.TextTable1 = QStringLiteral("  \"|ｱ＃■");
    r.TextTable2 = QStringLiteral(" '\"|||");
    r.Low = 300;
    r.High = 1500;
    r.LsConv = 0;
    r.NitiGosa = 0.35;
    r.FontName = QStringLiteral("IPAMonaPGothic");
    r.FontSize = 9.75;
    r.FontItalic = true;
    r.FontBold = true;
    r.FontStrikethrough = true;
    r.FontUnderline = true;
    r.ForeColor = 0x0000FF;
    r.BackColor = ColorRef::ImageColor;
    r.MainWindow = {40000, -1200, 15360, 11520, 2};
    r.TextWindow = {-32769, 2147483647, 30, 45, 1};
    return r;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Files larger than the limit cannot be written by this process while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheLayout_data();
    void writesTheLayout();
    void writeThenRead_data();
    void writeThenRead();
    void readerRules_data();
    void readerRules();
    void readResults();
    void readResetsBothWidths();
    void unstorableTextKeepsStoredValue_data();
    void unstorableTextKeepsStoredValue();
    void failedWriteKeepsOldFile();
    void writeCreatesFolder();
};

void SettingsFileTest::writesTheLayout_data() {
    QTest::addColumn<SettingsRecord>("record");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("defaults") << defaultsAsRead() << defaultFile();
    QTest::newRow("changed")
        << changedRecord()
        << QByteArray("[Settings]\r\n"
                      "ConvMode=1\r\n"
                      "TextLines=999\r\n"
                      "LineSpace=10.5\r\n"
                      "RvFlg=True\r\n"
                      "TextTable1=  \"|\xB1\x81\x94\x81\xA1\r\n"
                      "TextTable2= '\"|||\r\n"
                      "Low=300\r\n"
                      "High=1500\r\n"
                      "LsConv=0\r\n"
                      "NitiGosa=0.35\r\n"
                      "FontName=IPAMonaPGothic\r\n"
                      "FontSize=9.75\r\n"
                      "FontItalic=True\r\n"
                      "FontBold=True\r\n"
                      "FontStrikethrough=True\r\n"
                      "FontUnderline=True\r\n"
                      "ForeColor=255\r\n"
                      "BackColor=-2147483633\r\n"
                      "\r\n") +
               placementLines("[MainWindow]", "40000", "-1200", "15360", "11520", "2") + "\r\n" +
               placementLines("[TextWindow]", "-32769", "2147483647", "30", "45", "1");
}

void SettingsFileTest::writesTheLayout() {
    QFETCH(SettingsRecord, record);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
    const SettingsFile::IniWriteResult result = SettingsFile::IniWrite(path, record);
    QVERIFY(result.complete());
    const QByteArray written = readAll(path);
    QCOMPARE(written.count("\r\n"), 33);
    QVERIFY(written.endsWith("\r\n"));
    QCOMPARE(written, expected);
}

void SettingsFileTest::writeThenRead_data() {
    QTest::addColumn<SettingsRecord>("record");

    QTest::newRow("defaults") << defaultsAsRead();
    QTest::newRow("changed") << changedRecord();
    SettingsRecord odd = changedRecord();
    odd.TextTable1 = QStringLiteral(" a\rb\nc=[x]\r");
    odd.TextTable2 = QStringLiteral("");
    odd.FontName = QStringLiteral(" ＭＳ ゴシック ");
    odd.LineSpace = -0.1;
    odd.NitiGosa = 1e-5;
    odd.FontSize = 123456789012345.0;
    odd.Low = -32768;
    odd.High = 32767;
    QTest::newRow("lone CR and LF, blanks, extremes") << odd;
}

void SettingsFileTest::writeThenRead() {
    QFETCH(SettingsRecord, record);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
    QVERIFY(SettingsFile::IniWrite(path, record).complete());
    SettingsRecord back;
    back.ConvMode = 7;
    QCOMPARE(SettingsFile::IniRead(path, back), SettingsFile::IniReadResult::Read);
    QCOMPARE(fields(back), fields(record));
}

void SettingsFileTest::readerRules_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<SettingsRecord>("expected");

    const SettingsRecord d = defaultsAsRead();
    auto with = [&d](auto change) {
        SettingsRecord r = d;
        change(r);
        return r;
    };
    QTest::newRow("empty file") << QByteArray() << d;
    QTest::newRow("lower-case keys")
        << QByteArray("[Settings]\r\nconvmode=1\r\nTEXTLINES=40\r\nfontname=x\r\n")
        << with([](SettingsRecord& r) {
               r.ConvMode = 1;
               r.TextLines = 40;
               r.FontName = QStringLiteral("x");
           });
    QTest::newRow("blank before =") << QByteArray("[Settings]\r\nConvMode =1\r\n") << d;
    QTest::newRow("blank before key") << QByteArray("[Settings]\r\n ConvMode=1\r\n") << d;
    QTest::newRow("lower-case header")
        << QByteArray("[settings]\r\nConvMode=1\r\nTextLines=5\r\n") << d;
    QTest::newRow("lower-case header ends the section")
        << QByteArray("[Settings]\r\nConvMode=1\r\n[SETTINGS]\r\nTextLines=5\r\n")
        << with([](SettingsRecord& r) { r.ConvMode = 1; });
    QTest::newRow("header with a blank") << QByteArray("[Settings] \r\nConvMode=1\r\n") << d;
    QTest::newRow("keys before any header") << QByteArray("ConvMode=1\r\n[Settings]\r\n") << d;
    QTest::newRow("last of two wins")
        << QByteArray("[Settings]\r\nTextLines=10\r\nTextLines=20\r\n")
        << with([](SettingsRecord& r) { r.TextLines = 20; });
    QTest::newRow("last line without CR LF")
        << QByteArray("[Settings]\r\nTextLines=10\r\nConvMode=1")
        << with([](SettingsRecord& r) { r.TextLines = 10; });
    QTest::newRow("only line without CR LF") << QByteArray("[Settings]\r\nTextLines=10") << d;
    QTest::newRow("lone CR and LF belong to the line")
        << QByteArray("[Settings]\nTextLines=10\r\n[Settings]\r\nTextTable1=a\rb\nc\r\r\n")
        << with([](SettingsRecord& r) { r.TextTable1 = QStringLiteral("a\rb\nc\r"); });
    QTest::newRow("text taken as it is")
        << QByteArray("[Settings]\r\nFontName= IPAGothic \r\nTextTable2=\r\n")
        << with([](SettingsRecord& r) {
               r.FontName = QStringLiteral(" IPAGothic ");
               r.TextTable2.clear();
           });
    QTest::newRow("code page 932 text")
        << QByteArray("[Settings]\r\nFontName=") + msPGothic + "\r\nTextTable1=\x81\x40\x81\x60\r\n"
        << with([](SettingsRecord& r) { r.TextTable1 = QStringLiteral("\u3000\uFF5E"); });
    QTest::newRow("flags") << QByteArray(
                                  "[Settings]\r\nRvFlg=TRUE\r\nFontItalic=true\r\nFontBold=-1\r\n"
                                  "FontUnderline=2.5\r\nFontStrikethrough=0\r\n")
                           << with([](SettingsRecord& r) {
                                  r.RvFlg = true;
                                  r.FontItalic = true;
                                  r.FontBold = true;
                                  r.FontUnderline = true;
                              });
    QTest::newRow("flags back to false")
        << QByteArray("[Settings]\r\nRvFlg=True\r\nRvFlg=fAlSe\r\nFontBold=1\r\nFontBold=0\r\n")
        << d;
    QTest::newRow("numbers as the boxes read them")
        << QByteArray("[Settings]\r\nTextLines=2.5\r\nLow= 12 \r\nHigh=3.5\r\nLineSpace=+1e1\r\n"
                      "FontSize=.5\r\nForeColor=-2147483648\r\n")
        << with([](SettingsRecord& r) {
               r.TextLines = 2;
               r.Low = 12;
               r.High = 4;
               r.LineSpace = 10;
               r.FontSize = 0.5;
               r.ForeColor = static_cast<qint32>(0x80000000u);
           });
    QTest::newRow("values that do not fit keep the defaults")
        << QByteArray("[Settings]\r\nTextLines=abc\r\nFontSize=\r\nLow=32768\r\nHigh=1e9\r\n"
                      "ConvMode=2\r\nLsConv=-1\r\nNitiGosa=20%\r\nRvFlg=yes\r\n"
                      "ForeColor=2147483648\r\nBackColor=&H8000000F\r\nLineSpace=nan\r\n"
                      "[MainWindow]\r\nWidth=1e10\r\nState=70000\r\n")
        << d;
    QTest::newRow("a bad last line keeps the earlier value")
        << QByteArray("[Settings]\r\nTextLines=10\r\nTextLines=ten\r\n")
        << with([](SettingsRecord& r) { r.TextLines = 10; });
    QTest::newRow("bytes that are not code page 932")
        << QByteArray("[Settings]\r\nTextTable1=ab\xFD\r\nFontName=\x82\r\n") << d;
    QTest::newRow("placements by section")
        << QByteArray("[MainWindow]\r\nTop=100\r\nLeft=40000\r\nHeight=3000\r\nState=2\r\n"
                      "[TextWindow]\r\nwidth=5000\r\nConvMode=1\r\n[Settings]\r\nWidth=7\r\n")
        << with([](SettingsRecord& r) {
               r.MainWindow.Top = 100;
               r.MainWindow.Left = 40000;
               r.MainWindow.Height = 3000;
               r.MainWindow.State = 2;
               r.TextWindow.Width = 5000;
           });
}

void SettingsFileTest::readerRules() {
    QFETCH(QByteArray, file);
    QFETCH(SettingsRecord, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
    QVERIFY(writeFile(path, file));
    SettingsRecord record;
    QCOMPARE(SettingsFile::IniRead(path, record), SettingsFile::IniReadResult::Read);
    QCOMPARE(fields(record), fields(expected));
}

void SettingsFileTest::readResults() {
    QTemporaryDir dir;
    SettingsRecord record;
    record.TextLines = 5;
    QCOMPARE(SettingsFile::IniRead(dir.filePath(QStringLiteral("none.ini")), record),
             SettingsFile::IniReadResult::NoFile);
    QCOMPARE(fields(record), fields(defaultsAsRead()));
    record.TextLines = 5;
    QCOMPARE(SettingsFile::IniRead(dir.path(), record), SettingsFile::IniReadResult::Unreadable);
    QCOMPARE(fields(record), fields(defaultsAsRead()));
}

void SettingsFileTest::readResetsBothWidths() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
    QVERIFY(writeFile(path, "[MainWindow]\r\nTop=1\r\nLeft=2\r\nHeight=3\r\nState=0\r\n"));
    SettingsRecord record;
    record.MainWindow.Width = 9000;
    record.TextWindow.Width = 8000;
    record.ConvMode = 1;
    QCOMPARE(SettingsFile::IniRead(path, record), SettingsFile::IniReadResult::Read);
    QCOMPARE(record.MainWindow.Width, 0);
    QCOMPARE(record.TextWindow.Width, 0);
    QCOMPARE(record.MainWindow.Height, 3);
    QCOMPARE(record.ConvMode, qint16(0));
}

void SettingsFileTest::unstorableTextKeepsStoredValue_data() {
    QTest::addColumn<bool>("oldFile");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QStringList>("keptKeys");
    QTest::addColumn<QString>("unencodable");
    QTest::addColumn<QString>("fontNameAfter");
    QTest::addColumn<QString>("paletteAfter");

    const QString old = QStringLiteral("IPAGothic");
    const QString oldPalette = QStringLiteral(" .:#");
    const QString def = SettingsRecord::defaultTextTable1();
    const QString hangul = QStringLiteral("나눔고딕");
    const QString emoji = QStringLiteral("a\U0001F600b");
    QTest::newRow("font name, old file")
        << true << hangul << def << QStringList{u"FontName"_qs} << hangul << old << def;
    QTest::newRow("font name, no file") << false << hangul << def << QStringList{u"FontName"_qs}
                                        << hangul << SettingsRecord::defaultFontName() << def;
    QTest::newRow("palette and font")
        << true << QStringLiteral("나나") << emoji << QStringList{u"TextTable1"_qs, u"FontName"_qs}
        << QStringLiteral("\U0001F600나") << old << oldPalette;
    QTest::newRow("CR LF in a palette")
        << true << old << QStringLiteral("ab\r\ncd") << QStringList{u"TextTable1"_qs} << QString()
        << old << oldPalette;
}

void SettingsFileTest::unstorableTextKeepsStoredValue() {
    QFETCH(bool, oldFile);
    QFETCH(QString, fontName);
    QFETCH(QString, palette);
    QFETCH(QStringList, keptKeys);
    QFETCH(QString, unencodable);
    QFETCH(QString, fontNameAfter);
    QFETCH(QString, paletteAfter);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
    if (oldFile) {
        SettingsRecord before;
        before.FontName = QStringLiteral("IPAGothic");
        before.TextTable1 = QStringLiteral(" .:#");
        QVERIFY(SettingsFile::IniWrite(path, before).complete());
    }
    SettingsRecord record;
    record.FontName = fontName;
    record.TextTable1 = palette;
    record.TextLines = 50;
    record.MainWindow.Width = 12000;
    const SettingsFile::IniWriteResult result = SettingsFile::IniWrite(path, record);
    QVERIFY(result.written);
    QVERIFY(!result.complete());
    QCOMPARE(result.keptKeys, keptKeys);
    QCOMPARE(result.unencodable, unencodable);

    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.count("\r\n"), 33);
    SettingsRecord back;
    QCOMPARE(SettingsFile::IniRead(path, back), SettingsFile::IniReadResult::Read);
    QCOMPARE(back.FontName, fontNameAfter);
    QCOMPARE(back.TextTable1, paletteAfter);
    QCOMPARE(back.TextLines, qint16(50));
    QCOMPARE(back.MainWindow.Width, 12000);
}

void SettingsFileTest::failedWriteKeepsOldFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
    QVERIFY(writeFile(path, defaultFile()));
    SettingsRecord record = changedRecord();
    record.TextTable1 = QString(400, u'#');
    {
        // A full disk: the new file stops short after 300 bytes.
        const FileSizeLimit limit(300);
        QVERIFY(limit.ok());
        QVERIFY(!SettingsFile::IniWrite(path, record).written);
    }
    QCOMPARE(readAll(path), defaultFile());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"Charloom.ini"_qs});
}

void SettingsFileTest::writeCreatesFolder() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config/Charloom/Charloom.ini"));
    QVERIFY(SettingsFile::IniWrite(path, SettingsRecord()).complete());
    SettingsRecord back;
    QCOMPARE(SettingsFile::IniRead(path, back), SettingsFile::IniReadResult::Read);
}

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
