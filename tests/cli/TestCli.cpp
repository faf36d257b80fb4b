// charloom-cli end to end: pictures made here, the built program run as a process, its output
// checked byte for byte.

#include "common/CliRun.h"
#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void plainPictures_data();
    void plainPictures();
    void lineCount_data();
    void lineCount();
    void longLinesCut();
    void standardOutput_data();
    void standardOutput();
    void version();
    void outputFile_data();
    void outputFile();
    void badInput_data();
    void badInput();

private:
    CliRun run(const QStringList& arguments) const {
        return runCli(QStringList{QStringLiteral("-q")} + arguments);
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // The words of the arguments, picture names made into paths in the test's folder.
    QStringList withPaths(const QString& arguments) const {
        QStringList words = arguments.split(u' ');
        for (QString& word : words)
            if (word.endsWith(QStringLiteral(".png")))
                word = path(word);
        return words;
    }
    void makePicture(const QString& name, int width, int height, QColor colour) const;

    QTemporaryDir m_dir;
};

void TestCli::initTestCase() {
    QVERIFY2(QFile::exists(cliProgram()), "charloom-cli is not built (CHARLOOM_BIN_DIR)");
    QVERIFY(m_dir.isValid());
    makePicture(QStringLiteral("white.png"), 64, 64, Qt::white);
    makePicture(QStringLiteral("black.png"), 64, 64, Qt::black);
    makePicture(QStringLiteral("wide.png"), 3000, 10, Qt::white);
    makePicture(QStringLiteral("narrow.png"), 10, 50, Qt::white);
}

void TestCli::makePicture(const QString& name, int width, int height, QColor colour) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path(name)));
}

// Standard output: UTF-8 lines, each ended by LF.
static QStringList outputLines(const QByteArray& out) {
    QString text = QString::fromUtf8(out);
    if (!text.endsWith(u'\n'))
        return {};
    text.chop(1);
    return text.split(u'\n');
}

void TestCli::plainPictures_data() {
    QTest::addColumn<QString>("arguments"); // split at blanks
    QTest::addColumn<QString>("character");
    // In the default font at 16 pixels "@" covers the largest share of its box.
    const auto row = [](const char* name, const char* arguments, const char* character) {
        QTest::newRow(name) << QString::fromUtf8(arguments) << QString::fromUtf8(character);
    };
    row("white", "white.png", " ");
    row("black", "black.png", "@");
    row("reversed white", "--reverse white.png", "@");
    row("reversed black", "--reverse black.png", " ");
    row("own palette, black", "--palette .: black.png", ":");
    row("levels make grey white", "--levels 0,1 grey.png", " ");
}

void TestCli::plainPictures() {
    QFETCH(QString, arguments);
    QFETCH(QString, character);
    makePicture(QStringLiteral("grey.png"), 64, 64, QColor(100, 100, 100));
    const CliRun result =
        run(QStringList{QStringLiteral("--lines"), QStringLiteral("10")} + withPaths(arguments));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    const QStringList lines = outputLines(result.out);
    QCOMPARE(lines.size(), 10);
    for (const QString& line : lines) {
        QVERIFY(!line.isEmpty());
        QCOMPARE(line, QString(line.size(), character[0]));
    }
}

void TestCli::lineCount_data() {
    QTest::addColumn<QString>("lines"); // empty: the default
    QTest::addColumn<int>("count");
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("7") << "7" << 7;
    QTest::newRow("blanks around 12") << " 12 " << 12;
    QTest::newRow("2.5 to even") << "2.5" << 2;
    QTest::newRow("default") << "" << 26;
    QTest::newRow("100") << "100" << 100;
}

void TestCli::lineCount() {
    QFETCH(QString, lines);
    QFETCH(int, count);
    QStringList args{path(QStringLiteral("black.png"))};
    if (!lines.isEmpty())
        args << QStringLiteral("--lines") << lines;
    const CliRun result = run(args);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(outputLines(result.out).size(), count);
}

