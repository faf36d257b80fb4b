// The conversion controls of the main window and the Convert command: the input checks, the
// palettes per mode, the line-count keys, the level slider, and a run on its worker thread with
// its abort, its 999 question and a close request during it.

#include "MainWindowHarness.h"

#include "convert/ConvNormal.h"
#include "convert/RunMessages.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <atomic>

namespace {

// A converter that waits, yielding before every "character", until the test's flag is set or
// the run is aborted; it gives up after many rounds rather than hang a broken build.
ConversionResult waitingRun(RunServices& services, const std::atomic<bool>& release,
                            const QString& text) {
    ConversionResult result;
    services.showPreparing();
    for (int i = 0; i < 200000; ++i) {
        if (services.yieldAndCheckAbort()) {
            result.outcome = ConvOutcome::Aborted;
            return result;
        }
        if (release.load()) {
            services.showPercent(100);
            services.handOff(text);
            result.outcome = ConvOutcome::HandedOff;
            return result;
        }
        QThread::usleep(50);
    }
    result.outcome = ConvOutcome::EmptyText;
    return result;
}

} // namespace

class ConvertControlsTest : public QObject {
    Q_OBJECT
private slots:
    void inputCheck_data();
    void inputCheck();
    void modeSwitchKeepsPalettes();
    void emptyPaletteIsNeverStored();
    void defaultsInTwoLevelMode();
    void lineCountKeys_data();
    void lineCountKeys();
    void knobPushesTheOther_data();
    void knobPushesTheOther();
    void rightButtonDoesNotDrag();
    void doubleClickAutoLevel_data();
    void doubleClickAutoLevel();
    void convertHandsTheTextToTheTextView();
    void closeDuringRunCancelled();
    void closeDuringRunOk();
    void cancelAt999RestoresTheControls();
    void systemCloseDuringRunClosesAfterIt();

private:
    void checkRestored(MainWindowHarness& h);
    QTemporaryDir m_dir;
};

void ConvertControlsTest::checkRestored(MainWindowHarness& h) {
    QCOMPARE(h.button(QStringLiteral("cmdWrite"))->text(), QStringLiteral("変換"));
    QVERIFY(h.window->tray()->isEnabled());
    QVERIFY(h.child<QWidget>(QStringLiteral("picBord"))->isEnabled());
    QVERIFY(h.child<QAction>(QStringLiteral("mnuFileOpen"))->isEnabled());
    QVERIFY(!h.window->Busy());
}

void ConvertControlsTest::inputCheck_data() {
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("message"); // "" passes
    QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("#") << RunMessages::linesTooFew();
    QTest::newRow("1000") << QStringLiteral("1000") << QStringLiteral("#")
                          << RunMessages::linesTooMany();
    QTest::newRow("abc") << QStringLiteral("abc") << QStringLiteral("#")
                         << RunMessages::linesNotNumeric();
    QTest::newRow("empty palette")
        << QStringLiteral("5") << QString() << RunMessages::paletteRequired();
    QTest::newRow("blank-padded 12") << QStringLiteral(" 12 ") << QStringLiteral("#") << QString();
    QTest::newRow("999") << QStringLiteral("999") << QStringLiteral("#") << QString();
    QTest::newRow("blank palette") << QStringLiteral("1") << QStringLiteral(" ") << QString();
}

void ConvertControlsTest::inputCheck() {
    QFETCH(QString, lines);
    QFETCH(QString, palette);
    QFETCH(QString, message);
    MainWindowHarness h;
    fomMain& w = h.start();
    int runs = 0;
    w.setConverter([&runs](const ConversionInput& input, RunServices&) {
        ++runs;
        ConversionResult r;
        r.outcome = input.settings.TextLines > 0 ? ConvOutcome::Aborted : ConvOutcome::EmptyText;
        return r;
    });
    h.edit(QStringLiteral("txtLines"))->setText(lines);
    h.edit(QStringLiteral("txtTxtTbl"))->setText(palette);
    h.button(QStringLiteral("cmdWrite"))->click();
    if (message.isEmpty()) {
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(runs, 1);
        QCOMPARE(h.settings.TextLines, qint16(std::nearbyint(lines.toDouble())));
    } else {
        QCOMPARE(h.messages, QStringList{message});
        QCOMPARE(runs, 0);
        QCOMPARE(h.settings.TextLines, qint16(26)); // nothing copied
    }
    checkRestored(h);
}

