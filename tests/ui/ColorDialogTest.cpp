#include "settings/fomColorSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>

// The colour dialog: two rows of eleven swatches opened from the settings record, written back
// only on "戻る"; a colour that no swatch has survives.
class ColorDialogTest : public QObject {
    Q_OBJECT

    static QAbstractButton* swatch(fomColorSet& dialog, const char* row, int index) {
        return dialog.findChild<QAbstractButton*>(QLatin1StringView(row) + QString::number(index));
    }
    // The checked swatch of the row; -1 none, -2 more than one.
    static int selected(fomColorSet& dialog, const char* row) {
        int found = -1;
        for (int i = 0; i < 11; ++i) {
            if (swatch(dialog, row, i)->isChecked()) {
                if (found >= 0)
                    return -2;
                found = i;
            }
        }
        return found;
    }
    static void click(fomColorSet& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1StringView(name)), Qt::LeftButton);
    }

private slots:
    void opensFromTheRecord_data() {
        QTest::addColumn<qint32>("fore");
        QTest::addColumn<qint32>("back");
        QTest::addColumn<int>("foreIndex");
        QTest::addColumn<int>("backIndex");
        QTest::newRow("defaults") << ColorRef::ButtonText << ColorRef::WindowBackground << 1 << 0;
        QTest::newRow("picture colours") << ColorRef::ImageColor << ColorRef::ImageColor << 2 << 2;
        QTest::newRow("red on white") << 0x0000FF << 0xFFFFFF << 3 << 9;
        QTest::newRow("blue on black") << 0xFF0000 << 0x000000 << 7 << 10;
        QTest::newRow("yellow on magenta") << 0x00FFFF << 0xFF00FF << 4 << 8;
        QTest::newRow("unknown text colour") << 0x123456 << 0x00FF00 << -1 << 5;
        QTest::newRow("unknown system colour")
            << static_cast<qint32>(0x80000008u) << 0xFFFF00 << -1 << 6;
    }
    void opensFromTheRecord() {
        QFETCH(qint32, fore);
        QFETCH(qint32, back);
        SettingsRecord settings;
        settings.ForeColor = fore;
        settings.BackColor = back;
        fomColorSet dialog(settings);
        QTEST(selected(dialog, "optForeColor"), "foreIndex");
        QTEST(selected(dialog, "optBackColor"), "backIndex");
        click(dialog, "cmdExit");
        QCOMPARE(settings.ForeColor, fore);
        QCOMPARE(settings.BackColor, back);
    }

    void acceptingStoresTheSwatches_data() {
        QTest::addColumn<int>("foreIndex");
        QTest::addColumn<int>("backIndex");
        QTest::addColumn<qint32>("fore");
        QTest::addColumn<qint32>("back");
        QTest::newRow("red on the picture") << 3 << 2 << 0x0000FF << ColorRef::ImageColor;
        QTest::newRow("white on white") << 9 << 9 << 0xFFFFFF << 0xFFFFFF;
    }
    void acceptingStoresTheSwatches() {
        QFETCH(int, foreIndex);
        QFETCH(int, backIndex);
        SettingsRecord settings;
        settings.ForeColor = 0x123456;
        fomColorSet dialog(settings);
        QTest::mouseClick(swatch(dialog, "optForeColor", foreIndex), Qt::LeftButton);
        QTest::mouseClick(swatch(dialog, "optBackColor", backIndex), Qt::LeftButton);
        QCOMPARE(selected(dialog, "optBackColor"), backIndex);
        click(dialog, "cmdExit");
        QTEST(settings.ForeColor, "fore");
        QTEST(settings.BackColor, "back");
    }

    void cancelLeavesTheRecord() {
        SettingsRecord settings;
        fomColorSet dialog(settings);
        QTest::mouseClick(swatch(dialog, "optForeColor", 10), Qt::LeftButton);
        QTest::mouseClick(swatch(dialog, "optBackColor", 4), Qt::LeftButton);
        click(dialog, "cmdCancel");
        QCOMPARE(settings.ForeColor, ColorRef::ButtonText);
        QCOMPARE(settings.BackColor, ColorRef::WindowBackground);
    }

    void pictureSwatchIsHatched() {
        SettingsRecord settings;
        fomColorSet dialog(settings);
        const QSize size = swatch(dialog, "optForeColor", 2)->iconSize();
        const QImage hatched = swatch(dialog, "optForeColor", 2)->icon().pixmap(size).toImage();
        const QImage plain = swatch(dialog, "optForeColor", 3)->icon().pixmap(size).toImage();
        QSet<QRgb> hatchedColours;
        QSet<QRgb> plainColours;
        for (int y = 2; y < size.height() - 2; ++y) {
            for (int x = 2; x < size.width() - 2; ++x) {
                hatchedColours.insert(hatched.pixel(x, y));
                plainColours.insert(plain.pixel(x, y));
            }
        }
        QCOMPARE(plainColours, QSet<QRgb>{qRgb(255, 0, 0)});
        QVERIFY(hatchedColours.size() >= 2);
    }
};

QTEST_MAIN(ColorDialogTest)
#include "ColorDialogTest.moc"
