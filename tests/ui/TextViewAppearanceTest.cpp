// The text view linked to the main program: its font and colour commands open the dialogs, lay
// the text out again or redraw it, and hand a new font back to the main window; the main
// window's font button refreshes a shown text view the same way.

#include "MainWindowFakes.h"

#include "app/TextViewWindow.h"
#include "app/fomMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The text view attached to a main window over an in-memory settings file.
struct Linked {
    SettingsRecord settings;
    MemorySettingsFile file;
    TextViewWindow link{settings};
    fomMain main{settings, file, link};
    Linked() { link.attach(main); }
};

class TextViewAppearanceTest : public QObject {
    Q_OBJECT

    static void whenModal(std::function<void(QWidget* dialog)> answer) {
        QTimer::singleShot(0, [answer] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            answer(dialog);
        });
    }
    static QAction* menu(TextViewWindow& link, const char* name) {
        return link.window()->findChild<QAction*>(QLatin1StringView(name));
    }
    static QImage rendered(TextViewWindow& link) {
        QImage image;
        link.window()->PicDrawAll(image);
        return image;
    }

private slots:
    void fontCommandRelaysAndTellsTheMainWindow() {
        Linked l;
        SettingsRecord& settings = l.settings;
        TextViewWindow& link = l.link;
        const int trayBefore = l.main.tray()->height();
        link.View(QStringLiteral("AB\r\nCD\r\nEF"), QImage());
        QVERIFY(link.isVisible());
        const qint32 pitch = link.window()->layout().LinePitch();
        whenModal([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("fomFontSet"));
            dialog->findChild<QComboBox*>(QStringLiteral("cboFontSize"))
                ->setEditText(QStringLiteral("24"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdExit")),
                              Qt::LeftButton);
        });
        menu(link, "mnuEditFont")->trigger();
        QCOMPARE(settings.FontSize, 24.0);
        // The main window took the new font too.
        QVERIFY(l.main.tray()->height() > trayBefore);
        QVERIFY(link.window()->layout().LinePitch() > pitch);
        QCOMPARE(link.window()->layout().TxtHeight(), 3 * link.window()->layout().LinePitch());
    }

    void colourCommandRedraws() {
        Linked l;
        SettingsRecord& settings = l.settings;
        TextViewWindow& link = l.link;
        link.View(QStringLiteral("@@@@"), QImage());
        whenModal([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("fomColorSet"));
            QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("optForeColor3")),
                              Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("optBackColor10")),
                              Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdExit")),
                              Qt::LeftButton);
        });
        menu(link, "mnuEditColor")->trigger();
        QCOMPARE(settings.ForeColor, 0x0000FF);
        QCOMPARE(settings.BackColor, 0x000000);
        const QImage image = rendered(link);
        QVERIFY(!image.isNull());
        QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(0, 0, 0));
        bool red = false;
        for (int y = 0; y < image.height() && !red; ++y)
            for (int x = 0; x < image.width() && !red; ++x)
                red = image.pixel(x, y) == qRgb(255, 0, 0);
        QVERIFY(red);
    }

    void fontButtonRefreshOfAShownView() {
        Linked l;
        SettingsRecord& settings = l.settings;
        TextViewWindow& link = l.link;
        link.applyFont(); // nothing shown yet: nothing to lay out
        QVERIFY(!link.isVisible());
        link.View(QStringLiteral("AB\r\nCD"), QImage());
        const qint32 pitch = link.window()->layout().LinePitch();
        settings.FontSize = 30;
        link.applyFont();
        QVERIFY(link.window()->layout().LinePitch() > pitch);
    }

    void runLocksTheAppearanceCommands() {
        Linked l;
        TextViewWindow& link = l.link;
        link.View(QStringLiteral("x"), QImage());
        link.setRunMenusEnabled(false);
        QVERIFY(!menu(link, "mnuEditFont")->isEnabled());
        QVERIFY(!menu(link, "mnuEditColor")->isEnabled());
        link.setRunMenusEnabled(true);
        QVERIFY(menu(link, "mnuEditColor")->isEnabled());
    }
};

QTEST_MAIN(TextViewAppearanceTest)
#include "TextViewAppearanceTest.moc"
