#include "TestFont.h"

#include "textview/TextColors.h"
#include "textview/TextRendering.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTest>

namespace {

constexpr qint32 Red = 0x0000FF; // colour references hold red in the lowest byte
constexpr qint32 White = 0xFFFFFF;
constexpr qint32 Black = 0x000000;

// Two pixels: red on the left, blue on the right.
QImage redBlue() {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 0, 255));
    return image;
}

int countPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

} // namespace

class tst_TextRendering : public QObject {
    Q_OBJECT
private:
    TextLayout layoutOf(const QString& text, double lineSpace = 0) {
        TextLayout layout;
        layout.setFont(FontSetup::textFont(monapoSettings()));
        layout.TxtToPic(text, lineSpace);
        return layout;
    }
    // The whole text rendered by PicDrawAll; a null image when it does not give 0.
    QImage rendered(const QString& text, TextRendering::Colors colors, const QImage& picture = {}) {
        TextLayout layout = layoutOf(text);
        WidthCache cache;
        QImage bitmap;
        return TextRendering::PicDrawAll(layout, cache, colors, picture, bitmap) == 0 ? bitmap
                                                                                      : QImage();
    }

private slots:
    void initTestCase() { REQUIRE_MONAPO(); }

    void colours_data() {
        QTest::addColumn<qint32>("ref");
        QTest::addColumn<QColor>("colour");
        const QPalette p = QGuiApplication::palette();
        QTest::newRow("red byte lowest") << qint32(0x0000FF) << QColor(255, 0, 0);
        QTest::newRow("blue byte highest") << qint32(0xFF0000) << QColor(0, 0, 255);
        QTest::newRow("window background") << qint32(0x80000005u) << p.color(QPalette::Base);
        QTest::newRow("button text") << qint32(0x80000012u) << p.color(QPalette::ButtonText);
        QTest::newRow("button face (ImageColor)")
            << qint32(0x8000000Fu) << p.color(QPalette::Button);
        QTest::newRow("highlight 3-D") << qint32(0x80000014u) << p.color(QPalette::Light);
        QTest::newRow("shadow") << qint32(0x80000010u) << p.color(QPalette::Dark);
    }
    void colours() {
        QFETCH(qint32, ref);
        QTEST(TextColors::resolve(ref), "colour");
    }

