#include "TextViewFixture.h"

#include "common/FileSizeLimit.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

namespace {

// "／＼" CR LF "（　）" in Shift-JIS.
const QByteArray shiftJis("\x81\x5e\x81\x5f\r\n\x81\x69\x81\x40\x81\x6a");
const QString shiftJisText = u"／＼\r\n（\u3000）"_qs;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The dialog's answer: this name with this filter, after noting what it was shown.
struct Choice {
    QString fileName;
    int filterIndex = 1;
    clsComDlg shown;
    int action = 0;
};

// Runs a File menu command whose dialog answers with this name and filter.
Choice choose(fomTextView& view, void (fomTextView::*command)(), const QString& fileName,
              int filterIndex = 1) {
    Choice choice{fileName, filterIndex, {}, 0};
    clsComDlg::setChooserForTests([&choice](clsComDlg& dialog, int action) {
        choice.shown = dialog;
        choice.action = action;
        dialog.FileName = choice.fileName;
        dialog.FilterIndex = choice.filterIndex;
    });
    (view.*command)();
    clsComDlg::setChooserForTests({});
    return choice;
}

// The text view with a folder for its files.
struct FilesFixture : TextViewFixture {
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    // Writes the bytes to a new file in the folder and returns its path.
    QString file(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write the test's file");
        return f.fileName();
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    Choice open(const QString& fileName) {
        return choose(*view, &fomTextView::mnuFileOpen_Click, fileName);
    }
    Choice saveAs(const QString& fileName, int filterIndex = 1) {
        return choose(*view, &fomTextView::mnuFileSaveas_Click, fileName, filterIndex);
    }
};

} // namespace

class tst_fomTextViewFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(TextViewFixture::loadMonapo(), "install the Debian package fonts-monapo");
    }

    void shiftJisReadAndSavedBackByteForByte() {
        FilesFixture f;
        const QString path = f.file(u"aa.txt"_qs, shiftJis);
        f.view->Read(path);
        QCOMPARE(f.view->TextBuf(), shiftJisText);
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(f.view->windowTitle(), u"aa.txt - Text View"_qs);
        QCOMPARE(f.view->layout().LineCount(), 2);
        f.view->mnuFileSave_Click();
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text, path + u" ファイルは既に存在します。\r\n上書きしますか？"_qs);
        QCOMPARE(f.asked[0].icon, MessageBoxes::Icon::Exclamation);
        QCOMPARE(f.asked[0].defaultButton, QMessageBox::No);
        QCOMPARE(readFile(path), shiftJis);
        QCOMPARE(f.files().size(), 1);
    }

    void overwriteAnsweredNoLeavesFileUntouched() {
        FilesFixture f;
        const QString path = f.file(u"keep.txt"_qs, "old");
        f.view->View(u"new"_qs);
        f.answer = QMessageBox::No;
        f.saveAs(path);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(readFile(path), QByteArray("old"));
        QCOMPARE(f.view->windowTitle(), u"Text View"_qs);
        QCOMPARE(f.view->TextFileName(), path);
    }

    void saveAsNameRules_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("bitmap");
        QTest::newRow("bitmap filter adds .bmp") << "out" << 2 << "out.bmp" << true;
        QTest::newRow("text filter on out.bmp adds .txt")
            << "out.bmp" << 1 << "out.bmp.txt" << false;
        QTest::newRow("all files adds .txt") << "out" << 3 << "out.txt" << false;
        QTest::newRow("bitmap in capitals") << "OUT.BMP" << 2 << "OUT.BMP" << true;
        QTest::newRow("text kept") << "a.TXT" << 1 << "a.TXT" << false;
    }
    void saveAsNameRules() {
        QFETCH(QString, chosen);
        QFETCH(int, filterIndex);
        QFETCH(QString, written);
        QFETCH(bool, bitmap);
        FilesFixture f;
        f.view->View(u"(´・ω・`)\r\nabc"_qs);
        QCOMPARE(f.saveAs(f.path(chosen), filterIndex).action, 2);
        const QString path = f.path(written);
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(f.files(), QStringList{written});
        QCOMPARE(f.view->windowTitle(), written + u" - Text View"_qs);
        const QByteArray bytes = readFile(path);
        if (!bitmap) {
            QCOMPARE(bytes, QByteArray("(\x81\x4c\x81\x45\x83\xd6\x81\x45`)\r\nabc"));
            return;
        }
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(static_cast<int>(bytes[28]), 24);
        QImage expected;
        QCOMPARE(f.view->PicDrawAll(expected), 0);
        QImage saved;
        QVERIFY(saved.loadFromData(bytes, "BMP"));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), expected);
    }

    void saveAsProposals_data() {
        QTest::addColumn<QString>("textFile");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<int>("index");
        QTest::newRow("nothing") << QString() << QString() << u"無題"_qs << 1;
        QTest::newRow("picture") << QString() << u"/pic/cat.jpg"_qs << u"/pic/cat"_qs << 1;
        QTest::newRow("text file") << u"/t/a.txt"_qs << u"/pic/cat.jpg"_qs << u"/t/a.txt"_qs << 1;
        QTest::newRow("bitmap file") << u"/t/a.Bmp"_qs << QString() << u"/t/a.Bmp"_qs << 2;
        QTest::newRow("other file") << u"/t/a.dat"_qs << QString() << u"/t/a.dat"_qs << 3;
    }
    void saveAsProposals() {
        QFETCH(QString, textFile);
        QFETCH(QString, picture);
        FilesFixture f;
        f.pictures.path = picture;
        f.view->View(u"x"_qs);
        if (!textFile.isEmpty()) // the file is missing: only the name is taken
            f.open(textFile);
        const Choice choice = f.saveAs(QString());
        QTEST(choice.shown.FileName, "proposed");
        QTEST(choice.shown.FilterIndex, "index");
        QCOMPARE(choice.shown.Flags, 2623492);
        QCOMPARE(choice.shown.Filter,
                 u"ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|画像ﾌｧｲﾙ(bmp)|*.bmp|全てのﾌｧｲﾙ(*.*)|*.*"_qs);
    }

    void ctrlSAfterBitmapRendersAgain() {
        FilesFixture f;
        f.view->View(u"abc"_qs);
        f.saveAs(f.path(u"pic"_qs), 2);
        const QString path = f.path(u"pic.bmp"_qs);
        const QByteArray first = readFile(path);
        f.view->View(u"abcdef"_qs);
        f.view->mnuFileSave_Click();
        QCOMPARE(f.asked.size(), 1);
        QVERIFY(f.asked[0].text.endsWith(u"上書きしますか？"_qs));
        QImage saved;
        QVERIFY(saved.loadFromData(readFile(path), "BMP"));
        QCOMPARE(saved.width(), f.view->layout().TxtWidth());
        QVERIFY(readFile(path) != first);
    }

    void failedRenderingKeepsOldFile() {
        FilesFixture f;
        const QString path = f.file(u"old.bmp"_qs, "OLD");
        f.view->View(QString());
        f.saveAs(path, 2);
        QCOMPARE(f.asked.size(), 2);
        QCOMPARE(f.asked[1].text, u"画像形式のコピーはできません"_qs);
        QCOMPARE(readFile(path), QByteArray("OLD"));
    }

    void failedWriteKeepsOldFile() {
        FilesFixture f;
        const QString path = f.file(u"old.txt"_qs, "OLD");
        f.view->View(QString(100000, u'x'));
        {
            const FileSizeLimit fullDisk(10000); // the write comes up short
            QVERIFY(fullDisk.ok());
            f.saveAs(path);
        }
        QCOMPARE(f.asked.size(), 2);
        QCOMPARE(f.asked[1].text, path + u"に保存できません。"_qs);
        QCOMPARE(f.asked[1].icon, MessageBoxes::Icon::Critical);
        QCOMPARE(readFile(path), QByteArray("OLD"));
        QCOMPARE(f.files().size(), 1);
        QCOMPARE(f.view->windowTitle(), u"Text View"_qs);
    }

    void unencodableCharactersAreAskedAbout_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No writes nothing") << false;
        QTest::newRow("Yes writes question marks") << true;
    }
    void unencodableCharactersAreAskedAbout() {
        QFETCH(bool, yes);
        FilesFixture f;
        const QString path = f.path(u"u.txt"_qs);
        f.answer = yes ? QMessageBox::Yes : QMessageBox::No;
        f.view->View(u"aé한b"_qs);
        f.saveAs(path);
        QCOMPARE(f.asked.size(), 1);
        QVERIFY(f.asked[0].text.contains(u"é한"_qs));
        QCOMPARE(f.asked[0].defaultButton, QMessageBox::No);
        QCOMPARE(readFile(path), yes ? QByteArray("a??b") : QByteArray("<missing>"));
        QCOMPARE(f.view->windowTitle(), yes ? u"u.txt - Text View"_qs : u"Text View"_qs);
    }

    // An empty text saved as text is an empty file, not a failure; read back, it is empty.
    void emptyTextSavesEmptyFile() {
        FilesFixture f;
        const QString path = f.path(u"e.txt"_qs);
        f.view->View(QString());
        f.saveAs(path);
        QVERIFY(f.asked.isEmpty());
        QCOMPARE(readFile(path), QByteArray());
        QCOMPARE(f.view->windowTitle(), u"e.txt - Text View"_qs);
        f.view->View(u"before"_qs);
        f.view->Read(path);
        QCOMPARE(f.view->TextBuf(), QString());
        QVERIFY(f.box()->isHidden());
    }

    void missingFile() {
        FilesFixture f;
        f.view->Read(u"/nonexistent/x.txt"_qs);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text, u"/nonexistent/x.txt ファイルは存在しません。"_qs);
        QCOMPARE(f.view->TextFileName(), u"/nonexistent/x.txt"_qs);
    }

    void binaryFile_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the text") << false;
        QTest::newRow("Yes reads it") << true;
    }
    void binaryFile() {
        QFETCH(bool, yes);
        FilesFixture f;
        const QString path = f.file(u"b.dat"_qs, QByteArray("ab\0c", 4));
        f.view->View(u"before"_qs);
        f.answer = yes ? QMessageBox::Yes : QMessageBox::No;
        f.view->Read(path);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text, path + u" はバイナリデータが含まれています。強行しますか？"_qs);
        QCOMPARE(f.asked[0].defaultButton, QMessageBox::No);
        QCOMPARE(f.view->TextBuf(), yes ? QString::fromLatin1("ab\0c", 4) : u"before"_qs);
        QCOMPARE(f.view->windowTitle(), yes ? u"b.dat - Text View"_qs : u"Text View"_qs);
    }

    void openDialog() {
        FilesFixture f;
        const QString path = f.file(u"o.txt"_qs, "hello");
        f.view->View(u"x"_qs);
        const Choice cancel = f.open(QString());
        QCOMPARE(cancel.action, 1);
        QCOMPARE(cancel.shown.Flags, 2625540);
        QCOMPARE(cancel.shown.Filter, u"ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|全てのﾌｧｲﾙ(*.*)|*.*"_qs);
        QCOMPARE(f.view->TextBuf(), u"x"_qs);
        f.open(path);
        QCOMPARE(f.view->TextBuf(), u"hello"_qs);
        QCOMPARE(f.view->TextFileName(), path);
    }

    void droppedFileIsRead_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("picCopyBuf") << "picCopyBuf";
        QTest::newRow("picView") << "picView";
    }
    void droppedFileIsRead() {
        QFETCH(QString, target);
        FilesFixture f;
        const QString path = f.file(u"d.txt"_qs, shiftJis);
        f.view->View(u"x"_qs);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QWidget* widget = f.view->findChild<QWidget*>(target);
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &drop);
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(f.view->TextBuf(), shiftJisText);
        QCOMPARE(f.view->windowTitle(), u"d.txt - Text View"_qs);
    }

    // Paste turns lone line feeds into CR LF and ignores a picture on the clipboard.
    void copyThenPaste() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        FilesFixture f;
        f.view->View(u"a\r\n b"_qs);
        f.view->mnuEditCopy_Click();
        QCOMPARE(clipboard->text(), u"a\r\n b"_qs);
        f.view->View(u"other"_qs);
        f.view->mnuEditPaste_Click();
        QCOMPARE(f.view->TextBuf(), u"a\r\n b"_qs);
        QCOMPARE(f.view->layout().LineCount(), 2);
        clipboard->setText(u"a\nb\r\nc"_qs);
        f.view->mnuEditPaste_Click();
        QCOMPARE(f.view->TextBuf(), u"a\r\nb\r\nc"_qs);
        clipboard->setImage(QImage(2, 2, QImage::Format_RGB32));
        f.view->mnuEditPaste_Click();
        QCOMPARE(f.view->TextBuf(), u"a\r\nb\r\nc"_qs);
    }

    void cutEmptiesTheView() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        FilesFixture f;
        f.view->View(QString());
        clipboard->setText(u"stale"_qs);
        f.view->mnuEditCut_Click();
        QCOMPARE(clipboard->text(), QString());
        f.view->View(u"abc"_qs);
        f.view->mnuEditCut_Click();
        QCOMPARE(clipboard->text(), u"abc"_qs);
        QCOMPARE(f.view->TextBuf(), QString());
        QVERIFY(f.box()->isHidden());
    }

    void copyAsPicture() {
        FilesFixture f;
        f.view->View(QString());
        QGuiApplication::clipboard()->setText(u"kept"_qs);
        f.view->mnuEditPicCopy_Click();
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text, u"画像形式のコピーはできません"_qs);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"kept"_qs);
        f.view->View(u"(´・ω・`)"_qs);
        f.view->mnuEditPicCopy_Click();
        QCOMPARE(f.asked.size(), 1);
        QImage expected;
        QCOMPARE(f.view->PicDrawAll(expected), 0);
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 expected);
    }

    void viewKeepsFileAndCaption() {
        FilesFixture f;
        const QString path = f.file(u"k.txt"_qs, "k");
        f.view->Read(path);
        f.view->View(u"converted"_qs);
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(f.view->windowTitle(), u"k.txt - Text View"_qs);
        f.view->detachFile();
        QCOMPARE(f.view->TextFileName(), QString());
        QCOMPARE(f.view->windowTitle(), u"Text View"_qs);
    }
};

QTEST_MAIN(tst_fomTextViewFiles)
#include "tst_fomTextViewFiles.moc"
