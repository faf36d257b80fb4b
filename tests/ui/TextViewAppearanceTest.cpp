// The text view linked to the main program: its font and colour commands open the dialogs, lay
// the text out again or redraw it, and hand a new font back to the main window; the main
// window's font button refreshes a shown text view the same way.

#include "MainWindowHarness.h"

#include <QAction>
#include <QComboBox>

class TextViewAppearanceTest : public QObject {
    Q_OBJECT

    static QAction* menu(TextViewWindow& link, const char* name) {
        return link.window()->findChild<QAction*>(QLatin1StringView(name));
    }
    static QWidget* box(TextViewWindow& link) {
        return link.window()->findChild<QWidget*>(u"picCopyBuf"_qs);
    }

private slots:
    void fontCommandRelaysAndTellsTheMainWindow() {
        LinkedWindows l;
        const int trayBefore = l.main.tray()->height();
        l.textView.View(u"AB\r\nCD\r\nEF"_qs, QImage());
        QVERIFY(l.textView.isVisible());
        const TextLayout& layout = l.textView.window()->layout();
        const qint32 pitch = layout.LinePitch();
        whenModal([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), u"fomFontSet"_qs);
            dialog->findChild<QComboBox*>(u"cboFontSize"_qs)->setEditText(u"24"_qs);
            clickButton(dialog, u"cmdExit"_qs);
        });
        menu(l.textView, "mnuEditFont")->trigger();
        QCOMPARE(l.settings.FontSize, 24.0);
        QVERIFY(l.main.tray()->height() > trayBefore); // the main window took the new font too
        QCOMPARE(layout.font().pixelSize(), 32);
        QVERIFY(layout.LinePitch() > pitch);
        QCOMPARE(layout.TxtHeight(), 3 * layout.LinePitch());
        QCOMPARE(box(l.textView)->height(), 3 * layout.LinePitch());
    }

    // The shown text, not only the next rendering, takes the new colours.
    void colourCommandRedraws() {
        LinkedWindows l;
        l.textView.View(u"@@@@"_qs, QImage());
        whenModal([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), u"fomColorSet"_qs);
            QTest::mouseClick(dialog->findChild<QAbstractButton*>(u"optForeColor3"_qs),
                              Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QAbstractButton*>(u"optBackColor10"_qs),
                              Qt::LeftButton);
            clickButton(dialog, u"cmdExit"_qs);
        });
        menu(l.textView, "mnuEditColor")->trigger();
        QCOMPARE(l.settings.ForeColor, 0x0000FF);
        QCOMPARE(l.settings.BackColor, 0x000000);
        const QImage image =
            box(l.textView)->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(0, 0, 0));
        bool red = false;
        for (int y = 0; y < image.height() && !red; ++y)
            for (int x = 0; x < image.width() && !red; ++x)
                red = image.pixel(x, y) == qRgb(255, 0, 0);
        QVERIFY(red);
    }

    void fontButtonRefreshOfAShownView() {
        LinkedWindows l;
        l.textView.applyFont(); // nothing shown yet: nothing to lay out
        QVERIFY(!l.textView.isVisible());
        l.textView.View(u"AB\r\nCD"_qs, QImage());
        const qint32 pitch = l.textView.window()->layout().LinePitch();
        l.settings.FontSize = 30;
        l.textView.applyFont();
        QVERIFY(l.textView.window()->layout().LinePitch() > pitch);
    }

    void runLocksTheAppearanceCommands() {
        LinkedWindows l;
        l.textView.View(u"x"_qs, QImage());
        l.textView.setRunMenusEnabled(false);
        QVERIFY(!menu(l.textView, "mnuEditFont")->isEnabled());
        QVERIFY(!menu(l.textView, "mnuEditColor")->isEnabled());
        l.textView.setRunMenusEnabled(true);
        QVERIFY(menu(l.textView, "mnuEditColor")->isEnabled());
    }
};

QTEST_MAIN(TextViewAppearanceTest)
#include "TextViewAppearanceTest.moc"
