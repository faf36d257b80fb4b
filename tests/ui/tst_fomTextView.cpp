#include "TextViewFixture.h"

#include "platform/WheelForwarding.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>

namespace {

QImage shown(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void dragTo(QWidget* widget, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// True when the event was used up where it was sent: a wheel event the receiver ignores goes on
// to its parent.
bool wheel(QWidget* widget, int delta) {
    QWheelEvent event(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &event);
    return event.isAccepted();
}

} // namespace

class tst_fomTextView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(TextViewFixture::loadMonapo(), "install the Debian package fonts-monapo");
    }

    void emptyText() {
        TextViewFixture f;
        f.view->View(QString());
        QVERIFY(f.box()->isHidden());
        QVERIFY(!f.vsc()->isEnabled());
        QVERIFY(!f.hsc()->isEnabled());
        QCOMPARE(f.vsc()->value(), 0);
        QCOMPARE(f.hsc()->value(), 0);
        QCOMPARE(f.view->windowTitle(), QStringLiteral("Text View"));
        QCOMPARE(f.view->TextFileName(), QString());
    }

    void smallTextFitsAndEqualsBitmap() {
        TextViewFixture f;
        f.view->View(QStringLiteral("(´・ω・`)\r\n  ／＼\r\n"));
        const TextLayout& l = f.view->layout();
        QCOMPARE(l.LineCount(), 2);
        QVERIFY(!f.vsc()->isEnabled());
        QVERIFY(!f.hsc()->isEnabled());
        QVERIFY(f.box()->isVisible());
        QCOMPARE(f.box()->size(), QSize(l.TxtWidth(), 2 * l.LinePitch()));
        QImage bitmap;
        QCOMPARE(f.view->PicDrawAll(bitmap), 0);
        QCOMPARE(shown(f.box()), bitmap);
    }

    void scrolledViewShowsThatPartOfTheText() {
        TextViewFixture f;
        f.view->View(longText());
        const TextLayout& l = f.view->layout();
        const QRect inner = f.view->viewport();
        QVERIFY(f.vsc()->isEnabled());
        QCOMPARE(f.vsc()->maximum(), l.TxtHeight() - inner.height());
        QCOMPARE(f.vsc()->pageStep(), inner.height());
        QCOMPARE(f.hsc()->maximum(), l.TxtWidth() - inner.width());
        f.vsc()->setValue(l.LinePitch() + 3);
        QCOMPARE(f.view->ScrY(), l.LinePitch() + 3);
        QCOMPARE(f.box()->size(), inner.size());
        QImage bitmap;
        QCOMPARE(f.view->PicDrawAll(bitmap), 0);
        // Line 1 starts 3 pixels above the top edge.
        QCOMPARE(shown(f.box()), bitmap.copy(0, l.LinePitch() + 3, inner.width(), inner.height()));
        // Scrolled right into the middle of characters: each line starts cut at the left edge.
        f.hsc()->setValue(37);
        QCOMPARE(shown(f.box()), bitmap.copy(37, l.LinePitch() + 3, inner.width(), inner.height()));
    }

    void pictureBackgroundOnScreenEqualsBitmap() {
        TextViewFixture f;
        QImage picture(2, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, qRgb(255, 0, 0));
        picture.setPixel(1, 0, qRgb(0, 0, 255));
        f.pictures.picture = picture;
        f.view->setColorDialog([](QWidget*, SettingsRecord& s) {
            s.ForeColor = ColorRef::ImageColor;
            s.BackColor = ColorRef::ImageColor;
        });
        f.view->View(QStringLiteral("WWWW\r\nWWWW"));
        f.view->mnuEditColor_Click();
        QImage bitmap;
        QCOMPARE(f.view->PicDrawAll(bitmap), 0);
        QCOMPARE(shown(f.box()), bitmap);
        QCOMPARE(bitmap.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(bitmap.pixel(bitmap.width() - 1, 0), qRgb(0, 0, 255));
    }

    void keyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("fromBottom");
        QTest::addColumn<QString>("expected"); // "0", "max", "page", "max-page"
        QTest::newRow("Up at the top") << int(Qt::Key_Up) << false << QStringLiteral("0");
        QTest::newRow("Page Up at the top") << int(Qt::Key_PageUp) << false << QStringLiteral("0");
        QTest::newRow("Down moves a page") << int(Qt::Key_Down) << false << QStringLiteral("page");
        QTest::newRow("Page Down moves a page")
            << int(Qt::Key_PageDown) << false << QStringLiteral("page");
        QTest::newRow("Down at the bottom") << int(Qt::Key_Down) << true << QStringLiteral("max");
        QTest::newRow("Page Down at the bottom")
            << int(Qt::Key_PageDown) << true << QStringLiteral("max");
        QTest::newRow("Up from the bottom")
            << int(Qt::Key_Up) << true << QStringLiteral("max-page");
        QTest::newRow("Home does nothing") << int(Qt::Key_Home) << true << QStringLiteral("max");
    }
    void keyboard() {
        QFETCH(int, key);
        QFETCH(bool, fromBottom);
        QFETCH(QString, expected);
        TextViewFixture f;
        f.view->View(longText());
        QScrollBar* bar = f.vsc();
        if (fromBottom)
            bar->setValue(bar->maximum());
        const int page = f.view->viewport().height();
        QTest::keyClick(f.picView(), static_cast<Qt::Key>(key));
        const int want = expected == QStringLiteral("0")      ? 0
                         : expected == QStringLiteral("page") ? page
                         : expected == QStringLiteral("max")  ? bar->maximum()
                                                              : bar->maximum() - page;
        QCOMPARE(bar->value(), want);
    }

