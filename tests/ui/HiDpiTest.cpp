// The windows at a device pixel ratio of 2 (QT_SCALE_FACTOR=2 on the offscreen platform): they
// draw in the screen's pixels, while the text art keeps the metrics it was converted with. The
// reference at ratio 1 is charloom-cli run as a separate process without the scale factor.

#include "MainWindowHarness.h"
#include "TextViewFixture.h"

#include "convert/ConvDispatch.h"
#include "convert/FontSetup.h"
#include "convert/SelCopy.h"
#include "platform/PictureLoader.h"
#include "settings/fomColorSet.h"
#include "settings/fomFontSet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qreal Ratio = 2.0;
// The selection dragged over the sample picture, in picture pixels, and as charloom-cli takes it.
const QRect Selection(QPoint(40, 30), QPoint(230, 150));
const QString SelectArgument = u"40,30,230,150"_qs;

QString samplePicture() {
    return qEnvironmentVariable("CHARLOOM_SOURCE_DIR") + u"/data/sample.png"_qs;
}

// Runs charloom-cli at a device pixel ratio of 1; false when it failed.
bool cliAtRatioOne(const QStringList& arguments, QByteArray* out = nullptr) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"QT_SCALE_FACTOR"_qs);
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("CHARLOOM_BIN_DIR") + u"/charloom-cli"_qs, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning() << process.readAllStandardError();
        return false;
    }
    if (out != nullptr)
        *out = process.readAllStandardOutput();
    return true;
}

