#include "convert/fomSetup.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

// The conversion settings dialog driven as a user would: it opens from the settings record,
// writes it only on "戻る", and shows the weight as a percentage.
class SetupDialogTest : public QObject {
    Q_OBJECT

    static QRadioButton* option(fomSetup& dialog, int index) {
        return dialog.findChild<QRadioButton*>(u"optLsConv%1"_qs.arg(index));
    }
    static QScrollBar* bar(fomSetup& dialog) {
        return dialog.findChild<QScrollBar*>(u"hscNitiGosa"_qs);
    }
    static QString label(fomSetup& dialog) {
        return dialog.findChild<QLabel*>(u"lblNitiGosa"_qs)->text();
    }
    static void click(fomSetup& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1StringView(name)), Qt::LeftButton);
    }

private slots:
    void opensFromTheRecord_data() {
        QTest::addColumn<qint16>("lsConv");
        QTest::addColumn<double>("nitiGosa");
        QTest::addColumn<int>("checked"); // -1 none
        QTest::addColumn<int>("value");
        QTest::newRow("defaults") << qint16(1) << 0.2 << 1 << 20;
        QTest::newRow("ignore, 0") << qint16(0) << 0.0 << 0 << 0;
        QTest::newRow("full weight") << qint16(1) << 1.0 << 1 << 100;
        QTest::newRow("0.125 rounds half to even") << qint16(1) << 0.125 << 1 << 12;
        QTest::newRow("0.135 rounds to 14") << qint16(1) << 0.135 << 1 << 14;
        QTest::newRow("LsConv 2: nothing selected") << qint16(2) << 0.2 << -1 << 20;
        QTest::newRow("LsConv -1: nothing selected") << qint16(-1) << 0.2 << -1 << 20;
        QTest::newRow("weight above 1: right end") << qint16(1) << 3.5 << 1 << 100;
        QTest::newRow("negative weight: left end") << qint16(1) << -0.4 << 1 << 0;
    }
    void opensFromTheRecord() {
        QFETCH(qint16, lsConv);
        QFETCH(double, nitiGosa);
        QFETCH(int, checked);
        QFETCH(int, value);
        SettingsRecord settings;
        settings.LsConv = lsConv;
        settings.NitiGosa = nitiGosa;
        fomSetup dialog(settings);
        QCOMPARE(option(dialog, 0)->isChecked(), checked == 0);
        QCOMPARE(option(dialog, 1)->isChecked(), checked == 1);
        QCOMPARE(bar(dialog)->value(), value);
        QCOMPARE(label(dialog), QString::number(value) + u"％"_qs);
    }

    void accepting_data() {
        QTest::addColumn<qint16>("lsConv");
        QTest::addColumn<double>("nitiGosa");
        QTest::addColumn<qint16>("storedLsConv");
        QTest::addColumn<double>("storedNitiGosa");
        QTest::newRow("untouched defaults") << qint16(1) << 0.2 << qint16(1) << 0.2;
        QTest::newRow("rounded to hundredths") << qint16(1) << 0.456 << qint16(1) << 0.46;
        QTest::newRow("out of range") << qint16(5) << 7.0 << qint16(0) << 1.0;
    }
    void accepting() {
        QFETCH(qint16, lsConv);
        QFETCH(double, nitiGosa);
        SettingsRecord settings;
        settings.LsConv = lsConv;
        settings.NitiGosa = nitiGosa;
        fomSetup dialog(settings);
        click(dialog, "cmdExit");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTEST(settings.LsConv, "storedLsConv");
        QTEST(settings.NitiGosa, "storedNitiGosa");
    }

    void arrowsAndTrackMoveTheThumb() {
        SettingsRecord settings;
        fomSetup dialog(settings);
        bar(dialog)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(label(dialog), u"25％"_qs);
        bar(dialog)->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(label(dialog), u"15％"_qs);
        QTest::mouseClick(option(dialog, 0), Qt::LeftButton);
        click(dialog, "cmdExit");
        QCOMPARE(settings.LsConv, qint16(0));
        QCOMPARE(settings.NitiGosa, 0.15);
    }

    void zeroIsStoredAsZero() {
        SettingsRecord settings;
        fomSetup dialog(settings);
        bar(dialog)->setValue(0);
        QCOMPARE(label(dialog), u"0％"_qs);
        click(dialog, "cmdExit");
        QCOMPARE(settings.NitiGosa, 0.0);
    }

    void cancelLeavesTheRecord() {
        SettingsRecord settings;
        fomSetup dialog(settings);
        bar(dialog)->setValue(70);
        QTest::mouseClick(option(dialog, 0), Qt::LeftButton);
        click(dialog, "cmdCancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settings.NitiGosa, 0.2);
        QCOMPARE(settings.LsConv, qint16(1));
    }

    void escapeCancelsAndEnterAccepts() {
        SettingsRecord settings;
        {
            fomSetup dialog(settings);
            dialog.show();
            bar(dialog)->setValue(40);
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(settings.NitiGosa, 0.2);
        }
        fomSetup dialog(settings);
        dialog.show();
        QCOMPARE(option(dialog, 0)->nextInFocusChain(), option(dialog, 1));
        bar(dialog)->setValue(40);
        // Focus passing through Cancel must not leave it the default button.
        dialog.findChild<QPushButton*>(u"cmdCancel"_qs)->setFocus();
        option(dialog, 1)->setFocus();
        QTest::keyClick(option(dialog, 1), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.NitiGosa, 0.4);
    }
};

QTEST_MAIN(SetupDialogTest)
#include "SetupDialogTest.moc"
