// charloom: the desktop program. One copy per user; the main window runs start-up, conversions
// and shutdown, and a signal or the session ending closes it as a user's close would, settings
// included.

#include "app/CommandLine.h"
#include "app/SettingsFileStore.h"
#include "app/SignalCloser.h"
#include "app/SingleInstance.h"
#include "app/TextViewWindow.h"
#include "app/fomMain.h"
#include "convert/ConvDispatch.h"
#include "convert/FontSetup.h"
#include "platform/MemoryReuse.h"

#include <QApplication>
#include <QSessionManager>

int main(int argc, char* argv[]) {
    MemoryReuse::keepFreedMemory();
    // QApplication takes options such as -reverse for itself: keep the command line as given.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Charloom"));
    QApplication::setApplicationVersion(QStringLiteral(CHARLOOM_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(SingleInstance::nameForThisUser());
    if (instance.askRunningCopyToRaise())
        return 0;
    instance.listen();

    FontSetup::installSubstitutions();
    SettingsRecord settings;
    SettingsFileStore settingsFile;
    TextViewWindow textView(settings);
    fomMain window(settings, settingsFile, textView);
    textView.attach(window);
    window.setConverter(ConvDispatch);
    window.setCommandLine(CommandLine::join(arguments));
    if (!window.Form_Load())
        return 0;

    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &fomMain::bringToFront);
    SignalCloser closer;
    QObject::connect(&closer, &SignalCloser::closeRequested, &window, &fomMain::systemClose);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.systemClose(); });
    QObject::connect(&window, &fomMain::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    return app.exec();
}