    void arrowsLeftRightMoveTheHorizontalBar() {
        TextViewFixture f;
        f.view->View(longText(80, 250));
        QVERIFY(f.hsc()->maximum() > 2 * f.view->viewport().width());
        QTest::keyClick(f.box(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(f.hsc()->value(), f.view->viewport().width());
        QTest::keyClick(f.box(), Qt::Key_Left);
        QCOMPARE(f.hsc()->value(), 0);
    }

    void dragScroll_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("yFromBottom"); // y past the bottom edge, or 0 for yAbove
        QTest::addColumn<int>("yAbove");
        QTest::addColumn<int>("moved");
        QTest::newRow("1 below") << 0 << 1 << 0 << 1;
        QTest::newRow("5 below") << 0 << 5 << 0 << 1;
        QTest::newRow("6 below") << 0 << 6 << 0 << 2;
        QTest::newRow("4 above") << 100 << 0 << -4 << 0;
        QTest::newRow("5 above") << 100 << 0 << -5 << -1;
        QTest::newRow("12 above") << 100 << 0 << -12 << -2;
        QTest::newRow("above at the top") << 0 << 0 << -50 << 0;
    }
    void dragScroll() {
        QFETCH(int, start);
        QFETCH(int, yFromBottom);
        QFETCH(int, yAbove);
        TextViewFixture f;
        f.view->View(longText());
        f.vsc()->setValue(start);
        const int y = yFromBottom != 0 ? f.view->viewport().height() + yFromBottom : yAbove;
        dragTo(f.box(), QPoint(10, y));
        QTEST(f.vsc()->value() - start, "moved");
        QCOMPARE(f.hsc()->value(), 0);
    }

    void moveWithoutButtonDoesNotScroll() {
        TextViewFixture f;
        f.view->View(longText());
        dragTo(f.box(), QPoint(10, f.view->viewport().height() + 50), Qt::NoButton);
        QCOMPARE(f.vsc()->value(), 0);
    }

    void wheelMovesTheBars() {
        TextViewFixture f;
        f.view->View(longText());
        wheel(f.picView(), -120);
        QCOMPARE(f.vsc()->value(), 16);
        // Used up over picCopyBuf: it must not reach the hooked picView and move a second step.
        QVERIFY(wheel(f.box(), -120));
        QCOMPARE(f.vsc()->value(), 32);
        wheel(f.hsc(), -120);
        QCOMPARE(f.hsc()->value(), 16);
        wheel(f.picView(), 120);
        QCOMPARE(f.vsc()->value(), 16);
        f.view->close();
        QVERIFY(!WheelForwarding::isHooked(f.picView()));
        QVERIFY(!WheelForwarding::isHooked(f.hsc()));
    }

    void resizeLaysOutTheControls() {
        TextViewFixture f;
        f.view->View(longText(12, 10));
        QVERIFY(!f.vsc()->isEnabled());
        const QWidget* client = f.view->centralWidget();
        QCOMPARE(f.picView()->geometry(), QRect(0, 0, client->width() - f.vsc()->width(),
                                                client->height() - f.hsc()->height()));
        QCOMPARE(f.vsc()->geometry().topLeft(), QPoint(f.picView()->width(), 0));
        QCOMPARE(f.hsc()->geometry(),
                 QRect(0, f.picView()->height(), f.picView()->width(), f.hsc()->height()));
        f.view->resize(160, 140);
        QTRY_VERIFY(f.vsc()->isEnabled());
        QCOMPARE(f.picView()->width(), f.view->centralWidget()->width() - f.vsc()->width());
        QCOMPARE(f.vsc()->maximum(), f.view->layout().TxtHeight() - f.view->viewport().height());
    }

    void opensCentredAtDesignSize() {
        TextViewFixture f;
        f.view->View(QStringLiteral("a"));
        QCOMPARE(f.view->size(), fomTextView::designSize());
        // Room for 26 lines of the default 12-point font.
        QVERIFY(f.view->viewport().height() >= 26 * f.view->layout().LinePitch());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(f.view->pos(), QPoint((screen.width() - f.view->width()) / 2,
                                       (screen.height() - f.view->height()) / 2));
        f.view->close();
        QCOMPARE(f.settings.TextWindow.Width, f.view->width() * 15);
        QCOMPARE(f.settings.TextWindow.State, qint16(0));
    }

    void placementRestoredAndRecorded() {
        TextViewFixture f;
        f.settings.TextWindow = {1500, 3000, 9000, 6000, 0};
        f.view->View(QStringLiteral("a"));
        QCOMPARE(f.view->geometry(), QRect(200, 100, 600, 400));
        f.view->resize(450, 300);
        f.view->close();
        QCOMPARE(f.settings.TextWindow.Left, 3000);
        QCOMPARE(f.settings.TextWindow.Top, 1500);
        QCOMPARE(f.settings.TextWindow.Width, 450 * 15);
        QCOMPARE(f.settings.TextWindow.Height, 300 * 15);
    }

    void maximisedReopensMaximised() {
        TextViewFixture f;
        f.settings.TextWindow = {1500, 3000, 9000, 6000, 2};
        f.view->View(QStringLiteral("a"));
        QVERIFY(f.view->isMaximized());
        f.view->close();
        QCOMPARE(f.settings.TextWindow.State, qint16(2));
        QCOMPARE(f.settings.TextWindow.Width, 9000);
        QCOMPARE(f.settings.TextWindow.Left, 3000);
        f.view->View(QStringLiteral("b"));
        QVERIFY(f.view->isMaximized());
        QCOMPARE(f.view->TextBuf(), QStringLiteral("b"));
    }

    void menus_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        const auto row = [](const char* name, const char* caption, QKeySequence shortcut = {}) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                                << shortcut;
        };
        row("mnuFileOpen", "開く(&O)", QKeySequence(Qt::CTRL | Qt::Key_O));
        row("mnuFileSave", "上書き保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S));
        row("mnuFileSaveas", "名前を付けて保存(&A)");
        row("mnuFileExit", "閉じる(&X)");
        row("mnuEditCut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_X));
        row("mnuEditCopy", "ｺﾋﾟｰ(&C)", QKeySequence(Qt::CTRL | Qt::Key_C));
        row("mnuEditPaste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V));
        row("mnuEditPicCopy", "画像形式でｺﾋﾟｰ");
        row("mnuEditResize", "余白除去(&D)", QKeySequence(Qt::CTRL | Qt::Key_D));
        row("mnuEditFont", "ﾌｫﾝﾄの設定(&F)...");
        row("mnuEditColor", "色の設定(&L)...");
    }
    void menus() {
        QFETCH(QString, name);
        TextViewFixture f;
        const QAction* action = f.view->findChild<QAction*>(name);
        QVERIFY(action != nullptr);
        QTEST(action->text(), "caption");
        QTEST(action->shortcut(), "shortcut");
    }

    void menuItemsRunTheirHandlers() {
        TextViewFixture f;
        f.view->View(QStringLiteral("  a  "));
        f.child<QAction>("mnuEditResize")->trigger();
        QCOMPARE(f.view->TextBuf(), QStringLiteral("a"));
        f.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
        f.view->View(QStringLiteral("  b"));
        QTest::keyClick(f.view.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.view->TextBuf(), QStringLiteral("b"));
        f.child<QAction>("mnuFileExit")->trigger();
        QVERIFY(!f.view->isVisible());
    }

    void menuTitlesAndSeparators() {
        TextViewFixture f;
        QCOMPARE(f.child<QMenu>("mnuFile")->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        QCOMPARE(f.child<QMenu>("mnuEdit")->title(), QStringLiteral("編集(&E)"));
        for (const char* name : {"mnuFilePart", "mnuPart1", "mnuPart2"})
            QVERIFY(f.child<QAction>(name)->isSeparator());
        f.view->setAppearanceMenusEnabled(false);
        QVERIFY(!f.child<QAction>("mnuEditFont")->isEnabled());
        QVERIFY(!f.child<QAction>("mnuEditColor")->isEnabled());
    }

    void fontDialogRelaysOut() {
        TextViewFixture f;
        f.view->View(QStringLiteral("WW\r\nW"));
        const int pitch12 = f.view->layout().LinePitch();
        f.view->setFontDialog([](QWidget*, SettingsRecord& s) { s.FontSize = 24; });
        QSignalSpy changed(f.view.get(), &fomTextView::fontChanged);
        f.view->mnuEditFont_Click();
        QCOMPARE(changed.count(), 1);
        QCOMPARE(f.view->layout().font().pixelSize(), 32);
        QVERIFY(f.view->layout().LinePitch() > pitch12);
        QCOMPARE(f.box()->height(), 2 * f.view->layout().LinePitch());
    }

    void colourDialogRedraws() {
        TextViewFixture f;
        f.view->View(QStringLiteral("WW"));
        f.view->setColorDialog([](QWidget*, SettingsRecord& s) { s.ForeColor = 0x0000FF; });
        f.view->mnuEditColor_Click();
        const QImage image = shown(f.box());
        bool red = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                red = red || image.pixel(x, y) == qRgb(255, 0, 0);
        QVERIFY(red);
    }
};

QTEST_MAIN(tst_fomTextView)
#include "tst_fomTextView.moc"
