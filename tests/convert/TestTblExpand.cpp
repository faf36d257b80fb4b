// Palette expansion: "--" between two characters adds every character whose code page 932 code
// lies between theirs, in ascending code order, skipping codes that stand for no character.

#include "convert/TblExpand.h"

#include <QTest>

class TestTblExpand : public QObject {
    Q_OBJECT

private slots:
    void expand_data();
    void expand();
    void userDefinedAreaAddsNothing();
};

// The characters of the code points first..last, in order.
static QString run(char32_t first, char32_t last) {
    QString text;
    for (char32_t c = first; c <= last; ++c)
        text += QString::fromUcs4(&c, 1);
    return text;
}

void TestTblExpand::expand_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("a--e") << u"a--e"_qs << u"abcde"_qs;
    QTest::newRow("e--a") << u"e--a"_qs << u"ebcda"_qs;
    QTest::newRow("a--c--e") << u"a--c--e"_qs << u"abcde"_qs;
    QTest::newRow("x--") << u"x--"_qs << u"x"_qs;
    QTest::newRow("hyphens alone") << u"--"_qs << QString();
    QTest::newRow("--! at the start") << u"--!"_qs << u"!"_qs;
    QTest::newRow("no range") << u" .:1/72X&%@#"_qs << u" .:1/72X&%@#"_qs;
    QTest::newRow("single hyphen") << u"a-c"_qs << u"a-c"_qs;
    // "--" then "-": the range from a down to the hyphen, then c.
    QTest::newRow("three hyphens") << u"a---c"_qs << u"a"_qs + run(0x2E, 0x60) + u"-c"_qs;
    QTest::newRow("neighbours") << u"a--b"_qs << u"ab"_qs;
    QTest::newRow("same character") << u"a--a"_qs << u"aa"_qs;
    QTest::newRow("repeats kept") << u"aa--c"_qs << u"aabc"_qs;
    // 0x7F lies outside the single-byte ranges, 0xA0 decodes to no character.
    QTest::newRow("over 0x7F and 0xA0") << u"~--ｰ"_qs << u"~"_qs + run(0xFF61, 0xFF6F) + u"ｰ"_qs;
    QTest::newRow("half-width katakana") << u"ｦ--ﾝ"_qs << run(0xFF66, 0xFF9D);
    QTest::newRow("single and double byte") << u"a--あ"_qs << u"aあ"_qs;
    QTest::newRow("double and single byte") << u"あ--a"_qs << u"あa"_qs;
    QTest::newRow("unencodable end") << u"한--z"_qs << u"한z"_qs;
    // Trail bytes 0x80-0x9E and 0xE0-0xF0 hold み..ん: all of them come, in code order.
    QTest::newRow("hiragana") << u"ぁ--ん"_qs << run(0x3041, 0x3093);
    QTest::newRow("hiragana reversed") << u"ん--ぁ"_qs << u"ん"_qs + run(0x3042, 0x3092) + u"ぁ"_qs;
    // 0x837F is no trail byte: ミ (0x837E) is followed by ム (0x8380).
    QTest::newRow("katakana") << u"ァ--ヶ"_qs << run(0x30A1, 0x30F6);
    // 0x8397-0x839E are unassigned.
    QTest::newRow("unassigned codes") << u"ヶ--Α"_qs << u"ヶΑ"_qs;
    // 0x82F2-0x82FC are unassigned, 0x8300-0x833F hold no trail byte.
    QTest::newRow("across a lead byte") << u"ん--ァ"_qs << u"んァ"_qs;
    QTest::newRow("full-width digits") << u"０--９"_qs << u"０１２３４５６７８９"_qs;
}

void TestTblExpand::expand() {
    QFETCH(QString, palette);
    QFETCH(QString, expanded);
    const QStringList result = TblExpand(palette);
    QCOMPARE(result.join(QString()), expanded);
    for (const QString& c : result)
        QCOMPARE(c.toUcs4().size(), 1);
}

// From 熙 (0xEAA4) to ⅰ (0xFA40): only the NEC-selected IBM extensions in 0xED40-0xEEFC decode
// to characters (188 + 172 kanji, ⅰ..ⅹ, ￢, ￤, ＇, ＂); the unassigned rows and the
// user-defined area 0xF040-0xF9FC add nothing.
void TestTblExpand::userDefinedAreaAddsNothing() {
    const QStringList result = TblExpand(u"熙--ⅰ"_qs);
    QCOMPARE(result.size(), 1 + 374 + 1);
    QCOMPARE(result.first(), u"熙"_qs);
    QCOMPARE(result.at(1), u"纊"_qs);
    QCOMPARE(result.at(result.size() - 2), u"＂"_qs);
    QCOMPARE(result.last(), u"ⅰ"_qs);
    for (const QString& c : result) {
        const char32_t u = c.toUcs4().value(0);
        QVERIFY2(u != 0xFFFD && u != 0x1A && (u < 0xE000 || u > 0xF8FF), qPrintable(c));
    }
}

QTEST_APPLESS_MAIN(TestTblExpand)
#include "TestTblExpand.moc"
