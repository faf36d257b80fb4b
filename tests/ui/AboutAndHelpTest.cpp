#include "platform/HelpManual.h"
#include "platform/MessageBoxes.h"
#include "platform/VersionText.h"
#include "platform/fomVersion.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The about box's version line and the Help menu's manual.
class AboutAndHelpTest : public QObject {
    Q_OBJECT

    QStringList m_messages;
    QList<QUrl> m_opened;

private slots:
    void initTestCase() {
        MessageBoxes::setAnswererForTests([this](const MessageBoxes::Request& request) {
            m_messages.append(request.caption + u'|' + request.text);
            return QMessageBox::Ok;
        });
        HelpManual::setOpenerForTests([this](const QUrl& url) {
            m_opened.append(url);
            return true;
        });
    }
    void init() {
        m_messages.clear();
        m_opened.clear();
    }

    void productLine_data() {
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("expected");
        QTest::newRow("revision 0") << 0 << QStringLiteral("Charloom Version 1.4");
        QTest::newRow("revision 3") << 3 << QStringLiteral("Charloom Version 1.4.3");
    }
    void productLine() {
        QFETCH(int, revision);
        QFETCH(QString, expected);
        QCOMPARE(VersionText::productLine(QStringLiteral("Charloom"), 1, 4, revision), expected);
    }

    void aboutBox() {
        fomVersion dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Charloom Version 1.4"));
        QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("Label3"))->text().isEmpty());
        QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("cmdOk"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        dialog.show();
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }

    void manualPath() {
        QCOMPARE(HelpManual::manualPath(QStringLiteral("/opt/charloom")),
                 QStringLiteral("/opt/charloom/Manual.txt"));
        QCOMPARE(HelpManual::manualPath(QStringLiteral("/")), QStringLiteral("/Manual.txt"));
    }

    void missingManual() {
        QTemporaryDir dir;
        HelpManual::open(nullptr, dir.path());
        QCOMPARE(m_messages,
                 QStringList{QStringLiteral("Charloom|付属の Manual.txt を読んで下さい。")});
        QVERIFY(m_opened.isEmpty());
    }

    void manualOpensInTheViewer() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("Manual.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        HelpManual::open(nullptr, dir.path());
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(file.fileName())});
    }

    void installedManualUnderShare() {
        // Installed under a prefix: PREFIX/bin/charloom and PREFIX/share/charloom/Manual.txt.
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
        QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("share/charloom")));
        QFile file(prefix.filePath(QStringLiteral("share/charloom/Manual.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        HelpManual::open(nullptr, prefix.filePath(QStringLiteral("bin")));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(file.fileName())});
    }

    void manualIsBesideTheBuiltProgram() {
        const QString bin = qEnvironmentVariable("CHARLOOM_BIN_DIR");
        QVERIFY(!bin.isEmpty());
        QFile manual(HelpManual::manualPath(bin));
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QByteArray bytes = manual.readAll();
        const QString text = QString::fromUtf8(bytes);
        QCOMPARE(text.toUtf8(), bytes); // valid UTF-8
        QVERIFY(text.contains(QStringLiteral("Charloom")));
        QVERIFY(text.contains(QStringLiteral("--")));
    }
};

QTEST_MAIN(AboutAndHelpTest)
#include "AboutAndHelpTest.moc"
