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
    static void type(QComboBox* box, const QString& text) {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
    }
    static void click(fomFontSet& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QAbstractButton*>(QLatin1StringView(name)),
                          Qt::LeftButton);
    }
    static void clickAllStyles(fomFontSet& dialog) {
        for (const char* name : {"chkBold", "chkItalic", "chkUnderline", "chkStrikethrough"})
            click(dialog, name);
    }
    static QString fontUsed(fomFontSet& dialog) {
        return dialog.findChild<QLabel*>(u"lblFontUsed"_qs)->text();
    }

private slots:
    void initTestCase() {
        const int id =
            QFontDatabase::addApplicationFont(u"/usr/share/fonts/truetype/monapo/monapo.ttf"_qs);
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
        settings.LineSpace = 2;
        settings.FontBold = true;
        fomFontSet dialog(settings);
        // Listed and selected although not installed.
        QCOMPARE(combo(dialog, "cboFontName")->currentText(), u"ＭＳ Ｐゴシック"_qs);
        QComboBox* size = combo(dialog, "cboFontSize");
        QCOMPARE(size->count(), 22);
        QCOMPARE(size->itemText(21), u"72"_qs);
        QCOMPARE(size->currentIndex(), 10);
        QCOMPARE(size->currentText(), u"12"_qs);
        QComboBox* space = combo(dialog, "cboLineSpace");
        QCOMPARE(space->count(), 41);
        QCOMPARE(space->itemText(0), u"-20"_qs);
        QCOMPARE(space->currentText(), u"2"_qs);
        // The Windows face is drawn by the free font with its widths, and the sample says so.
        QCOMPARE(fontUsed(dialog), u"表示に使うﾌｫﾝﾄ：Monapo"_qs);
        const QStringList lines = dialog.sampleText().split(u"\r\n"_qs);
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], u"ＭＳ Ｐゴシック12pt 行間2pt 太字"_qs);
        QCOMPARE(lines[5], settings.TextTable1);
        QCOMPARE(lines[6], settings.TextTable2);
        QVERIFY(!dialog.sampleImage().isNull());
    }

    void sampleFollowsTheControls() {
        SettingsRecord settings;
        fomFontSet dialog(settings);
        const QImage before = dialog.sampleImage();
        const auto descStarts = [&dialog](const QString& start) {
            return dialog.sampleText().startsWith(start);
        };
        click(dialog, "chkItalic");
        QVERIFY(descStarts(u"ＭＳ Ｐゴシック12pt 斜体\r\n"_qs));
        type(combo(dialog, "cboFontSize"), u"20"_qs);
        QVERIFY(descStarts(u"ＭＳ Ｐゴシック20pt 斜体\r\n"_qs));
        type(combo(dialog, "cboLineSpace"), u"-3"_qs);
        QVERIFY(descStarts(u"ＭＳ Ｐゴシック20pt 行間-3pt 斜体"_qs));
        QVERIFY(dialog.sampleImage() != before);
        // Letters leave the sample at its last size; so does a size beyond 400.
        type(combo(dialog, "cboFontSize"), u"ab"_qs);
        QVERIFY(descStarts(u"ＭＳ Ｐゴシック20pt"_qs));
        // Typed key by key, "500" passes through 5 and 50; pasted whole, it changes nothing.
        combo(dialog, "cboFontSize")->setEditText(u"500"_qs);
        QVERIFY(descStarts(u"ＭＳ Ｐゴシック20pt"_qs));
        QCOMPARE(settings.FontSize, 12.0);
        QCOMPARE(settings.FontItalic, false);
    }

    void sizeOutsideTheList() {
        SettingsRecord settings;
        settings.FontSize = 10.5;
        fomFontSet dialog(settings);
        QCOMPARE(combo(dialog, "cboFontSize")->currentIndex(), -1);
        QCOMPARE(combo(dialog, "cboFontSize")->currentText(), u"10.5"_qs);
        click(dialog, "cmdExit");
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(settings.FontSize, 10.5);
    }

    void checksOnAccepting_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("space");
        QTest::addColumn<QString>("message"); // "" when accepted
        QTest::newRow("401") << u"401"_qs << u"0"_qs
                             << u"サイズが大きすぎです。1 から 400 の間に設定して下さい。"_qs;
        QTest::newRow("400") << u"400"_qs << u"0"_qs << QString();
        QTest::newRow("12 with -12")
            << u"12"_qs << u"-12"_qs
            << u"行間隔が狭すぎです。-12 より大きい値に設定して下さい。"_qs;
        QTest::newRow("12 with -11") << u"12"_qs << u"-11"_qs << QString();
        QTest::newRow("letters") << u"abc"_qs << u"0"_qs << u"サイズが不正です。"_qs;
        QTest::newRow("space letters") << u"12"_qs << u"wide"_qs << u"行間隔が不正です。"_qs;
        QTest::newRow("0 with a large line space")
            << u"0"_qs << u"10"_qs << u"サイズが小さすぎです。1 から 400 の間に設定して下さい。"_qs;
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
        click(dialog, "chkUnderline");
        click(dialog, "cmdExit");
        const bool accepted = message.isEmpty();
        QCOMPARE(m_messages, accepted ? QStringList() : QStringList{message});
        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(settings.FontSize, accepted ? size.toDouble() : 12.0);
        QCOMPARE(settings.LineSpace, accepted ? space.toDouble() : 0.0);
        QCOMPARE(settings.FontUnderline, accepted);
    }

    void acceptOrCancel_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("戻る stores everything") << true;
        QTest::newRow("Cancel leaves everything") << false;
    }
    void acceptOrCancel() {
        QFETCH(bool, accept);
        SettingsRecord settings;
        fomFontSet dialog(settings);
        dialog.show();
        QComboBox* names = combo(dialog, "cboFontName");
        names->setCurrentIndex(names->findText(u"MS Gothic"_qs));
        type(combo(dialog, "cboFontSize"), u"9"_qs);
        combo(dialog, "cboLineSpace")->setCurrentIndex(22);
        clickAllStyles(dialog);
        click(dialog, accept ? "cmdExit" : "cmdCancel");
        QCOMPARE(dialog.result(), int(accept ? QDialog::Accepted : QDialog::Rejected));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(settings.FontName, accept ? u"MS Gothic"_qs : u"ＭＳ Ｐゴシック"_qs);
        QCOMPARE(settings.FontSize, accept ? 9.0 : 12.0);
        QCOMPARE(settings.LineSpace, accept ? 2.0 : 0.0);
        for (bool style : {settings.FontBold, settings.FontItalic, settings.FontUnderline,
                           settings.FontStrikethrough})
            QCOMPARE(style, accept);
    }

    void unknownFaceIsKeptAndItsFallbackNamed() {
        SettingsRecord settings;
        settings.FontName = u"No Such Face 7"_qs;
        fomFontSet dialog(settings);
        QCOMPARE(combo(dialog, "cboFontName")->currentText(), u"No Such Face 7"_qs);
        QVERIFY(dialog.sampleText().startsWith(u"No Such Face 712pt\r\n"_qs));
        const QString used = fontUsed(dialog);
        const QString fallback = used.mid(u"表示に使うﾌｫﾝﾄ："_qs.size());
        QVERIFY2(QFontDatabase::families().contains(fallback), qPrintable(used));
        type(combo(dialog, "cboFontSize"), u"14"_qs);
        click(dialog, "cmdExit");
        QCOMPARE(settings.FontName, u"No Such Face 7"_qs);
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
        type(size, u"16"_qs);
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings.FontSize, 16.0);
        QCOMPARE(size->count(), 22);
    }
};

QTEST_MAIN(FontDialogTest)
#include "FontDialogTest.moc"