void ConvertControlsTest::modeSwitchKeepsPalettes() {
    MainWindowHarness h;
    h.start();
    auto* palette = h.edit(QStringLiteral("txtTxtTbl"));
    auto* normal = h.child<QRadioButton>(QStringLiteral("optMode(0)"));
    auto* twoLevel = h.child<QRadioButton>(QStringLiteral("optMode(1)"));
    QCOMPARE(normal->text(), QStringLiteral("通常"));
    QCOMPARE(twoLevel->text(), QStringLiteral("2値"));
    QVERIFY(normal->isChecked());
    palette->setText(QStringLiteral("typed"));
    twoLevel->click();
    QCOMPARE(palette->text(), SettingsRecord::defaultTextTable2());
    palette->setText(QStringLiteral("second"));
    normal->click();
    QCOMPARE(palette->text(), QStringLiteral("typed"));
    twoLevel->click();
    QCOMPARE(palette->text(), QStringLiteral("second"));
}

void ConvertControlsTest::emptyPaletteIsNeverStored() {
    MainWindowHarness h;
    h.start();
    auto* palette = h.edit(QStringLiteral("txtTxtTbl"));
    palette->clear();
    h.child<QRadioButton>(QStringLiteral("optMode(1)"))->click();
    QCOMPARE(h.settings.TextTable1, SettingsRecord::defaultTextTable1());
    h.child<QRadioButton>(QStringLiteral("optMode(0)"))->click();
    QCOMPARE(palette->text(), SettingsRecord::defaultTextTable1());
}

void ConvertControlsTest::defaultsInTwoLevelMode() {
    MainWindowHarness h;
    fomMain& w = h.start();
    auto* palette = h.edit(QStringLiteral("txtTxtTbl"));
    palette->setText(QStringLiteral("one"));
    h.child<QRadioButton>(QStringLiteral("optMode(1)"))->click();
    palette->setText(QStringLiteral("two"));
    h.edit(QStringLiteral("txtLines"))->setText(QStringLiteral("7"));
    h.child<QCheckBox>(QStringLiteral("chkReverce"))->setChecked(true);
    w.tray()->picSlider()->placeStored(500, 900);
    h.button(QStringLiteral("cmdSetInit"))->click();
    QVERIFY(h.child<QRadioButton>(QStringLiteral("optMode(0)"))->isChecked());
    QCOMPARE(palette->text(), SettingsRecord::defaultTextTable1());
    QCOMPARE(h.settings.TextTable1, SettingsRecord::defaultTextTable1());
    QCOMPARE(h.settings.TextTable2, SettingsRecord::defaultTextTable2());
    QCOMPARE(h.edit(QStringLiteral("txtLines"))->text(), QStringLiteral("26"));
    QVERIFY(!h.child<QCheckBox>(QStringLiteral("chkReverce"))->isChecked());
    QCOMPARE(h.edit(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("0"));
    QCOMPARE(h.edit(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("100"));
    QCOMPARE(h.settings.Low, qint16(-1));
}

void ConvertControlsTest::lineCountKeys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("after");
    QTest::newRow("down on 999") << QStringLiteral("999") << int(Qt::Key_Down)
                                 << QStringLiteral("1000");
    QTest::newRow("up on 26") << QStringLiteral("26") << int(Qt::Key_Up) << QStringLiteral("25");
    QTest::newRow("up on 1") << QStringLiteral("1") << int(Qt::Key_Up) << QStringLiteral("1");
    QTest::newRow("down on 2.5") << QStringLiteral("2.5") << int(Qt::Key_Down)
                                 << QStringLiteral("3");
    QTest::newRow("down on abc") << QStringLiteral("abc") << int(Qt::Key_Down)
                                 << QStringLiteral("abc");
    QTest::newRow("up on abc") << QStringLiteral("abc") << int(Qt::Key_Up) << QStringLiteral("abc");
}

void ConvertControlsTest::lineCountKeys() {
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, after);
    MainWindowHarness h;
    h.start();
    auto* lines = h.edit(QStringLiteral("txtLines"));
    lines->setText(text);
    QTest::keyClick(lines, static_cast<Qt::Key>(key));
    QCOMPARE(lines->text(), after);
}

