// Rounding halves to even, numeric text as users type it, and the number formats.

#include "platform/Numbers.h"

#include <QTest>

#include <optional>

using namespace Numbers;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void rounding_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("rounded");
        // 0.5 and -3.5 tell half-even from floor(x + 0.5) and from rounding towards zero.
        for (const auto& [value, rounded] :
             {std::pair{2.5, 2}, {3.5, 4}, {0.5, 0}, {-2.5, -2}, {-3.5, -4}, {2.6, 3}, {-0.4, 0}})
            QTest::addRow("%g", value) << value << qint64(rounded);
    }
    void rounding() {
        QFETCH(double, value);
        QTEST(roundHalfEven(value), "rounded");
    }

    void numeric_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::newRow("blanks around") << " 12 " << true << 12.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("capital exponent, sign") << "2.5E-1" << true << 0.25;
        QTest::newRow("plus sign") << "+3.5" << true << 3.5;
        QTest::newRow("minus sign") << "-7" << true << -7.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks only") << "   " << false << 0.0;
        QTest::newRow("point alone") << "." << false << 0.0;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("trailing point") << "3." << true << 3.0;
        QTest::newRow("exponent without digits") << "1e" << false << 0.0;
        QTest::newRow("trailing letters") << "12abc" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("sign alone") << "-" << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
        QTest::newRow("full-width digits") << "１２" << false << 0.0;
    }
    void numeric() {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        const std::optional<double> parsed = parseNumeric(text);
        QCOMPARE(parsed.has_value(), numeric);
        QCOMPARE(parsed.value_or(0), value);
    }

    void int16_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("value");
        QTest::newRow("12") << " 12 " << true << 12;
        QTest::newRow("2.5 to even") << "2.5" << true << 2;
        QTest::newRow("3.5 to even") << "3.5" << true << 4;
        QTest::newRow("largest") << "32767" << true << 32767;
        QTest::newRow("too large") << "32768" << false << 0;
        QTest::newRow("smallest") << "-32768.4" << true << -32768;
        QTest::newRow("too small") << "-32769" << false << 0;
        QTest::newRow("not numeric") << "abc" << false << 0;
    }
    void int16() {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QFETCH(int, value);
        const std::optional<qint16> parsed = parseInt16(text);
        QCOMPARE(parsed.has_value(), fits);
        QCOMPARE(int(parsed.value_or(0)), value);
    }

    void format_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shortest");
        QTest::addColumn<QString>("oneDecimal");
        QTest::newRow("0.2") << 0.2 << u"0.2"_qs << u"0.2"_qs;
        QTest::newRow("12") << 12.0 << u"12"_qs << u"12.0"_qs;
        QTest::newRow("0") << 0.0 << u"0"_qs << u"0.0"_qs;
        QTest::newRow("-1.5") << -1.5 << u"-1.5"_qs << u"-1.5"_qs;
        QTest::newRow("third") << 1.0 / 3 << u"0.333333333333333"_qs << u"0.3"_qs;
    }
    void format() {
        QFETCH(double, value);
        QTEST(formatDouble(value), "shortest");
        QTEST(formatOneDecimal(value), "oneDecimal");
    }
};

QTEST_APPLESS_MAIN(TestNumbers)
#include "TestNumbers.moc"
