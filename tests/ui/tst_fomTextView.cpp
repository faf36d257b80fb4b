#include "TextViewFixture.h"

#include "platform/WheelForwarding.h"

#include <QAction>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>

namespace {

QImage shown(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage rendered(fomTextView& view) {
    QImage bitmap;
    if (view.PicDrawAll(bitmap) != 0)
        return QImage();
    return bitmap;
}

void dragTo(QWidget* widget, QPoint at, Qt::MouseButtons buttons) {
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

    void smallTextFitsAndEqualsBitmap() {
        TextViewFixture f;
        f.view->View(u"(´・ω・`)\r\n  ／＼\r\n"_qs);
        const TextLayout& l = f.view->layout();
        QCOMPARE(l.LineCount(), 2);
        QVERIFY(!f.vsc()->isEnabled() && !f.hsc()->isEnabled());
        QVERIFY(f.box()->isVisible());
        QCOMPARE(f.box()->size(), QSize(l.TxtWidth(), 2 * l.LinePitch()));
        QCOMPARE(shown(f.box()), rendered(*f.view));
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
        const QImage bitmap = rendered(*f.view);
        // Line 1 starts 3 pixels above the top edge.
        QCOMPARE(shown(f.box()), bitmap.copy(0, l.LinePitch() + 3, inner.width(), inner.height()));
        // Scrolled right into the middle of characters: each line starts cut at the left edge.
        f.hsc()->setValue(37);
        QCOMPARE(shown(f.box()), bitmap.copy(37, l.LinePitch() + 3, inner.width(), inner.height()));
    }

    void pictureBackgroundOnScreenEqualsBitmap() {
        TextViewFixture f;
        f.pictures.picture = QImage(2, 1, QImage::Format_RGB32);
        f.pictures.picture.setPixel(0, 0, qRgb(255, 0, 0));
        f.pictures.picture.setPixel(1, 0, qRgb(0, 0, 255));
        f.view->setColorDialog([](QWidget*, SettingsRecord& s) {
            s.ForeColor = ColorRef::ImageColor;
            s.BackColor = ColorRef::ImageColor;
        });
        f.view->View(u"WWWW\r\nWWWW"_qs);
        f.view->mnuEditColor_Click();
        const QImage bitmap = rendered(*f.view);
        QCOMPARE(shown(f.box()), bitmap);
        QCOMPARE(bitmap.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(bitmap.pixel(bitmap.width() - 1, 0), qRgb(0, 0, 255));
    }

    void keyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("fromBottom");
        QTest::addColumn<int>("pages"); // moved, before stopping at either end
        QTest::newRow("Up at the top") << int(Qt::Key_Up) << false << -1;
        QTest::newRow("Page Up at the top") << int(Qt::Key_PageUp) << false << -1;
        QTest::newRow("Down moves a page") << int(Qt::Key_Down) << false << 1;
        QTest::newRow("Page Down moves a page") << int(Qt::Key_PageDown) << false << 1;
        QTest::newRow("Down at the bottom") << int(Qt::Key_Down) << true << 1;
        QTest::newRow("Page Down at the bottom") << int(Qt::Key_PageDown) << true << 1;
        QTest::newRow("Up from the bottom") << int(Qt::Key_Up) << true << -1;
        QTest::newRow("Home does nothing") << int(Qt::Key_Home) << true << 0;
    }
    void keyboard() {
        QFETCH(int, key);
        QFETCH(bool, fromBottom);
        QFETCH(int, pages);
        TextViewFixture f;
        f.view->View(longText());
        QScrollBar* bar = f.vsc();
        const int start = fromBottom ? bar->maximum() : 0;
        bar->setValue(start);
        QTest::keyClick(f.picView(), static_cast<Qt::Key>(key));
        QCOMPARE(bar->value(),
                 std::clamp(start + pages * f.view->viewport().height(), 0, bar->maximum()));
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
        QTest::addColumn<int>("y"); // from the view's top; 1000 + n is n past its bottom edge
        QTest::addColumn<bool>("button");
        QTest::addColumn<int>("moved");
        QTest::newRow("1 below") << 0 << 1001 << true << 1;
        QTest::newRow("5 below") << 0 << 1005 << true << 1;
        QTest::newRow("6 below") << 0 << 1006 << true << 2;
        QTest::newRow("4 above") << 100 << -4 << true << 0;
        QTest::newRow("5 above") << 100 << -5 << true << -1;
        QTest::newRow("12 above") << 100 << -12 << true << -2;
        QTest::newRow("above at the top") << 0 << -50 << true << 0;
        QTest::newRow("no button held") << 0 << 1050 << false << 0;
    }
    void dragScroll() {
        QFETCH(int, start);
        QFETCH(int, y);
        QFETCH(bool, button);
        TextViewFixture f;
        f.view->View(longText());
        f.vsc()->setValue(start);
        const int at = y >= 1000 ? f.view->viewport().height() + y - 1000 : y;
        dragTo(f.box(), QPoint(10, at), button ? Qt::LeftButton : Qt::NoButton);
        QTEST(f.vsc()->value() - start, "moved");
        QCOMPARE(f.hsc()->value(), 0);
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

    void resizeUpdatesTheBars() {
        TextViewFixture f;
        f.view->View(longText(12, 10));
        QVERIFY(!f.vsc()->isEnabled());
        f.view->resize(160, 140);
        QTRY_VERIFY(f.vsc()->isEnabled());
        QCOMPARE(f.picView()->width(), f.view->centralWidget()->width() - f.vsc()->width());
        QCOMPARE(f.vsc()->maximum(), f.view->layout().TxtHeight() - f.view->viewport().height());
    }

    void opensCentredAtDesignSize() {
        TextViewFixture f;
        f.view->View(u"a"_qs);
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

    // The placement is the client rectangle in twips; a maximised window keeps its normal one.
    void placementRestoredAndRecorded() {
        TextViewFixture f;
        f.settings.TextWindow = {1500, 3000, 9000, 6000, 0};
        f.view->View(u"a"_qs);
        QCOMPARE(f.view->geometry(), QRect(200, 100, 600, 400));
        f.view->resize(450, 300);
        f.view->close();
        QCOMPARE(f.settings.TextWindow.Left, 3000);
        QCOMPARE(f.settings.TextWindow.Top, 1500);
        QCOMPARE(f.settings.TextWindow.Width, 450 * 15);
        QCOMPARE(f.settings.TextWindow.Height, 300 * 15);
        f.settings.TextWindow.State = 2;
        f.view->View(u"b"_qs);
        QVERIFY(f.view->isMaximized());
        f.view->close();
        QCOMPARE(f.settings.TextWindow.State, qint16(2));
        QCOMPARE(f.settings.TextWindow.Width, 450 * 15);
        f.view->View(u"c"_qs);
        QVERIFY(f.view->isMaximized());
        QCOMPARE(f.view->TextBuf(), u"c"_qs);
    }

    void menuShortcuts() {
        TextViewFixture f;
        const std::pair<const char*, QKeyCombination> items[] = {
            {"mnuFileOpen", Qt::CTRL | Qt::Key_O},  {"mnuFileSave", Qt::CTRL | Qt::Key_S},
            {"mnuEditCut", Qt::CTRL | Qt::Key_X},   {"mnuEditCopy", Qt::CTRL | Qt::Key_C},
            {"mnuEditPaste", Qt::CTRL | Qt::Key_V}, {"mnuEditResize", Qt::CTRL | Qt::Key_D}};
        for (const auto& [name, key] : items)
            QCOMPARE(f.child<QAction>(name)->shortcut(), QKeySequence(key));
    }

    void menuItemsRunTheirHandlers() {
        TextViewFixture f;
        f.view->View(u"  a  \r\n   c\r\n\r\n    "_qs);
        f.child<QAction>("mnuEditResize")->trigger();
        QCOMPARE(f.view->TextBuf(), u"a\r\n c"_qs);
        QCOMPARE(f.view->layout().LineCount(), 2);
        f.view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
        f.view->View(u"  b"_qs);
        QTest::keyClick(f.view.get(), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(f.view->TextBuf(), u"b"_qs);
        f.child<QAction>("mnuFileExit")->trigger();
        QVERIFY(!f.view->isVisible());
    }
};

QTEST_MAIN(tst_fomTextView)
#include "tst_fomTextView.moc"
