#include "textview/BinCheck.h"
#include "textview/TextFiles.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

// Text files: the binary check, code page 932 read and written back byte for byte, and the saved
// bitmap. Malformed Shift-JIS is tried in MalformedShiftJisTest.
class tst_TextFiles : public QObject {
    Q_OBJECT

    static bool writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

private slots:
    void binCheck_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("binary");
        QTest::newRow("NUL") << QByteArray("ab\0cd", 5) << true;
        QTest::newRow("bell 0x07") << QByteArray("ab\x07") << true;
        QTest::newRow("0x1F") << QByteArray("\x1f") << true;
        QTest::newRow("0x01 at the start") << QByteArray("\x01xyz") << true;
        QTest::newRow("tab") << QByteArray("a\tb") << false;
        QTest::newRow("form feed") << QByteArray("a\fb") << false;
        QTest::newRow("CR LF, VT, BS") << QByteArray("a\r\n\v\bb") << false;
        QTest::newRow("end-of-file mark 0x1A") << QByteArray("ab\x1a") << false;
        QTest::newRow("escape 0x1B") << QByteArray("\x1b[0m") << false;
        QTest::newRow("Shift-JIS") << QByteArray("\x82\xa0\x81\x40\x83\x41") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void binCheck() {
        QFETCH(QByteArray, bytes);
        QTEST(BinCheck(bytes), "binary");
    }

    void readShiftJis() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("aa.txt"));
        // "／＼" CR LF "（　）" in Shift-JIS.
        const QByteArray bytes("\x81\x5e\x81\x5f\r\n\x81\x69\x81\x40\x81\x6a");
        QVERIFY(writeFile(path, bytes));
        const TextFiles::ReadResult r = TextFiles::readBytes(path);
        QCOMPARE(r.status, TextFiles::ReadStatus::Ok);
        QCOMPARE(r.bytes, bytes);
        const QString text = TextFiles::decode(r.bytes);
        QCOMPARE(text, QStringLiteral("／＼\r\n（\u3000）"));
        const Cp932::Encoded back = Cp932::encode(text);
        QVERIFY(back.ok());
        QCOMPARE(back.bytes, bytes);
    }

    // Qt's codec swaps the end-of-file mark and its neighbours; they read and write as themselves.
    void controlBytesRoundTrip() {
        const QByteArray bytes("a\x1a\x1c\x7f");
        const QString text = TextFiles::decode(bytes);
        QCOMPARE(text, QStringLiteral("a\x1a\x1c\x7f"));
        QCOMPARE(Cp932::encode(text).bytes, bytes);
    }

    void readMissingAndEmpty() {
        QTemporaryDir dir;
        QCOMPARE(TextFiles::readBytes(dir.filePath(QStringLiteral("none.txt"))).status,
                 TextFiles::ReadStatus::NotFound);
        QCOMPARE(TextFiles::readBytes(dir.path()).status, TextFiles::ReadStatus::NotFound);
        const QString empty = dir.filePath(QStringLiteral("empty.txt"));
        QVERIFY(writeFile(empty, QByteArray()));
        const TextFiles::ReadResult r = TextFiles::readBytes(empty);
        QCOMPARE(r.status, TextFiles::ReadStatus::Ok);
        QVERIFY(r.bytes.isEmpty());
    }

    // Only a .bmp name, in any letter case, saves a bitmap.
    void bitmapPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("bitmap");
        QTest::newRow("bmp") << QStringLiteral("/t/out.bmp") << true;
        QTest::newRow("BMP") << QStringLiteral("/t/OUT.BMP") << true;
        QTest::newRow("txt") << QStringLiteral("/t/out.bmp.txt") << false;
        QTest::newRow("no extension") << QStringLiteral("/t/bmp") << false;
    }
    void bitmapPath() {
        QFETCH(QString, path);
        QTEST(TextFiles::isBitmapPath(path), "bitmap");
    }

    void bitmapIs24Bit() {
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(QColor(10, 20, 30));
        picture.setPixel(2, 1, qRgb(200, 100, 50));
        const QByteArray bytes = TextFiles::bitmapBytes(picture);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(static_cast<int>(bytes[28]), 24);
        QImage back;
        QVERIFY(back.loadFromData(bytes, "BMP"));
        QCOMPARE(back.size(), QSize(3, 2));
        QCOMPARE(back.pixel(2, 1), qRgb(200, 100, 50));
        QCOMPARE(back.pixel(0, 0), qRgb(10, 20, 30));
    }
};

QTEST_MAIN(tst_TextFiles)
#include "tst_TextFiles.moc"
