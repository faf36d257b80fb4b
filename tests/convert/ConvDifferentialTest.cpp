// The fast converters against the straightforward ones in tests/common, on generated pictures
// with the real font, several palettes and settings and one to three threads: the texts must be
// equal. The fast two-level converter sums scores in another order, so at a place where the
// texts differ its character is accepted only if its score is within nearTieLimit (1e-12) of the
// reference's choice; the rest of that line is then not compared.

#include "common/RecordingServices.h"
#include "common/ReferenceConverters.h"
#include "convert/AbsDiff.h"
#include "convert/BlockMeans.h"
#include "convert/BlockScreen.h"
#include "convert/ConvNormal.h"
#include "convert/ConvTwoLevel.h"
#include "convert/FontGlyphs.h"
#include "convert/FontSetup.h"
#include "convert/LevelSad.h"
#include "convert/ScreenSums.h"

#include <QFontDatabase>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

namespace {

const char* const monapoPath = "/usr/share/fonts/truetype/monapo/monapo.ttf";
const double inf = std::numeric_limits<double>::infinity();

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(255 * x / width, 255 * y / height, (x * y) % 256));
    return image;
}

QImage noise(int width, int height, unsigned seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random() | 0xFF000000u);
    return image;
}

// Soft shapes on a graded sky: like a photograph, smooth areas with some sharp edges.
QImage shapes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(30, 60, 140));
    sky.setColorAt(1, QColor(240, 230, 200));
    painter.fillRect(image.rect(), sky);
    QRadialGradient sun(width * 0.3, height * 0.3, width * 0.2);
    sun.setColorAt(0, Qt::white);
    sun.setColorAt(1, QColor(250, 180, 40));
    painter.setBrush(sun);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(width * 0.3, height * 0.3), width * 0.18, height * 0.22);
    painter.setBrush(QColor(20, 40, 20));
    painter.drawRect(QRectF(width * 0.55, height * 0.4, width * 0.3, height * 0.6));
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(QPointF(0, height * 0.8), QPointF(width, height * 0.7));
    return image;
}

struct Case {
    int mode;
    QString palette; // empty: the mode's default palette
    QImage picture;
    int lines;
    bool reversed;
    int lsConv;
    LevelPair levels;
};

// The fast two-level text against the reference's, line by line: where a line differs, the fast
// character at the first difference must be one the reference found within nearTieLimit of its
// own choice there. Counts those in ties.
void compareTwoLevel(const QString& reference, const QString& fast,
                     const std::vector<ReferenceConverters::NearTie>& nearTies, int& ties) {
    const QStringList expected = reference.split(QStringLiteral("\r\n"));
    const QStringList actual = fast.split(QStringLiteral("\r\n"));
    QCOMPARE(actual.size(), expected.size());
    for (int line = 0; line < expected.size(); ++line) {
        if (actual[line] == expected[line])
            continue;
        int col = 0;
        while (col < actual[line].size() && col < expected[line].size() &&
               actual[line][col] == expected[line][col])
            ++col;
        const QString got = actual[line].mid(col, 1);
        const bool nearTie = std::any_of(
            nearTies.begin(), nearTies.end(), [&](const ReferenceConverters::NearTie& tie) {
                return tie.line == line && tie.col == col && tie.others.contains(got);
            });
        QVERIFY2(nearTie, qPrintable(QStringLiteral("line %1 differs at character %2:\n  reference "
                                                    "%3\n  fast      %4")
                                         .arg(line)
                                         .arg(col)
                                         .arg(expected[line], actual[line])));
        ++ties;
    }
}

// Windows and 20 glyphs, values column after column, of a kanji place (16 x 16) and of an odd
// one (5 x 3) whose last row is left out of the blocks, in four kinds: uniform values; levels;
// glyphs below the window everywhere, which makes every difference in a block of one sign, so
// the bound is nearly the whole score; and the tightest case, where in every block both of the
// window's values lie just below half a level and the glyphs' just above it, so the levels
// differ by one where the values differ by next to nothing.
template <typename Check>
void forEachDraw(unsigned seed, const Check& check) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::uniform_int_distribution<int> level(0, 254);
    for (const QSize size : {QSize(16, 16), QSize(5, 3)}) {
        const int height = size.height();
        for (int draw = 0; draw < 4; ++draw) {
            std::vector<double> window(static_cast<size_t>(size.width() * height));
            for (size_t v = 0; v < window.size(); ++v) {
                if (draw < 3)
                    window[v] = draw == 0 ? uniform(random) : (level(random) + 1) / 255.0;
                else // both values of a block alike
                    window[v] = v % static_cast<size_t>(height) % 2 == 1
                                    ? window[v - 1]
                                    : (level(random) + 0.5 - 1e-9) / 255;
            }
            std::vector<std::vector<double>> glyphs(20);
            for (size_t k = 0; k < glyphs.size(); ++k)
                for (const double v : window)
                    glyphs[k].push_back(draw == 3                 ? v + 2e-9 / 255
                                        : draw == 2 || k % 2 == 0 ? v * uniform(random)
                                                                  : level(random) % 2 * 1.0);
            check(size.width(), height, window, glyphs, draw == 3);
        }
    }
}

} // namespace
Q_DECLARE_METATYPE(Case)

class ConvDifferentialTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sameTextAsReference_data();
    void sameTextAsReference();
    void portableAndVectorSumsAgree();
    void screenEstimatesStayWithinTheirError();
    void blockBoundsNeverPassOverAWinner();
    void levelBoundsNeverPassOverAWinner();
    void sadLimitsDecideAsTheRules();
    void threadsAskThe999QuestionOnce();
    void threadsAbort();
};

void ConvDifferentialTest::initTestCase() {
    if (QFontDatabase::addApplicationFont(QString::fromLatin1(monapoPath)) < 0)
        QFAIL(qPrintable(QStringLiteral("the font %1 is missing (Debian package fonts-monapo)")
                             .arg(QString::fromLatin1(monapoPath))));
    FontSetup::installSubstitutions();
}

void ConvDifferentialTest::sameTextAsReference_data() {
    QTest::addColumn<Case>("c");
    QString ascii;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        ascii += QChar(c);
    const QList<QPair<QString, QImage>> pictures = {
        {QStringLiteral("gradient 160x120"), gradient(160, 120)},
        {QStringLiteral("noise 97x211"), noise(97, 211, 7)},
        {QStringLiteral("shapes 320x180"), shapes(320, 180)},
    };
    for (const int mode : {0, 1}) {
        const char* const name = mode == 0 ? "normal" : "two-level";
        for (const auto& [pictureName, picture] : pictures)
            for (const QString& palette : {QString(), ascii})
                for (const bool reversed : {false, true})
                    for (const int lsConv : {0, 1}) {
                        const LevelPair levels =
                            lsConv == 0 ? LevelPair{0, 255} : LevelPair{30, 210};
                        QTest::addRow("%s, %s, %s, %s, LsConv %d", name, qPrintable(pictureName),
                                      palette.isEmpty() ? "default" : "ascii",
                                      reversed ? "reversed" : "plain", lsConv)
                            << Case{mode,     palette, picture, reversed ? 7 : 12,
                                    reversed, lsConv,  levels};
                    }
        // About 2,000 full-width kanji: the first level of JIS X 0208 from 亜 to 腕.
        for (const bool reversed : {false, true})
            QTest::addRow("%s, shapes 240x160, kanji, %s", name, reversed ? "reversed" : "plain")
                << Case{mode, QStringLiteral("亜--腕"), shapes(240, 160), 3, reversed, 1, {0, 255}};
        // Several bands of 65,536 pixels: the pixel buffer and the brightness plane are filled on
        // more than one thread.
        QTest::addRow("%s, shapes 640x480, default, 20 lines", name)
            << Case{mode, QString(), shapes(640, 480), 20, false, 1, {20, 230}};
    }
    QTest::newRow("two-level, gradient 50x400, default, 1 line")
        << Case{1, QString(), gradient(50, 400), 1, false, 0, {0, 255}};
    QTest::newRow("normal, noise 300x20, default, 40 lines")
        << Case{0, QString(), noise(300, 20, 3), 40, false, 1, {0, 255}};
}

void ConvDifferentialTest::sameTextAsReference() {
    QFETCH(Case, c);
    SettingsRecord settings;
    settings.ConvMode = static_cast<qint16>(c.mode);
    settings.TextLines = static_cast<qint16>(c.lines);
    settings.RvFlg = c.reversed;
    settings.LsConv = static_cast<qint16>(c.lsConv);
    settings.LineSpace = 3; // 4 pixels: with LsConv 0 the rows reach below the glyphs
    if (!c.palette.isEmpty())
        (c.mode == 0 ? settings.TextTable1 : settings.TextTable2) = c.palette;
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    const ConversionInput input{settings, &c.picture, SelectionState{}, glyphs, c.levels};

    RecordingServices reference;
    std::vector<ReferenceConverters::NearTie> nearTies;
    QCOMPARE(c.mode == 0 ? ReferenceConverters::normal(input, reference).outcome
                         : ReferenceConverters::twoLevel(input, reference, &nearTies).outcome,
             ConvOutcome::HandedOff);
    QCOMPARE(reference.text.count(QStringLiteral("\r\n")), c.lines - 1);
    int acceptedTies = 0;
    for (const int threads : {1, 2, 3}) {
        RecordingServices fast;
        QCOMPARE(c.mode == 0 ? ConvNormalWithThreads(input, fast, threads).outcome
                             : ConvTwoLevelWithThreads(input, fast, threads).outcome,
                 ConvOutcome::HandedOff);
        if (c.mode == 0)
            QCOMPARE(fast.text, reference.text);
        else
            compareTwoLevel(reference.text, fast.text, nearTies, acceptedTies);
    }
    if (acceptedTies > 0)
        qInfo("%d near ties (scores within 1e-12) decided the other way", acceptedTies);
}

