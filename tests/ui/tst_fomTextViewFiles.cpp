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

// Writes the bytes to a new file in the folder and returns its path.
QString fileIn(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write the test's file");
    return path;
}

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

} // namespace

class tst_fomTextViewFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(TextViewFixture::loadMonapo(), "install the Debian package fonts-monapo");
    }

    void shiftJisReadAndSavedBackByteForByte() {
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("aa.txt"), shiftJis);
        TextViewFixture f;
        f.view->Read(path);
        QCOMPARE(f.view->TextBuf(), QStringLiteral("／＼\r\n（\u3000）"));
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(f.view->windowTitle(), QStringLiteral("aa.txt - Text View"));
        QCOMPARE(f.view->layout().LineCount(), 2);
        f.view->mnuFileSave_Click();
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text,
                 path + QStringLiteral(" ファイルは既に存在します。\r\n上書きしますか？"));
        QCOMPARE(f.asked[0].icon, MessageBoxes::Icon::Exclamation);
        QCOMPARE(f.asked[0].defaultButton, QMessageBox::No);
        QCOMPARE(readFile(path), shiftJis);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void overwriteAnsweredNoLeavesFileUntouched() {
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("keep.txt"), "old");
        TextViewFixture f;
        f.view->View(QStringLiteral("new"));
        f.answer = QMessageBox::No;
        choose(*f.view, &fomTextView::mnuFileSaveas_Click, path);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(readFile(path), QByteArray("old"));
        QCOMPARE(f.view->windowTitle(), QStringLiteral("Text View"));
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
        QTemporaryDir dir;
        TextViewFixture f;
        f.view->View(QStringLiteral("(´・ω・`)\r\nabc"));
        const Choice choice =
            choose(*f.view, &fomTextView::mnuFileSaveas_Click, dir.filePath(chosen), filterIndex);
        QCOMPARE(choice.action, 2);
        const QString path = dir.filePath(written);
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{written});
        QCOMPARE(f.view->windowTitle(), written + QStringLiteral(" - Text View"));
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
        const auto row = [](const char* name, const char* textFile, const char* picture,
                            const char* proposed, int index) {
            QTest::newRow(name) << QString::fromUtf8(textFile) << QString::fromUtf8(picture)
                                << QString::fromUtf8(proposed) << index;
        };
        row("nothing", "", "", "無題", 1);
        row("picture", "", "/pic/cat.jpg", "/pic/cat", 1);
        row("text file", "/t/a.txt", "/pic/cat.jpg", "/t/a.txt", 1);
        row("bitmap file", "/t/a.Bmp", "", "/t/a.Bmp", 2);
        row("other file", "/t/a.dat", "", "/t/a.dat", 3);
    }
    void saveAsProposals() {
        QFETCH(QString, textFile);
        QFETCH(QString, picture);
        TextViewFixture f;
        f.pictures.path = picture;
        f.view->View(QStringLiteral("x"));
        if (!textFile.isEmpty()) {
            QTemporaryDir dir;
            choose(*f.view, &fomTextView::mnuFileOpen_Click,
                   textFile); // the file is missing: only the name is taken
        }
        const Choice choice = choose(*f.view, &fomTextView::mnuFileSaveas_Click, QString());
        QTEST(choice.shown.FileName, "proposed");
        QTEST(choice.shown.FilterIndex, "index");
        QCOMPARE(choice.shown.DialogTitle, QStringLiteral("出力ﾌｧｲﾙの選択"));
        QCOMPARE(choice.shown.Flags, 2623492);
        QCOMPARE(choice.shown.Filter,
                 QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|画像ﾌｧｲﾙ(bmp)|*.bmp|全てのﾌｧｲﾙ(*.*)|*.*"));
        QCOMPARE(choice.shown.OwnerhWnd, f.view.get());
    }

    void ctrlSAfterBitmapRendersAgain() {
        QTemporaryDir dir;
        TextViewFixture f;
        f.view->View(QStringLiteral("abc"));
        choose(*f.view, &fomTextView::mnuFileSaveas_Click, dir.filePath(QStringLiteral("pic")), 2);
        const QString path = dir.filePath(QStringLiteral("pic.bmp"));
        const QByteArray first = readFile(path);
        f.view->View(QStringLiteral("abcdef"));
        f.view->mnuFileSave_Click();
        QCOMPARE(f.asked.size(), 1);
        QVERIFY(f.asked[0].text.endsWith(QStringLiteral("上書きしますか？")));
        QImage saved;
        QVERIFY(saved.loadFromData(readFile(path), "BMP"));
        QCOMPARE(saved.width(), f.view->layout().TxtWidth());
        QVERIFY(readFile(path) != first);
    }

    void failedRenderingKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("old.bmp"), "OLD");
        TextViewFixture f;
        f.view->View(QString());
        choose(*f.view, &fomTextView::mnuFileSaveas_Click, path, 2);
        QCOMPARE(f.asked.size(), 2);
        QCOMPARE(f.asked[1].text, QStringLiteral("画像形式のコピーはできません"));
        QCOMPARE(readFile(path), QByteArray("OLD"));
    }

    void failedWriteKeepsOldFile() {
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("old.txt"), "OLD");
        TextViewFixture f;
        f.view->View(QString(100000, u'x'));
        {
            const FileSizeLimit fullDisk(10000); // the write comes up short
            QVERIFY(fullDisk.ok());
            choose(*f.view, &fomTextView::mnuFileSaveas_Click, path);
        }
        QCOMPARE(f.asked.size(), 2);
        QCOMPARE(f.asked[1].text, path + QStringLiteral("に保存できません。"));
        QCOMPARE(f.asked[1].icon, MessageBoxes::Icon::Critical);
        QCOMPARE(readFile(path), QByteArray("OLD"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(f.view->windowTitle(), QStringLiteral("Text View"));
    }

    void unencodableCharactersAreAskedAbout_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No writes nothing") << false;
        QTest::newRow("Yes writes question marks") << true;
    }
    void unencodableCharactersAreAskedAbout() {
        QFETCH(bool, yes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("u.txt"));
        TextViewFixture f;
        f.answer = yes ? QMessageBox::Yes : QMessageBox::No;
        f.view->View(QStringLiteral("aé한b"));
        choose(*f.view, &fomTextView::mnuFileSaveas_Click, path);
        QCOMPARE(f.asked.size(), 1);
        QVERIFY(f.asked[0].text.contains(QStringLiteral("é한")));
        QCOMPARE(f.asked[0].defaultButton, QMessageBox::No);
        if (yes) {
            QCOMPARE(readFile(path), QByteArray("a??b"));
            QCOMPARE(f.view->windowTitle(), QStringLiteral("u.txt - Text View"));
        } else {
            QVERIFY(!QFile::exists(path));
            QCOMPARE(f.view->windowTitle(), QStringLiteral("Text View"));
        }
    }

    // An empty text saved as text is an empty file, not a failure.
    void emptyTextSavesEmptyFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("e.txt"));
        TextViewFixture f;
        f.view->View(QString());
        choose(*f.view, &fomTextView::mnuFileSaveas_Click, path);
        QVERIFY(f.asked.isEmpty());
        QCOMPARE(readFile(path), QByteArray());
        QCOMPARE(f.view->windowTitle(), QStringLiteral("e.txt - Text View"));
    }

    void missingFile() {
        TextViewFixture f;
        f.view->Read(QStringLiteral("/nonexistent/x.txt"));
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text, QStringLiteral("/nonexistent/x.txt ファイルは存在しません。"));
        QCOMPARE(f.view->TextFileName(), QStringLiteral("/nonexistent/x.txt"));
    }

    void binaryFile_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the text") << false;
        QTest::newRow("Yes reads it") << true;
    }
    void binaryFile() {
        QFETCH(bool, yes);
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("b.dat"), QByteArray("ab\0c", 4));
        TextViewFixture f;
        f.view->View(QStringLiteral("before"));
        f.answer = yes ? QMessageBox::Yes : QMessageBox::No;
        f.view->Read(path);
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text,
                 path + QStringLiteral(" はバイナリデータが含まれています。強行しますか？"));
        QCOMPARE(f.asked[0].defaultButton, QMessageBox::No);
        QCOMPARE(f.view->TextBuf(),
                 yes ? QString::fromLatin1("ab\0c", 4) : QStringLiteral("before"));
        QCOMPARE(f.view->windowTitle(),
                 yes ? QStringLiteral("b.dat - Text View") : QStringLiteral("Text View"));
    }

    void emptyFileReadsAsEmptyText() {
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("e.txt"), QByteArray());
        TextViewFixture f;
        f.view->View(QStringLiteral("before"));
        f.view->Read(path);
        QCOMPARE(f.view->TextBuf(), QString());
        QVERIFY(f.box()->isHidden());
        QCOMPARE(f.view->windowTitle(), QStringLiteral("e.txt - Text View"));
    }

    void openDialog() {
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("o.txt"), "hello");
        TextViewFixture f;
        f.view->View(QStringLiteral("x"));
        const Choice cancel = choose(*f.view, &fomTextView::mnuFileOpen_Click, QString());
        QCOMPARE(cancel.action, 1);
        QCOMPARE(cancel.shown.DialogTitle, QStringLiteral("入力ﾌｧｲﾙの選択"));
        QCOMPARE(cancel.shown.Flags, 2625540);
        QCOMPARE(cancel.shown.Filter, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(txt)|*.txt|全てのﾌｧｲﾙ(*.*)|*.*"));
        QCOMPARE(f.view->TextBuf(), QStringLiteral("x"));
        choose(*f.view, &fomTextView::mnuFileOpen_Click, path);
        QCOMPARE(f.view->TextBuf(), QStringLiteral("hello"));
        QCOMPARE(f.view->TextFileName(), path);
    }

    void droppedFileIsRead_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("picCopyBuf") << "picCopyBuf";
        QTest::newRow("picView") << "picView";
    }
    void droppedFileIsRead() {
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("d.txt"), shiftJis);
        TextViewFixture f;
        f.view->View(QStringLiteral("x"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QWidget* widget = f.view->findChild<QWidget*>(target);
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &drop);
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(f.view->TextBuf(), QStringLiteral("／＼\r\n（\u3000）"));
        QCOMPARE(f.view->windowTitle(), QStringLiteral("d.txt - Text View"));
    }

    void copyThenPasteKeepsText() {
        TextViewFixture f;
        f.view->View(QStringLiteral("a\r\n b"));
        f.view->mnuEditCopy_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\n b"));
        f.view->View(QStringLiteral("other"));
        f.view->mnuEditPaste_Click();
        QCOMPARE(f.view->TextBuf(), QStringLiteral("a\r\n b"));
        QCOMPARE(f.view->layout().LineCount(), 2);
    }

    void cutEmptiesTheView() {
        TextViewFixture f;
        f.view->View(QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("stale"));
        f.view->mnuEditCut_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        f.view->View(QStringLiteral("abc"));
        f.view->mnuEditCut_Click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));
        QCOMPARE(f.view->TextBuf(), QString());
        QVERIFY(f.box()->isHidden());
    }

    void pasteTakesLineFeedText() {
        TextViewFixture f;
        f.view->View(QStringLiteral("x"));
        QGuiApplication::clipboard()->setText(QStringLiteral("a\nb\r\nc"));
        f.view->mnuEditPaste_Click();
        QCOMPARE(f.view->TextBuf(), QStringLiteral("a\r\nb\r\nc"));
        QGuiApplication::clipboard()->setImage(QImage(2, 2, QImage::Format_RGB32));
        f.view->mnuEditPaste_Click();
        QCOMPARE(f.view->TextBuf(), QStringLiteral("a\r\nb\r\nc"));
    }

    void removeMargins() {
        TextViewFixture f;
        f.view->View(QStringLiteral("  ab  \r\n   c\r\n\r\n    "));
        f.view->mnuEditResize_Click();
        QCOMPARE(f.view->TextBuf(), QStringLiteral("ab\r\n c"));
        QCOMPARE(f.view->layout().LineCount(), 2);
        QCOMPARE(f.view->windowTitle(), QStringLiteral("Text View"));
    }

    void copyAsPicture() {
        TextViewFixture f;
        f.view->View(QString());
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
        f.view->mnuEditPicCopy_Click();
        QCOMPARE(f.asked.size(), 1);
        QCOMPARE(f.asked[0].text, QStringLiteral("画像形式のコピーはできません"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
        f.view->View(QStringLiteral("(´・ω・`)"));
        f.view->mnuEditPicCopy_Click();
        QCOMPARE(f.asked.size(), 1);
        QImage expected;
        QCOMPARE(f.view->PicDrawAll(expected), 0);
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 expected);
    }

    void viewKeepsFileAndCaption() {
        QTemporaryDir dir;
        const QString path = fileIn(dir, QStringLiteral("k.txt"), "k");
        TextViewFixture f;
        f.view->Read(path);
        f.view->View(QStringLiteral("converted"));
        QCOMPARE(f.view->TextFileName(), path);
        QCOMPARE(f.view->windowTitle(), QStringLiteral("k.txt - Text View"));
        f.view->detachFile();
        QCOMPARE(f.view->TextFileName(), QString());
        QCOMPARE(f.view->windowTitle(), QStringLiteral("Text View"));
    }
};

QTEST_MAIN(tst_fomTextViewFiles)
#include "tst_fomTextViewFiles.moc"
