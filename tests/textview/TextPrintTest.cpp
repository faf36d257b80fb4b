#include "TestFont.h"

#include "textview/TextPrint.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTest>

// Multi-line printing: lines a pitch apart (line spacing in points at 96 dpi plus the font's line
// height), the pitch keeping its fraction, and empty lines taking their place.
class TextPrintTest : public QObject {
    Q_OBJECT

    QFont m_font;

    QImage blank() const {
        QImage image(200, 240, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    QImage printed(const QPointF& at, const QString& text, double lineSpace) const {
        QImage image = blank();
        QPainter painter(&image);
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        TextPrint(painter, at, text, lineSpace);
        return image;
    }
    // The first row holding ink, or -1.
    static int firstInkRow(const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return y;
        return -1;
    }

private slots:
    void initTestCase() {
        REQUIRE_MONAPO();
        m_font = QFont(QStringLiteral("Monapo"));
        m_font.setPixelSize(16);
        m_font.setStyleStrategy(QFont::NoAntialias);
    }

    void pitchIsLineHeightPlusSpacing_data() {
        QTest::addColumn<double>("lineSpace");
        QTest::addColumn<double>("extraPixels");
        QTest::newRow("none") << 0.0 << 0.0;
        QTest::newRow("3 pt = 4 px") << 3.0 << 4.0;
        QTest::newRow("-1.5 pt = -2 px") << -1.5 << -2.0;
        QTest::newRow("0.3 pt = 0.4 px") << 0.3 << 0.4;
    }
    void pitchIsLineHeightPlusSpacing() {
        QFETCH(double, lineSpace);
        QFETCH(double, extraPixels);
        const double height = QFontMetricsF(m_font).height();
        QCOMPARE(TextPrintPitch(m_font, lineSpace), static_cast<float>(height + extraPixels));
    }

    void firstLineAtThePosition() {
        const QImage image = printed(QPointF(3, 10), QStringLiteral("M"), 0);
        const QImage shifted = printed(QPointF(3, 30), QStringLiteral("M"), 0);
        QVERIFY(firstInkRow(image) >= 10);
        QCOMPARE(firstInkRow(shifted), firstInkRow(image) + 20);
    }

    void emptyLinesKeepTheirPlace() {
        const double pitch = TextPrintPitch(m_font, 3);
        const QImage three = printed(QPointF(0, 0), QStringLiteral("\r\n\r\nM\r\n"), 3);
        const QImage alone = printed(QPointF(0, 2 * pitch), QStringLiteral("M"), 3);
        QCOMPARE(three, alone);
    }

    void pitchIsNotRoundedPerLine() {
        // 0.3 pt adds 0.4 px a line: the sixth line sits 2 px lower than with whole-pixel pitches.
        const float pitch = TextPrintPitch(m_font, 0.3);
        const QString text = QStringLiteral("\r\n\r\n\r\n\r\n\r\nM");
        const QImage sixth = printed(QPointF(0, 0), text, 0.3);
        QCOMPARE(sixth,
                 printed(QPointF(0, static_cast<double>(5.0f * pitch)), QStringLiteral("M"), 0));
        const double withoutSpacing = 5.0 * TextPrintPitch(m_font, 0);
        QVERIFY(sixth != printed(QPointF(0, withoutSpacing), QStringLiteral("M"), 0));
    }

    void nothingForAnEmptyText() {
        QCOMPARE(printed(QPointF(0, 0), QString(), 0), blank());
        QCOMPARE(printed(QPointF(0, 0), QStringLiteral("\r\n\r\n"), 0), blank());
    }

    void bareLineFeedsDoNotBreak() {
        // Only CR LF separates lines; a lone LF stays within the line and draws no second line.
        const QImage image = printed(QPointF(0, 0), QStringLiteral("M\nM"), 0);
        const double pitch = TextPrintPitch(m_font, 0);
        QImage below = image.copy(0, static_cast<int>(pitch) + 2, image.width(),
                                  image.height() - static_cast<int>(pitch) - 2);
        QCOMPARE(firstInkRow(below), -1);
    }
};

QTEST_MAIN(TextPrintTest)
#include "TextPrintTest.moc"
