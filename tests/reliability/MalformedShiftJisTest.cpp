// Text files with malformed Shift-JIS: lone lead bytes, 0x80, 0xA0 and 0xFD-0xFF. They are text
// (no binary question) and read with a replacement character for each bad byte; the bytes around
// them keep their meaning.

#include "textview/BinCheck.h"
#include "textview/TextFiles.h"

#include <QTest>

class MalformedShiftJisTest : public QObject {
    Q_OBJECT

private slots:
    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        // "?" in the text stands for the replacement character.
        const auto row = [](const char* name, const QByteArray& bytes, const char* text) {
            QString expected = QString::fromUtf8(text);
            QTest::newRow(name) << bytes << expected.replace(u'?', QChar::ReplacementCharacter);
        };
        row("lone lead byte at the end", "a\x82", "a?");
        row("lead byte before CR LF", "\x81\r\nb", "?\r\nb");
        row("lead byte before a space", "\x9f x", "? x");
        row("lead byte before 0x7F", "\xe0\x7f", "?\x7f");
        row("lead byte before 0xFD, then a good pair", "\x81\xfd\x81\x40", "??\u3000");
        row("0x80", "x\x80y", "x?y");
        row("0xA0", "\xa0\xb1", "?ｱ");
        row("0xFD 0xFE 0xFF", "\xfd\xfe\xff", "???");
        row("0xFF after a good pair", "\x88\x9f\xff", "亜?");
        row("only bad bytes, long", QByteArray(5000, '\xfd'), QByteArray(5000, '?').constData());
    }

    void decode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QVERIFY(!BinCheck(bytes));
        QCOMPARE(TextFiles::decode(bytes), text);
    }
};

QTEST_APPLESS_MAIN(MalformedShiftJisTest)
#include "MalformedShiftJisTest.moc"