void ConvertControlsTest::knobPushesTheOther_data() {
    QTest::addColumn<int>("knob");
    QTest::addColumn<int>("dx"); // per move, 20 moves
    QTest::addColumn<float>("low");
    QTest::addColumn<float>("high");
    QTest::addColumn<QString>("lowText");
    QTest::addColumn<QString>("highText");
    // Grab at 4 pixels (60 twips). The high knob reaches the right end; the low one stops a knob
    // width short of it: 2055 - 180 - 180 - 1. Touching knobs show values one apart.
    QTest::newRow("low pushes high")
        << 0 << 20 << 1694.0f << 1874.0f << QStringLiteral("99") << QStringLiteral("100");
    QTest::newRow("high pushes low")
        << 1 << -20 << 0.0f << 180.0f << QStringLiteral("0") << QStringLiteral("1");
}

void ConvertControlsTest::knobPushesTheOther() {
    QFETCH(int, knob);
    QFETCH(int, dx);
    MainWindowHarness h;
    fomMain& w = h.start();
    LevelSliderWidget* slider = w.tray()->picSlider();
    if (knob == 1)
        slider->placeStored(600, 1200);
    auto* button = h.child<QPushButton>(QStringLiteral("cmdSlider(%1)").arg(knob));
    sendMouse(button, QEvent::MouseButtonPress, QPoint(4, 3), Qt::LeftButton, Qt::LeftButton);
    for (int i = 0; i < 20; ++i)
        sendMouse(button, QEvent::MouseMove, QPoint(4 + dx, 3), Qt::NoButton, Qt::LeftButton);
    sendMouse(button, QEvent::MouseButtonRelease, QPoint(4, 3), Qt::LeftButton, Qt::NoButton);
    QTEST(slider->model().left(0), "low");
    QTEST(slider->model().left(1), "high");
    QTEST(h.edit(QStringLiteral("txtSlider(0)"))->text(), "lowText");
    QTEST(h.edit(QStringLiteral("txtSlider(1)"))->text(), "highText");
    QVERIFY(!slider->Dragging());
}

void ConvertControlsTest::rightButtonDoesNotDrag() {
    MainWindowHarness h;
    fomMain& w = h.start();
    auto* knob = h.child<QPushButton>(QStringLiteral("cmdSlider(0)"));
    sendMouse(knob, QEvent::MouseButtonPress, QPoint(4, 3), Qt::RightButton, Qt::RightButton);
    sendMouse(knob, QEvent::MouseMove, QPoint(40, 3), Qt::NoButton, Qt::RightButton);
    QVERIFY(!w.tray()->picSlider()->Dragging());
    QCOMPARE(w.tray()->picSlider()->model().left(0), 0.0f);
}

void ConvertControlsTest::doubleClickAutoLevel_data() {
    QTest::addColumn<int>("picture"); // 0 none, 1 black and white, 2 grey
    QTest::addColumn<float>("low");
    QTest::addColumn<float>("high");
    QTest::newRow("no picture: the full range") << 0 << 0.0f << 1874.0f;
    QTest::newRow("black and white") << 1 << 0.0f << 1868.0f;    // nearest(255u + 180)
    QTest::newRow("uniform grey 128") << 2 << 848.0f << 1028.0f; // touching
}

