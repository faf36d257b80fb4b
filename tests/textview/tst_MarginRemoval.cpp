#include "textview/MarginRemoval.h"

#include <QTest>

class tst_MarginRemoval : public QObject {
    Q_OBJECT
private slots:
    void remove_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // Margin 2: the blank-only line counts with its 4 columns, the empty line is skipped.
        QTest::newRow("four-line example")
            << QStringLiteral("  ab  \r\n   c\r\n\r\n    ") << QStringLiteral("ab\r\n c");
        QTest::newRow("full-width and half-width indents both lose 2 columns")
            << QStringLiteral("\u3000x\r\n  y") << QStringLiteral("x\r\ny");
        QTest::newRow("framed by empty and blank lines")
            << QStringLiteral("\r\n   \r\n\u3000\r\n  /\\\r\n\r\n  \\/\r\n  \r\n\r\n")
            << QStringLiteral("/\\\r\n\r\n\\/");
        QTest::newRow("blanks only") << QStringLiteral("  \r\n\u3000\r\n\r\n ") << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("end-of-file marks")
            << QStringLiteral(" a\r\n b\x1a\x1a") << QStringLiteral("a\r\nb");
        QTest::newRow("only the marks at the end go")
            << QStringLiteral("a\x1a b\x1a") << QStringLiteral("a\x1a b");
        QTest::newRow("trailing full-width blanks")
            << QStringLiteral("a\u3000 \u3000\r\nb") << QStringLiteral("a\r\nb");
        QTest::newRow("no margin keeps indents of other lines")
            << QStringLiteral("a\r\n  b") << QStringLiteral("a\r\n  b");
        // Margin 3 ends inside the second ideographic space: its remaining column stays as one
        // half-width space, so the x keeps its place one column right of the z.
        QTest::newRow("half-removed full-width space")
            << QStringLiteral("   z\r\n\u3000\u3000x") << QStringLiteral("z\r\n x");
        QTest::newRow("lines in the middle stay")
            << QStringLiteral(" a\r\n \r\n\r\n b") << QStringLiteral("a\r\n\r\n\r\nb");
    }
    void remove() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(RemoveMargins(text), expected);
    }
};

QTEST_APPLESS_MAIN(tst_MarginRemoval)
#include "tst_MarginRemoval.moc"
