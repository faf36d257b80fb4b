// Writes the seed corpora of the fuzz targets: small valid inputs of every kind each target
// reads. Usage: fuzz_make_seeds FOLDER (one subfolder per target is created).

#include "convert/SettingsRecord.h"
#include "platform/Cp932.h"
#include "settings/SettingsFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>

namespace {

QDir g_root;

void put(const QString& target, const QString& name, const QByteArray& bytes) {
    g_root.mkpath(target);
    QFile file(g_root.filePath(target + u'/' + name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
}

QByteArray sjis(const QString& text) {
    return Cp932::encode(text).bytes;
}

QImage testPicture(int width, int height, bool alpha) {
    QImage picture(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             qRgba(x * 255 / width, y * 255 / height, (x ^ y) & 255,
                                   alpha ? (x * 17) & 255 : 255));
    return picture;
}

void pictures() {
    const char* formats[] = {"bmp", "png", "jpg", "webp", "tiff", "ico"};
    for (const char* format : formats) {
        for (const QSize size : {QSize(1, 1), QSize(7, 5), QSize(16, 16)}) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, format);
            const bool alpha = qstrcmp(format, "png") == 0 || qstrcmp(format, "ico") == 0;
            if (!writer.write(testPicture(size.width(), size.height(), alpha)))
                std::fprintf(stderr, "cannot write %s\n", format);
            put(QStringLiteral("Picture"),
                QStringLiteral("%1x%2.%3")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(QLatin1StringView(format)),
                bytes);
        }
    }
    // Qt writes no GIF: a 2 x 2 picture with a 4-colour table, built by hand.
    const QByteArray gif = QByteArray::fromHex("47494638396102000200810000000000ffffffff000000ff00"
                                               "2c0000000002000200000203443405003b");
    if (QImage::fromData(gif).size() != QSize(2, 2))
        std::fprintf(stderr, "the hand-built GIF does not load\n");
    put(QStringLiteral("Picture"), QStringLiteral("2x2.gif"), gif);
}

void settingsFiles() {
    const QString path = g_root.filePath(QStringLiteral("defaults.ini"));
    SettingsRecord record;
    SettingsFile::IniWrite(path, record);
    QFile defaults(path);
    defaults.open(QIODevice::ReadOnly);
    const QByteArray bytes = defaults.readAll();
    defaults.remove();
    put(QStringLiteral("IniRead"), QStringLiteral("defaults.ini"), bytes);
    record.ConvMode = 1;
    record.TextLines = 999;
    record.LineSpace = 2.5;
    record.RvFlg = true;
    record.TextTable1 = QStringLiteral("亜--腕 .:");
    record.TextTable2 = QStringLiteral("ｱ--ﾝ@#");
    record.NitiGosa = 0.9;
    record.MainWindow = {100, 200, 9000, 7000, 2};
    SettingsFile::IniWrite(path, record);
    defaults.open(QIODevice::ReadOnly);
    put(QStringLiteral("IniRead"), QStringLiteral("changed.ini"), defaults.readAll());
    defaults.remove();
    put(QStringLiteral("IniRead"), QStringLiteral("odd.ini"),
        "[Settings]\r\nTextLines=1e9\r\nLineSpace=-1e308\r\nNitiGosa=nan\r\nLow=300\r\n"
        "High=-300\r\nTextTable1=--\r\n[MainWindow]\r\nWidth=-1\r\n[Nothing]\r\nTop=1\r\n");
}

void texts() {
    const QString art = QStringLiteral("　　∧＿∧\r\n　（　´∀｀）\r\n　（　　　　）\r\n"
                                       "　｜ ｜　|\r\n　（_＿）＿）\r\n");
    put(QStringLiteral("TextFile"), QStringLiteral("art.txt"), sjis(art));
    put(QStringLiteral("TextFile"), QStringLiteral("halfwidth.txt"),
        sjis(QStringLiteral("ｶﾀｶﾅ and ASCII\tTab\r\n\x1a")));
    put(QStringLiteral("TextFile"), QStringLiteral("malformed.txt"),
        QByteArray("\x81\r\n\x80\xa0\xfd\xfe\xff\x82", 9));
    put(QStringLiteral("TextFile"), QStringLiteral("binary.bin"), QByteArray("\x00\x01\x02", 3));
    put(QStringLiteral("MarginRemoval"), QStringLiteral("art.txt"), art.toUtf8());
    put(QStringLiteral("MarginRemoval"), QStringLiteral("margins.txt"),
        QStringLiteral("\r\n\r\n  　 x \r\n   　y\x1a\x1a").toUtf8());
    put(QStringLiteral("TblExpand"), QStringLiteral("default1.txt"),
        SettingsRecord::defaultTextTable1().toUtf8());
    put(QStringLiteral("TblExpand"), QStringLiteral("default2.txt"),
        SettingsRecord::defaultTextTable2().toUtf8());
    put(QStringLiteral("TblExpand"), QStringLiteral("kanji.txt"),
        QStringLiteral("亜--腕").toUtf8());
    put(QStringLiteral("TblExpand"), QStringLiteral("ranges.txt"),
        QStringLiteral("a--z--A ｱ--ﾝ ---- ０--９").toUtf8());
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_make_seeds FOLDER\n");
        return 2;
    }
    g_root = QDir(QString::fromLocal8Bit(argv[1]));
    g_root.mkpath(QStringLiteral("."));
    pictures();
    settingsFiles();
    texts();
    return 0;
}