QStringList linesOf(QString text) {
    text.replace(u"\r\n"_qs, u"\n"_qs);
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The bounding box of the ink (anything but the white ground) inside area of image, in the
// image's pixels; null when there is no ink.
QRect inkBox(const QImage& image, const QRect& area) {
    int left = area.right() + 1, right = area.left() - 1;
    int top = area.bottom() + 1, bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return left > right ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The number of 2 x 2 blocks at even places that are not one colour.
int mixedBlocks(const QImage& image) {
    int mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                ++mixed;
        }
    return mixed;
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_monapo; // charloom-cli's options for the text art
    QString m_artText;    // the text art, converted at ratio 1

    // The sample's text art in Monapo, rendered at ratio 1 by charloom-cli (the text view's
    // rendering) and shown by the text view at ratio 2, in the given text colour.
    struct Shown {
        QImage rendered;
        QImage grab;
        TextLayout layout;
    };
    Shown show(const QString& foreArgument, qint32 foreColor) {
        Shown shown;
        const QString png = m_dir.filePath(u"art.png"_qs);
        if (!cliAtRatioOne(m_monapo + QStringList{u"--fore-color"_qs, foreArgument, u"-o"_qs, png,
                                                  samplePicture()}))
            return shown;
        shown.rendered = QImage(png);
        TextViewFixture f;
        f.settings.ForeColor = foreColor;
        const SelectionState selection{
            true, static_cast<qint16>(Selection.left()), static_cast<qint16>(Selection.top()),
            static_cast<qint16>(Selection.right()), static_cast<qint16>(Selection.bottom())};
        SelCopy(PictureLoader::load(samplePicture()).image, selection, f.pictures.picture);
        f.view->View(m_artText);
        f.view->ColorSet();
        if (!QTest::qWaitForWindowExposed(f.view.get()))
            return shown;
        shown.layout = f.view->layout();
        shown.grab = f.box()->grab().toImage();
        return shown;
    }

private slots:
    void initTestCase() {
        FontSetup::installSubstitutions();
        QVERIFY2(TextViewFixture::loadMonapo(),
                 "Monapo is missing: install the Debian package fonts-monapo");
        QVERIFY(m_dir.isValid());
        m_monapo = QStringList{u"-q"_qs,       u"--font"_qs,       u"Monapo"_qs, u"--select"_qs,
                               SelectArgument, u"--back-color"_qs, u"white"_qs};
        QByteArray text;
        QVERIFY(cliAtRatioOne(m_monapo + QStringList{samplePicture()}, &text));
        QVERIFY(!text.isEmpty());
        m_artText = linesOf(QString::fromUtf8(text)).join(u"\r\n"_qs);
    }

    void mainWindowConvertsAsAtRatioOne_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("modeArgument");
        QTest::newRow("通常") << 0 << u"normal"_qs;
        QTest::newRow("2値") << 1 << u"two-level"_qs;
    }
    // The selection is dragged in the window's pixels, which are the picture's at any ratio; the
    // text converted is the text charloom-cli makes at ratio 1.
    void mainWindowConvertsAsAtRatioOne() {
        QFETCH(int, mode);
        QFETCH(QString, modeArgument);
        MainWindowHarness h;
        fomMain& w = h.startOn(samplePicture());
        h.child<QRadioButton>(u"optMode(%1)"_qs.arg(mode))->click();
        w.setConverter(ConvDispatch);
        QCOMPARE(h.picture()->devicePixelRatioF(), Ratio);
        dragMouse(h.picture(), Selection.topLeft(), Selection.bottomRight());
        h.button(u"cmdWrite"_qs)->click();
        QCOMPARE(h.textView.viewed.size(), 1);
        QByteArray expected;
        QVERIFY(cliAtRatioOne(
            {u"-q"_qs, u"--mode"_qs, modeArgument, u"--select"_qs, SelectArgument, samplePicture()},
            &expected));
        const QStringList shown = linesOf(h.textView.viewed.first());
        QVERIFY(shown.size() > 10);
        QCOMPARE(shown, linesOf(QString::fromUtf8(expected)));
    }

    // Each picture pixel covers a 2 x 2 block of screen pixels of exactly its colour: no smoothing.
    void pictureIsShownPixelForPixel() {
        MainWindowHarness h;
        h.startOn(samplePicture());
        const QImage source(samplePicture());
        const QImage grabbed = h.picture()->grab(QRect(0, 0, 120, 90)).toImage();
        QCOMPARE(grabbed.size(), QSize(240, 180));
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x)
                for (int d = 0; d < 4; ++d)
                    if (grabbed.pixel(2 * x + d % 2, 2 * y + d / 2) != source.pixel(x, y))
                        QFAIL(qPrintable(u"picture pixel %1,%2 smoothed"_qs.arg(x).arg(y)));
    }

    void textViewDrawsScreenPixels_data() {
        QTest::addColumn<QString>("foreArgument");
        QTest::addColumn<qint32>("foreColor");
        QTest::newRow("black") << u"black"_qs << qint32(0x000000);
        QTest::newRow("picture colours") << u"image"_qs << ColorRef::ImageColor;
    }
    // The view's pixels are the screen's: twice as many, with detail finer than a text pixel, and
    // every line's ink where the ratio-1 rendering has it. Glyphs drawn at twice the size differ
    // in shape by a pixel or two at their edges; a line pitch or an advance off by one pixel
    // would move the later lines and the line ends much further.
    void textViewDrawsScreenPixels() {
        QFETCH(QString, foreArgument);
        QFETCH(qint32, foreColor);
        const Shown shown = show(foreArgument, foreColor);
        QVERIFY(!shown.rendered.isNull() && !shown.grab.isNull());
        // The layout at ratio 2 is the one the whole-text picture was rendered with at ratio 1.
        const int pitch = shown.layout.LinePitch();
        const int lines = static_cast<int>(linesOf(m_artText).size());
        QCOMPARE(shown.rendered.devicePixelRatio(), 1.0);
        QCOMPARE(shown.layout.LineCount(), lines);
        QCOMPARE(shown.layout.TxtWidth(), shown.rendered.width());
        QCOMPARE(shown.layout.TxtHeight(), shown.rendered.height());
        QCOMPARE(pitch * lines, shown.rendered.height());
        QCOMPARE(pitch, 16); // Monapo at 16 pixels: 12 points at 96 dpi
        const QSize logical = shown.grab.size() / 2;
        QCOMPARE(shown.grab.devicePixelRatio(), Ratio);
        QVERIFY(logical.width() > 100 && logical.height() > 5 * pitch);
        QVERIFY2(mixedBlocks(shown.grab) > 0, "the view is a ratio-1 picture scaled up");
        // In the picture's colours (whose darkest is 45, 60, 90) every pixel of a character is
        // filled from the picture: none stays black.
        if (foreColor == ColorRef::ImageColor)
            for (int y = 0; y < shown.grab.height(); ++y)
                for (int x = 0; x < shown.grab.width(); ++x)
                    QVERIFY(shown.grab.pixel(x, y) != qRgb(0, 0, 0));
        const auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
        int checked = 0;
        for (int top = 0; top + pitch <= logical.height(); top += pitch) {
            const QRect line(0, top, logical.width(), pitch);
            const QRect expected = inkBox(shown.rendered, line);
            const QRect shownBox = inkBox(shown.grab, QRect(line.topLeft() * 2, line.size() * 2));
            QCOMPARE(shownBox.isNull(), expected.isNull());
            if (expected.isNull())
                continue;
            const QRect seen(shownBox.topLeft() / 2, shownBox.bottomRight() / 2);
            QString where;
            QDebug(&where) << "line at" << top << "shows ink" << seen << "rendered" << expected;
            QVERIFY2(near(seen.left(), expected.left()) && near(seen.right(), expected.right()) &&
                         near(seen.top(), expected.top()) && near(seen.bottom(), expected.bottom()),
                     qPrintable(where));
            ++checked;
        }
        QVERIFY(checked > 5);
    }

    void fontSampleHasScreenPixels() {
        SettingsRecord settings;
        fomFontSet fonts(settings);
        fonts.show();
        const QImage sample = fonts.sampleImage();
        QCOMPARE(sample.devicePixelRatio(), Ratio);
        const QSize label = fonts.findChild<QLabel*>(u"picFontSample"_qs)->contentsRect().size();
        QCOMPARE(sample.size(), label * 2);
        QVERIFY(mixedBlocks(sample) > 0);
    }

    // The one-pixel outline is two screen pixels wide, and the colour starts right after it.
    void swatchesHaveScreenPixels() {
        SettingsRecord settings;
        fomColorSet colors(settings);
        colors.show();
        auto* red = colors.findChild<QAbstractButton*>(u"optForeColor3"_qs);
        const QPixmap swatch = red->icon().pixmap(red->iconSize(), Ratio);
        QCOMPARE(swatch.devicePixelRatio(), Ratio);
        QCOMPARE(swatch.size(), red->iconSize() * 2);
        const QImage image = swatch.toImage();
        QCOMPARE(image.pixel(1, 1), colors.palette().color(QPalette::Shadow).rgb());
        QCOMPARE(image.pixel(2, 2), qRgb(255, 0, 0));
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HiDpiTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "HiDpiTest.moc"