void ConvDifferentialTest::portableAndVectorSumsAgree() {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> value(0.0, 1.0);
    std::vector<double> values(2 * 604);
    for (double& v : values)
        v = value(random);
    const double* const a = values.data();
    const double* const b = a + 604;
    const std::vector<AbsDiff::Kernel> kernels = AbsDiff::kernels();
    for (const int count :
         {0, 1, 3, 4, 15, 16, 17, 24, 31, 32, 33, 44, 100, 112, 128, 255, 256, 599}) {
        double plain = 0;
        for (int k = 0; k < count; ++k)
            plain += std::fabs(a[k] - b[k]);
        const double portable = kernels.front().sum(a, b, count, inf);
        QVERIFY(std::fabs(portable - plain) <= 1e-12 * (1 + plain));
        for (const AbsDiff::Kernel& kernel : kernels) {
            QCOMPARE(kernel.sum(a, b, count, inf), portable);
            // A limit below the sum: the answer must exceed it, whether it stopped early or not.
            if (count > 0)
                QVERIFY(kernel.sum(a, b, count, plain / 3) > plain / 3);
        }
    }
    qInfo("vector sums: %s", AbsDiff::chosenKernel());
}

void ConvDifferentialTest::screenEstimatesStayWithinTheirError() {
    // Uniform values, the levels a picture and a softened glyph take, and the extremes, where
    // the single-precision rounding is largest.
    std::mt19937 random(13);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::uniform_int_distribution<int> level(0, 255);
    const std::function<double()> draws[] = {
        [&] { return uniform(random); },
        [&] { return level(random) / 255.0; },
        [&] { return level(random) % 2 == 0 ? 0.9 : 1.0 / 3.0; },
        [&] { return level(random) % 2 == 0 ? 1.0 : 0.0; },
    };
    for (const auto& draw : draws) {
        // The window's 600 values, then four glyphs' 600 each.
        std::vector<double> values(5 * 600);
        for (double& v : values)
            v = draw();
        const std::vector<float> floats(values.begin(), values.end());
        const float* const maps[4] = {&floats[600], &floats[1200], &floats[1800], &floats[2400]};
        for (const int count : {1, 7, 16, 17, 48, 112, 176, 256, 333, 600}) {
            const double error = ScreenSums::error(count);
            for (const ScreenSums::Kernel& kernel : ScreenSums::kernels()) {
                double estimates[4];
                kernel.sum4(floats.data(), maps, count, estimates);
                for (int j = 0; j < 4; ++j) {
                    const double exact =
                        AbsDiff::sum(values.data(), &values[600 * (j + 1)], count, inf);
                    // An estimate as far off as allowed still lets the candidate through.
                    QVERIFY(ScreenSums::mayReach(exact + 0.999 * error, count, exact / count));
                    QVERIFY(!ScreenSums::mayReach(exact + 3 * error, count, exact / count));
                    QVERIFY2(std::fabs(estimates[j] - exact) <= error,
                             qPrintable(QStringLiteral("%1, %2 values: %3 against %4")
                                            .arg(QLatin1String(kernel.name))
                                            .arg(count)
                                            .arg(estimates[j], 0, 'g', 17)
                                            .arg(exact, 0, 'g', 17)));
                }
            }
        }
    }
}

