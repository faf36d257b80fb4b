// The desktop program's pieces around the main window: the single-instance socket, signals
// turned into a close, the runtime library check's messages, and the main window linked to the
// real text view window.

#include "MainWindowHarness.h"

#include "app/RuntimeLib.h"
#include "app/SignalCloser.h"
#include "app/SingleInstance.h"
#include "app/TextViewWindow.h"
#include "convert/ConvNormal.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

class DesktopPiecesTest : public QObject {
    Q_OBJECT
private slots:
    void secondCopyRaisesTheFirst();
    void noRunningCopyAnswers();
    void signalRequestsAClose_data();
    void signalRequestsAClose();
    void runtimeLibraryMessages();
    void convertShowsTheTextView();
    void tooLargePictureKeepsTheOldOne();
    void newPictureDetachesTheTextView();
};

void DesktopPiecesTest::secondCopyRaisesTheFirst() {
    const QString name = QStringLiteral("charloom-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance first(name);
    QVERIFY(first.listen());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(name);
    QVERIFY(second.askRunningCopyToRaise());
    QVERIFY(raised.wait());
}

void DesktopPiecesTest::noRunningCopyAnswers() {
    SingleInstance alone(
        QStringLiteral("charloom-test-none-%1").arg(QCoreApplication::applicationPid()));
    QVERIFY(!alone.askRunningCopyToRaise());
}

void DesktopPiecesTest::signalRequestsAClose_data() {
    QTest::addColumn<int>("sig");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void DesktopPiecesTest::signalRequestsAClose() {
    QFETCH(int, sig);
    SignalCloser closer;
    QSignalSpy requested(&closer, &SignalCloser::closeRequested);
    std::raise(sig);
    QVERIFY(requested.wait());
    QCOMPARE(requested.count(), 1);
}

void DesktopPiecesTest::runtimeLibraryMessages() {
    QCOMPARE(RuntimeLib::RuntimeLibInstall(), qint16(0));
    QVERIFY(!RuntimeLib::messageFor(0));
    const auto installed = RuntimeLib::messageFor(1);
    QVERIFY(installed);
    QCOMPARE(installed->text,
             QStringLiteral("必要な DLL ファイル VB5JP.DLL をインストールしました。Charloom "
                            "を再起動して下さい"));
    QCOMPARE(installed->caption, QStringLiteral("Charloom 起動情報"));
    QVERIFY(!installed->critical);
    const auto missing = RuntimeLib::messageFor(-1);
    QVERIFY(missing);
    QCOMPARE(missing->caption, QStringLiteral("Charloom 起動エラー"));
    QVERIFY(missing->critical);
}

void DesktopPiecesTest::convertShowsTheTextView() {
    QTemporaryDir dir;
    const QString path =
        writePicture(dir, QStringLiteral("cat.png"), filledImage(80, 40, qRgb(0, 0, 0)));
    SettingsRecord settings;
    MemorySettingsFile file;
    TextViewWindow textView(settings);
    fomMain window(settings, file, textView);
    textView.attach(window);
    window.setConverter(ConvNormal);
    window.Form_Load();
    window.show();
    window.OLEDragDrop({QUrl::fromLocalFile(path)});
    window.findChild<QLineEdit*>(QStringLiteral("txtLines"))->setText(QStringLiteral("4"));
    window.cmdWrite_Click();
    QVERIFY(textView.isVisible());
    QCOMPARE(textView.window()->TextBuf().count(QStringLiteral("\r\n")), 3);
    QCOMPARE(textView.selectionPicture().size(), QSize(80, 40));
    QCOMPARE(textView.pictureFileName(), path);
    window.close();
    QVERIFY(!textView.isVisible());
    QVERIFY(file.stored.TextWindow.Width > 0);
}

void DesktopPiecesTest::tooLargePictureKeepsTheOldOne() {
    QTemporaryDir dir;
    const QString good =
        writePicture(dir, QStringLiteral("good.png"), filledImage(20, 20, qRgb(0, 0, 0)));
    const QString wide =
        writePicture(dir, QStringLiteral("wide.png"), filledImage(32768, 1, qRgb(0, 0, 0)));
    MainWindowHarness h;
    fomMain& w = h.start();
    w.PicLoad(good);
    w.PicLoad(wide);
    QCOMPARE(h.messages.size(), 1);
    QVERIFY(h.messages.first().startsWith(QStringLiteral("wide.png")));
    QCOMPARE(w.windowTitle(), QStringLiteral("good.png - Charloom"));
    QCOMPARE(h.child<QWidget>(QStringLiteral("picPicture"))->size(), QSize(20, 20));
}

void DesktopPiecesTest::newPictureDetachesTheTextView() {
    QTemporaryDir dir;
    QFile text(dir.filePath(QStringLiteral("NOTE.TXT")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("abc\r\n");
    text.close();
    const QString picture =
        writePicture(dir, QStringLiteral("cat.png"), filledImage(20, 20, qRgb(0, 0, 0)));
    SettingsRecord settings;
    MemorySettingsFile file;
    TextViewWindow textView(settings);
    fomMain window(settings, file, textView);
    textView.attach(window);
    window.setCommandLine(text.fileName());
    window.Form_Load();
    window.show();
    window.Form_Activate();
    QVERIFY(textView.isVisible());
    QCOMPARE(textView.window()->TextFileName(), text.fileName());
    QVERIFY(textView.window()->windowTitle() != QStringLiteral("Text View"));
    window.PicLoad(picture);
    QCOMPARE(textView.window()->TextFileName(), QString());
    QCOMPARE(textView.window()->windowTitle(), QStringLiteral("Text View"));
    window.close();
}

QTEST_MAIN(DesktopPiecesTest)
#include "DesktopPiecesTest.moc"
