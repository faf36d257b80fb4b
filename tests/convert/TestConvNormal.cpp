// The normal converter on hand-drawn glyphs, where every brightness can be worked out by hand.
// Glyphs are 2 pixels high; a picture 2 x TextLines pixels high maps 1:1 onto the raster.

#include "common/HandGlyphs.h"
#include "common/RecordingServices.h"
#include "convert/ConvNormal.h"
#include "convert/RunMessages.h"

#include <QTest>

class TestConvNormal : public QObject {
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
    void lineLayout();
    void progress();
    void cut999_data();
    void cut999();
    void lastColumnOfACutLine();
    void abort_data();
    void abort();
    void endsWithoutText_data();
    void endsWithoutText();
};

// Ground counts as bright, so: blank 1, "A", "B", "+" 0.75, "|" 0.5, "#" 0; "W" is a blank four
// pixels wide and "Z" has no width.
static HandGlyphs handGlyphs() {
    HandGlyphs glyphs(2);
    glyphs.addBlank(QStringLiteral(" "), 2);
    glyphs.add(QStringLiteral("#"), rows("##/##"));
    glyphs.add(QStringLiteral("+"), rows("#./.."));
    glyphs.add(QStringLiteral("A"), rows("#./.."));
    glyphs.add(QStringLiteral("B"), rows(".#/.."));
    glyphs.add(QStringLiteral("|"), rows("#/."));
    glyphs.addBlank(QStringLiteral("W"), 4);
    glyphs.add(QStringLiteral("Z"), {QString(), QString()});
    return glyphs;
}

// More than 32 characters, so the converter searches them sorted by brightness: 36 of them
// ("a".."z", "0".."9") drawn like "A", so all 37 share the brightness 0.75.
static QString lettersLikeA() {
    QString letters;
    for (char c = 'a'; c <= 'z'; ++c)
        letters += QLatin1Char(c);
    for (char c = '0'; c <= '9'; ++c)
        letters += QLatin1Char(c);
    return letters;
}

static HandGlyphs manyGlyphs() {
    HandGlyphs glyphs = handGlyphs();
    for (const QChar c : lettersLikeA())
        glyphs.add(QString(c), rows("#./.."));
    return glyphs;
}

static QImage filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

static QImage grey(int width, int height, int level) {
    return filled(width, height, QColor(level, level, level));
}

static ConversionResult convert(const SettingsRecord& settings, const QImage* picture,
                                const GlyphSource& glyphs, RecordingServices& services,
                                SelectionState selection = {}, LevelPair levels = {0, 255}) {
    return ConvNormal(ConversionInput{settings, picture, selection, glyphs, levels}, services);
}

static SettingsRecord settingsFor(const QString& palette, int lines, bool reverse = false) {
    SettingsRecord settings;
    settings.TextTable1 = palette;
    settings.TextLines = static_cast<qint16>(lines);
    settings.RvFlg = reverse;
    return settings;
}

void TestConvNormal::choice_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    QTest::addColumn<QString>("line");

    QImage edge = filled(5, 2, Qt::black);
    edge.setPixel(4, 0, qRgb(255, 255, 255));
    edge.setPixel(4, 1, qRgb(255, 255, 255));
    QImage halves = filled(8, 2, Qt::white);
    for (int x = 4; x < 8; ++x) {
        halves.setPixel(x, 0, qRgb(0, 0, 0));
        halves.setPixel(x, 1, qRgb(0, 0, 0));
    }
    QImage gradient(8, 2, QImage::Format_RGB32);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 2; ++y)
            gradient.setPixel(x, y, qRgb(x * 36, x * 36, x * 36));

    const QImage white = filled(6, 2, Qt::white);
    const QImage black = filled(6, 2, Qt::black);
    QTest::newRow("white: blanks") << " +#" << false << white << 0 << 255 << "   ";
    QTest::newRow("black: densest") << " +#" << false << black << 0 << 255 << "###";
    QTest::newRow("grey 191: nearest") << " +#" << false << grey(6, 2, 191) << 0 << 255 << "+++";
    QTest::newRow("halves") << " +#" << false << halves << 0 << 255 << "  ##";
    // Reversed, the ink is what is bright: blank 0, "+" 0.25, "#" 1.
    QTest::newRow("reversed white") << " +#" << true << white << 0 << 255 << "###";
    QTest::newRow("reversed black") << " +#" << true << black << 0 << 255 << "   ";
    QTest::newRow("reversed grey 64") << " +#" << true << grey(6, 2, 64) << 0 << 255 << "+++";
    QTest::newRow("tie: first wins") << " AB#" << false << grey(6, 2, 191) << 0 << 255 << "AAA";
    QTest::newRow("tie: other order") << " BA#" << false << grey(6, 2, 191) << 0 << 255 << "BBB";
    // The same ties in a long palette: the earliest of the 37 still wins, wherever it stands.
    const QString letters = lettersLikeA();
    QTest::newRow("long tie: first wins")
        << QStringLiteral(" #A") + letters << false << grey(6, 2, 191) << 0 << 255 << "AAA";
    QTest::newRow("long tie: first letter wins")
        << QStringLiteral(" #") + letters + QLatin1Char('A') << false << grey(6, 2, 191) << 0 << 255
        << "aaa";
    QTest::newRow("long tie: a middle one wins")
        << letters.mid(20) + QStringLiteral("# ") + letters.left(20) << false << grey(6, 2, 191)
        << 0 << 255 << letters.mid(20, 1).repeated(3);
    QTest::newRow("one character") << "+" << false << gradient << 0 << 255 << "++++";
    QTest::newRow("same brightness") << "AB" << false << gradient << 0 << 255 << "AAAA";
    // A blank of no width would tie with the blank and come first; it is never placed.
    QTest::newRow("width 0 never placed") << "Z #" << false << white << 0 << 255 << "   ";
    // At x = 4 one white column is left: "W" matches it exactly when judged on that column
    // alone; averaged over its four columns it would lose to "#".
    QTest::newRow("right edge") << "W#|" << false << edge << 0 << 255 << "##W";
    QTest::newRow("right edge, white")
        << "W#|" << false << filled(5, 2, Qt::white) << 0 << 255 << "WW";
    // 128 / 255 through levels 0..128 is 1, through 128..255 it is 0.
    QTest::newRow("levels up to 128") << " +#" << false << grey(6, 2, 128) << 0 << 128 << "   ";
    QTest::newRow("levels from 128") << " +#" << false << grey(6, 2, 128) << 128 << 255 << "###";
}

