// The main window's Edit and Help menus and its font button: cut, copy and paste on the focused
// box or the whole picture, the manual, the conversion settings, and the tray re-laid for a new
// font.

#include "MainWindowHarness.h"

#include "platform/HelpManual.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>

class MainMenuCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    static QImage testPicture() {
        QImage image(30, 20, QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                image.setPixel(x, y, qRgb(x * 8, y * 12, 100));
        return image;
    }
    // The window showing testPicture(), active; path is its file.
    fomMain& startWithPicture(MainWindowHarness& h, QString* path = nullptr) {
        const QString file = writePicture(m_dir, u"p.png"_qs, testPicture());
        if (path != nullptr)
            *path = file;
        fomMain& w = h.startOn(file);
        QApplication::setActiveWindow(&w);
        return w;
    }
    static void trigger(MainWindowHarness& h, const QString& name) {
        h.child<QAction>(name)->trigger();
    }
    static QImage clipboardImage() {
        return QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    // Copy in the focused line-count box with nothing selected copies the picture; with a
    // selection in the focused box, the Edit commands act on its text.
    void editCommandsOnTheBoxes() {
        MainWindowHarness h;
        fomMain& w = startWithPicture(h);
        QClipboard* clipboard = QGuiApplication::clipboard();
        QLineEdit* lines = w.tray()->txtLines();
        lines->setFocus();
        QTRY_VERIFY(w.tray()->LinesFocus());
        lines->deselect();
        QTest::keyClick(lines, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardImage(), testPicture());
        QVERIFY(!clipboard->mimeData()->hasText());
        lines->setText(u"123"_qs);
        lines->setSelection(1, 2);
        QTest::keyClick(lines, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), u"23"_qs);
        QVERIFY(clipboard->image().isNull());
        QCOMPARE(lines->text(), u"123"_qs);
        trigger(h, u"mnuEditCut"_qs);
        QCOMPARE(lines->text(), u"1"_qs);
        QVERIFY(w.windowTitle().startsWith(u"p.png"_qs)); // the picture stays
        QLineEdit* palette = w.tray()->txtTxtTbl();
        palette->setFocus();
        QTRY_VERIFY(w.tray()->TblFocus());
        palette->setText(u"abcd"_qs);
        palette->setSelection(1, 2);
        clipboard->setText(u"＃＠"_qs);
        QTest::keyClick(palette, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(palette->text(), u"a＃＠d"_qs);
    }

    void cutThenPasteThePicture() {
        MainWindowHarness h;
        QString path;
        fomMain& w = startWithPicture(h, &path);
        w.OLEDragDrop({QUrl::fromLocalFile(path)});
        QCOMPARE(w.PicFileName(), path);
        const int detached = h.textView.detached;
        trigger(h, u"mnuEditCut"_qs);
        QVERIFY(h.picture()->isHidden());
        QCOMPARE(w.windowTitle(), u"Charloom"_qs);
        QCOMPARE(w.PicFileName(), QString());
        QCOMPARE(clipboardImage(), testPicture());
        trigger(h, u"mnuEditPaste"_qs);
        QVERIFY(h.picture()->isVisible());
        QCOMPARE(h.picture()->size(), QSize(30, 20));
        QCOMPARE(h.picture()->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 testPicture());
        QCOMPARE(w.windowTitle(), u"Charloom"_qs);
        QCOMPARE(w.PicFileName(), QString());
        QCOMPARE(h.textView.detached, detached + 2);
    }

    void pasteHidesTheSelection() {
        MainWindowHarness h;
        fomMain& w = h.startOn(writePicture(m_dir, u"big.png"_qs, filledImage(200, 150)));
        QApplication::setActiveWindow(&w);
        dragMouse(h.picture(), QPoint(10, 10), QPoint(60, 50));
        QVERIFY(w.selection().state().AiraVisible);
        QGuiApplication::clipboard()->setImage(testPicture());
        trigger(h, u"mnuEditPaste"_qs);
        QVERIFY(!w.selection().state().AiraVisible);
        QCOMPARE(h.picture()->size(), QSize(30, 20));
    }

    void nothingToCopyOrPaste() {
        MainWindowHarness h;
        fomMain& w = h.start();
        QGuiApplication::clipboard()->setText(u"keep"_qs);
        trigger(h, u"mnuEditCopy"_qs);
        trigger(h, u"mnuEditCut"_qs);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"keep"_qs);
        // Text on the clipboard but no box focused: Paste does nothing.
        trigger(h, u"mnuEditPaste"_qs);
        QVERIFY(h.picture()->isHidden());
        QCOMPARE(w.windowTitle(), u"Charloom"_qs);
        QVERIFY(h.messages.isEmpty());
    }

