// The two-level converter with the real default font (Monapo standing in for MS PGothic).

#include "common/RecordingServices.h"
#include "convert/ConvTwoLevel.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

const char* const monapoPath = "/usr/share/fonts/truetype/monapo/monapo.ttf";

QImage plain(int width, int height, bool black) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(black ? Qt::black : Qt::white);
    return image;
}

// A large black X on white: the diagonals from corner to corner.
QImage bigX(int size, int penWidth) {
    QImage image = plain(size, size, false);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(0, 0), QPointF(size, size));
    painter.drawLine(QPointF(size, 0), QPointF(0, size));
    return image;
}

} // namespace

class ConvTwoLevelFontTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void plainPicturesGiveBlankLines_data();
    void plainPicturesGiveBlankLines();
    void bigXTracesBothDiagonals();

private:
    QString convert(const SettingsRecord& settings, const QImage& picture);
};

void ConvTwoLevelFontTest::initTestCase() {
    if (QFontDatabase::addApplicationFont(QString::fromLatin1(monapoPath)) < 0)
        QFAIL(qPrintable(QStringLiteral("the font %1 is missing (Debian package fonts-monapo)")
                             .arg(QString::fromLatin1(monapoPath))));
    FontSetup::installSubstitutions();
}

QString ConvTwoLevelFontTest::convert(const SettingsRecord& settings, const QImage& picture) {
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    RecordingServices services;
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    const ConversionResult result = ConvTwoLevel(input, services);
    if (result.outcome != ConvOutcome::HandedOff)
        return QStringLiteral("(not handed off)");
    return services.text;
}

void ConvTwoLevelFontTest::plainPicturesGiveBlankLines_data() {
    QTest::addColumn<bool>("black");
    QTest::addColumn<bool>("reversed");
    QTest::newRow("white") << false << false;
    QTest::newRow("black reversed") << true << true;
}

void ConvTwoLevelFontTest::plainPicturesGiveBlankLines() {
    QFETCH(bool, black);
    QFETCH(bool, reversed);
    SettingsRecord settings; // the default palette and font
    settings.ConvMode = 1;
    settings.TextLines = 6;
    settings.RvFlg = reversed;
    const QStringList lines =
        convert(settings, plain(300, 150, black)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 6);
    for (const QString& line : lines) {
        QVERIFY2(!line.isEmpty(), "a line long enough for many characters");
        QCOMPARE(line, QString(line.size(), u' '));
    }
}

void ConvTwoLevelFontTest::bigXTracesBothDiagonals() {
    // 16 lines of 16-pixel rows over a square picture: a raster of 256 x 256 pixels, so line r
    // meets the diagonals where x / 256 is about (r + 0.5) / 16 and 1 - (r + 0.5) / 16. Within a
    // row a diagonal moves 1/16 of the width, the pen adds about 0.03 and a character is 8 of
    // 256 pixels wide: 0.08 is near.
    //
    // The default font draws U+005C as a yen sign, as MS PGothic does, so "\" is a heavy glyph
    // rather than a backslash and either character may stand on either diagonal: the test checks
    // where the strokes are, not which stroke is where.
    SettingsRecord settings;
    settings.ConvMode = 1;
    settings.TextTable2 = QStringLiteral(" /\\");
    settings.TextLines = 16;
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    QCOMPARE(qRound(glyphs.textHeight(settings.TextTable2)), 16);
    const double colsPx = 256;
    const double near = 0.08;

    const QStringList lines = convert(settings, bigX(400, 14)).split(QStringLiteral("\r\n"));
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
        QVERIFY2(
            onMain && onAnti,
            qPrintable(QStringLiteral("line %1 misses a diagonal: \"%2\"").arg(r).arg(lines[r])));
    }
    QVERIFY(slashes > 0);
    QVERIFY(backslashes > 0);
}

QTEST_MAIN(ConvTwoLevelFontTest)
#include "ConvTwoLevelFontTest.moc"
