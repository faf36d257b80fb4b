#include "app/EditTarget.h"

#include <QTest>

// What the main window's Edit commands act on.
class EditTargetTest : public QObject {
    Q_OBJECT

    using T = EditTarget::Target;

private slots:
    void cutCopy_data() {
        QTest::addColumn<bool>("tblFocus");
        QTest::addColumn<int>("tblSel");
        QTest::addColumn<bool>("linesFocus");
        QTest::addColumn<int>("linesSel");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<int>("expected");
        QTest::newRow("palette selection") << true << 3 << false << 0 << true << int(T::Palette);
        QTest::newRow("lines selection") << false << 0 << true << 1 << true << int(T::Lines);
        QTest::newRow("lines focus, no selection")
            << false << 0 << true << 0 << true << int(T::Picture);
        QTest::newRow("selection without focus")
            << false << 2 << false << 2 << true << int(T::Picture);
        QTest::newRow("no picture") << false << 0 << true << 0 << false << int(T::Nothing);
        QTest::newRow("palette wins over lines")
            << true << 1 << true << 1 << false << int(T::Palette);
    }
    void cutCopy() {
        QFETCH(bool, tblFocus);
        QFETCH(int, tblSel);
        QFETCH(bool, linesFocus);
        QFETCH(int, linesSel);
        QFETCH(bool, picture);
        QFETCH(int, expected);
        const EditTarget::Boxes boxes{tblFocus, tblSel, linesFocus, linesSel};
        QCOMPARE(int(EditTarget::cutCopy(boxes, picture)), expected);
    }

    void paste_data() {
        QTest::addColumn<bool>("tblFocus");
        QTest::addColumn<bool>("linesFocus");
        QTest::addColumn<bool>("text");
        QTest::addColumn<bool>("image");
        QTest::addColumn<int>("expected");
        QTest::newRow("text into the palette") << true << false << true << false << int(T::Palette);
        QTest::newRow("text into the lines") << false << true << true << true << int(T::Lines);
        QTest::newRow("picture while a box has the focus")
            << true << false << false << true << int(T::Picture);
        QTest::newRow("text without a focused box")
            << false << false << true << false << int(T::Nothing);
        QTest::newRow("empty clipboard") << true << true << false << false << int(T::Nothing);
    }
    void paste() {
        QFETCH(bool, tblFocus);
        QFETCH(bool, linesFocus);
        QFETCH(bool, text);
        QFETCH(bool, image);
        QFETCH(int, expected);
        const EditTarget::Boxes boxes{tblFocus, 0, linesFocus, 0};
        QCOMPARE(int(EditTarget::paste(boxes, text, image)), expected);
    }
};

QTEST_APPLESS_MAIN(EditTargetTest)
#include "EditTargetTest.moc"
