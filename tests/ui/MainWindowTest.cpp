// The main window's life cycle and picture: start-up and exit, the command line, loading,
// scrolling and the selection rectangle.

#include "MainWindowHarness.h"

#include "platform/WheelForwarding.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startWithoutSettingsCentres();
    void exitWritesTheSettings();
    void maximisedWindowIsRemembered();
    void storedKnobsArePlaced();
    void commandLine_data();
    void commandLine();
    void pictureLoadSetsTheCaption();
    void unreadablePictureKeepsTheOldOne();
    void smallPictureDisablesTheBars();
    void smallerPictureClampsTheBars();
    void arrowKeysScrollByOneView();
    void enlargingTheWindowFitsThePicture();
    void dragStoresOrderedCorners();
    void clickLeavesSelectionHidden();
    void barPullStopsShortOfTheOppositeSide();
    void autoScrollSpeeds_data();
    void autoScrollSpeeds();
    void blinkAlternatesTheBars();
    void dropLoadsTheFirstFile();
    void wheelMovesTheBarsByOneStep();

private:
    // Starts a window showing a black picture of the given size.
    fomMain& startWith(MainWindowHarness& h, int width, int height) {
        const QString path = writePicture(m_dir, QStringLiteral("%1x%2.png").arg(width).arg(height),
                                          filledImage(width, height, qRgb(0, 0, 0)));
        fomMain& w = h.start();
        w.PicLoad(path);
        return w;
    }

    QTemporaryDir m_dir;
};

