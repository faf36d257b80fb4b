// textview-screenshot: converts a picture with the default settings, shows the result in the text
// view on the current display and saves a picture of the window. Used by
// scripts/textview-screenshot.sh under Xvfb for the README.

#include "RecordingServices.h"

#include "convert/ConvNormal.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "platform/PictureLoader.h"
#include "platform/clsComDlg.h"
#include "textview/fomTextView.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

class RunPictures : public SelectionPictureProvider {
public:
    QImage selectionPicture() const override { return picture; }
    QImage picture;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: textview-screenshot PICTURE OUTPUT.png\n");
        return 2;
    }
    FontSetup::installSubstitutions();
    const PictureLoader::Result loaded = PictureLoader::load(args[1]);
    if (!loaded.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(loaded.message));
        return 1;
    }
    SettingsRecord settings;
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    RecordingServices services;
    const ConversionInput input{settings, &loaded.image, SelectionState(), glyphs, {0, 255}};
    RunPictures pictures;
    pictures.picture = ConvNormal(input, services).selectionCopy;
    if (!services.handedOff) {
        std::fprintf(stderr, "the conversion gave no text\n");
        return 1;
    }
    clsComDlg comDlg;
    fomTextView view(settings, pictures, comDlg);
    view.View(services.text);
    std::printf("font: %s\n", qPrintable(FontSetup::resolvedFamily(view.layout().font())));
    int status = 1;
    // Let the window manager-less X server map and paint the window before grabbing it.
    QTimer::singleShot(1500, &app, [&] {
        const QPixmap shot = view.screen()->grabWindow(view.winId());
        status = shot.save(args[2], "PNG") ? 0 : 1;
        app.quit();
    });
    QApplication::exec();
    return status;
}
