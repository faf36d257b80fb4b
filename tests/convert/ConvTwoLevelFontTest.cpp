// The two-level converter with the real default font (Monapo standing in for MS PGothic).

#include "common/RecordingServices.h"
#include "convert/ConvTwoLevel.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTest>

// The lines of the text of a two-level run, or none when it does not hand off.
static QStringList convert(const SettingsRecord& settings, const QImage& picture) {
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    RecordingServices services;
    if (ConvTwoLevel({settings, &picture, {}, glyphs, {0, 255}}, services).outcome !=
        ConvOutcome::HandedOff)
        return {};
    return services.text.split(QStringLiteral("\r\n"));
}

class ConvTwoLevelFontTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFontDatabase::addApplicationFont(
                     QStringLiteral("/usr/share/fonts/truetype/monapo/monapo.ttf")) >= 0,
                 "the default font is missing (Debian package fonts-monapo)");
        FontSetup::installSubstitutions();
    }

    // A white picture, and a black one reversed, with the default palette and font.
    void plainPicturesGiveBlankLines() {
        for (const bool black : {false, true}) {
            SettingsRecord settings;
            settings.ConvMode = 1;
            settings.TextLines = 6;
            settings.RvFlg = black;
            QImage picture(300, 150, QImage::Format_RGB32);
            picture.fill(black ? Qt::black : Qt::white);
            const QStringList lines = convert(settings, picture);
            QCOMPARE(lines.size(), 6);
            for (const QString& line : lines) {
                QVERIFY2(!line.isEmpty(), "a line long enough for many characters");
                QCOMPARE(line, QString(line.size(), u' '));
            }
        }
    }

    void bigXTracesBothDiagonals() {
        // 16 lines of 16-pixel rows over a square picture: a raster of 256 x 256 pixels, so line
        // r meets the diagonals where x / 256 is about (r + 0.5) / 16 and 1 - (r + 0.5) / 16.
        // Within a row a diagonal moves 1/16 of the width, the pen adds about 0.03 and a
        // character is 8 of 256 pixels wide: 0.08 is near.
        //
        // The default font draws U+005C as a yen sign, as MS PGothic does, so "\" is a heavy
        // glyph rather than a backslash and either character may stand on either diagonal: the
        // test checks where the strokes are, not which stroke is where.
        SettingsRecord settings;
        settings.ConvMode = 1;
        settings.TextTable2 = QStringLiteral(" /\\");
        settings.TextLines = 16;
        const FontGlyphs glyphs(FontSetup::textFont(settings));
        QCOMPARE(qRound(glyphs.textHeight(settings.TextTable2)), 16);
        const double colsPx = 256;
        const double near = 0.08;

        // A large black X on white: the diagonals from corner to corner.
        QImage picture(400, 400, QImage::Format_RGB32);
        picture.fill(Qt::white);
        {
            QPainter painter(&picture);
            painter.setPen(QPen(Qt::black, 14, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QPointF(0, 0), QPointF(400, 400));
            painter.drawLine(QPointF(400, 0), QPointF(0, 400));
        }
        const QStringList lines = convert(settings, picture);
        QCOMPARE(lines.size(), 16);
        int slashes = 0;
        int backslashes = 0;
        for (qsizetype r = 0; r < lines.size(); ++r) {
            const double main = (r + 0.5) / 16;
            const double anti = 1 - main;
            bool onMain = false;
            bool onAnti = false;
            double x = 0;
            for (const QChar c : lines[r]) {
                const double width = qRound(glyphs.textWidth(QString(c)));
                const double centre = (x + width / 2) / colsPx;
                x += width;
                if (c == u' ')
                    continue;
                QVERIFY(c == u'/' || c == u'\\');
                (c == u'/' ? slashes : backslashes) += 1;
                const bool nearMain = qAbs(centre - main) <= near;
                const bool nearAnti = qAbs(centre - anti) <= near;
                QVERIFY2(nearMain || nearAnti,
                         qPrintable(QStringLiteral("line %1: a stroke at %2 is on neither diagonal")
                                        .arg(r)
                                        .arg(centre)));
                onMain = onMain || nearMain;
                onAnti = onAnti || nearAnti;
            }
            QVERIFY2(onMain && onAnti,
                     qPrintable(
                         QStringLiteral("line %1 misses a diagonal: \"%2\"").arg(r).arg(lines[r])));
        }
        QVERIFY(slashes > 0);
        QVERIFY(backslashes > 0);
    }
};

QTEST_MAIN(ConvTwoLevelFontTest)
#include "ConvTwoLevelFontTest.moc"
