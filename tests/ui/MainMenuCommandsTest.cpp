// The main window's Edit and Help menus and its font button: cut, copy and paste on the focused
// box or the whole picture, the manual, the conversion settings, and the tray re-laid for a new
// font.

#include "MainWindowHarness.h"

#include "platform/HelpManual.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>

class MainMenuCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The window with a 30 x 20 picture loaded from a file, shown and active.
    static fomMain& startWithPicture(MainWindowHarness& h, const QString& path) {
        fomMain& w = h.start();
        w.PicLoad(path);
        QApplication::setActiveWindow(&w);
        return w;
    }
    static QImage testPicture() {
        QImage image(30, 20, QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                image.setPixel(x, y, qRgb(x * 8, y * 12, 100));
        return image;
    }
    static QAction* action(MainWindowHarness& h, const QString& name) {
        return h.child<QAction>(name);
    }
    // Answers the next modal dialog when it is up.
    static void whenModal(std::function<void(QWidget* dialog)> answer) {
        QTimer::singleShot(0, [answer] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            answer(dialog);
        });
    }

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void menusAreThere() {
        MainWindowHarness h;
        h.start();
        const QList<std::pair<QString, QString>> items = {
            {QStringLiteral("mnuEditCut"), QStringLiteral("切り取り(&T)")},
            {QStringLiteral("mnuEditCopy"), QStringLiteral("コピー(&C)")},
            {QStringLiteral("mnuEditPaste"), QStringLiteral("貼り付け(&P)")},
            {QStringLiteral("mnuHelpTopic"), QStringLiteral("Charloom のﾍﾙﾌﾟ(&H)")},
            {QStringLiteral("mnuSetup"), QStringLiteral("変換設定(&S)")},
            {QStringLiteral("mnuHelpVersion"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)...")}};
        for (const auto& [name, text] : items) {
            QAction* item = action(h, name);
            QVERIFY2(item != nullptr, qPrintable(name));
            QCOMPARE(item->text(), text);
            QVERIFY(item->isEnabled());
        }
        QCOMPARE(action(h, QStringLiteral("mnuEditCopy"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_C));
        QVERIFY(h.button(QStringLiteral("cmdFontSet"))->isEnabled());
    }

    void copyInTheLineBoxWithoutSelectionCopiesThePicture() {
        const QString path = writePicture(m_dir, QStringLiteral("p.png"), testPicture());
        MainWindowHarness h;
        fomMain& w = startWithPicture(h, path);
        QLineEdit* lines = w.tray()->txtLines();
        lines->setFocus();
        QTRY_VERIFY(w.tray()->LinesFocus());
        lines->deselect();
        QTest::keyClick(lines, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 testPicture());
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasText());
    }

    void copyTakesTheSelectedText() {
        const QString path = writePicture(m_dir, QStringLiteral("p.png"), testPicture());
        MainWindowHarness h;
        fomMain& w = startWithPicture(h, path);
        QLineEdit* lines = w.tray()->txtLines();
        lines->setFocus();
        QTRY_VERIFY(w.tray()->LinesFocus());
        lines->setText(QStringLiteral("123"));
        lines->setSelection(1, 2);
        QTest::keyClick(lines, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("23"));
        QVERIFY(QGuiApplication::clipboard()->image().isNull());
        QCOMPARE(lines->text(), QStringLiteral("123"));
        // Cut takes it out of the box.
        action(h, QStringLiteral("mnuEditCut"))->trigger();
        QCOMPARE(lines->text(), QStringLiteral("1"));
        QVERIFY(w.windowTitle().startsWith(QStringLiteral("p.png")));
    }

    void pasteIntoThePaletteBox() {
        MainWindowHarness h;
        fomMain& w = h.start();
        QApplication::setActiveWindow(&w);
        QLineEdit* palette = w.tray()->txtTxtTbl();
        palette->setFocus();
        QTRY_VERIFY(w.tray()->TblFocus());
        palette->setText(QStringLiteral("abcd"));
        palette->setSelection(1, 2);
        QGuiApplication::clipboard()->setText(QStringLiteral("＃＠"));
        QTest::keyClick(palette, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(palette->text(), QStringLiteral("a＃＠d"));
    }

    void cutThenPasteThePicture() {
        const QString path = writePicture(m_dir, QStringLiteral("p.png"), testPicture());
        MainWindowHarness h;
        fomMain& w = startWithPicture(h, path);
        QCOMPARE(w.PicFileName(), QString());
        w.OLEDragDrop({QUrl::fromLocalFile(path)});
        QCOMPARE(w.PicFileName(), path);
        QCOMPARE(w.windowTitle(), QStringLiteral("p.png - Charloom"));
        const int detached = h.textView.detached;

        action(h, QStringLiteral("mnuEditCut"))->trigger();
        QVERIFY(h.child<QWidget>(QStringLiteral("picPicture"))->isHidden());
        QCOMPARE(w.windowTitle(), QStringLiteral("Charloom"));
        QCOMPARE(w.PicFileName(), QString());
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 testPicture());

        action(h, QStringLiteral("mnuEditPaste"))->trigger();
        auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
        QVERIFY(picture->isVisible());
        QCOMPARE(picture->size(), QSize(30, 20));
        QCOMPARE(picture->grab().toImage().convertToFormat(QImage::Format_RGB32), testPicture());
        QCOMPARE(w.windowTitle(), QStringLiteral("Charloom"));
        QCOMPARE(w.PicFileName(), QString());
        QCOMPARE(h.textView.detached, detached + 2);
    }

    void pasteHidesTheSelection() {
        const QString path =
            writePicture(m_dir, QStringLiteral("big.png"), filledImage(200, 150, qRgb(0, 0, 0)));
        MainWindowHarness h;
        fomMain& w = startWithPicture(h, path);
        auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
        sendMouse(picture, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton,
                  Qt::LeftButton);
        sendMouse(picture, QEvent::MouseMove, QPoint(60, 50), Qt::NoButton, Qt::LeftButton);
        sendMouse(picture, QEvent::MouseButtonRelease, QPoint(60, 50), Qt::LeftButton,
                  Qt::NoButton);
        QVERIFY(w.selection().state().AiraVisible);
        QGuiApplication::clipboard()->setImage(testPicture());
        action(h, QStringLiteral("mnuEditPaste"))->trigger();
        QVERIFY(!w.selection().state().AiraVisible);
        QCOMPARE(picture->size(), QSize(30, 20));
    }

    void nothingToCopyOrPaste() {
        MainWindowHarness h;
        fomMain& w = h.start();
        QGuiApplication::clipboard()->setText(QStringLiteral("keep"));
        action(h, QStringLiteral("mnuEditCopy"))->trigger();
        action(h, QStringLiteral("mnuEditCut"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("keep"));
        // Text on the clipboard but no box focused: Paste does nothing.
        action(h, QStringLiteral("mnuEditPaste"))->trigger();
        QVERIFY(h.child<QWidget>(QStringLiteral("picPicture"))->isHidden());
        QCOMPARE(w.windowTitle(), QStringLiteral("Charloom"));
        QVERIFY(h.messages.isEmpty());
    }

    void largerFontGrowsTheTray() {
        MainWindowHarness h;
        fomMain& w = h.start();
        w.resize(w.width(), 600);
        QTRY_COMPARE(w.centralWidget()->height() > 500, true);
        auto* bord = h.child<QWidget>(QStringLiteral("picBord"));
        const int trayBefore = w.tray()->height();
        const int bordBefore = bord->height();
        const int paletteBefore = w.tray()->txtTxtTbl()->height();
        h.textView.visible = true;
        whenModal([](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("fomFontSet"));
            auto* size = dialog->findChild<QComboBox*>(QStringLiteral("cboFontSize"));
            size->setEditText(QStringLiteral("36"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdExit")),
                              Qt::LeftButton);
        });
        h.button(QStringLiteral("cmdFontSet"))->click();
        QCOMPARE(h.settings.FontSize, 36.0);
        QCOMPARE(h.textView.fontsApplied, 1);
        const int grown = w.tray()->height() - trayBefore;
        QVERIFY(grown > 0);
        QCOMPARE(w.tray()->txtTxtTbl()->height() - paletteBefore, grown);
        QCOMPARE(bordBefore - bord->height(), grown);
        QCOMPARE(w.tray()->txtTxtTbl()->font().pixelSize(), 48);
    }

    void cancelledFontDialogChangesNothing() {
        MainWindowHarness h;
        fomMain& w = h.start();
        const int trayBefore = w.tray()->height();
        whenModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>(QStringLiteral("cboFontSize"))
                ->setEditText(QStringLiteral("40"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                              Qt::LeftButton);
        });
        h.button(QStringLiteral("cmdFontSet"))->click();
        QCOMPARE(h.settings.FontSize, 12.0);
        QCOMPARE(w.tray()->height(), trayBefore);
        QCOMPARE(h.textView.fontsApplied, 0); // the text view is not shown
    }

    void conversionSettingsFromTheHelpMenu() {
        MainWindowHarness h;
        h.start();
        whenModal([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("変換設定"));
            dialog->findChild<QScrollBar*>(QStringLiteral("hscNitiGosa"))->setValue(50);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdExit")),
                              Qt::LeftButton);
        });
        action(h, QStringLiteral("mnuSetup"))->trigger();
        QCOMPARE(h.settings.NitiGosa, 0.5);
    }

    void setupIsLockedDuringARun() {
        MainWindowHarness h;
        fomMain& w = h.start();
        w.AllEnabled(false);
        QVERIFY(!action(h, QStringLiteral("mnuSetup"))->isEnabled());
        w.AllEnabled(true);
        QVERIFY(action(h, QStringLiteral("mnuSetup"))->isEnabled());
    }

    void aboutBox() {
        MainWindowHarness h;
        h.start();
        QString line;
        whenModal([&line](QWidget* dialog) {
            line = dialog->findChild<QLabel*>(QStringLiteral("Label1"))->text();
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("cmdOk")),
                              Qt::LeftButton);
        });
        action(h, QStringLiteral("mnuHelpVersion"))->trigger();
        QCOMPARE(line, QStringLiteral("Charloom Version 1.4"));
    }

    void manualMissingBesideTheTests() {
        // The tests run from build/tests, where no manual lies.
        MainWindowHarness h;
        h.start();
        QList<QUrl> opened;
        HelpManual::setOpenerForTests([&opened](const QUrl& url) {
            opened.append(url);
            return true;
        });
        action(h, QStringLiteral("mnuHelpTopic"))->trigger();
        HelpManual::setOpenerForTests({});
        QCOMPARE(h.messages, QStringList{QStringLiteral("付属の Manual.txt を読んで下さい。")});
        QVERIFY(opened.isEmpty());
    }
};

QTEST_MAIN(MainMenuCommandsTest)
#include "MainMenuCommandsTest.moc"
