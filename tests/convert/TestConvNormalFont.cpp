// The normal converter with the real default font: the blank measures brightest and the densest
// character darkest, so a white picture gives blank lines and a black one the densest character.

#include "common/RecordingServices.h"
#include "convert/ConvNormal.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"

#include <QFile>
#include <QFontDatabase>
#include <QTest>

#include <algorithm>

static const char* const defaultFontFile = "/usr/share/fonts/truetype/monapo/monapo.ttf";

class TestConvNormalFont : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void measures();
    void plainPictures_data();
    void plainPictures();

private:
    // The share of each default palette character's box that its strokes cover.
    QList<double> inkShares(const FontGlyphs& glyphs) const;
    QString densest(const FontGlyphs& glyphs) const;

    SettingsRecord m_settings;
};

void TestConvNormalFont::initTestCase() {
    if (!QFile::exists(QString::fromLatin1(defaultFontFile)))
        QFAIL("The default font is missing: install the Debian package fonts-monapo.");
    QVERIFY(QFontDatabase::addApplicationFont(QString::fromLatin1(defaultFontFile)) >= 0);
    FontSetup::installSubstitutions();
    m_settings.TextLines = 4;
    QCOMPARE(FontSetup::resolvedFamily(FontSetup::textFont(m_settings)), QStringLiteral("Monapo"));
}

QList<double> TestConvNormalFont::inkShares(const FontGlyphs& glyphs) const {
    QList<double> shares;
    const int height = qRound(glyphs.textHeight(m_settings.TextTable1));
    for (const QChar c : m_settings.TextTable1) {
        const int width = qRound(glyphs.textWidth(QString(c)));
        const GlyphBitmap glyph = glyphs.drawCharacter(QString(c), width, height);
        qint64 ink = 0;
        for (const quint8 stroke : glyph.stroke)
            ink += stroke != 0 ? 1 : 0;
        shares.append(double(ink) / (width * height));
    }
    return shares;
}

QString TestConvNormalFont::densest(const FontGlyphs& glyphs) const {
    const QList<double> shares = inkShares(glyphs);
    const qsizetype i = std::max_element(shares.begin(), shares.end()) - shares.begin();
    return m_settings.TextTable1.mid(i, 1);
}

void TestConvNormalFont::measures() {
    const FontGlyphs glyphs(FontSetup::textFont(m_settings));
    QCOMPARE(glyphs.textHeight(QString()), 16.0);
    QCOMPARE(glyphs.textWidth(QStringLiteral("#")), 8.0);
    const QList<double> shares = inkShares(glyphs);
    QCOMPARE(shares.first(), 0.0);
    for (qsizetype i = 1; i < shares.size(); ++i)
        QVERIFY2(shares[i] > 0, qPrintable(m_settings.TextTable1.mid(i, 1)));
    // Of " .:1/72X&%@#", "@" covers the largest share of its box in this font.
    QCOMPARE(densest(glyphs), QStringLiteral("@"));
}

void TestConvNormalFont::plainPictures_data() {
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<bool>("blank");
    QTest::newRow("white") << QColor(Qt::white) << false << true;
    QTest::newRow("black") << QColor(Qt::black) << false << false;
    QTest::newRow("reversed white") << QColor(Qt::white) << true << false;
    QTest::newRow("reversed black") << QColor(Qt::black) << true << true;
}

void TestConvNormalFont::plainPictures() {
    QFETCH(QColor, colour);
    QFETCH(bool, reverse);
    QFETCH(bool, blank);
    SettingsRecord settings = m_settings;
    settings.RvFlg = reverse;
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    QImage picture(64, 64, QImage::Format_RGB32);
    picture.fill(colour);
    RecordingServices services;
    ConvNormal(ConversionInput{settings, &picture, {}, glyphs, {0, 255}}, services);
    QVERIFY(services.handedOff);
    const QStringList lines = services.text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 4);
    const QString expected = blank ? QStringLiteral(" ") : densest(glyphs);
    for (const QString& line : lines) {
        QVERIFY(!line.isEmpty());
        QCOMPARE(line, QString(line.size(), expected[0]));
    }
}

QTEST_MAIN(TestConvNormalFont)
#include "TestConvNormalFont.moc"
