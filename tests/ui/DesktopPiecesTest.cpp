// The desktop program's pieces around the main window: the single-instance socket, signals
// turned into a close, and the main window linked to the real text view window.

#include "MainWindowHarness.h"

#include "app/SignalCloser.h"
#include "app/SingleInstance.h"
#include "convert/ConvNormal.h"

#include <QSignalSpy>

#include <csignal>

class DesktopPiecesTest : public QObject {
    Q_OBJECT
private slots:
    void secondCopyRaisesTheFirst() {
        const QString name = u"charloom-test-%1"_qs.arg(QCoreApplication::applicationPid());
        SingleInstance first(name);
        SingleInstance second(name);
        QVERIFY(!second.askRunningCopyToRaise()); // nobody listens yet
        QVERIFY(first.listen());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        QVERIFY(second.askRunningCopyToRaise());
        QVERIFY(raised.wait());
    }

    void signalRequestsAClose_data() {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }
    void signalRequestsAClose() {
        QFETCH(int, sig);
        SignalCloser closer;
        QSignalSpy requested(&closer, &SignalCloser::closeRequested);
        std::raise(sig);
        QVERIFY(requested.wait());
        QCOMPARE(requested.count(), 1);
    }

    void convertShowsTheTextView() {
        QTemporaryDir dir;
        const QString path = writePicture(dir, u"cat.png"_qs, filledImage(80, 40));
        LinkedWindows l;
        l.main.setConverter(ConvNormal);
        l.main.Form_Load();
        l.main.show();
        l.main.OLEDragDrop({QUrl::fromLocalFile(path)});
        l.main.findChild<QLineEdit*>(u"txtLines"_qs)->setText(u"4"_qs);
        l.main.cmdWrite_Click();
        QVERIFY(l.textView.isVisible());
        QCOMPARE(l.textView.window()->TextBuf().count(u"\r\n"_qs), 3);
        QCOMPARE(l.textView.selectionPicture().size(), QSize(80, 40));
        QCOMPARE(l.textView.pictureFileName(), path);
        l.main.close();
        QVERIFY(!l.textView.isVisible());
        QVERIFY(l.file.stored.TextWindow.Width > 0);
    }

    void newPictureDetachesTheTextView() {
        QTemporaryDir dir;
        QFile text(dir.filePath(u"NOTE.TXT"_qs));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("abc\r\n");
        text.close();
        LinkedWindows l;
        l.main.setCommandLine(text.fileName());
        l.main.Form_Load();
        l.main.show();
        l.main.Form_Activate();
        QVERIFY(l.textView.isVisible());
        QCOMPARE(l.textView.window()->TextFileName(), text.fileName());
        QCOMPARE(l.textView.window()->windowTitle(), u"NOTE.TXT - Text View"_qs);
        l.main.PicLoad(writePicture(dir, u"cat.png"_qs, filledImage(20, 20)));
        QCOMPARE(l.textView.window()->TextFileName(), QString());
        QCOMPARE(l.textView.window()->windowTitle(), u"Text View"_qs);
        l.main.close();
    }
};

QTEST_MAIN(DesktopPiecesTest)
#include "DesktopPiecesTest.moc"
