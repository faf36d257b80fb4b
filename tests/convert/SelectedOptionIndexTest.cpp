#include "convert/SelectedOptionIndex.h"

#include <QTest>

// The index of an option group: the first selected button from the lowest index, else the default.
class SelectedOptionIndexTest : public QObject {
    Q_OBJECT

private slots:
    void index_data() {
        QTest::addColumn<QList<bool>>("selected");
        QTest::addColumn<qint32>("defaultIndex");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("first") << QList<bool>{true, false} << 7 << 0;
        QTest::newRow("second") << QList<bool>{false, true} << 7 << 1;
        QTest::newRow("none selected gives the default") << QList<bool>{false, false} << 7 << 7;
        QTest::newRow("several: the lowest") << QList<bool>{false, true, true} << 0 << 1;
        QTest::newRow("empty group") << QList<bool>{} << -1 << -1;
        QTest::newRow("last of eleven") << QList<bool>(10, false) + QList<bool>{true} << 0 << 10;
    }
    void index() {
        QFETCH(QList<bool>, selected);
        QFETCH(qint32, defaultIndex);
        QFETCH(qint32, expected);
        QCOMPARE(SelectedOptionIndex(selected, defaultIndex), expected);
    }
};

QTEST_APPLESS_MAIN(SelectedOptionIndexTest)
#include "SelectedOptionIndexTest.moc"
