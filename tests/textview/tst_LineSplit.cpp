#include "textview/LineSplit.h"

#include <QTest>

class tst_LineSplit : public QObject {
    Q_OBJECT
private slots:
    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("one line") << QStringLiteral("abc") << QStringList{QStringLiteral("abc")};
        QTest::newRow("final CR LF starts no line")
            << QStringLiteral("a\r\n") << QStringList{QStringLiteral("a")};
        QTest::newRow("a CR LF CR LF is two lines")
            << QStringLiteral("a\r\n\r\n") << QStringList{QStringLiteral("a"), QString()};
        QTest::newRow("CR LF alone is one empty line")
            << QStringLiteral("\r\n") << QStringList{QString()};
        QTest::newRow("empty lines in the middle count")
            << QStringLiteral("a\r\n\r\n\r\nb")
            << QStringList{QStringLiteral("a"), QString(), QString(), QStringLiteral("b")};
        QTest::newRow("bare LF and CR do not break")
            << QStringLiteral("a\nb\rc\r\nd")
            << QStringList{QStringLiteral("a\nb\rc"), QStringLiteral("d")};
        QTest::newRow("full-width text")
            << QStringLiteral("／＼\r\n（　）")
            << QStringList{QStringLiteral("／＼"), QStringLiteral("（　）")};
    }
    void split() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QStringList out{QStringLiteral("stale")};
        QCOMPARE(LineSplit(text, out), lines.size());
        QCOMPARE(out, lines);
    }

    void manyLines() {
        QString text;
        for (int i = 0; i < 250; ++i)
            text += QString::number(i) + QStringLiteral("\r\n");
        QStringList out;
        QCOMPARE(LineSplit(text, out), 250);
        QCOMPARE(out.at(249), QStringLiteral("249"));
    }
};

QTEST_APPLESS_MAIN(tst_LineSplit)
#include "tst_LineSplit.moc"
