// The command-line file name: joined arguments, quotes and the text-file rule.

#include "app/CommandLine.h"

#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void join_data();
    void join();
    void unquote_data();
    void unquote();
    void textFiles_data();
    void textFiles();
};

void CommandLineTest::join_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("line");
    QTest::newRow("none") << QStringList{QStringLiteral("charloom")} << QString();
    QTest::newRow("one") << QStringList{QStringLiteral("charloom"), QStringLiteral("/p/a.png")}
                         << QStringLiteral("/p/a.png");
    QTest::newRow("unquoted blanks")
        << QStringList{QStringLiteral("charloom"), QStringLiteral("/p/my"),
                       QStringLiteral("cat.png")}
        << QStringLiteral("/p/my cat.png");
}

void CommandLineTest::join() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, line);
    QCOMPARE(CommandLine::join(arguments), line);
}

void CommandLineTest::unquote_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("quoted") << QStringLiteral("\"/p/a b.png\"") << QStringLiteral("/p/a b.png");
    QTest::newRow("two quotes alone") << QStringLiteral("\"\"") << QStringLiteral("\"\"");
    QTest::newRow("three characters") << QStringLiteral("\"a\"") << QStringLiteral("a");
    QTest::newRow("one quote") << QStringLiteral("\"/p/a.png") << QStringLiteral("\"/p/a.png");
    QTest::newRow("plain") << QStringLiteral("/p/a.png") << QStringLiteral("/p/a.png");
}

void CommandLineTest::unquote() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(CommandLine::unquote(in), out);
}

void CommandLineTest::textFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("text");
    QTest::newRow("lower") << QStringLiteral("/p/a.txt") << true;
    QTest::newRow("upper") << QStringLiteral("/p/A.TXT") << true;
    QTest::newRow("mixed") << QStringLiteral("x.TxT") << true;
    QTest::newRow("picture") << QStringLiteral("/p/a.png") << false;
    QTest::newRow("txt inside") << QStringLiteral("/p/a.txt.png") << false;
    QTest::newRow("no dot") << QStringLiteral("atxt") << false;
}

void CommandLineTest::textFiles() {
    QFETCH(QString, name);
    QFETCH(bool, text);
    QCOMPARE(CommandLine::isTextFile(name), text);
}

QTEST_APPLESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
