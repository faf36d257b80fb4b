// The main window's life cycle and picture: start-up and exit, the command line, loading,
// scrolling and the selection rectangle.

#include "MainWindowHarness.h"

#include "platform/WheelForwarding.h"

#include <QScreen>
#include <QSignalSpy>
#include <QWheelEvent>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startWithoutSettingsCentres() {
        MainWindowHarness h;
        fomMain& w = h.start();
        QCOMPARE(h.file.reads, 1);
        QCOMPARE(w.centralWidget()->size(), QSize(424, 340));
        const QRect screen = w.screen()->geometry();
        QCOMPARE(w.pos(), screen.topLeft() + QPoint((screen.width() - w.width()) / 2,
                                                    (screen.height() - w.height()) / 2));
        QCOMPARE(h.sliderTexts(), u"0/100"_qs);
        QCOMPARE(w.tray()->picSlider()->model().left(1), 1874.0f);
        QCOMPARE(h.edit(u"txtLines"_qs)->text(), u"26"_qs);
    }

    void exitWritesTheSettings() {
        MainWindowHarness h;
        fomMain& w = h.start();
        QSignalSpy unloaded(&w, &fomMain::unloaded);
        h.edit(u"txtLines"_qs)->setText(u"40"_qs);
        h.button(u"cmdExit"_qs)->click();
        QCOMPARE(unloaded.count(), 1);
        QCOMPARE(h.file.writes, 1);
        QCOMPARE(h.textView.unloaded, 1);
        QCOMPARE(h.file.stored.TextLines, qint16(40));
        QCOMPARE(h.file.stored.MainWindow.Width, w.width() * 15);
        QCOMPARE(h.file.stored.MainWindow.Left, w.geometry().x() * 15);
        QCOMPARE(h.file.stored.MainWindow.State, qint16(0));
    }

    void maximisedWindowAndKnobsAreRemembered() {
        MainWindowHarness h;
        fomMain& w = h.start();
        w.setGeometry(100, 80, 500, 400);
        const QRect normal = w.geometry();
        w.tray()->picSlider()->placeStored(848, 1028);
        w.showMaximized();
        QTRY_VERIFY(w.windowState().testFlag(Qt::WindowMaximized));
        w.close();
        QCOMPARE(h.file.stored.MainWindow.State, qint16(2));
        QCOMPARE(h.file.stored.MainWindow.Width, normal.width() * 15);
        QCOMPARE(h.file.stored.MainWindow.Left, normal.x() * 15);
        fomMain& again = h.start();
        QVERIFY(again.windowState().testFlag(Qt::WindowMaximized));
        QCOMPARE(again.normalGeometry().size(), normal.size());
        // The knobs come back from the stored Low and High.
        QCOMPARE(again.tray()->picSlider()->model().left(0), 848.0f);
        QCOMPARE(again.tray()->picSlider()->model().left(1), 1028.0f);
        QCOMPARE(h.sliderTexts(), u"50/51"_qs);
    }

    void commandLine_data() {
        QTest::addColumn<QString>("file");        // created in the folder ("" none)
        QTest::addColumn<QString>("commandLine"); // %1 is the folder
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("textRead"); // the file the text view read ("" none)
        QTest::newRow("quoted path with a blank") << u"my cat.png"_qs << u"\"%1/my cat.png\""_qs
                                                  << u"my cat.png - Charloom"_qs << QString();
        QTest::newRow("unquoted path with a blank")
            << u"my cat.png"_qs << u"%1/my cat.png"_qs << u"my cat.png - Charloom"_qs << QString();
        QTest::newRow("two quotes alone") << QString() << u"\"\""_qs << u"Charloom"_qs << QString();
        QTest::newRow("upper-case TXT")
            << u"NOTE.TXT"_qs << u"%1/NOTE.TXT"_qs << u"Charloom"_qs << u"NOTE.TXT"_qs;
        QTest::newRow("missing file")
            << QString() << u"%1/none.png"_qs << u"Charloom"_qs << QString();
        QTest::newRow("folder") << QString() << u"%1"_qs << u"Charloom"_qs << QString();
    }

    void commandLine() {
        QFETCH(QString, file);
        QFETCH(QString, commandLine);
        QFETCH(QString, textRead);
        if (file.endsWith(u".png"_qs))
            writePicture(m_dir, file, filledImage(20, 10));
        else if (!file.isEmpty()) {
            QFile text(m_dir.filePath(file));
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("abc\r\n");
        }
        MainWindowHarness h;
        fomMain& w =
            h.start(commandLine.contains(u"%1"_qs) ? commandLine.arg(m_dir.path()) : commandLine);
        QTEST(w.windowTitle(), "caption");
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(h.textView.read,
                 textRead.isEmpty() ? QStringList() : QStringList{m_dir.filePath(textRead)});
        if (!textRead.isEmpty())
            QCOMPARE(w.PicFileName(), QString());
    }

    void badPictureKeepsTheOldOne_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // how the message starts
        QTest::newRow("not a picture")
            << u"x.png"_qs << u"x.png ファイルの形式には対応しておりません。"_qs;
        // Beyond the window's 16-bit ranges.
        QTest::newRow("32768 pixels wide") << u"wide.png"_qs << u"wide.png"_qs;
    }

    void badPictureKeepsTheOldOne() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        if (name == u"wide.png"_qs) {
            writePicture(m_dir, name, filledImage(32768, 1));
        } else {
            QFile bad(m_dir.filePath(name));
            QVERIFY(bad.open(QIODevice::WriteOnly));
            bad.write("not a picture at all");
        }
        MainWindowHarness h;
        fomMain& w = h.startOn(writePicture(m_dir, u"good.png"_qs, filledImage(30, 20)));
        w.PicLoad(m_dir.filePath(name));
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages[0].startsWith(message), qPrintable(h.messages[0]));
        QCOMPARE(w.windowTitle(), u"good.png - Charloom"_qs);
        QCOMPARE(h.picture()->size(), QSize(30, 20));
    }

    void otherPictureClampsTheBars() {
        MainWindowHarness h;
        fomMain& w = h.startOn(picture(1000, 800));
        QScrollBar* v = h.vbar();
        QScrollBar* hs = h.hbar();
        const QSize view = h.bord()->size();
        QVERIFY(v->isEnabled());
        QCOMPARE(v->maximum(), 800 - view.height());
        QCOMPARE(v->pageStep(), view.height());
        QCOMPARE(v->singleStep(), 32);
        v->setValue(v->maximum());
        hs->setValue(hs->maximum());
        w.PicLoad(picture(500, 300));
        QCOMPARE(v->value(), 300 - view.height());
        QCOMPARE(hs->value(), 500 - view.width());
        QCOMPARE(h.picture()->pos(), -QPoint(hs->value(), v->value()));
        w.PicLoad(picture(40, 30));
        QVERIFY(!v->isEnabled() && !hs->isEnabled());
        QCOMPARE(h.picture()->pos(), QPoint(0, 0));
    }

    void arrowKeysScrollByOneView() {
        MainWindowHarness h;
        h.startOn(picture(1000, 800));
        QWidget* p = h.picture();
        QTest::keyClick(p, Qt::Key_Down);
        QCOMPARE(h.vbar()->value(), h.vbar()->pageStep());
        QTest::keyClick(p, Qt::Key_Up);
        QTest::keyClick(p, Qt::Key_Up);
        QCOMPARE(h.vbar()->value(), 0);
        QTest::keyClick(p, Qt::Key_Right);
        QCOMPARE(h.hbar()->value(), h.hbar()->pageStep());
        QCOMPARE(p->x(), -h.hbar()->pageStep());
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(p, Qt::Key_Right);
        QCOMPARE(h.hbar()->value(), h.hbar()->maximum());
    }

    void enlargingTheWindowFitsThePicture() {
        MainWindowHarness h;
        fomMain& w = h.startOn(picture(600, 200));
        QScrollBar* hs = h.hbar();
        QVERIFY(hs->isEnabled());
        hs->setValue(50);
        w.resize(800, 600);
        QTRY_COMPARE(w.centralWidget()->width(), 800);
        QVERIFY(!hs->isEnabled());
        QCOMPARE(hs->value(), 0);
        QCOMPARE(h.picture()->pos(), QPoint(0, 0));
        QCOMPARE(h.bord()->width(), 800 - 17);
        QCOMPARE(h.bord()->height(),
                 w.centralWidget()->height() - w.tray()->height() - hs->height());
        QCOMPARE(w.tray()->y(), hs->y() + hs->height());
    }

    void dragShowsBlinkingBarsAndClickHidesThem() {
        MainWindowHarness h;
        fomMain& w = h.startOn(picture(200, 150));
        dragMouse(h.picture(), QPoint(50, 40), QPoint(10, 90));
        const SelectionState& s = w.selection().state();
        QVERIFY(s.AiraVisible);
        QCOMPARE(QRect(QPoint(s.AiraX1, s.AiraY1), QPoint(s.AiraX2, s.AiraY2)),
                 QRect(QPoint(10, 40), QPoint(50, 90)));
        auto* top = h.child<AiraBarWidget>(u"picAira(0)"_qs);
        auto* right = h.child<AiraBarWidget>(u"picAira(3)"_qs);
        QVERIFY(top->isVisible());
        QCOMPARE(top->geometry(), QRect(10, 40, 40, 3));
        QCOMPARE(right->geometry(), QRect(47, 40, 3, 50));
        auto* timer = h.child<QTimer>(u"timAriaView"_qs);
        QVERIFY(timer->isActive());
        QVERIFY(top->highlighted());
        w.timAriaView_Timer();
        QVERIFY(!top->highlighted() && !right->highlighted());
        w.timAriaView_Timer();
        QVERIFY(right->highlighted());
        QTest::mouseClick(h.picture(), Qt::LeftButton, {}, QPoint(30, 30));
        QVERIFY(!w.selection().state().AiraVisible);
        QVERIFY(top->isHidden());
        QVERIFY(!timer->isActive());
    }

    void barPullStopsShortOfTheOppositeSide() {
        MainWindowHarness h;
        fomMain& w = h.startOn(picture(200, 150));
        dragMouse(h.picture(), QPoint(10, 20), QPoint(50, 80));
        auto* top = h.child<QWidget>(u"picAira(0)"_qs);
        sendMouse(top, QEvent::MouseButtonPress, QPoint(5, 1), Qt::LeftButton, Qt::LeftButton);
        sendMouse(top, QEvent::MouseMove, QPoint(5, 101), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(w.selection().state().AiraY1, qint16(79));
        QCOMPARE(top->geometry(), QRect(10, 79, 40, 3));
        sendMouse(top, QEvent::MouseButtonRelease, QPoint(5, 1), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(w.selection().state().AiraY1, qint16(79));
    }

    // The speeds themselves are SelectionModelTest's; here the window must scroll by them.
    void autoScrollWhileDragging() {
        MainWindowHarness h;
        h.startOn(picture(2000, 1000));
        QWidget* p = h.picture();
        const int view = h.bord()->width();
        sendMouse(p, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
        sendMouse(p, QEvent::MouseMove, QPoint(view + 6, 40), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(h.hbar()->value(), 2);
        QCOMPARE(h.vbar()->value(), 0);
        // Above the top edge the view scrolls only from 5 pixels on.
        h.vbar()->setValue(100);
        sendMouse(p, QEvent::MouseMove, QPoint(30, 100 - 4), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(h.vbar()->value(), 100);
        sendMouse(p, QEvent::MouseMove, QPoint(30, 100 - 5), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(h.vbar()->value(), 99);
    }

    // A drop loads its first local file; the caption and the text view follow the picture.
    void dropLoadsTheFirstFile() {
        const QString first = writePicture(m_dir, u"first.png"_qs, filledImage(30, 20));
        const QString second = writePicture(m_dir, u"second.png"_qs, filledImage(10, 10));
        MainWindowHarness h;
        fomMain& w = h.start();
        w.OLEDragDrop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
        QCOMPARE(w.windowTitle(), u"first.png - Charloom"_qs);
        QCOMPARE(w.PicFileName(), first);
        QCOMPARE(h.picture()->size(), QSize(30, 20));
        QCOMPARE(h.textView.detached, 1);
        w.OLEDragDrop({QUrl(u"https://example.org/x.png"_qs)});
        QCOMPARE(w.PicFileName(), first);
        w.PicLoad(QString());
        QCOMPARE(w.windowTitle(), u"Charloom"_qs);
        QVERIFY(h.picture()->isHidden());
    }

    void wheelMovesTheBarsByOneStep() {
        MainWindowHarness h;
        fomMain& w = h.startOn(picture(1000, 800));
        const auto wheel = [](QWidget* widget, int delta) {
            QWheelEvent event(QPointF(5, 5), QPointF(widget->mapToGlobal(QPoint(5, 5))), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QCoreApplication::sendEvent(widget, &event);
        };
        wheel(h.picture(), 120); // away from the user at the top: stays at 0
        QCOMPARE(h.vbar()->value(), 0);
        wheel(h.picture(), -120);
        QCOMPARE(h.vbar()->value(), 32);
        wheel(h.bord(), -360); // one step whatever the delta
        QCOMPARE(h.vbar()->value(), 64);
        wheel(h.hbar(), -120);
        QCOMPARE(h.hbar()->value(), 32);
        QCOMPARE(h.vbar()->value(), 64);
        w.close();
        QVERIFY(!WheelForwarding::isHooked(h.picture()));
    }

private:
    // A black picture of that size in the test's folder.
    QString picture(int width, int height) {
        return writePicture(m_dir, u"%1x%2.png"_qs.arg(width).arg(height),
                            filledImage(width, height));
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
