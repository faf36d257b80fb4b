// The settings file's reader: sections, keys and their letter case, duplicates, line ends,
// values that do not fit, and files that are missing or cannot be read.

#include "SettingsTestFiles.h"

#include "settings/SettingsFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace SettingsTestFiles;

class SettingsReaderTest : public QObject {
    Q_OBJECT

private slots:
    void readerRules_data();
    void readerRules();
    void readResults();
    void readResetsBothWidths();
};

void SettingsReaderTest::readerRules_data() {
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

void SettingsReaderTest::readerRules() {
    QFETCH(QByteArray, file);
    QFETCH(SettingsRecord, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
    QVERIFY(writeFile(path, file));
    SettingsRecord record;
    QCOMPARE(SettingsFile::IniRead(path, record), SettingsFile::IniReadResult::Read);
    QCOMPARE(fields(record), fields(expected));
}

void SettingsReaderTest::readResults() {
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

void SettingsReaderTest::readResetsBothWidths() {
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

QTEST_APPLESS_MAIN(SettingsReaderTest)
#include "SettingsReaderTest.moc"
