// The text view opens a file of malformed Shift-JIS without a question, shows replacement
// characters, and saving it back asks first (the replacement character has no Shift-JIS code):
// No keeps the file exactly as it was.

#include "ui/TextViewFixture.h"

#include <QFile>
#include <QTemporaryDir>

class MalformedShiftJisViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(TextViewFixture::loadMonapo(), "install the Debian package fonts-monapo");
    }

    void openAndSaveBack() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("bad.txt")));
        const QByteArray bytes("\x82\xa0\x81\r\n\x80\xa0\xfd\xfe\xff\r\n\x88", 13);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const auto saved = [&file] {
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        TextViewFixture f;
        f.view->Read(file.fileName());
        QVERIFY(f.asked.isEmpty());
        const QString bad(QChar::ReplacementCharacter);
        QCOMPARE(f.view->TextBuf(), QStringLiteral("あ") + bad + QStringLiteral("\r\n") +
                                        QString(5, bad[0]) + QStringLiteral("\r\n") + bad);
        QCOMPARE(f.view->layout().LineCount(), 3);
        // Yes to the overwrite question, No to the one about the characters: the file stays.
        MessageBoxes::setAnswererForTests([&f](const MessageBoxes::Request& request) {
            f.asked.append(request);
            return f.asked.size() == 1 ? QMessageBox::Yes : QMessageBox::No;
        });
        f.view->mnuFileSave_Click();
        QCOMPARE(f.asked.size(), 2);
        QVERIFY(f.asked[1].text.contains(bad));
        QCOMPARE(f.asked[1].defaultButton, QMessageBox::No);
        QCOMPARE(saved(), bytes);
        file.close();
        // Yes to both: each replacement character becomes "?".
        MessageBoxes::setAnswererForTests(
            [](const MessageBoxes::Request&) { return QMessageBox::Yes; });
        f.view->mnuFileSave_Click();
        QCOMPARE(saved(), QByteArray("\x82\xa0?\r\n?????\r\n?"));
    }
};

QTEST_MAIN(MalformedShiftJisViewTest)
#include "MalformedShiftJisViewTest.moc"