    void largerFontGrowsTheTray() {
        MainWindowHarness h;
        fomMain& w = h.start();
        w.resize(w.width(), 600);
        QTRY_VERIFY(w.centralWidget()->height() > 500);
        const int trayBefore = w.tray()->height();
        const int bordBefore = h.bord()->height();
        const int paletteBefore = w.tray()->txtTxtTbl()->height();
        const auto fontDialogAnswers = [](const QString& size, const QString& button) {
            whenModal([size, button](QWidget* dialog) {
                QCOMPARE(dialog->objectName(), u"fomFontSet"_qs);
                dialog->findChild<QComboBox*>(u"cboFontSize"_qs)->setEditText(size);
                clickButton(dialog, button);
            });
        };
        fontDialogAnswers(u"40"_qs, u"cmdCancel"_qs);
        h.button(u"cmdFontSet"_qs)->click();
        QCOMPARE(h.settings.FontSize, 12.0);
        QCOMPARE(w.tray()->height(), trayBefore);
        QCOMPARE(h.textView.fontsApplied, 0); // the text view is not shown
        h.textView.visible = true;
        fontDialogAnswers(u"36"_qs, u"cmdExit"_qs);
        h.button(u"cmdFontSet"_qs)->click();
        QCOMPARE(h.settings.FontSize, 36.0);
        QCOMPARE(h.textView.fontsApplied, 1);
        const int grown = w.tray()->height() - trayBefore;
        QVERIFY(grown > 0);
        QCOMPARE(w.tray()->txtTxtTbl()->height() - paletteBefore, grown);
        QCOMPARE(bordBefore - h.bord()->height(), grown);
        QCOMPARE(w.tray()->txtTxtTbl()->font().pixelSize(), 48);
    }

    void conversionSettingsFromTheHelpMenu() {
        MainWindowHarness h;
        fomMain& w = h.start();
        whenModal([](QWidget* dialog) {
            QCOMPARE(dialog->windowTitle(), u"変換設定"_qs);
            dialog->findChild<QScrollBar*>(u"hscNitiGosa"_qs)->setValue(50);
            clickButton(dialog, u"cmdExit"_qs);
        });
        trigger(h, u"mnuSetup"_qs);
        QCOMPARE(h.settings.NitiGosa, 0.5);
        // Locked during a run.
        w.AllEnabled(false);
        QVERIFY(!h.child<QAction>(u"mnuSetup"_qs)->isEnabled());
        w.AllEnabled(true);
        QVERIFY(h.child<QAction>(u"mnuSetup"_qs)->isEnabled());
    }

    void aboutBox() {
        MainWindowHarness h;
        h.start();
        QString line;
        bool icon = false;
        whenModal([&](QWidget* dialog) {
            line = dialog->findChild<QLabel*>(u"Label1"_qs)->text();
            icon = !dialog->findChild<QLabel*>(u"Image1"_qs)->pixmap().isNull();
            clickButton(dialog, u"cmdOk"_qs);
        });
        trigger(h, u"mnuHelpVersion"_qs);
        QCOMPARE(line, u"Charloom Version 1.4"_qs);
        QVERIFY(icon);
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
        trigger(h, u"mnuHelpTopic"_qs);
        HelpManual::setOpenerForTests({});
        QCOMPARE(h.messages, QStringList{u"付属の Manual.txt を読んで下さい。"_qs});
        QVERIFY(opened.isEmpty());
    }
};

QTEST_MAIN(MainMenuCommandsTest)
#include "MainMenuCommandsTest.moc"
