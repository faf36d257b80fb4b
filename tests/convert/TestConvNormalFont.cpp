// The normal converter with the real default font: the blank measures brightest and the densest
// character darkest, so a white picture gives blank lines and a black one the densest character.

#include "common/RecordingServices.h"
#include "convert/ConvNormal.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"

#include <QFontDatabase>
#include <QTest>

#include <algorithm>

class TestConvNormalFont : public QObject {
    Q_OBJECT

    SettingsRecord m_settings;

    // The share of each default palette character's box that its strokes cover.
    QList<double> inkShares(const FontGlyphs& glyphs) const {
        QList<double> shares;
        const int height = qRound(glyphs.textHeight(m_settings.TextTable1));
        for (const QChar c : m_settings.TextTable1) {
            const int width = qRound(glyphs.textWidth(QString(c)));
            const GlyphBitmap glyph = glyphs.drawCharacter(QString(c), width, height);
            shares.append(double(std::count(glyph.stroke.begin(), glyph.stroke.end(), 1)) /
                          (width * height));
        }
        return shares;
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFontDatabase::addApplicationFont(
                     QStringLiteral("/usr/share/fonts/truetype/monapo/monapo.ttf")) >= 0,
                 "The default font is missing: install the Debian package fonts-monapo.");
        FontSetup::installSubstitutions();
        m_settings.TextLines = 4;
        QCOMPARE(FontSetup::resolvedFamily(FontSetup::textFont(m_settings)), u"Monapo"_qs);
    }

    void measures() {
        const FontGlyphs glyphs(FontSetup::textFont(m_settings));
        QCOMPARE(glyphs.textHeight(QString()), 16.0);
        QCOMPARE(glyphs.textWidth(QStringLiteral("#")), 8.0);
        const QList<double> shares = inkShares(glyphs);
        QCOMPARE(shares.first(), 0.0);
        for (qsizetype i = 1; i < shares.size(); ++i)
            QVERIFY2(shares[i] > 0, qPrintable(m_settings.TextTable1.mid(i, 1)));
        // Of " .:1/72X&%@#", "@" covers the largest share of its box in this font.
        QCOMPARE(std::max_element(shares.begin(), shares.end()) - shares.begin(),
                 m_settings.TextTable1.indexOf(u'@'));
    }

    // White gives blanks, black "@"; reversed, the other way round.
    void plainPictures() {
        for (const auto& [colour, reverse, expected] : {std::tuple{Qt::white, false, u' '},
                                                        {Qt::black, false, u'@'},
                                                        {Qt::white, true, u'@'},
                                                        {Qt::black, true, u' '}}) {
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
            for (const QString& line : lines) {
                QVERIFY(!line.isEmpty());
                QCOMPARE(line, QString(line.size(), expected));
            }
        }
    }
};

QTEST_MAIN(TestConvNormalFont)
#include "TestConvNormalFont.moc"
