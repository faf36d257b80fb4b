// charloom-cli end to end: pictures and settings files made here, the built program run as a
// process, its output checked byte for byte.

#include "common/CliRun.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Standard output: UTF-8 lines, each ended by LF.
QStringList outputLines(const QByteArray& out) {
    QString text = QString::fromUtf8(out);
    if (!text.endsWith(u'\n'))
        return {};
    text.chop(1);
    return text.split(u'\n');
}

// The conversion and font keys of a settings file in this mode.
QByteArray settingsFile(const char* mode) {
    return QByteArray("[Settings]\r\nConvMode=") + mode +
           "\r\nTextLines=6\r\nLineSpace=0\r\nTextTable1=.:+#\r\nTextTable2=.@\r\nLsConv=1\r\n"
           "NitiGosa=0.2\r\nFontName=IPAPGothic\r\nFontSize=24\r\n";
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    CliRun run(const QStringList& arguments) const {
        return runCli(QStringList{QStringLiteral("-q")} + arguments);
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // The words of the arguments (split at blanks), file names made into paths in the test's
    // folder.
    QStringList withPaths(const QString& arguments) const {
        QStringList words = arguments.split(u' ', Qt::SkipEmptyParts);
        for (QString& word : words)
            for (const char* suffix : {".png", ".ini", ".txt", ".bmp"})
                if (word.endsWith(QLatin1String(suffix)))
                    word = path(word);
        return words;
    }
    void makePicture(const QString& name, QImage image) const { QVERIFY(image.save(path(name))); }
    static QImage plain(int width, int height, QColor colour) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }
    // Greys 64..191 from left to right.
    static QImage ramp() {
        QImage image(256, 96, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < 256; ++x)
                image.setPixel(x, y, qRgb(64 + x / 2, 64 + x / 2, 64 + x / 2));
        return image;
    }
    void writeSettings(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(cliProgram()), "charloom-cli is not built (CHARLOOM_BIN_DIR)");
        QVERIFY(m_dir.isValid());
        makePicture(QStringLiteral("white.png"), plain(64, 64, Qt::white));
        makePicture(QStringLiteral("black.png"), plain(64, 64, Qt::black));
        makePicture(QStringLiteral("grey.png"), plain(64, 64, QColor(100, 100, 100)));
        makePicture(QStringLiteral("wide.png"), plain(3000, 10, Qt::white));
        makePicture(QStringLiteral("narrow.png"), plain(10, 50, Qt::white));
        makePicture(QStringLiteral("ramp.png"), ramp());
        writeSettings(QStringLiteral("plain.ini"), settingsFile("0"));
        writeSettings(QStringLiteral("twolevel.ini"), settingsFile("1"));
    }

    void plainPictures_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("width"); // of every line; 0: any up to 999
        // In the default font at 16 pixels "@" covers the largest share of its box.
        const auto row = [](const char* name, const char* arguments, const char* character,
                            int count, int width = 0) {
            QTest::newRow(name) << QString::fromUtf8(arguments) << QString::fromUtf8(character)
                                << count << width;
        };
        row("white", "--lines 10 white.png", " ", 10);
        row("black", "--lines 10 black.png", "@", 10);
        row("reversed white", "--lines 10 --reverse white.png", "@", 10);
        row("reversed black", "--lines 10 --reverse black.png", " ", 10);
        row("own palette, black", "--lines 10 --palette .: black.png", ":", 10);
        row("levels make grey white", "--lines 10 --levels 0,1 grey.png", " ", 10);
        row("default line count", "black.png", "@", 26);
        row("one line", "--lines 1 black.png", "@", 1);
        row("line count 2.5 to even", "--lines 2.5 black.png", "@", 2);
        // 3000 x 10 pixels in 5 lines of 16 pixels: 24000 raster columns, cut at 999 characters
        // with one warning.
        row("long lines cut", "--lines 5 --palette # wide.png", "#", 5, 999);
    }

    // The asked number of lines, each only the expected character and at most 999 long; a
    // warning on standard error exactly when lines were cut.
    void plainPictures() {
        QFETCH(QString, arguments);
        QFETCH(QString, character);
        QFETCH(int, count);
        QFETCH(int, width);
        const CliRun result = run(withPaths(arguments));
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = outputLines(result.out);
        QCOMPARE(lines.size(), count);
        for (const QString& line : lines) {
            QVERIFY(!line.isEmpty() && line.size() <= 999);
            QCOMPARE(line, QString(width ? width : line.size(), character[0]));
        }
        const bool cut = width == 999;
        QCOMPARE(result.err.count('\n'), cut ? 1 : 0);
        QCOMPARE(result.err.contains("999"), cut);
    }

    void standardOutput_data() {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("character");
        QTest::newRow("default UTF-8") << "" << QByteArray("\xE3\x80\x80");
        QTest::newRow("cp932") << "--encoding cp932" << QByteArray("\x81\x40");
    }

    // Standard output follows the terminal's convention: LF after every line, the last included.
    void standardOutput() {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, character);
        const CliRun result =
            run(withPaths(QStringLiteral("--lines 2 --palette 　 white.png ") + encoding));
        QCOMPARE(result.exitCode, 0);
        const qsizetype perLine = result.out.indexOf('\n') / character.size();
        QVERIFY(perLine > 0);
        const QByteArray line = character.repeated(perLine) + '\n';
        QCOMPARE(result.out, line + line);
    }

    void version() {
        const CliRun result = run({QStringLiteral("--version")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.startsWith("charloom-cli 1.4.0\n"));
        QVERIFY2(result.out.contains("Monapo"), result.out.constData());
    }

    void outputFile_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QByteArray>("character");
        QTest::newRow("white: full-width blanks") << "white.png" << QByteArray("\x81\x40");
        QTest::newRow("black: squares") << "black.png" << QByteArray("\x81\xA1");
    }

    // The file holds code page 932, CR LF between lines and nothing after the last.
    void outputFile() {
        QFETCH(QString, picture);
        QFETCH(QByteArray, character);
        const QString out = path(QStringLiteral("out.txt"));
        QFile::remove(out);
        const CliRun result =
            run({QStringLiteral("--lines"), QStringLiteral("3"), QStringLiteral("--palette"),
                 QStringLiteral("　■"), QStringLiteral("-o"), out, path(picture)});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray());
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!bytes.endsWith('\n'));
        QCOMPARE(bytes.count('\n'), 2);
        QCOMPARE(bytes.count("\r\n"), 2);
        for (const QByteArray& line : bytes.split('\n')) {
            const QByteArray chars = line.endsWith('\r') ? line.chopped(1) : line;
            QVERIFY(!chars.isEmpty());
            QCOMPARE(chars, character.repeated(chars.size() / 2));
        }
        QVERIFY(Cp932::decode(bytes).ok);
    }

    void badInput_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message"); // $DIR: the test's folder
        const auto row = [](const char* name, const char* arguments, int exitCode,
                            const char* message) {
            QTest::newRow(name) << QString::fromUtf8(arguments) << exitCode
                                << QString::fromUtf8(message);
        };
        // Options the parser refuses end with 2, faults of the run with 1.
        row("missing picture", "missing.png", 1,
            "missing.png ファイルの形式には対応しておりません。");
        row("lines 0", "--lines 0 white.png", 2, "行数は 1 以上でなければなりません");
        row("lines 1000", "--lines 1000 white.png", 2, "行数は 999 以下でなければなりません");
        row("lines abc", "--lines abc white.png", 2, "行数の設定が不正です");
        row("empty palette", "--palette= white.png", 2, "文字パレットの設定が必要です");
        row("palette of hyphens", "--palette=-- white.png", 1,
            "文字パレットに使える文字がありません");
        row("selection beyond the picture", "--select 70,0,80,10 white.png", 1,
            "選択範囲が不正です");
        row("selection left of the picture", "--select=-20,0,-10,10 white.png", 1,
            "選択範囲が不正です");
        row("automatic levels of a selection beyond the picture",
            "--levels auto --select 70,0,80,10 white.png", 1, "選択範囲が不正です");
        // One pixel by 50: 16 * 1 * 1 / 50 rounds to no column.
        row("selection too narrow", "--lines 1 --select 0,0,1,50 narrow.png", 1,
            "選択範囲が狭すぎて変換できません");
        row("missing settings file", "--settings missing.ini white.png", 2,
            "$DIR/missing.ini ファイルは存在しません。");
        row("unknown colour", "--back-color nocolour -o x.bmp white.png", 2,
            "--back-color の値が不正です: nocolour");
        row("text into a missing folder", "-o nowhere/out.txt white.png", 1,
            "$DIR/nowhere/out.txtに保存できません。");
        row("bitmap into a missing folder", "-o nowhere/out.bmp white.png", 1,
            "$DIR/nowhere/out.bmpに保存できません。");
    }

    // One line on standard error, nothing on standard output, no file written.
    void badInput() {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
        const CliRun result =
            run(QStringList{QStringLiteral("-o"), path(QStringLiteral("never.txt"))} +
                withPaths(arguments));
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(result.err),
                 QStringLiteral("charloom-cli: ") +
                     message.replace(QStringLiteral("$DIR"), m_dir.path()) + u'\n');
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    void sameOutput_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("same");
        const auto row = [](const char* name, const char* first, const char* second, bool same) {
            QTest::newRow(name) << QString::fromLatin1(first) << QString::fromLatin1(second)
                                << same;
        };
        // --settings: the file's palette, line count, mode and font are the run's defaults.
        row("the file's palette, lines and font", "--settings plain.ini ramp.png",
            "--palette .:+# --lines 6 --font IPAPGothic --size 24 ramp.png", true);
        row("the font makes a difference", "--settings plain.ini ramp.png",
            "--settings plain.ini --font IPAGothic ramp.png", false);
        row("the file's mode", "--settings twolevel.ini ramp.png",
            "--mode two-level --palette .@ --lines 6 --font IPAPGothic --size 24 ramp.png", true);
        // --levels auto: the knobs at nearest(64u) = 424 and nearest(191u + 180) = 1445 twips
        // (u = 1695 / 256), read as levels floor(424 / u) = 64 and floor(1265 / u) = 191.
        row("automatic levels", "--levels auto ramp.png", "--levels 64,191 ramp.png", true);
        row("automatic levels make a difference", "--levels auto ramp.png", "ramp.png", false);
    }

    // Two runs that must print the same text, or (to show that the first check can fail) not.
    void sameOutput() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, same);
        const CliRun a = run(withPaths(first));
        const CliRun b = run(withPaths(second));
        QCOMPARE(a.exitCode, 0);
        QCOMPARE(b.exitCode, 0);
        QVERIFY(!a.out.isEmpty());
        QCOMPARE(a.out == b.out, same);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