void ConvertControlsTest::doubleClickAutoLevel() {
    QFETCH(int, picture);
    QFETCH(float, low);
    QFETCH(float, high);
    MainWindowHarness h;
    fomMain& w = h.start();
    w.tray()->picSlider()->placeStored(600, 1200);
    if (picture != 0) {
        QImage image = filledImage(40, 40, picture == 1 ? qRgb(0, 0, 0) : qRgb(128, 128, 128));
        if (picture == 1)
            for (int x = 0; x < 40; ++x)
                image.setPixel(x, 39, qRgb(255, 255, 255));
        w.PicLoad(writePicture(m_dir, QStringLiteral("levels.png"), image));
    }
    QTest::mouseDClick(w.tray()->picSlider(), Qt::LeftButton, {}, QPoint(70, 2));
    QCOMPARE(w.tray()->picSlider()->model().left(0), low);
    QCOMPARE(w.tray()->picSlider()->model().left(1), high);
    QVERIFY(w.tray()->isEnabled());
    if (picture == 2) {
        QCOMPARE(h.edit(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("50"));
        QCOMPARE(h.edit(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("51"));
    }
}

void ConvertControlsTest::convertHandsTheTextToTheTextView() {
    const QString path =
        writePicture(m_dir, QStringLiteral("run.png"), filledImage(60, 30, qRgb(0, 0, 0)));
    MainWindowHarness h;
    fomMain& w = h.start();
    w.setConverter(ConvNormal);
    w.PicLoad(path);
    h.edit(QStringLiteral("txtLines"))->setText(QStringLiteral("3"));
    h.button(QStringLiteral("cmdWrite"))->click();
    QCOMPARE(h.textView.viewed.size(), 1);
    QCOMPARE(h.textView.viewed.first().count(QStringLiteral("\r\n")), 2);
    checkRestored(h);
}

void ConvertControlsTest::closeDuringRunCancelled() {
    MainWindowHarness h;
    fomMain& w = h.start();
    std::atomic<bool> answered{false};
    bool lockedDuringRun = false;
    h.answer = QMessageBox::Cancel;
    MessageBoxes::setAnswererForTests([&](const MessageBoxes::Request& request) {
        h.messages.append(request.text);
        lockedDuringRun = w.Busy() && !w.tray()->isEnabled() &&
                          w.tray()->cmdWrite()->text() == RunMessages::preparing();
        answered.store(true);
        return QMessageBox::Cancel;
    });
    w.setConverter([&](const ConversionInput&, RunServices& services) {
        services.showPreparing();
        QMetaObject::invokeMethod(
            &w, [&w] { w.close(); }, Qt::QueuedConnection);
        return waitingRun(services, answered, QStringLiteral("done"));
    });
    h.button(QStringLiteral("cmdWrite"))->click();
    QCOMPARE(h.messages, QStringList{QStringLiteral("ただいま変換作業中です。中断しますか？")});
    QVERIFY(lockedDuringRun);
    QCOMPARE(h.textView.viewed, QStringList{QStringLiteral("done")});
    QVERIFY(w.isVisible());
    QCOMPARE(h.file.writes, 0);
    checkRestored(h);
}

void ConvertControlsTest::closeDuringRunOk() {
    MainWindowHarness h;
    fomMain& w = h.start();
    const std::atomic<bool> never{false};
    h.answer = QMessageBox::Ok;
    w.setConverter([&](const ConversionInput&, RunServices& services) {
        QMetaObject::invokeMethod(
            &w, [&w] { w.close(); }, Qt::QueuedConnection);
        return waitingRun(services, never, QStringLiteral("never"));
    });
    h.button(QStringLiteral("cmdWrite"))->click();
    QCOMPARE(h.messages.size(), 1);
    QVERIFY(h.textView.viewed.isEmpty());
    QVERIFY(w.isVisible());
    QVERIFY(!w.AbortReq()); // the run took the request
    QCOMPARE(h.file.writes, 0);
    checkRestored(h);
}

void ConvertControlsTest::cancelAt999RestoresTheControls() {
    MainWindowHarness h;
    fomMain& w = h.start();
    QString captionAtQuestion;
    MessageBoxes::setAnswererForTests([&](const MessageBoxes::Request& request) {
        h.messages.append(request.text);
        captionAtQuestion = w.tray()->cmdWrite()->text();
        return QMessageBox::Cancel;
    });
    w.setConverter([](const ConversionInput&, RunServices& services) {
        ConversionResult r;
        services.showPreparing();
        services.showPercent(37);
        r.outcome = services.confirmCut999() ? ConvOutcome::HandedOff : ConvOutcome::Cancelled999;
        return r;
    });
    h.button(QStringLiteral("cmdWrite"))->click();
    QCOMPARE(h.messages, QStringList{RunMessages::ask999()});
    QCOMPARE(captionAtQuestion, QStringLiteral("37 ％"));
    QVERIFY(h.textView.viewed.isEmpty());
    checkRestored(h);
}

void ConvertControlsTest::systemCloseDuringRunClosesAfterIt() {
    MainWindowHarness h;
    fomMain& w = h.start();
    QSignalSpy unloaded(&w, &fomMain::unloaded);
    const std::atomic<bool> never{false};
    w.setConverter([&](const ConversionInput&, RunServices& services) {
        QMetaObject::invokeMethod(
            &w, [&w] { w.systemClose(); }, Qt::QueuedConnection);
        return waitingRun(services, never, QStringLiteral("never"));
    });
    h.button(QStringLiteral("cmdWrite"))->click();
    QVERIFY(h.messages.isEmpty()); // no question
    QCOMPARE(unloaded.count(), 0); // not while the run's handler was on the stack
    QTRY_COMPARE(unloaded.count(), 1);
    QCOMPARE(h.file.writes, 1);
    QVERIFY(h.textView.viewed.isEmpty());
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(ConvertControlsTest)
#include "ConvertControlsTest.moc"
