// charloom-cli end to end: pictures made here, the built program run as a process, its output
// checked byte for byte.

#include "platform/Cp932.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
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
    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList& arguments) const;
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void makePicture(const QString& name, int width, int height, QColor colour) const;

    QString m_program;
    QTemporaryDir m_dir;
};

void TestCli::initTestCase() {
    m_program = qEnvironmentVariable("CHARLOOM_BIN_DIR") + QStringLiteral("/charloom-cli");
    QVERIFY2(QFile::exists(m_program), "charloom-cli is not built (CHARLOOM_BIN_DIR)");
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

TestCli::Run TestCli::run(const QStringList& arguments) const {
    QProcess process;
    process.start(m_program, QStringList{QStringLiteral("-q")} + arguments);
    Run result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
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
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("character");
    // In the default font at 16 pixels "@" covers the largest share of its box.
    QTest::newRow("white") << QStringList{QStringLiteral("white.png")} << " ";
    QTest::newRow("black") << QStringList{QStringLiteral("black.png")} << "@";
    QTest::newRow("reversed white")
        << QStringList{QStringLiteral("--reverse"), QStringLiteral("white.png")} << "@";
    QTest::newRow("reversed black")
        << QStringList{QStringLiteral("--reverse"), QStringLiteral("black.png")} << " ";
    QTest::newRow("own palette, black")
        << QStringList{QStringLiteral("--palette"), QStringLiteral(".:"),
                       QStringLiteral("black.png")}
        << ":";
    QTest::newRow("levels make grey white")
        << QStringList{QStringLiteral("--levels"), QStringLiteral("0,1"),
                       QStringLiteral("grey.png")}
        << " ";
}

void TestCli::plainPictures() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, character);
    makePicture(QStringLiteral("grey.png"), 64, 64, QColor(100, 100, 100));
    QStringList args{QStringLiteral("--lines"), QStringLiteral("10")};
    for (const QString& a : arguments)
        args.append(a.endsWith(QStringLiteral(".png")) ? path(a) : a);
    const Run result = run(args);
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
    const Run result = run(args);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(outputLines(result.out).size(), count);
}

// 3000 x 10 pixels in 5 lines of 16 pixels: 24000 raster columns, far beyond 999 characters.
void TestCli::longLinesCut() {
    const Run result =
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
    const Run result = run(args);
    QCOMPARE(result.exitCode, 0);
    const qsizetype perLine = result.out.indexOf('\n') / character.size();
    QVERIFY(perLine > 0);
    const QByteArray line = character.repeated(perLine) + '\n';
    QCOMPARE(result.out, line + line);
}

void TestCli::version() {
    const Run result = run({QStringLiteral("--version")});
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
    const Run result =
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
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing picture") << QStringList{QStringLiteral("missing.png")}
                                     << "missing.png ファイルの形式には対応しておりません。";
    QTest::newRow("lines 0") << QStringList{QStringLiteral("--lines"), QStringLiteral("0"),
                                            QStringLiteral("white.png")}
                             << "行数は 1 以上でなければなりません";
    QTest::newRow("lines 1000") << QStringList{QStringLiteral("--lines"), QStringLiteral("1000"),
                                               QStringLiteral("white.png")}
                                << "行数は 999 以下でなければなりません";
    QTest::newRow("lines abc") << QStringList{QStringLiteral("--lines"), QStringLiteral("abc"),
                                              QStringLiteral("white.png")}
                               << "行数の設定が不正です";
    QTest::newRow("empty palette")
        << QStringList{QStringLiteral("--palette="), QStringLiteral("white.png")}
        << "文字パレットの設定が必要です";
    QTest::newRow("palette of hyphens")
        << QStringList{QStringLiteral("--palette=--"), QStringLiteral("white.png")}
        << "文字パレットに使える文字がありません";
    QTest::newRow("selection beyond the picture")
        << QStringList{QStringLiteral("--select"), QStringLiteral("70,0,80,10"),
                       QStringLiteral("white.png")}
        << "選択範囲が不正です";
    QTest::newRow("selection left of the picture")
        << QStringList{QStringLiteral("--select=-20,0,-10,10"), QStringLiteral("white.png")}
        << "選択範囲が不正です";
    // One pixel by 50: 16 * 1 * 1 / 50 rounds to no column.
    QTest::newRow("selection too narrow")
        << QStringList{QStringLiteral("--lines"), QStringLiteral("1"), QStringLiteral("--select"),
                       QStringLiteral("0,0,1,50"), QStringLiteral("narrow.png")}
        << "選択範囲が狭すぎて変換できません";
}

void TestCli::badInput() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString out = path(QStringLiteral("never.txt"));
    QStringList args{QStringLiteral("-o"), out};
    for (const QString& a : arguments)
        args.append(a.endsWith(QStringLiteral(".png")) ? path(a) : a);
    const Run result = run(args);
    QVERIFY(result.exitCode > 0);
    QCOMPARE(QString::fromUtf8(result.err), QStringLiteral("charloom-cli: ") + message + u'\n');
    QCOMPARE(result.out, QByteArray());
    QVERIFY(!QFile::exists(out));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(u"never"_qs),
             QStringList());
}

QTEST_GUILESS_MAIN(TestCli)
#include "TestCli.moc"