// 3000 x 10 pixels in 5 lines of 16 pixels: 24000 raster columns, far beyond 999 characters.
void TestCli::longLinesCut() {
    const CliRun result =
        run({QStringLiteral("--lines"), QStringLiteral("5"), QStringLiteral("--palette"),
             QStringLiteral("#"), path(QStringLiteral("wide.png"))});
    QCOMPARE(result.exitCode, 0);
    const QStringList lines = outputLines(result.out);
    QCOMPARE(lines.size(), 5);
    for (const QString& line : lines)
        QCOMPARE(line, QString(999, u'#'));
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY(QString::fromUtf8(result.err).contains(QStringLiteral("999")));
}

void TestCli::standardOutput_data() {
    QTest::addColumn<QString>("encoding"); // empty: the default
    QTest::addColumn<QByteArray>("character");
    QTest::newRow("default UTF-8") << "" << QByteArray("\xE3\x80\x80");
    QTest::newRow("cp932") << "cp932" << QByteArray("\x81\x40");
}

// Standard output follows the terminal's convention: LF after every line, the last included.
void TestCli::standardOutput() {
    QFETCH(QString, encoding);
    QFETCH(QByteArray, character);
    QStringList args{QStringLiteral("--lines"), QStringLiteral("2"), QStringLiteral("--palette"),
                     QStringLiteral("　"), path(QStringLiteral("white.png"))};
    if (!encoding.isEmpty())
        args << QStringLiteral("--encoding") << encoding;
    const CliRun result = run(args);
    QCOMPARE(result.exitCode, 0);
    const qsizetype perLine = result.out.indexOf('\n') / character.size();
    QVERIFY(perLine > 0);
    const QByteArray line = character.repeated(perLine) + '\n';
    QCOMPARE(result.out, line + line);
}

void TestCli::version() {
    const CliRun result = run({QStringLiteral("--version")});
    QCOMPARE(result.exitCode, 0);
    const QString text = QString::fromUtf8(result.out);
    QVERIFY(text.startsWith(QStringLiteral("charloom-cli 1.4.0\n")));
    QVERIFY2(text.contains(QStringLiteral("Monapo")), qPrintable(text));
}

void TestCli::outputFile_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QByteArray>("character");
    QTest::newRow("white: full-width blanks") << "white.png" << QByteArray("\x81\x40");
    QTest::newRow("black: squares") << "black.png" << QByteArray("\x81\xA1");
}

// The file holds code page 932, CR LF between lines and nothing after the last.
void TestCli::outputFile() {
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
    const QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        QVERIFY(!line.isEmpty());
        QCOMPARE(line, character.repeated(line.size() / 2));
    }
    QVERIFY(Cp932::decode(bytes).ok);
}

void TestCli::badInput_data() {
    QTest::addColumn<QString>("arguments"); // split at blanks
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const char* arguments, const char* message) {
        QTest::newRow(name) << QString::fromUtf8(arguments) << QString::fromUtf8(message);
    };
    row("missing picture", "missing.png", "missing.png ファイルの形式には対応しておりません。");
    row("lines 0", "--lines 0 white.png", "行数は 1 以上でなければなりません");
    row("lines 1000", "--lines 1000 white.png", "行数は 999 以下でなければなりません");
    row("lines abc", "--lines abc white.png", "行数の設定が不正です");
    row("empty palette", "--palette= white.png", "文字パレットの設定が必要です");
    row("palette of hyphens", "--palette=-- white.png", "文字パレットに使える文字がありません");
    row("selection beyond the picture", "--select 70,0,80,10 white.png", "選択範囲が不正です");
    row("selection left of the picture", "--select=-20,0,-10,10 white.png", "選択範囲が不正です");
    // One pixel by 50: 16 * 1 * 1 / 50 rounds to no column.
    row("selection too narrow", "--lines 1 --select 0,0,1,50 narrow.png",
        "選択範囲が狭すぎて変換できません");
}

void TestCli::badInput() {
    QFETCH(QString, arguments);
    QFETCH(QString, message);
    const QString out = path(QStringLiteral("never.txt"));
    const CliRun result = run(QStringList{QStringLiteral("-o"), out} + withPaths(arguments));
    QVERIFY(result.exitCode > 0);
    QCOMPARE(QString::fromUtf8(result.err), QStringLiteral("charloom-cli: ") + message + u'\n');
    QCOMPARE(result.out, QByteArray());
    QVERIFY(!QFile::exists(out));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"never"_qs),
             QStringList());
}

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
