// The settings file's reader: sections, keys and their letter case, duplicates, line ends,
// values that do not fit, and files that are missing or cannot be read.

#include "SettingsTestFiles.h"

#include "settings/SettingsFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace SettingsTestFiles;

namespace {

// The fields of the defaults as read, with each "Key=value" of changes in place of its field.
QStringList defaultsWith(const QStringList& changes) {
    QStringList expected = fields(defaultsAsRead());
    for (const QString& change : changes)
        for (QString& field : expected)
            if (field.startsWith(change.left(change.indexOf(u'=') + 1)))
                field = change;
    return expected;
}

} // namespace

class SettingsReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readerRules_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("changes"); // the fields that differ from the defaults
        const auto row = [](const char* name, const QByteArray& file,
                            const QStringList& changes = {}) {
            QTest::newRow(name) << file << changes;
        };
        row("empty file", QByteArray());
        row("lower-case keys", "[Settings]\r\nconvmode=1\r\nTEXTLINES=40\r\nfontname=x\r\n",
            {u"ConvMode=1"_qs, u"TextLines=40"_qs, u"FontName=x"_qs});
        row("blank before =", "[Settings]\r\nConvMode =1\r\n");
        row("blank before key", "[Settings]\r\n ConvMode=1\r\n");
        row("lower-case header", "[settings]\r\nConvMode=1\r\nTextLines=5\r\n");
        row("lower-case header ends the section",
            "[Settings]\r\nConvMode=1\r\n[SETTINGS]\r\nTextLines=5\r\n", {u"ConvMode=1"_qs});
        row("header with a blank", "[Settings] \r\nConvMode=1\r\n");
        row("keys before any header", "ConvMode=1\r\n[Settings]\r\n");
        row("last of two wins", "[Settings]\r\nTextLines=10\r\nTextLines=20\r\n",
            {u"TextLines=20"_qs});
        row("last line without CR LF", "[Settings]\r\nTextLines=10\r\nConvMode=1",
            {u"TextLines=10"_qs});
        row("only line without CR LF", "[Settings]\r\nTextLines=10");
        row("lone CR and LF belong to the line",
            "[Settings]\nTextLines=10\r\n[Settings]\r\nTextTable1=a\rb\nc\r\r\n",
            {u"TextTable1=a\rb\nc\r"_qs});
        row("text taken as it is", "[Settings]\r\nFontName= IPAGothic \r\nTextTable2=\r\n",
            {u"FontName= IPAGothic "_qs, u"TextTable2="_qs});
        row("code page 932 text",
            "[Settings]\r\nFontName=" + msPGothic + "\r\nTextTable1=\x81\x40\x81\x60\r\n",
            {u"TextTable1=\u3000\uFF5E"_qs});
        row("flags",
            "[Settings]\r\nRvFlg=TRUE\r\nFontItalic=true\r\nFontBold=-1\r\nFontUnderline=2.5\r\n"
            "FontStrikethrough=0\r\n",
            {u"RvFlg=true"_qs, u"FontItalic=true"_qs, u"FontBold=true"_qs,
             u"FontUnderline=true"_qs});
        row("flags back to false",
            "[Settings]\r\nRvFlg=True\r\nRvFlg=fAlSe\r\nFontBold=1\r\nFontBold=0\r\n");
        row("numbers as the boxes read them",
            "[Settings]\r\nTextLines=2.5\r\nLow= 12 \r\nHigh=3.5\r\nLineSpace=+1e1\r\n"
            "FontSize=.5\r\nForeColor=-2147483648\r\n",
            {u"TextLines=2"_qs, u"Low=12"_qs, u"High=4"_qs, u"LineSpace=10"_qs, u"FontSize=0.5"_qs,
             u"ForeColor=-2147483648"_qs});
        row("values that do not fit keep the defaults",
            "[Settings]\r\nTextLines=abc\r\nFontSize=\r\nLow=32768\r\nHigh=1e9\r\n"
            "ConvMode=2\r\nLsConv=-1\r\nNitiGosa=20%\r\nRvFlg=yes\r\n"
            "ForeColor=2147483648\r\nBackColor=&H8000000F\r\nLineSpace=nan\r\n"
            "[MainWindow]\r\nWidth=1e10\r\nState=70000\r\n");
        row("a bad last line keeps the earlier value",
            "[Settings]\r\nTextLines=10\r\nTextLines=ten\r\n", {u"TextLines=10"_qs});
        row("bytes that are not code page 932",
            "[Settings]\r\nTextTable1=ab\xFD\r\nFontName=\x82\r\n");
        row("placements by section",
            "[MainWindow]\r\nTop=100\r\nLeft=40000\r\nHeight=3000\r\nState=2\r\n"
            "[TextWindow]\r\nwidth=5000\r\nConvMode=1\r\n[Settings]\r\nWidth=7\r\n",
            {u"MainWindow.Top=100"_qs, u"MainWindow.Left=40000"_qs, u"MainWindow.Height=3000"_qs,
             u"MainWindow.State=2"_qs, u"TextWindow.Width=5000"_qs});
    }
    void readerRules() {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, changes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
        QVERIFY(writeFile(path, file));
        SettingsRecord record;
        QCOMPARE(SettingsFile::IniRead(path, record), SettingsFile::IniReadResult::Read);
        QCOMPARE(fields(record), defaultsWith(changes));
    }

    // A missing or unreadable file still leaves the defaults, not what the record held.
    void readResults() {
        QTemporaryDir dir;
        SettingsRecord record;
        record.TextLines = 5;
        QCOMPARE(SettingsFile::IniRead(dir.filePath(QStringLiteral("none.ini")), record),
                 SettingsFile::IniReadResult::NoFile);
        QCOMPARE(fields(record), fields(defaultsAsRead()));
        record.TextLines = 5;
        QCOMPARE(SettingsFile::IniRead(dir.path(), record),
                 SettingsFile::IniReadResult::Unreadable);
        QCOMPARE(fields(record), fields(defaultsAsRead()));
    }

    void readResetsBothWidths() {
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
};

QTEST_APPLESS_MAIN(SettingsReaderTest)
#include "SettingsReaderTest.moc"