void ConvDifferentialTest::blockBoundsNeverPassOverAWinner() {
    // Levels by hand: three columns of three values, the odd last row left out; 0.2, 0.6 and 0.5
    // of 255, the last rounded up.
    const double columns[] = {0.1, 0.3, 0.9, 0.5, 0.7, 0.2, 0.0, 1.0, 0.4};
    quint8 byHand[3];
    QCOMPARE(BlockMeans::count(3, 3), 3);
    BlockMeans::compute(columns, 3, 3, byHand);
    QCOMPARE(QList<int>(byHand, byHand + 3), (QList<int>{51, 153, 128}));

    forEachDraw(17, [](int width, int height, const std::vector<double>& window,
                       const std::vector<std::vector<double>>& glyphs, bool tightest) {
        const int values = width * height;
        const int blocks = BlockMeans::count(width, height);
        const auto levelsOf = [&](const std::vector<double>& columnValues) {
            std::vector<quint8> out(static_cast<size_t>(BlockScreen::stride(blocks)), 0);
            BlockMeans::compute(columnValues.data(), width, height, out.data());
            return out;
        };
        const std::vector<quint8> windowLevels = levelsOf(window);
        std::vector<quint32> sads;
        for (const std::vector<double>& glyph : glyphs) {
            const std::vector<quint8> glyphLevels = levelsOf(glyph);
            quint32 sad = 0;
            for (size_t b = 0; b < glyphLevels.size(); ++b)
                sad += static_cast<quint32>(std::abs(windowLevels[b] - glyphLevels[b]));
            sads.push_back(sad);
            if (tightest)
                QCOMPARE(sad, static_cast<quint32>(blocks));
            // A candidate whose score is the best one's is never passed over, and one whose
            // bound is twice the best score is.
            const double exact = AbsDiff::sum(window.data(), glyph.data(), values, inf);
            QVERIFY(ScreenSums::mayReachByBlocks(sad, blocks, values, exact / values));
            const double bound = BlockMeans::valuesPerBlock * (sad - blocks * 1.000001) / 255;
            if (bound > 0.1)
                QVERIFY(!ScreenSums::mayReachByBlocks(sad, blocks, values, bound / (2.0 * values)));
        }
        // Every kernel's sums, sixteen candidates at a time, the last group only partly filled.
        const int count = static_cast<int>(glyphs.size());
        const BlockScreen screen(count, blocks, [&](int k, quint8* out) {
            BlockMeans::compute(glyphs[static_cast<size_t>(k)].data(), width, height, out);
        });
        for (const BlockScreen::Kernel& kernel : BlockScreen::kernels()) {
            for (int first = 0; first < count; first += BlockScreen::lanes) {
                quint32 sums[BlockScreen::lanes];
                screen.sums(kernel, first / BlockScreen::lanes, windowLevels.data(), sums);
                for (int k = first; k < std::min(count, first + BlockScreen::lanes); ++k)
                    QVERIFY2(sums[k - first] == sads[static_cast<size_t>(k)], kernel.name);
            }
        }
    });
}

void ConvDifferentialTest::levelBoundsNeverPassOverAWinner() {
    // Levels by hand: halves round away from zero.
    const double byHand[] = {0.0, 1.0, 0.2, 0.5, 0.25};
    quint8 levels[5];
    LevelSad::quantize(byHand, 5, levels);
    QCOMPARE(QList<int>(levels, levels + 5), (QList<int>{0, 255, 51, 128, 64}));

    // Every kernel gives the plain sum, whole vectors and tails alike.
    std::mt19937 random(23);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const int count : {1, 7, 31, 32, 33, 63, 64, 65, 127, 256, 300}) {
        std::vector<quint8> a, b;
        quint32 plain = 0;
        for (int k = 0; k < count; ++k) {
            a.push_back(static_cast<quint8>(byte(random)));
            b.push_back(static_cast<quint8>(byte(random)));
            plain += static_cast<quint32>(std::abs(a.back() - b.back()));
        }
        for (const LevelSad::Kernel& kernel : LevelSad::kernels())
            QVERIFY2(
                kernel.sum(a.data(), b.data(), count) == plain,
                qPrintable(
                    QStringLiteral("%1, %2 values").arg(QLatin1String(kernel.name)).arg(count)));
    }

    forEachDraw(29, [](int width, int height, const std::vector<double>& window,
                       const std::vector<std::vector<double>>& glyphs, bool tightest) {
        const int values = width * height;
        std::vector<quint8> windowLevels(window.size());
        std::vector<quint8> glyphLevels(window.size());
        LevelSad::quantize(window.data(), values, windowLevels.data());
        for (const std::vector<double>& glyph : glyphs) {
            LevelSad::quantize(glyph.data(), values, glyphLevels.data());
            const quint32 sad = LevelSad::sum(windowLevels.data(), glyphLevels.data(), values);
            if (tightest)
                QCOMPARE(sad, static_cast<quint32>(values));
            // A candidate whose score is the best one's is never passed over, and one whose
            // bound is twice the best score is.
            const double exact = AbsDiff::sum(window.data(), glyph.data(), values, inf);
            QVERIFY(ScreenSums::mayReachByLevels(sad, values, exact / values));
            const double bound = (sad - values * 1.000001) / 255;
            if (bound > 0.1)
                QVERIFY(!ScreenSums::mayReachByLevels(sad, values, bound / (2.0 * values)));
        }
    });
}

