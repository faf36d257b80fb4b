// The conversion controls of the main window and the Convert command: the input checks, the
// palettes per mode, the line-count keys, the level slider, and a run on its worker thread with
// its abort, its 999 question and a close request during it.

#include "MainWindowHarness.h"

#include "convert/ConvNormal.h"
#include "convert/RunMessages.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QThread>

#include <atomic>

namespace {

// A converter that waits, yielding before every "character", until the test's flag is set or
// the run is aborted; it gives up after many rounds rather than hang a broken build.
ConversionResult waitingRun(RunServices& services, const std::atomic<bool>& release,
                            const QString& text) {
    ConversionResult result;
    result.outcome = ConvOutcome::EmptyText;
    services.showPreparing();
    for (int i = 0; i < 200000 && result.outcome == ConvOutcome::EmptyText; ++i) {
        if (services.yieldAndCheckAbort()) {
            result.outcome = ConvOutcome::Aborted;
        } else if (release.load()) {
            services.showPercent(100);
            services.handOff(text);
            result.outcome = ConvOutcome::HandedOff;
        }
        QThread::usleep(50);
    }
    return result;
}

// Every way out of a run gives back the caption, the controls and the menus.
void checkRestored(MainWindowHarness& h) {
    QCOMPARE(h.button(u"cmdWrite"_qs)->text(), u"変換"_qs);
    QVERIFY(h.window->tray()->isEnabled());
    QVERIFY(h.bord()->isEnabled());
    QVERIFY(h.child<QAction>(u"mnuFileOpen"_qs)->isEnabled());
    QVERIFY(!h.window->Busy());
}

} // namespace

class ConvertControlsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void inputCheck_data() {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("palette");
        QTest::addColumn<QString>("message"); // "" passes
        QTest::newRow("0") << u"0"_qs << u"#"_qs << RunMessages::linesTooFew();
        QTest::newRow("1000") << u"1000"_qs << u"#"_qs << RunMessages::linesTooMany();
        QTest::newRow("abc") << u"abc"_qs << u"#"_qs << RunMessages::linesNotNumeric();
        QTest::newRow("empty palette") << u"5"_qs << QString() << RunMessages::paletteRequired();
        QTest::newRow("blank-padded 12") << u" 12 "_qs << u"#"_qs << QString();
        QTest::newRow("999") << u"999"_qs << u"#"_qs << QString();
        QTest::newRow("blank palette") << u"1"_qs << u" "_qs << QString();
    }
    void inputCheck() {
        QFETCH(QString, lines);
        QFETCH(QString, palette);
        QFETCH(QString, message);
        MainWindowHarness h;
        fomMain& w = h.start();
        int runs = 0;
        w.setConverter([&runs](const ConversionInput& input, RunServices&) {
            ++runs;
            ConversionResult r;
            r.outcome =
                input.settings.TextLines > 0 ? ConvOutcome::Aborted : ConvOutcome::EmptyText;
            return r;
        });
        h.edit(u"txtLines"_qs)->setText(lines);
        h.edit(u"txtTxtTbl"_qs)->setText(palette);
        h.button(u"cmdWrite"_qs)->click();
        QCOMPARE(h.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(runs, message.isEmpty() ? 1 : 0);
        // A refused input copies nothing into the record.
        QCOMPARE(h.settings.TextLines,
                 qint16(message.isEmpty() ? std::nearbyint(lines.toDouble()) : 26));
        checkRestored(h);
    }

    void modeSwitchKeepsPalettes() {
        MainWindowHarness h;
        h.start();
        QLineEdit* palette = h.edit(u"txtTxtTbl"_qs);
        auto* normal = h.child<QRadioButton>(u"optMode(0)"_qs);
        auto* twoLevel = h.child<QRadioButton>(u"optMode(1)"_qs);
        QVERIFY(normal->isChecked());
        palette->setText(u"typed"_qs);
        twoLevel->click();
        QCOMPARE(palette->text(), SettingsRecord::defaultTextTable2());
        palette->setText(u"second"_qs);
        normal->click();
        QCOMPARE(palette->text(), u"typed"_qs);
        twoLevel->click();
        QCOMPARE(palette->text(), u"second"_qs);
    }

    void emptyPaletteIsNeverStored() {
        MainWindowHarness h;
        h.start();
        h.edit(u"txtTxtTbl"_qs)->clear();
        h.child<QRadioButton>(u"optMode(1)"_qs)->click();
        QCOMPARE(h.settings.TextTable1, SettingsRecord::defaultTextTable1());
        h.child<QRadioButton>(u"optMode(0)"_qs)->click();
        QCOMPARE(h.edit(u"txtTxtTbl"_qs)->text(), SettingsRecord::defaultTextTable1());
    }

    void defaultsInTwoLevelMode() {
        MainWindowHarness h;
        fomMain& w = h.start();
        QLineEdit* palette = h.edit(u"txtTxtTbl"_qs);
        auto* reverse = h.child<QCheckBox>(u"chkReverce"_qs);
        palette->setText(u"one"_qs);
        h.child<QRadioButton>(u"optMode(1)"_qs)->click();
        palette->setText(u"two"_qs);
        h.edit(u"txtLines"_qs)->setText(u"7"_qs);
        reverse->setChecked(true);
        w.tray()->picSlider()->placeStored(500, 900);
        h.button(u"cmdSetInit"_qs)->click();
        QVERIFY(h.child<QRadioButton>(u"optMode(0)"_qs)->isChecked());
        QCOMPARE(palette->text(), SettingsRecord::defaultTextTable1());
        QCOMPARE(h.settings.TextTable1, SettingsRecord::defaultTextTable1());
        QCOMPARE(h.settings.TextTable2, SettingsRecord::defaultTextTable2());
        QCOMPARE(h.edit(u"txtLines"_qs)->text(), u"26"_qs);
        QVERIFY(!reverse->isChecked());
        QCOMPARE(h.sliderTexts(), u"0/100"_qs);
        QCOMPARE(h.settings.Low, qint16(-1));
    }

    void lineCountKeys_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        QTest::newRow("down on 999") << u"999"_qs << int(Qt::Key_Down) << u"1000"_qs;
        QTest::newRow("up on 26") << u"26"_qs << int(Qt::Key_Up) << u"25"_qs;
        QTest::newRow("up on 1") << u"1"_qs << int(Qt::Key_Up) << u"1"_qs;
        QTest::newRow("down on 2.5") << u"2.5"_qs << int(Qt::Key_Down) << u"3"_qs;
        QTest::newRow("down on abc") << u"abc"_qs << int(Qt::Key_Down) << u"abc"_qs;
    }
    void lineCountKeys() {
        QFETCH(QString, text);
        QFETCH(int, key);
        MainWindowHarness h;
        h.start();
        QLineEdit* lines = h.edit(u"txtLines"_qs);
        lines->setText(text);
        QTest::keyClick(lines, static_cast<Qt::Key>(key));
        QTEST(lines->text(), "after");
    }

    void knobPushesTheOther_data() {
        QTest::addColumn<int>("knob");
        QTest::addColumn<int>("dx"); // per move, 20 moves
        QTest::addColumn<int>("button");
        QTest::addColumn<float>("low");
        QTest::addColumn<float>("high");
        QTest::addColumn<QString>("texts");
        // Grab at 4 pixels (60 twips). The high knob reaches the right end; the low one stops a
        // knob width short of it: 2055 - 180 - 180 - 1. Touching knobs show values one apart.
        QTest::newRow("low pushes high")
            << 0 << 20 << int(Qt::LeftButton) << 1694.0f << 1874.0f << u"99/100"_qs;
        QTest::newRow("high pushes low")
            << 1 << -20 << int(Qt::LeftButton) << 0.0f << 180.0f << u"0/1"_qs;
        QTest::newRow("right button does not drag")
            << 0 << 20 << int(Qt::RightButton) << 0.0f << 1874.0f << u"0/100"_qs;
    }
    void knobPushesTheOther() {
        QFETCH(int, knob);
        QFETCH(int, dx);
        QFETCH(int, button);
        const auto held = static_cast<Qt::MouseButton>(button);
        MainWindowHarness h;
        LevelSliderWidget* slider = h.start().tray()->picSlider();
        if (knob == 1)
            slider->placeStored(600, 1200);
        auto* knobButton = h.button(u"cmdSlider(%1)"_qs.arg(knob));
        sendMouse(knobButton, QEvent::MouseButtonPress, QPoint(4, 3), held, held);
        for (int i = 0; i < 20; ++i)
            sendMouse(knobButton, QEvent::MouseMove, QPoint(4 + dx, 3), Qt::NoButton, held);
        sendMouse(knobButton, QEvent::MouseButtonRelease, QPoint(4, 3), held, Qt::NoButton);
        QTEST(slider->model().left(0), "low");
        QTEST(slider->model().left(1), "high");
        QTEST(h.sliderTexts(), "texts");
        QVERIFY(!slider->Dragging());
    }

    void doubleClickAutoLevel_data() {
        QTest::addColumn<int>("picture"); // 0 none, 1 black and white, 2 grey
        QTest::addColumn<float>("low");
        QTest::addColumn<float>("high");
        QTest::addColumn<QString>("texts");
        QTest::newRow("no picture: the full range") << 0 << 0.0f << 1874.0f << u"0/100"_qs;
        QTest::newRow("black and white") << 1 << 0.0f << 1868.0f << u"0/100"_qs;    // 255 + 180
        QTest::newRow("uniform grey 128") << 2 << 848.0f << 1028.0f << u"50/51"_qs; // touching
    }
    void doubleClickAutoLevel() {
        QFETCH(int, picture);
        MainWindowHarness h;
        fomMain& w = h.start();
        LevelSliderWidget* slider = w.tray()->picSlider();
        slider->placeStored(600, 1200);
        if (picture != 0) {
            QImage image = filledImage(40, 40, picture == 1 ? qRgb(0, 0, 0) : qRgb(128, 128, 128));
            if (picture == 1)
                for (int x = 0; x < 40; ++x)
                    image.setPixel(x, 39, qRgb(255, 255, 255));
            w.PicLoad(writePicture(m_dir, u"levels.png"_qs, image));
        }
        QTest::mouseDClick(slider, Qt::LeftButton, {}, QPoint(70, 2));
        QTEST(slider->model().left(0), "low");
        QTEST(slider->model().left(1), "high");
        QTEST(h.sliderTexts(), "texts");
        QVERIFY(w.tray()->isEnabled());
    }

    void convertHandsTheTextToTheTextView() {
        MainWindowHarness h;
        fomMain& w = h.startOn(writePicture(m_dir, u"run.png"_qs, filledImage(60, 30)));
        w.setConverter(ConvNormal);
        h.edit(u"txtLines"_qs)->setText(u"3"_qs);
        h.button(u"cmdWrite"_qs)->click();
        QCOMPARE(h.textView.viewed.size(), 1);
        QCOMPARE(h.textView.viewed.first().count(u"\r\n"_qs), 2);
        checkRestored(h);
    }

    void closeDuringRun_data() {
        QTest::addColumn<bool>("ok");
        QTest::newRow("Cancel: the run goes on") << false;
        QTest::newRow("OK: the run stops, the window stays") << true;
    }
    void closeDuringRun() {
        QFETCH(bool, ok);
        MainWindowHarness h;
        fomMain& w = h.start();
        std::atomic<bool> release{false};
        bool lockedDuringRun = false;
        MessageBoxes::setAnswererForTests([&](const MessageBoxes::Request& request) {
            h.messages.append(request.text);
            lockedDuringRun = w.Busy() && !w.tray()->isEnabled() &&
                              w.tray()->cmdWrite()->text() == RunMessages::preparing();
            release.store(!ok);
            return ok ? QMessageBox::Ok : QMessageBox::Cancel;
        });
        w.setConverter([&](const ConversionInput&, RunServices& services) {
            services.showPreparing(); // queued before the close, so the caption is up by then
            QMetaObject::invokeMethod(
                &w, [&w] { w.close(); }, Qt::QueuedConnection);
            return waitingRun(services, release, u"done"_qs);
        });
        h.button(u"cmdWrite"_qs)->click();
        QCOMPARE(h.messages, QStringList{u"ただいま変換作業中です。中断しますか？"_qs});
        QVERIFY(lockedDuringRun);
        QCOMPARE(h.textView.viewed, ok ? QStringList() : QStringList{u"done"_qs});
        QVERIFY(w.isVisible());
        QVERIFY(!w.AbortReq()); // the run took the request
        QCOMPARE(h.file.writes, 0);
        checkRestored(h);
    }

    void cancelAt999RestoresTheControls() {
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
            r.outcome =
                services.confirmCut999() ? ConvOutcome::HandedOff : ConvOutcome::Cancelled999;
            return r;
        });
        h.button(u"cmdWrite"_qs)->click();
        QCOMPARE(h.messages, QStringList{RunMessages::ask999()});
        QCOMPARE(captionAtQuestion, u"37 ％"_qs);
        QVERIFY(h.textView.viewed.isEmpty());
        checkRestored(h);
    }

    // SIGTERM and the session's end close without the question, once the run has stopped.
    void systemCloseDuringRunClosesAfterIt() {
        MainWindowHarness h;
        fomMain& w = h.start();
        QSignalSpy unloaded(&w, &fomMain::unloaded);
        const std::atomic<bool> never{false};
        w.setConverter([&](const ConversionInput&, RunServices& services) {
            QMetaObject::invokeMethod(
                &w, [&w] { w.systemClose(); }, Qt::QueuedConnection);
            return waitingRun(services, never, u"never"_qs);
        });
        h.button(u"cmdWrite"_qs)->click();
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(unloaded.count(), 0); // not while the run's handler was on the stack
        QTRY_COMPARE(unloaded.count(), 1);
        QCOMPARE(h.file.writes, 1);
        QVERIFY(h.textView.viewed.isEmpty());
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(ConvertControlsTest)
#include "ConvertControlsTest.moc"