void MainWindowTest::startWithoutSettingsCentres() {
    MainWindowHarness h;
    fomMain& w = h.start();
    QCOMPARE(h.file.reads, 1);
    QCOMPARE(w.centralWidget()->size(), QSize(424, 340));
    const QRect screen = w.screen()->geometry();
    QCOMPARE(w.x(), screen.x() + (screen.width() - w.width()) / 2);
    QCOMPARE(w.y(), screen.y() + (screen.height() - w.height()) / 2);
    QCOMPARE(h.edit(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("0"));
    QCOMPARE(h.edit(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("100"));
    QCOMPARE(w.tray()->picSlider()->model().left(0), 0.0f);
    QCOMPARE(w.tray()->picSlider()->model().left(1), 1874.0f);
    QCOMPARE(w.windowTitle(), QStringLiteral("Charloom"));
    QCOMPARE(h.edit(QStringLiteral("txtLines"))->text(), QStringLiteral("26"));
}

void MainWindowTest::exitWritesTheSettings() {
    MainWindowHarness h;
    fomMain& w = h.start();
    QSignalSpy unloaded(&w, &fomMain::unloaded);
    h.edit(QStringLiteral("txtLines"))->setText(QStringLiteral("40"));
    h.button(QStringLiteral("cmdExit"))->click();
    QCOMPARE(unloaded.count(), 1);
    QCOMPARE(h.file.writes, 1);
    QCOMPARE(h.textView.unloaded, 1);
    QCOMPARE(h.file.stored.TextLines, qint16(40));
    QCOMPARE(h.file.stored.MainWindow.Width, w.width() * 15);
    QCOMPARE(h.file.stored.MainWindow.Left, w.geometry().x() * 15);
    QCOMPARE(h.file.stored.MainWindow.State, qint16(0));
}

void MainWindowTest::maximisedWindowIsRemembered() {
    QRect normal;
    MainWindowHarness h;
    {
        fomMain& w = h.start();
        w.setGeometry(100, 80, 500, 400);
        normal = w.geometry();
        w.showMaximized();
        QTRY_VERIFY(w.windowState().testFlag(Qt::WindowMaximized));
        w.close();
        QCOMPARE(h.file.stored.MainWindow.State, qint16(2));
        QCOMPARE(h.file.stored.MainWindow.Width, normal.width() * 15);
        QCOMPARE(h.file.stored.MainWindow.Left, normal.x() * 15);
    }
    fomMain& again = h.start();
    QVERIFY(again.windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(again.normalGeometry().size(), normal.size());
}

void MainWindowTest::storedKnobsArePlaced() {
    MainWindowHarness h;
    h.file.exists = true;
    h.file.stored.Low = 848;
    h.file.stored.High = 1028;
    fomMain& w = h.start();
    QCOMPARE(w.tray()->picSlider()->model().left(0), 848.0f);
    QCOMPARE(w.tray()->picSlider()->model().left(1), 1028.0f);
    QCOMPARE(h.edit(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("50"));
    QCOMPARE(h.edit(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("51"));
}

void MainWindowTest::commandLine_data() {
    QTest::addColumn<QString>("file");        // created in the folder ("" none)
    QTest::addColumn<QString>("commandLine"); // %1 is the folder
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("textRead"); // the file the text view read ("" none)
    QTest::newRow("quoted path with a blank")
        << QStringLiteral("my cat.png") << QStringLiteral("\"%1/my cat.png\"")
        << QStringLiteral("my cat.png - Charloom") << QString();
    QTest::newRow("unquoted path with a blank")
        << QStringLiteral("my cat.png") << QStringLiteral("%1/my cat.png")
        << QStringLiteral("my cat.png - Charloom") << QString();
    QTest::newRow("two quotes alone")
        << QString() << QStringLiteral("\"\"") << QStringLiteral("Charloom") << QString();
    QTest::newRow("upper-case TXT") << QStringLiteral("NOTE.TXT") << QStringLiteral("%1/NOTE.TXT")
                                    << QStringLiteral("Charloom") << QStringLiteral("NOTE.TXT");
    QTest::newRow("missing file") << QString() << QStringLiteral("%1/none.png")
                                  << QStringLiteral("Charloom") << QString();
    QTest::newRow("folder") << QString() << QStringLiteral("%1") << QStringLiteral("Charloom")
                            << QString();
}

void MainWindowTest::commandLine() {
    QFETCH(QString, file);
    QFETCH(QString, commandLine);
    QFETCH(QString, caption);
    QFETCH(QString, textRead);
    if (file.endsWith(QStringLiteral(".png")))
        writePicture(m_dir, file, filledImage(20, 10, qRgb(0, 0, 0)));
    else if (!file.isEmpty()) {
        QFile text(m_dir.filePath(file));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("abc\r\n");
    }
    MainWindowHarness h;
    fomMain& w = h.start(commandLine.contains(QStringLiteral("%1")) ? commandLine.arg(m_dir.path())
                                                                    : commandLine);
    QCOMPARE(w.windowTitle(), caption);
    QVERIFY(h.messages.isEmpty());
    if (textRead.isEmpty()) {
        QVERIFY(h.textView.read.isEmpty());
    } else {
        QCOMPARE(h.textView.read, QStringList{m_dir.filePath(textRead)});
        QCOMPARE(w.PicFileName(), QString());
    }
}

void MainWindowTest::pictureLoadSetsTheCaption() {
    const QString path =
        writePicture(m_dir, QStringLiteral("cat.png"), filledImage(30, 20, qRgb(10, 10, 10)));
    MainWindowHarness h;
    fomMain& w = h.start();
    w.PicLoad(path);
    QCOMPARE(w.windowTitle(), QStringLiteral("cat.png - Charloom"));
    QCOMPARE(h.child<QWidget>(QStringLiteral("picPicture"))->size(), QSize(30, 20));
    QCOMPARE(h.textView.detached, 1);
    w.PicLoad(QString());
    QCOMPARE(w.windowTitle(), QStringLiteral("Charloom"));
    QVERIFY(h.child<QWidget>(QStringLiteral("picPicture"))->isHidden());
}

void MainWindowTest::unreadablePictureKeepsTheOldOne() {
    const QString good =
        writePicture(m_dir, QStringLiteral("good.png"), filledImage(30, 20, qRgb(10, 10, 10)));
    QFile bad(m_dir.filePath(QStringLiteral("x.png")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture at all");
    bad.close();
    MainWindowHarness h;
    fomMain& w = h.start();
    w.PicLoad(good);
    w.PicLoad(bad.fileName());
    QCOMPARE(h.messages,
             QStringList{QStringLiteral("x.png ファイルの形式には対応しておりません。")});
    QCOMPARE(w.windowTitle(), QStringLiteral("good.png - Charloom"));
    QCOMPARE(h.child<QWidget>(QStringLiteral("picPicture"))->size(), QSize(30, 20));
}

void MainWindowTest::smallPictureDisablesTheBars() {
    MainWindowHarness h;
    startWith(h, 40, 30);
    QVERIFY(!h.child<QScrollBar>(QStringLiteral("vscBord"))->isEnabled());
    QVERIFY(!h.child<QScrollBar>(QStringLiteral("hscBord"))->isEnabled());
    QCOMPARE(h.child<QWidget>(QStringLiteral("picPicture"))->pos(), QPoint(0, 0));
}

void MainWindowTest::smallerPictureClampsTheBars() {
    const QString big =
        writePicture(m_dir, QStringLiteral("big.png"), filledImage(1000, 800, qRgb(0, 0, 0)));
    const QString mid =
        writePicture(m_dir, QStringLiteral("mid.png"), filledImage(500, 300, qRgb(0, 0, 0)));
    MainWindowHarness h;
    fomMain& w = h.start();
    w.PicLoad(big);
    auto* v = h.child<QScrollBar>(QStringLiteral("vscBord"));
    auto* hs = h.child<QScrollBar>(QStringLiteral("hscBord"));
    auto* bord = h.child<QWidget>(QStringLiteral("picBord"));
    QVERIFY(v->isEnabled());
    QCOMPARE(v->maximum(), 800 - bord->height());
    QCOMPARE(v->pageStep(), bord->height());
    QCOMPARE(v->singleStep(), 32);
    v->setValue(v->maximum());
    hs->setValue(hs->maximum());
    w.PicLoad(mid);
    QCOMPARE(v->value(), 300 - bord->height());
    QCOMPARE(hs->value(), 500 - bord->width());
    QCOMPARE(h.child<QWidget>(QStringLiteral("picPicture"))->pos(),
             QPoint(-(500 - bord->width()), -(300 - bord->height())));
}

void MainWindowTest::arrowKeysScrollByOneView() {
    MainWindowHarness h;
    startWith(h, 1000, 800);
    auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
    auto* v = h.child<QScrollBar>(QStringLiteral("vscBord"));
    auto* hs = h.child<QScrollBar>(QStringLiteral("hscBord"));
    QTest::keyClick(picture, Qt::Key_Down);
    QCOMPARE(v->value(), v->pageStep());
    QTest::keyClick(picture, Qt::Key_Up);
    QTest::keyClick(picture, Qt::Key_Up);
    QCOMPARE(v->value(), 0);
    QTest::keyClick(picture, Qt::Key_Right);
    QCOMPARE(hs->value(), hs->pageStep());
    QCOMPARE(picture->x(), -hs->pageStep());
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(picture, Qt::Key_Right);
    QCOMPARE(hs->value(), hs->maximum());
}

void MainWindowTest::enlargingTheWindowFitsThePicture() {
    MainWindowHarness h;
    fomMain& w = startWith(h, 600, 200);
    auto* hs = h.child<QScrollBar>(QStringLiteral("hscBord"));
    QVERIFY(hs->isEnabled());
    hs->setValue(50);
    w.resize(800, 600);
    QTRY_COMPARE(w.centralWidget()->width(), 800);
    QVERIFY(!hs->isEnabled());
    QCOMPARE(hs->value(), 0);
    QCOMPARE(h.child<QWidget>(QStringLiteral("picPicture"))->pos(), QPoint(0, 0));
    auto* bord = h.child<QWidget>(QStringLiteral("picBord"));
    QCOMPARE(bord->width(), 800 - 17);
    QCOMPARE(bord->height(), w.centralWidget()->height() - w.tray()->height() - hs->height());
    QCOMPARE(w.tray()->y(), hs->y() + hs->height());
}

void MainWindowTest::dragStoresOrderedCorners() {
    MainWindowHarness h;
    fomMain& w = startWith(h, 200, 150);
    auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
    sendMouse(picture, QEvent::MouseButtonPress, QPoint(50, 40), Qt::LeftButton, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, QPoint(30, 60), Qt::NoButton, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, QPoint(10, 90), Qt::NoButton, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseButtonRelease, QPoint(10, 90), Qt::LeftButton, Qt::NoButton);
    const SelectionState& s = w.selection().state();
    QVERIFY(s.AiraVisible);
    QCOMPARE(QRect(QPoint(s.AiraX1, s.AiraY1), QPoint(s.AiraX2, s.AiraY2)),
             QRect(QPoint(10, 40), QPoint(50, 90)));
    auto* top = h.child<QWidget>(QStringLiteral("picAira(0)"));
    QVERIFY(top->isVisible());
    QCOMPARE(top->geometry(), QRect(10, 40, 40, 3));
    QCOMPARE(h.child<QWidget>(QStringLiteral("picAira(3)"))->geometry(), QRect(47, 40, 3, 50));
    QVERIFY(h.child<QTimer>(QStringLiteral("timAriaView"))->isActive());
}

void MainWindowTest::clickLeavesSelectionHidden() {
    MainWindowHarness h;
    fomMain& w = startWith(h, 200, 150);
    auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(30, 30));
    QVERIFY(!w.selection().state().AiraVisible);
    QVERIFY(h.child<QWidget>(QStringLiteral("picAira(0)"))->isHidden());
    QVERIFY(!h.child<QTimer>(QStringLiteral("timAriaView"))->isActive());
}

void MainWindowTest::barPullStopsShortOfTheOppositeSide() {
    MainWindowHarness h;
    fomMain& w = startWith(h, 200, 150);
    auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
    sendMouse(picture, QEvent::MouseButtonPress, QPoint(10, 20), Qt::LeftButton, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, QPoint(50, 80), Qt::NoButton, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseButtonRelease, QPoint(50, 80), Qt::LeftButton, Qt::NoButton);
    auto* top = h.child<QWidget>(QStringLiteral("picAira(0)"));
    sendMouse(top, QEvent::MouseButtonPress, QPoint(5, 1), Qt::LeftButton, Qt::LeftButton);
    sendMouse(top, QEvent::MouseMove, QPoint(5, 101), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(w.selection().state().AiraY1, qint16(79));
    QCOMPARE(top->geometry(), QRect(10, 79, 40, 3));
    sendMouse(top, QEvent::MouseButtonRelease, QPoint(5, 1), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(w.selection().state().AiraY1, qint16(79));
}

void MainWindowTest::autoScrollSpeeds_data() {
    QTest::addColumn<int>("beyond"); // pixels past the view's right edge
    QTest::addColumn<int>("step");
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("5") << 5 << 1;
    QTest::newRow("6") << 6 << 2;
    QTest::newRow("10") << 10 << 2;
    QTest::newRow("11") << 11 << 3;
}

void MainWindowTest::autoScrollSpeeds() {
    QFETCH(int, beyond);
    QFETCH(int, step);
    MainWindowHarness h;
    startWith(h, 2000, 1000);
    auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
    auto* hs = h.child<QScrollBar>(QStringLiteral("hscBord"));
    auto* v = h.child<QScrollBar>(QStringLiteral("vscBord"));
    const int view = h.child<QWidget>(QStringLiteral("picBord"))->width();
    sendMouse(picture, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
    sendMouse(picture, QEvent::MouseMove, QPoint(view + beyond, 40), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(hs->value(), step);
    QCOMPARE(v->value(), 0);
    // Above the top edge the view scrolls only from 5 pixels on (it is at the top already, so
    // scroll down first).
    v->setValue(100);
    sendMouse(picture, QEvent::MouseMove, QPoint(30, 100 - 4), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(v->value(), 100);
    sendMouse(picture, QEvent::MouseMove, QPoint(30, 100 - 5), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(v->value(), 99);
}

void MainWindowTest::blinkAlternatesTheBars() {
    MainWindowHarness h;
    fomMain& w = startWith(h, 100, 100);
    w.AiraSet(40, 40, 1);
    auto* bar0 = h.child<AiraBarWidget>(QStringLiteral("picAira(0)"));
    auto* bar3 = h.child<AiraBarWidget>(QStringLiteral("picAira(3)"));
    QVERIFY(bar0->highlighted());
    w.timAriaView_Timer();
    QVERIFY(!bar0->highlighted());
    QVERIFY(!bar3->highlighted());
    w.timAriaView_Timer();
    QVERIFY(bar3->highlighted());
}

void MainWindowTest::dropLoadsTheFirstFile() {
    const QString first =
        writePicture(m_dir, QStringLiteral("first.png"), filledImage(10, 10, qRgb(0, 0, 0)));
    const QString second =
        writePicture(m_dir, QStringLiteral("second.png"), filledImage(10, 10, qRgb(0, 0, 0)));
    MainWindowHarness h;
    fomMain& w = h.start();
    w.OLEDragDrop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QCOMPARE(w.windowTitle(), QStringLiteral("first.png - Charloom"));
    QCOMPARE(w.PicFileName(), first);
    w.OLEDragDrop({QUrl(QStringLiteral("https://example.org/x.png"))});
    QCOMPARE(w.PicFileName(), first);
}

void MainWindowTest::wheelMovesTheBarsByOneStep() {
    MainWindowHarness h;
    fomMain& w = startWith(h, 1000, 800);
    auto* picture = h.child<QWidget>(QStringLiteral("picPicture"));
    auto* v = h.child<QScrollBar>(QStringLiteral("vscBord"));
    auto* hs = h.child<QScrollBar>(QStringLiteral("hscBord"));
    const auto wheel = [](QWidget* widget, int delta) {
        QWheelEvent event(QPointF(5, 5), QPointF(widget->mapToGlobal(QPoint(5, 5))), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(widget, &event);
    };
    wheel(picture, 120); // away from the user at the top: stays at 0
    QCOMPARE(v->value(), 0);
    wheel(picture, -120);
    QCOMPARE(v->value(), 32);
    wheel(h.child<QWidget>(QStringLiteral("picBord")), -360); // one step whatever the delta
    QCOMPARE(v->value(), 64);
    wheel(hs, -120);
    QCOMPARE(hs->value(), 32);
    QCOMPARE(v->value(), 64);
    w.close();
    QVERIFY(!WheelForwarding::isHooked(picture));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