void TestConvNormal::choice() {
    QFETCH(QString, palette);
    QFETCH(bool, reverse);
    QFETCH(QImage, picture);
    QFETCH(int, lo);
    QFETCH(int, hi);
    QFETCH(QString, line);
    const HandGlyphs glyphs = manyGlyphs();
    RecordingServices services;
    const ConversionResult result =
        convert(settingsFor(palette, 1, reverse), &picture, glyphs, services, {},
                LevelPair{static_cast<qint16>(lo), static_cast<qint16>(hi)});
    QCOMPARE(int(result.outcome), int(ConvOutcome::HandedOff));
    QVERIFY(services.handedOff);
    QCOMPARE(services.text, line);
    QVERIFY(services.messages.isEmpty());
    QCOMPARE(services.questions999, 0);
}

// Exactly TextLines lines, joined by CR LF, no line end after the last.
void TestConvNormal::lineLayout() {
    const HandGlyphs glyphs = handGlyphs();
    QImage picture = filled(4, 6, Qt::white);
    for (int x = 0; x < 4; ++x) {
        picture.setPixel(x, 2, qRgb(0, 0, 0));
        picture.setPixel(x, 3, qRgb(0, 0, 0));
    }
    RecordingServices services;
    convert(settingsFor(QStringLiteral(" #"), 3), &picture, glyphs, services);
    QCOMPARE(services.text, QStringLiteral("  \r\n##\r\n  "));
}

// Four columns of one-pixel characters on two lines: the percentage before each character is
// floor((x / 4 + r) / 2 * 100), shown only when it changes.
void TestConvNormal::progress() {
    HandGlyphs glyphs(1);
    glyphs.add(QStringLiteral("I"), rows("."));
    const QImage picture = filled(4, 2, Qt::white);
    RecordingServices services;
    convert(settingsFor(QStringLiteral("II"), 2), &picture, glyphs, services);
    QCOMPARE(services.preparingShown, 1);
    QCOMPARE(services.percents, (QList<int>{0, 12, 25, 37, 50, 62, 75, 87}));
    QCOMPARE(services.yields, 1 + 8);
    QCOMPARE(services.text, QStringLiteral("IIII\r\nIIII"));
}

void TestConvNormal::cut999_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("handedOff");
    QTest::newRow("999 columns") << 999 << true << 0 << true;
    QTest::newRow("1000 columns, OK") << 1000 << true << 1 << true;
    QTest::newRow("2500 columns, OK") << 2500 << true << 1 << true;
    QTest::newRow("1000 columns, Cancel") << 1000 << false << 1 << false;
}

// One-pixel glyphs one pixel high: the raster is as wide as the picture.
void TestConvNormal::cut999() {
    QFETCH(int, width);
    QFETCH(bool, answer);
    QFETCH(int, questions);
    QFETCH(bool, handedOff);
    HandGlyphs glyphs(1);
    glyphs.add(QStringLiteral("I"), rows("."));
    const QImage picture = filled(width, 3, Qt::white);
    RecordingServices services;
    services.answer999 = answer;
    const ConversionResult result =
        convert(settingsFor(QStringLiteral("I"), 3), &picture, glyphs, services);
    QCOMPARE(services.questions999, questions);
    QCOMPARE(services.handedOff, handedOff);
    if (!handedOff) {
        QCOMPARE(int(result.outcome), int(ConvOutcome::Cancelled999));
        return;
    }
    const QString line(999, u'I');
    QCOMPARE(services.text, line + QStringLiteral("\r\n") + line + QStringLiteral("\r\n") + line);
}

