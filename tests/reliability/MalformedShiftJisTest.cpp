// Text files with malformed Shift-JIS: lone lead bytes, 0x80, 0xA0 and 0xFD-0xFF. They are text
// (no binary question) and read with a replacement character for each bad byte; the bytes around
// them keep their meaning.

#include "textview/BinCheck.h"
#include "textview/TextFiles.h"

#include <QTest>

class MalformedShiftJisTest : public QObject {
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
};

void MalformedShiftJisTest::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("lone lead byte at the end") << QByteArray("a\x82") << QStringLiteral("a") + bad;
    QTest::newRow("lead byte before CR LF")
        << QByteArray("\x81\r\nb") << bad + QStringLiteral("\r\nb");
    QTest::newRow("lead byte before a space") << QByteArray("\x9f x") << bad + QStringLiteral(" x");
    QTest::newRow("lead byte before 0x7F") << QByteArray("\xe0\x7f") << bad + QString(QChar(0x7f));
    QTest::newRow("lead byte before 0xFD, then a good pair")
        << QByteArray("\x81\xfd\x81\x40") << bad + bad + QStringLiteral("\u3000");
    QTest::newRow("0x80") << QByteArray("x\x80y")
                          << QStringLiteral("x") + bad + QStringLiteral("y");
    QTest::newRow("0xA0") << QByteArray("\xa0\xb1") << bad + QStringLiteral("ｱ");
    QTest::newRow("0xFD 0xFE 0xFF") << QByteArray("\xfd\xfe\xff") << bad + bad + bad;
    QTest::newRow("0xFF after a good pair")
        << QByteArray("\x88\x9f\xff") << QStringLiteral("亜") + bad;
    QTest::newRow("only bad bytes, long") << QByteArray(5000, '\xfd') << QString(5000, bad.at(0));
}

void MalformedShiftJisTest::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QVERIFY(!BinCheck(bytes));
    QCOMPARE(TextFiles::decode(bytes), text);
}

QTEST_APPLESS_MAIN(MalformedShiftJisTest)
#include "MalformedShiftJisTest.moc"
