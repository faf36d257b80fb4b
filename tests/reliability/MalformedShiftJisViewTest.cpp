// The text view opens a file of malformed Shift-JIS without a question, shows replacement
// characters, and saving it back asks first (the replacement character has no Shift-JIS code):
// No keeps the file exactly as it was.

#include "ui/TextViewFixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class MalformedShiftJisViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(TextViewFixture::loadMonapo(), "install the Debian package fonts-monapo");
    }

    void openAndSaveBack() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.txt"));
        const QByteArray bytes("\x82\xa0\x81\r\n\x80\xa0\xfd\xfe\xff\r\n\x88", 13);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        }
        TextViewFixture f;
        f.answer = QMessageBox::No;
        f.view->Read(path);
        QVERIFY(f.asked.isEmpty());
        const QString bad(QChar::ReplacementCharacter);
        QCOMPARE(f.view->TextBuf(), QStringLiteral("あ") + bad + QStringLiteral("\r\n") + bad +
                                        bad + bad + bad + bad + QStringLiteral("\r\n") + bad);
        QCOMPARE(f.view->layout().LineCount(), 3);
        // Yes to the overwrite question, No to the one about the characters: the file stays.
        QList<MessageBoxes::Request> asked;
        MessageBoxes::setAnswererForTests([&asked](const MessageBoxes::Request& request) {
            asked.append(request);
            return asked.size() == 1 ? QMessageBox::Yes : QMessageBox::No;
        });
        f.view->mnuFileSave_Click();
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[1].text.contains(bad));
        QCOMPARE(asked[1].defaultButton, QMessageBox::No);
        QCOMPARE(readFile(path), bytes);
        // Yes to both: each replacement character becomes "?".
        f.answer = QMessageBox::Yes;
        MessageBoxes::setAnswererForTests([&f](const MessageBoxes::Request&) { return f.answer; });
        f.view->mnuFileSave_Click();
        QCOMPARE(readFile(path), QByteArray("\x82\xa0?\r\n?????\r\n?"));
    }
};

QTEST_MAIN(MalformedShiftJisViewTest)
#include "MalformedShiftJisViewTest.moc"