// The 999th character of a cut line still sees the brightness of its own column: a black
// picture 5000 pixels wide with a white column at x = 998.
void TestConvNormal::lastColumnOfACutLine() {
    HandGlyphs glyphs(1);
    glyphs.add(QStringLiteral("I"), rows("."));
    glyphs.add(QStringLiteral("#"), rows("#"));
    QImage picture = filled(5000, 1, Qt::black);
    picture.setPixel(998, 0, qRgb(255, 255, 255));
    RecordingServices services;
    convert(settingsFor(QStringLiteral("I#"), 1), &picture, glyphs, services);
    QCOMPARE(services.questions999, 1);
    QCOMPARE(services.text, QString(998, u'#') + u'I');
}

void TestConvNormal::abort_data() {
    QTest::addColumn<int>("afterYields");
    QTest::addColumn<int>("yields");
    QTest::newRow("while preparing") << 0 << 1;
    QTest::newRow("at the fourth character") << 4 << 5;
    QTest::newRow("at the last character") << 12 << 13;
}

void TestConvNormal::abort() {
    QFETCH(int, afterYields);
    QFETCH(int, yields);
    const HandGlyphs glyphs = handGlyphs();
    const QImage picture = filled(8, 6, Qt::white);
    RecordingServices services;
    services.abortAfterYields = afterYields;
    const ConversionResult result =
        convert(settingsFor(QStringLiteral(" #"), 3), &picture, glyphs, services);
    QCOMPARE(int(result.outcome), int(ConvOutcome::Aborted));
    QCOMPARE(services.yields, yields);
    QVERIFY(!services.handedOff);
    QVERIFY(services.messages.isEmpty());
}

void TestConvNormal::endsWithoutText_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QSize>("picture"); // empty: no picture loaded
    QTest::addColumn<QRect>("selection");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("handedOff");
    const QSize size(8, 2);
    QTest::newRow("no picture") << " #" << QSize() << QRect() << int(ConvOutcome::EmptyText)
                                << QString() << true;
    QTest::newRow("hyphens alone") << "--" << size << QRect() << int(ConvOutcome::EmptyPalette)
                                   << RunMessages::paletteHasNoUsableCharacter() << false;
    QTest::newRow("only width 0") << "ZZ" << size << QRect() << int(ConvOutcome::EmptyPalette)
                                  << RunMessages::paletteHasNoUsableCharacter() << false;
    // 2 * 1 * 1 / 100 rounds to no column.
    QTest::newRow("too narrow") << " #" << QSize(1, 100) << QRect() << int(ConvOutcome::TooNarrow)
                                << RunMessages::selectionTooNarrow() << false;
    QTest::newRow("origin beyond right")
        << " #" << size << QRect(QPoint(9, 0), QPoint(12, 1)) << int(ConvOutcome::InvalidSelection)
        << RunMessages::invalidSelection() << false;
    QTest::newRow("wholly left") << " #" << size << QRect(QPoint(-9, 0), QPoint(-2, 1))
                                 << int(ConvOutcome::InvalidSelection)
                                 << RunMessages::invalidSelection() << false;
    QTest::newRow("no pixels") << " #" << size << QRect(QPoint(3, 1), QPoint(3, 1))
                               << int(ConvOutcome::EmptySelection) << QString() << false;
}

void TestConvNormal::endsWithoutText() {
    QFETCH(QString, palette);
    QFETCH(QSize, picture);
    QFETCH(QRect, selection);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    QFETCH(bool, handedOff);
    const HandGlyphs glyphs = handGlyphs();
    const QImage image =
        picture.isEmpty() ? QImage() : filled(picture.width(), picture.height(), Qt::white);
    SelectionState corners;
    if (!selection.isNull()) {
        corners.AiraVisible = true;
        corners.AiraX1 = static_cast<qint16>(selection.left());
        corners.AiraY1 = static_cast<qint16>(selection.top());
        corners.AiraX2 = static_cast<qint16>(selection.right());
        corners.AiraY2 = static_cast<qint16>(selection.bottom());
    }
    RecordingServices services;
    const ConversionResult result = convert(
        settingsFor(palette, 1), picture.isEmpty() ? nullptr : &image, glyphs, services, corners);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(services.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(services.handedOff, handedOff);
    QVERIFY(services.text.isEmpty());
    QCOMPARE(services.questions999, 0);
}

QTEST_APPLESS_MAIN(TestConvNormal)
#include "TestConvNormal.moc"
