// The command-line file name: joined arguments, quotes and the text-file rule.

#include "app/CommandLine.h"

#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void join_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("line");
        QTest::newRow("none") << QStringList{u"charloom"_qs} << QString();
        QTest::newRow("one") << QStringList{u"charloom"_qs, u"/p/a.png"_qs} << u"/p/a.png"_qs;
        QTest::newRow("unquoted blanks")
            << QStringList{u"charloom"_qs, u"/p/my"_qs, u"cat.png"_qs} << u"/p/my cat.png"_qs;
    }
    void join() {
        QFETCH(QStringList, arguments);
        QTEST(CommandLine::join(arguments), "line");
    }

    void unquote_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("quoted") << u"\"/p/a b.png\""_qs << u"/p/a b.png"_qs;
        QTest::newRow("two quotes alone") << u"\"\""_qs << u"\"\""_qs;
        QTest::newRow("three characters") << u"\"a\""_qs << u"a"_qs;
        QTest::newRow("one quote") << u"\"/p/a.png"_qs << u"\"/p/a.png"_qs;
        QTest::newRow("plain") << u"/p/a.png"_qs << u"/p/a.png"_qs;
    }
    void unquote() {
        QFETCH(QString, in);
        QTEST(CommandLine::unquote(in), "out");
    }

    void textFiles_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("text");
        QTest::newRow("lower") << u"/p/a.txt"_qs << true;
        QTest::newRow("upper") << u"/p/A.TXT"_qs << true;
        QTest::newRow("mixed") << u"x.TxT"_qs << true;
        QTest::newRow("picture") << u"/p/a.png"_qs << false;
        QTest::newRow("txt inside") << u"/p/a.txt.png"_qs << false;
        QTest::newRow("no dot") << u"atxt"_qs << false;
    }
    void textFiles() {
        QFETCH(QString, name);
        QTEST(CommandLine::isTextFile(name), "text");
    }
};

QTEST_APPLESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