    // Nothing to render gives -2, a bitmap beyond the limit -1 (2000 lines 549 px apart, 2200 px
    // wide: 9.6 GB); neither leaves a bitmap nor ends the program.
    void nothingRendered_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("lineSpace");
        QTest::addColumn<int>("code");
        QTest::newRow("empty") << QString() << 0.0 << -2;
        QTest::newRow("empty lines only") << QStringLiteral("\r\n\r\n") << 0.0 << -2;
        QTest::newRow("too large")
            << QString(200, u'W').append(u"\r\n"_qs).repeated(2000) << 400.0 << -1;
    }
    void nothingRendered() {
        QFETCH(QString, text);
        QFETCH(double, lineSpace);
        TextLayout layout = layoutOf(text, lineSpace);
        WidthCache cache;
        QImage result(1, 1, QImage::Format_RGB32);
        QTEST(TextRendering::PicDrawAll(layout, cache, {Black, White}, QImage(), result), "code");
        QVERIFY(result.isNull());
    }

    void solidColours() {
        TextLayout layout = layoutOf(QStringLiteral("|\r\n\r\n|"));
        WidthCache cache;
        QImage bitmap;
        QCOMPARE(TextRendering::PicDrawAll(layout, cache, {Red, White}, QImage(), bitmap), 0);
        QCOMPARE(bitmap.size(), QSize(layout.TxtWidth(), layout.TxtHeight()));
        const int pitch = layout.LinePitch();
        QCOMPARE(bitmap.height(), 3 * pitch);
        int ink[3] = {0, 0, 0};
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) {
                const QRgb c = bitmap.pixel(x, y);
                QVERIFY(c == qRgb(255, 0, 0) || c == qRgb(255, 255, 255));
                ink[y / pitch] += c == qRgb(255, 0, 0) ? 1 : 0;
            }
        // Line i starts at y = pitch x i: the empty middle line has no ink.
        QVERIFY(ink[0] > 0);
        QCOMPARE(ink[1], 0);
        QCOMPARE(ink[2], ink[0]);
    }

    void bitmapEqualsViewAtOrigin() {
        TextLayout layout = layoutOf(QStringLiteral("(´・ω・`)\r\n  ／＼\r\nabc"));
        WidthCache cache;
        QImage bitmap;
        QCOMPARE(TextRendering::PicDrawAll(layout, cache, {Red, White}, QImage(), bitmap), 0);
        QImage view(layout.TxtWidth(), layout.TxtHeight(), QImage::Format_RGB32);
        const LinePrinting::VisibleLines lines =
            LinePrinting::visibleLines(0, layout.LinePitch(), 400);
        QVERIFY(TextRendering::drawVisible(view, layout, cache, lines, {0, 0, 500, 400},
                                           {Red, White}, QImage()));
        QCOMPARE(view, bitmap);
    }

    void pictureColours_data() {
        QTest::addColumn<qint32>("fore");
        QTest::addColumn<qint32>("back");
        QTest::newRow("text") << ColorRef::ImageColor << White;
        QTest::newRow("background") << Black << ColorRef::ImageColor;
        QTest::newRow("text and background") << ColorRef::ImageColor << ColorRef::ImageColor;
    }
    // ImageColor takes the picture's colour under each pixel (AND and OR composition): away from
    // the middle every pixel is the text's or the background's colour there, and both halves hold
    // ink.
    void pictureColours() {
        QFETCH(qint32, fore);
        QFETCH(qint32, back);
        const QImage bitmap =
            rendered(QStringLiteral("WWWWWWWW\r\nWWWWWWWW"), {fore, back}, redBlue());
        QVERIFY(!bitmap.isNull());
        const int half = bitmap.width() / 2;
        int ink[2] = {0, 0};
        for (int y = 0; y < bitmap.height(); ++y)
            for (int x = 0; x < bitmap.width(); ++x) {
                if (std::abs(x - half) <= 1)
                    continue;
                const int side = x < half ? 0 : 1;
                const QRgb picture = side == 0 ? qRgb(255, 0, 0) : qRgb(0, 0, 255);
                const QRgb foreRgb = fore == ColorRef::ImageColor ? picture : qRgb(0, 0, 0);
                const QRgb backRgb = back == ColorRef::ImageColor ? picture : qRgb(255, 255, 255);
                const QRgb c = bitmap.pixel(x, y);
                QVERIFY(c == foreRgb || c == backRgb);
                ink[side] += c == foreRgb ? 1 : 0;
            }
        QVERIFY(ink[0] > 0 && ink[1] > 0);
    }

    void imageColourWithoutPictureIsButtonFace() {
        const QImage bitmap = rendered(QStringLiteral("WW"), {ColorRef::ImageColor, White});
        const QRgb face = QGuiApplication::palette().color(QPalette::Button).rgb();
        QVERIFY(countPixels(bitmap, face) > 0);
        QCOMPARE(countPixels(bitmap, face) + countPixels(bitmap, qRgb(255, 255, 255)),
                 bitmap.width() * bitmap.height());
    }

    // The view scrolled to the right half shows the right half of the picture behind the text.
    void scrolledPictureMovesWithText() {
        TextLayout layout = layoutOf(QStringLiteral("WWWWWWWW\r\nWWWWWWWW"));
        WidthCache cache;
        const int half = layout.TxtWidth() / 2;
        QImage box(layout.TxtWidth() - half, layout.TxtHeight(), QImage::Format_RGB32);
        const TextRendering::Viewport view{half, 0, layout.TxtWidth() - half, layout.TxtHeight()};
        const LinePrinting::VisibleLines lines =
            LinePrinting::visibleLines(0, layout.LinePitch(), view.height);
        QVERIFY(TextRendering::drawVisible(box, layout, cache, lines, view,
                                           {Black, ColorRef::ImageColor}, redBlue()));
        QCOMPARE(countPixels(box, qRgb(255, 0, 0)), 0);
        QVERIFY(countPixels(box, qRgb(0, 0, 255)) > 0);
        QCOMPARE(countPixels(box, qRgb(0, 0, 255)) + countPixels(box, qRgb(0, 0, 0)),
                 box.width() * box.height());
    }
};

QTEST_MAIN(tst_TextRendering)
#include "tst_TextRendering.moc"