// The limits found once per place pass exactly the sads that the rules pass, for every sad,
// with cuts on a limit's edge, far below any sad, and above every sad.
void ConvDifferentialTest::sadLimitsDecideAsTheRules() {
    for (const int width : {6, 16}) {
        const int values = width * 16;
        const int blocks = values / BlockMeans::valuesPerBlock;
        // 2.0 / values: a block sad of exactly 255 + blocks (plus the slack) passes; the next not.
        // edge: the rule's right side just below a whole sad, which only the slack lets through.
        const double edge = (1000 - 1e-11) / (values * double{LevelSad::levels});
        for (const double score :
             {0.0, 1e-9, 2.0 / values, edge, 2 * edge, 0.1, 0.3337, 0.9, 1.0, 5.0, inf}) {
            const qint64 blockLimit = ScreenSums::blockSadLimit(blocks, values, score);
            for (qint64 sad = 0; sad <= qint64{blocks} * LevelSad::levels; ++sad)
                QVERIFY2(
                    (sad <= blockLimit) == ScreenSums::mayReachByBlocks(static_cast<quint32>(sad),
                                                                        blocks, values, score),
                    qPrintable(QStringLiteral("blocks, score %1, sad %2").arg(score).arg(sad)));
            const qint64 levelLimit = ScreenSums::levelSadLimit(values, score);
            for (qint64 sad = 0; sad <= qint64{values} * LevelSad::levels; ++sad)
                QVERIFY2(
                    (sad <= levelLimit) ==
                        ScreenSums::mayReachByLevels(static_cast<quint32>(sad), values, score),
                    qPrintable(QStringLiteral("values, score %1, sad %2").arg(score).arg(sad)));
        }
    }
}

void ConvDifferentialTest::threadsAskThe999QuestionOnce() {
    // 8 lines of "." (3 pixels wide at 16-pixel rows) over a picture 24 times as wide as tall:
    // far more than 999 characters on every line.
    const QImage picture = gradient(960, 40);
    for (const int mode : {0, 1}) {
        SettingsRecord settings;
        settings.ConvMode = static_cast<qint16>(mode);
        settings.TextLines = 8;
        settings.TextTable1 = settings.TextTable2 = QStringLiteral(".");
        const FontGlyphs glyphs(FontSetup::textFont(settings));
        const ConversionInput input{settings, &picture, SelectionState{}, glyphs, {0, 255}};
        RecordingServices reference;
        if (mode == 0)
            ReferenceConverters::normal(input, reference);
        else
            ReferenceConverters::twoLevel(input, reference);
        for (const bool answer : {true, false}) {
            RecordingServices services;
            services.answer999 = answer;
            const ConversionResult result = mode == 0 ? ConvNormalWithThreads(input, services, 2)
                                                      : ConvTwoLevelWithThreads(input, services, 2);
            QCOMPARE(services.questions999, 1);
            QCOMPARE(result.outcome, answer ? ConvOutcome::HandedOff : ConvOutcome::Cancelled999);
            QCOMPARE(services.handedOff, answer);
            if (!answer)
                continue;
            QCOMPARE(services.text, reference.text);
            for (const QString& line : services.text.split(QStringLiteral("\r\n")))
                QCOMPARE(line.size(), 999);
        }
    }
}

void ConvDifferentialTest::threadsAbort() {
    // The abort request comes at the first check after "準備中": the run ends without output.
    SettingsRecord settings;
    settings.TextLines = 50;
    const QImage picture = shapes(200, 150);
    const FontGlyphs glyphs(FontSetup::textFont(settings));
    const ConversionInput input{settings, &picture, SelectionState{}, glyphs, LevelPair{0, 255}};
    for (const int mode : {0, 1}) {
        RecordingServices services;
        services.abortAfterYields = 1;
        const ConversionResult result = mode == 0 ? ConvNormalWithThreads(input, services, 2)
                                                  : ConvTwoLevelWithThreads(input, services, 2);
        QCOMPARE(result.outcome, ConvOutcome::Aborted);
        QVERIFY(!services.handedOff);
        QCOMPARE(services.yields, 2);
    }
}

QTEST_MAIN(ConvDifferentialTest)
#include "ConvDifferentialTest.moc"
