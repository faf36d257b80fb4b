#include "convert/SelectedOptionIndex.h"

#include <QTest>

// The index of an option group: the first selected button from the lowest index, else the default.
class SelectedOptionIndexTest : public QObject {
    Q_OBJECT

private slots:
    void index() {
        QCOMPARE(SelectedOptionIndex({true, false}, 7), 0);
        QCOMPARE(SelectedOptionIndex({false, true}, 7), 1);
        QCOMPARE(SelectedOptionIndex({false, false}, 7), 7); // none selected: the default
        QCOMPARE(SelectedOptionIndex({false, true, true}, 0), 1);
        QCOMPARE(SelectedOptionIndex({}, -1), -1);
        QCOMPARE(SelectedOptionIndex(QList<bool>(10, false) + QList<bool>{true}, 0), 10);
    }
};

QTEST_APPLESS_MAIN(SelectedOptionIndexTest)
#include "SelectedOptionIndexTest.moc"
