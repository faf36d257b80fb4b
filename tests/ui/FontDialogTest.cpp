#include "convert/FontSetup.h"
#include "platform/MessageBoxes.h"
#include "settings/fomFontSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The font dialog driven as a user would: it opens from the settings record, checks size and line
// spacing on "戻る" with its messages, writes the record only when accepted, and draws a sample.
class FontDialogTest : public QObject {
    Q_OBJECT

    QStringList m_messages;

    static QComboBox* combo(fomFontSet& dialog, const char* name) {
        return dialog.findChild<QComboBox*>(QLatin1StringView(name));
    }
    static QCheckBox* check(fomFontSet& dialog, const char* name) {
        return dialog.findChild<QCheckBox*>(QLatin1StringView(name));
    }
    static void type(QComboBox* box, const QString& text) {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
    }
    static void click(fomFontSet& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1StringView(name)), Qt::LeftButton);
    }
    static QString fontUsed(fomFontSet& dialog) {
        return dialog.findChild<QLabel*>(QStringLiteral("lblFontUsed"))->text();
    }

private slots:
    void initTestCase() {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/monapo/monapo.ttf"));
        QVERIFY2(id >= 0, "fonts-monapo is missing: apt-get install fonts-monapo");
        FontSetup::installSubstitutions();
        MessageBoxes::setAnswererForTests([this](const MessageBoxes::Request& request) {
            m_messages.append(request.text);
            return QMessageBox::Ok;
        });
    }
    void init() { m_messages.clear(); }

    void opensWithTheDefaults() {
        SettingsRecord settings;
        fomFontSet dialog(settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ﾌｫﾝﾄの設定"));
        QVERIFY(!combo(dialog, "cboFontName")->isEditable());
        QCOMPARE(combo(dialog, "cboFontName")->currentText(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(combo(dialog, "cboFontSize")->count(), 22);
        QCOMPARE(combo(dialog, "cboFontSize")->itemText(21), QStringLiteral("72"));
        QCOMPARE(combo(dialog, "cboFontSize")->currentIndex(), 10);
        QCOMPARE(combo(dialog, "cboFontSize")->currentText(), QStringLiteral("12"));
        QCOMPARE(combo(dialog, "cboLineSpace")->count(), 41);
        QCOMPARE(combo(dialog, "cboLineSpace")->itemText(0), QStringLiteral("-20"));
        QCOMPARE(combo(dialog, "cboLineSpace")->currentIndex(), 20);
        QCOMPARE(combo(dialog, "cboLineSpace")->currentText(), QStringLiteral("0"));
        QCOMPARE(check(dialog, "chkBold")->text(), QStringLiteral("太字"));
        QCOMPARE(check(dialog, "chkItalic")->text(), QStringLiteral("斜体"));
        QCOMPARE(check(dialog, "chkUnderline")->text(), QStringLiteral("アンダーライン"));
        QCOMPARE(check(dialog, "chkStrikethrough")->text(), QStringLiteral("取り消し線"));
        QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("cmdExit"))->isDefault());
        // The Windows face is drawn by the free font with its widths, and the sample says so.
        QCOMPARE(fontUsed(dialog), QStringLiteral("表示に使うﾌｫﾝﾄ：Monapo"));
    }

    void sampleText() {
        SettingsRecord settings;
        settings.LineSpace = 2;
        settings.FontBold = true;
        fomFontSet dialog(settings);
        const QStringList lines = dialog.sampleText().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], QStringLiteral("ＭＳ Ｐゴシック12pt 行間2pt 太字"));
        QCOMPARE(lines[1], QStringLiteral("1122334455|6677889900|1122334455|"));
        QCOMPARE(lines[4], QStringLiteral("ＡＢＣＤＥ|ＦＧＨＩＪ|ＫＬＭＮＯ|"));
        QCOMPARE(lines[5], settings.TextTable1);
        QCOMPARE(lines[6], settings.TextTable2);
        QCOMPARE(lines[7], QString());
        QVERIFY(!dialog.sampleImage().isNull());
    }

    void sampleFollowsTheControls() {
        SettingsRecord settings;
        fomFontSet dialog(settings);
        const QImage before = dialog.sampleImage();
        QTest::mouseClick(check(dialog, "chkItalic"), Qt::LeftButton);
        QVERIFY(dialog.sampleText().startsWith(QStringLiteral("ＭＳ Ｐゴシック12pt 斜体\r\n")));
        type(combo(dialog, "cboFontSize"), QStringLiteral("20"));
        QVERIFY(dialog.sampleText().startsWith(QStringLiteral("ＭＳ Ｐゴシック20pt 斜体\r\n")));
        type(combo(dialog, "cboLineSpace"), QStringLiteral("-3"));
        QVERIFY(
            dialog.sampleText().startsWith(QStringLiteral("ＭＳ Ｐゴシック20pt 行間-3pt 斜体")));
        QVERIFY(dialog.sampleImage() != before);
        // Letters leave the sample at its last size; so does a size beyond 400.
        type(combo(dialog, "cboFontSize"), QStringLiteral("ab"));
        QVERIFY(dialog.sampleText().startsWith(QStringLiteral("ＭＳ Ｐゴシック20pt")));
        // Typed key by key, "500" passes through 5 and 50; pasted whole, it changes nothing.
        combo(dialog, "cboFontSize")->setEditText(QStringLiteral("500"));
        QVERIFY(dialog.sampleText().startsWith(QStringLiteral("ＭＳ Ｐゴシック20pt")));
        QCOMPARE(settings.FontSize, 12.0);
        QCOMPARE(settings.FontItalic, false);
    }

    void sizeOutsideTheList() {
        SettingsRecord settings;
        settings.FontSize = 10.5;
        fomFontSet dialog(settings);
        QCOMPARE(combo(dialog, "cboFontSize")->currentIndex(), -1);
        QCOMPARE(combo(dialog, "cboFontSize")->currentText(), QStringLiteral("10.5"));
        click(dialog, "cmdExit");
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(settings.FontSize, 10.5);
    }

    void checksOnAccepting_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("space");
        QTest::addColumn<QString>("message"); // "" when accepted
        QTest::newRow("401") << "401"
                             << "0"
                             << QStringLiteral(
                                    "サイズが大きすぎです。1 から 400 の間に設定して下さい。");
        QTest::newRow("400") << "400"
                             << "0" << QString();
        QTest::newRow("12 with -12")
            << "12"
            << "-12" << QStringLiteral("行間隔が狭すぎです。-12 より大きい値に設定して下さい。");
        QTest::newRow("12 with -11") << "12"
                                     << "-11" << QString();
        QTest::newRow("letters") << "abc"
                                 << "0" << QStringLiteral("サイズが不正です。");
        QTest::newRow("space letters") << "12"
                                       << "wide" << QStringLiteral("行間隔が不正です。");
        QTest::newRow("0 with a large line space")
            << "0"
            << "10" << QStringLiteral("サイズが小さすぎです。1 から 400 の間に設定して下さい。");
    }
    void checksOnAccepting() {
        QFETCH(QString, size);
        QFETCH(QString, space);
        QFETCH(QString, message);
        SettingsRecord settings;
        fomFontSet dialog(settings);
        dialog.show();
        type(combo(dialog, "cboFontSize"), size);
        type(combo(dialog, "cboLineSpace"), space);
        QTest::mouseClick(check(dialog, "chkUnderline"), Qt::LeftButton);
        click(dialog, "cmdExit");
        if (message.isEmpty()) {
            QVERIFY(m_messages.isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(settings.FontSize, size.toDouble());
            QCOMPARE(settings.LineSpace, space.toDouble());
            QCOMPARE(settings.FontUnderline, true);
        } else {
            QCOMPARE(m_messages, QStringList{message});
            QVERIFY(dialog.isVisible());
            QCOMPARE(settings.FontSize, 12.0);
            QCOMPARE(settings.LineSpace, 0.0);
            QCOMPARE(settings.FontUnderline, false);
        }
    }

    void acceptingStoresEverything() {
        SettingsRecord settings;
        fomFontSet dialog(settings);
        QComboBox* names = combo(dialog, "cboFontName");
        names->setCurrentIndex(names->findText(QStringLiteral("MS Gothic")));
        type(combo(dialog, "cboFontSize"), QStringLiteral("9"));
        combo(dialog, "cboLineSpace")->setCurrentIndex(22);
        for (const char* name : {"chkBold", "chkItalic", "chkUnderline", "chkStrikethrough"})
            QTest::mouseClick(check(dialog, name), Qt::LeftButton);
        click(dialog, "cmdExit");
        QCOMPARE(settings.FontName, QStringLiteral("MS Gothic"));
        QCOMPARE(settings.FontSize, 9.0);
        QCOMPARE(settings.LineSpace, 2.0);
        QVERIFY(settings.FontBold && settings.FontItalic && settings.FontUnderline &&
                settings.FontStrikethrough);
    }

    void cancelLeavesEverything() {
        SettingsRecord settings;
        const SettingsRecord before = settings;
        fomFontSet dialog(settings);
        dialog.show();
        QComboBox* names = combo(dialog, "cboFontName");
        names->setCurrentIndex(names->findText(QStringLiteral("MS Gothic")));
        type(combo(dialog, "cboFontSize"), QStringLiteral("30"));
        type(combo(dialog, "cboLineSpace"), QStringLiteral("5"));
        for (const char* name : {"chkBold", "chkItalic", "chkUnderline", "chkStrikethrough"})
            QTest::mouseClick(check(dialog, name), Qt::LeftButton);
        click(dialog, "cmdCancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(settings.FontName, before.FontName);
        QCOMPARE(settings.FontSize, before.FontSize);
        QCOMPARE(settings.LineSpace, before.LineSpace);
        QCOMPARE(settings.FontBold, before.FontBold);
        QCOMPARE(settings.FontItalic, before.FontItalic);
        QCOMPARE(settings.FontUnderline, before.FontUnderline);
        QCOMPARE(settings.FontStrikethrough, before.FontStrikethrough);
        QVERIFY(m_messages.isEmpty());
    }

    void unknownFaceIsKeptAndItsFallbackNamed() {
        SettingsRecord settings;
        settings.FontName = QStringLiteral("No Such Face 7");
        fomFontSet dialog(settings);
        QCOMPARE(combo(dialog, "cboFontName")->currentText(), QStringLiteral("No Such Face 7"));
        QVERIFY(dialog.sampleText().startsWith(QStringLiteral("No Such Face 712pt\r\n")));
        const QString used = fontUsed(dialog);
        const QString fallback = used.mid(QStringLiteral("表示に使うﾌｫﾝﾄ：").size());
        QVERIFY2(QFontDatabase::families().contains(fallback), qPrintable(used));
        type(combo(dialog, "cboFontSize"), QStringLiteral("14"));
        click(dialog, "cmdExit");
        QCOMPARE(settings.FontName, QStringLiteral("No Such Face 7"));
        QCOMPARE(settings.FontSize, 14.0);
    }

    void emptyFaceDrawsNoSample() {
        SettingsRecord settings;
        settings.FontName.clear();
        fomFontSet dialog(settings);
        QCOMPARE(combo(dialog, "cboFontName")->currentIndex(), -1);
        QVERIFY(dialog.sampleImage().isNull());
        QVERIFY(fontUsed(dialog).isEmpty());
    }

    void enterAcceptsEvenInTheSizeBox() {
        SettingsRecord settings;
        fomFontSet dialog(settings);
        dialog.show();
        QComboBox* size = combo(dialog, "cboFontSize");
        size->setFocus();
        type(size, QStringLiteral("16"));
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.FontSize, 16.0);
        QCOMPARE(size->count(), 22);
    }
};

QTEST_MAIN(FontDialogTest)
#include "FontDialogTest.moc"
