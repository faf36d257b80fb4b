#include "platform/HelpManual.h"
#include "platform/MessageBoxes.h"
#include "platform/VersionText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The about box's version line and where the Help menu finds the manual (the menu commands
// themselves are MainMenuCommandsTest's).
class AboutAndHelpTest : public QObject {
    Q_OBJECT

    QStringList m_messages;
    QList<QUrl> m_opened;

    // Opens the manual from the program's folder PREFIX/bin, with the manual at that place
    // under the prefix ("" none); false when the files could not be made.
    static bool openFrom(const QTemporaryDir& prefix, const QString& manual) {
        if (!QDir(prefix.path()).mkpath(u"bin"_qs))
            return false;
        if (!manual.isEmpty()) {
            QFile file(prefix.filePath(manual));
            if (!QDir(prefix.path()).mkpath(QFileInfo(file).path()) ||
                !file.open(QIODevice::WriteOnly))
                return false;
        }
        HelpManual::open(nullptr, prefix.filePath(u"bin"_qs));
        return true;
    }

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

    void productLine() {
        QCOMPARE(VersionText::productLine(u"Charloom"_qs, 1, 4, 0), u"Charloom Version 1.4"_qs);
        QCOMPARE(VersionText::productLine(u"Charloom"_qs, 1, 4, 3), u"Charloom Version 1.4.3"_qs);
    }

    void manualFound_data() {
        QTest::addColumn<QString>("manual"); // where it lies under the prefix ("" nowhere)
        QTest::newRow("beside the program") << u"bin/Manual.txt"_qs;
        QTest::newRow("installed under share") << u"share/charloom/Manual.txt"_qs;
        QTest::newRow("missing") << QString();
    }
    void manualFound() {
        QFETCH(QString, manual);
        QTemporaryDir prefix;
        QVERIFY(openFrom(prefix, manual));
        if (manual.isEmpty()) {
            QCOMPARE(m_messages, QStringList{u"Charloom|付属の Manual.txt を読んで下さい。"_qs});
            QVERIFY(m_opened.isEmpty());
        } else {
            QVERIFY(m_messages.isEmpty());
            QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(prefix.filePath(manual))});
        }
    }

    void manualIsBesideTheBuiltProgram() {
        const QString bin = qEnvironmentVariable("CHARLOOM_BIN_DIR");
        QVERIFY(!bin.isEmpty());
        QFile manual(HelpManual::manualPath(bin));
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QByteArray bytes = manual.readAll();
        const QString text = QString::fromUtf8(bytes);
        QCOMPARE(text.toUtf8(), bytes); // valid UTF-8
        QVERIFY(text.contains(u"Charloom"_qs));
        QVERIFY(text.contains(u"--"_qs));
    }
};

QTEST_MAIN(AboutAndHelpTest)
#include "AboutAndHelpTest.moc"
