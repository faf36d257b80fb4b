// Code page 932 through the "windows-31j" converter: Microsoft's mapping, unencodable characters
// reported instead of written as FC FC, and invalid or cut-off bytes reported on decoding.

#include "platform/Cp932.h"

#include <QTest>

class TestCp932 : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decodesBack"); // false: a look-alike that only encodes
        QTest::newRow("default face name")
            << u"ＭＳ Ｐゴシック"_qs
            << QByteArray("\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E") << true;
        QTest::newRow("full-width tilde") << u"\uFF5E"_qs << QByteArray("\x81\x60") << true;
        QTest::newRow("ASCII") << u"a #~"_qs << QByteArray("a #~") << true;
        QTest::newRow("half-width katakana") << u"ｱｰ"_qs << QByteArray("\xB1\xB0") << true;
        QTest::newRow("NEC extension") << u"①"_qs << QByteArray("\x87\x40") << true;
        QTest::newRow("IBM extension") << u"ⅰ"_qs << QByteArray("\xFA\x40") << true;
        QTest::newRow("line ends") << u"あ\r\nい"_qs << QByteArray("\x82\xA0\r\n\x82\xA2") << true;
        QTest::newRow("wave dash") << u"\u301C"_qs << QByteArray("\x81\x60") << false;
        QTest::newRow("minus sign") << u"\u2212"_qs << QByteArray("\x81\x7C") << false;
        QTest::newRow("double vertical line") << u"\u2016"_qs << QByteArray("\x81\x61") << false;
        QTest::newRow("not sign") << u"\u00AC"_qs << QByteArray("\x81\xCA") << false;
        QTest::newRow("em dash") << u"\u2014"_qs << QByteArray("\x81\x5C") << false;
        QTest::newRow("cent, pound")
            << u"\u00A2\u00A3"_qs << QByteArray("\x81\x91\x81\x92") << false;
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decodesBack);
        const Cp932::Encoded encoded = Cp932::encode(text);
        QVERIFY(encoded.ok());
        QCOMPARE(encoded.bytes, bytes);
        if (!decodesBack)
            return;
        const Cp932::Decoded decoded = Cp932::decode(bytes);
        QVERIFY(decoded.ok);
        QCOMPARE(decoded.text, text);
    }

    void unencodable() {
        const Cp932::Encoded encoded = Cp932::encode(u"a한b😀c한"_qs);
        QVERIFY(!encoded.ok());
        QCOMPARE(encoded.unencodable, u"한😀"_qs);
        QVERIFY(!encoded.bytes.contains("\xFC\xFC"));
        QVERIFY(encoded.bytes.startsWith('a'));
    }

    void badBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lone lead byte at the end") << QByteArray("a\x82");
        QTest::newRow("lead byte before a blank") << QByteArray("\x82\x20");
        QTest::newRow("unassigned code") << QByteArray("\x85\x40");
    }
    void badBytes() {
        QFETCH(QByteArray, bytes);
        QVERIFY(!Cp932::decode(bytes).ok);
    }

    // Codes that decode to nothing or to the user-defined area would put replacement characters
    // or glyph-less boxes into an expanded palette.
    void codes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("character");
        QTest::newRow("A") << 0x41 << u"A"_qs;
        QTest::newRow("blank") << 0x20 << u" "_qs;
        QTest::newRow("half-width a") << 0xB1 << u"ｱ"_qs;
        QTest::newRow("hiragana a") << 0x82A0 << u"あ"_qs;
        QTest::newRow("full-width tilde") << 0x8160 << u"\uFF5E"_qs;
        QTest::newRow("0xA0 unassigned") << 0xA0 << QString();
        QTest::newRow("0x8540 unassigned") << 0x8540 << QString();
        QTest::newRow("user-defined first") << 0xF040 << QString();
        QTest::newRow("user-defined last") << 0xF9FC << QString();
        QTest::newRow("past two bytes") << 0x10000 << QString();
        QTest::newRow("negative") << -1 << QString();
    }
    void codes() {
        QFETCH(int, code);
        QFETCH(QString, character);
        const std::optional<QString> decoded = Cp932::characterOfCode(code);
        QCOMPARE(decoded.has_value(), !character.isEmpty());
        if (!decoded)
            return;
        QCOMPARE(*decoded, character);
        QCOMPARE(Cp932::codeOf(character), std::optional<int>(code));
    }

    void leadBytes() {
        for (int byte = 0; byte < 256; ++byte) {
            const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
            QVERIFY2(Cp932::isLeadByte(byte) == lead, qPrintable(QString::number(byte, 16)));
        }
    }

    // Each conversion stands alone, whatever the one before it met.
    void errorsDoNotCarryOver() {
        for (int round = 0; round < 2; ++round) {
            QVERIFY(!Cp932::decode(QByteArray("\x85\x40")).ok);
            QVERIFY(Cp932::decode(QByteArray("\x82\xA0")).ok);
            QVERIFY(!Cp932::encode(u"한"_qs).ok());
            QVERIFY(Cp932::encode(u"あ"_qs).ok());
            QVERIFY(!Cp932::characterOfCode(0x8540));
            QCOMPARE(Cp932::characterOfCode(0x82A0), std::optional<QString>(u"あ"_qs));
            QCOMPARE(Cp932::codeOf(u"あ"_qs), std::optional<int>(0x82A0));
        }
    }
};

QTEST_APPLESS_MAIN(TestCp932)
#include "TestCp932.moc"
