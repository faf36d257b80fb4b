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
    void lowKnobPushesTheHighKnob();
    void highKnobPushesTheLowKnob();
    void rightButtonDoesNotDrag();
    void doubleClickAutoLevel_data();
    void doubleClickAutoLevel();
    void doubleClickWithoutPicture();
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
    h.child<QLineEdit>(QStringLiteral("txtLines"))->setText(lines);
    h.child<QLineEdit>(QStringLiteral("txtTxtTbl"))->setText(palette);
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
    auto* palette = h.child<QLineEdit>(QStringLiteral("txtTxtTbl"));
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
    auto* palette = h.child<QLineEdit>(QStringLiteral("txtTxtTbl"));
    palette->clear();
    h.child<QRadioButton>(QStringLiteral("optMode(1)"))->click();
    QCOMPARE(h.settings.TextTable1, SettingsRecord::defaultTextTable1());
    h.child<QRadioButton>(QStringLiteral("optMode(0)"))->click();
    QCOMPARE(palette->text(), SettingsRecord::defaultTextTable1());
}

void ConvertControlsTest::defaultsInTwoLevelMode() {
    MainWindowHarness h;
    fomMain& w = h.start();
    auto* palette = h.child<QLineEdit>(QStringLiteral("txtTxtTbl"));
    palette->setText(QStringLiteral("one"));
    h.child<QRadioButton>(QStringLiteral("optMode(1)"))->click();
    palette->setText(QStringLiteral("two"));
    h.child<QLineEdit>(QStringLiteral("txtLines"))->setText(QStringLiteral("7"));
    h.child<QCheckBox>(QStringLiteral("chkReverce"))->setChecked(true);
    w.tray()->picSlider()->placeStored(500, 900);
    h.button(QStringLiteral("cmdSetInit"))->click();
    QVERIFY(h.child<QRadioButton>(QStringLiteral("optMode(0)"))->isChecked());
    QCOMPARE(palette->text(), SettingsRecord::defaultTextTable1());
    QCOMPARE(h.settings.TextTable1, SettingsRecord::defaultTextTable1());
    QCOMPARE(h.settings.TextTable2, SettingsRecord::defaultTextTable2());
    QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtLines"))->text(), QStringLiteral("26"));
    QVERIFY(!h.child<QCheckBox>(QStringLiteral("chkReverce"))->isChecked());
    QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("0"));
    QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("100"));
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
    auto* lines = h.child<QLineEdit>(QStringLiteral("txtLines"));
    lines->setText(text);
    QTest::keyClick(lines, static_cast<Qt::Key>(key));
    QCOMPARE(lines->text(), after);
}

void ConvertControlsTest::lowKnobPushesTheHighKnob() {
    MainWindowHarness h;
    fomMain& w = h.start();
    LevelSliderWidget* slider = w.tray()->picSlider();
    auto* knob = h.child<QPushButton>(QStringLiteral("cmdSlider(0)"));
    QVERIFY(knob != nullptr);
    // Grab at 4 pixels (60 twips), drag far to the right in steps.
    sendMouse(knob, QEvent::MouseButtonPress, QPoint(4, 3), Qt::LeftButton, Qt::LeftButton);
    for (int i = 0; i < 20; ++i)
        sendMouse(knob, QEvent::MouseMove, QPoint(4 + 20, 3), Qt::NoButton, Qt::LeftButton);
    sendMouse(knob, QEvent::MouseButtonRelease, QPoint(4, 3), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(slider->model().left(1), 1874.0f); // pushed to the right end
    QCOMPARE(slider->model().left(0), 1694.0f); // 2055 - 180 - 180 - 1
    QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("99"));
    QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("100"));
    QVERIFY(!slider->Dragging());
}

void ConvertControlsTest::highKnobPushesTheLowKnob() {
    MainWindowHarness h;
    fomMain& w = h.start();
    LevelSliderWidget* slider = w.tray()->picSlider();
    slider->placeStored(600, 1200);
    auto* knob = h.child<QPushButton>(QStringLiteral("cmdSlider(1)"));
    sendMouse(knob, QEvent::MouseButtonPress, QPoint(4, 3), Qt::LeftButton, Qt::LeftButton);
    for (int i = 0; i < 20; ++i)
        sendMouse(knob, QEvent::MouseMove, QPoint(4 - 20, 3), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(slider->model().left(0), 0.0f);
    QCOMPARE(slider->model().left(1), 180.0f);
    // Touching knobs show values one apart.
    QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("0"));
    QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("1"));
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
    QTest::addColumn<bool>("blackAndWhite");
    QTest::addColumn<float>("low");
    QTest::addColumn<float>("high");
    QTest::newRow("black and white") << true << 0.0f << 1868.0f;     // nearest(255u + 180)
    QTest::newRow("uniform grey 128") << false << 848.0f << 1028.0f; // touching
}

void ConvertControlsTest::doubleClickAutoLevel() {
    QFETCH(bool, blackAndWhite);
    QFETCH(float, low);
    QFETCH(float, high);
    QImage image = filledImage(40, 40, blackAndWhite ? qRgb(0, 0, 0) : qRgb(128, 128, 128));
    if (blackAndWhite)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, 39, qRgb(255, 255, 255));
    const QString path = writePicture(m_dir, QStringLiteral("levels.png"), image);
    MainWindowHarness h;
    fomMain& w = h.start();
    w.PicLoad(path);
    QTest::mouseDClick(w.tray()->picSlider(), Qt::LeftButton, {}, QPoint(70, 2));
    QCOMPARE(w.tray()->picSlider()->model().left(0), low);
    QCOMPARE(w.tray()->picSlider()->model().left(1), high);
    QVERIFY(w.tray()->isEnabled());
    if (!blackAndWhite) {
        QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(0)"))->text(), QStringLiteral("50"));
        QCOMPARE(h.child<QLineEdit>(QStringLiteral("txtSlider(1)"))->text(), QStringLiteral("51"));
    }
}

void ConvertControlsTest::doubleClickWithoutPicture() {
    MainWindowHarness h;
    fomMain& w = h.start();
    w.tray()->picSlider()->placeStored(600, 1200);
    w.picSlider_DblClick();
    QCOMPARE(w.tray()->picSlider()->model().left(0), 0.0f);
    QCOMPARE(w.tray()->picSlider()->model().left(1), 1874.0f);
}

void ConvertControlsTest::convertHandsTheTextToTheTextView() {
    const QString path =
        writePicture(m_dir, QStringLiteral("run.png"), filledImage(60, 30, qRgb(0, 0, 0)));
    MainWindowHarness h;
    fomMain& w = h.start();
    w.setConverter(ConvNormal);
    w.PicLoad(path);
    h.child<QLineEdit>(QStringLiteral("txtLines"))->setText(QStringLiteral("3"));
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
