// The settings file's writer: its exact bytes, write-then-read, and values code page 932 cannot
// hold. A full disk during the write is tried with the other files' writers in SaveFaultsTest.

#include "SettingsTestFiles.h"

#include "settings/SettingsFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace SettingsTestFiles;

namespace {

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

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheLayout_data() {
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
                   placementLines("[MainWindow]", "40000", "-1200", "15360", "11520", "2") +
                   "\r\n" + placementLines("[TextWindow]", "-32769", "2147483647", "30", "45", "1");
    }
    void writesTheLayout() {
        QFETCH(SettingsRecord, record);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
        QVERIFY(SettingsFile::IniWrite(path, record).complete());
        QTEST(readAll(path), "expected");
    }

    void writeThenRead_data() {
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
    void writeThenRead() {
        QFETCH(SettingsRecord, record);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Charloom.ini"));
        QVERIFY(SettingsFile::IniWrite(path, record).complete());
        SettingsRecord back;
        back.ConvMode = 7;
        QCOMPARE(SettingsFile::IniRead(path, back), SettingsFile::IniReadResult::Read);
        QCOMPARE(fields(back), fields(record));
    }

    // A font name or palette that code page 932 cannot hold (or that holds CR LF) is not written
    // as something else: the key keeps the file's old value, every other field is written.
    void unstorableTextKeepsStoredValue_data() {
        QTest::addColumn<bool>("oldFile"); // holding FontName=IPAGothic, TextTable1= .:#
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
        QTest::newRow("font name, old file")
            << true << hangul << def << QStringList{u"FontName"_qs} << hangul << old << def;
        QTest::newRow("font name, no file") << false << hangul << def << QStringList{u"FontName"_qs}
                                            << hangul << SettingsRecord::defaultFontName() << def;
        QTest::newRow("palette and font")
            << true << QStringLiteral("나나") << QStringLiteral("a\U0001F600b")
            << QStringList{u"TextTable1"_qs, u"FontName"_qs} << QStringLiteral("\U0001F600나")
            << old << oldPalette;
        QTest::newRow("CR LF in a palette")
            << true << old << QStringLiteral("ab\r\ncd") << QStringList{u"TextTable1"_qs}
            << QString() << old << oldPalette;
    }
    void unstorableTextKeepsStoredValue() {
        QFETCH(bool, oldFile);
        QFETCH(QString, fontName);
        QFETCH(QString, palette);
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
        QTEST(result.keptKeys, "keptKeys");
        QTEST(result.unencodable, "unencodable");
        QCOMPARE(readAll(path).count("\r\n"), 33);
        SettingsRecord back;
        QCOMPARE(SettingsFile::IniRead(path, back), SettingsFile::IniReadResult::Read);
        QTEST(back.FontName, "fontNameAfter");
        QTEST(back.TextTable1, "paletteAfter");
        QCOMPARE(back.TextLines, qint16(50));
        QCOMPARE(back.MainWindow.Width, 12000);
    }

    void writeCreatesFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config/Charloom/Charloom.ini"));
        QVERIFY(SettingsFile::IniWrite(path, SettingsRecord()).complete());
        QVERIFY(QFile::exists(path));
    }
};

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "SettingsFileTest.moc"
