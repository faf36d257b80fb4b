// Hostile picture files: truncated and corrupted files of every format, headers declaring huge
// pictures, an empty file, a folder and an unreadable file. Each load ends with a picture or with
// a message naming the file, never with a crash, and memory stays bounded.

#include "HostilePictures.h"
#include "common/AsOrdinaryUser.h"

#include "platform/GifFrame.h"
#include "platform/PictureLoader.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace HostilePictures;

namespace {

const QString tooLargeEnd =
    QStringLiteral(" は大きすぎるため読み込めません（縦横とも 32767 画素まで）。");

qint64 peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class PictureLoaderHostileTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Loads the file and checks the outcome: "loads WxH", "not supported", "too large" or
    // "refused" (either message). Refusals come before the picture's memory is ever taken.
    void expectOutcome(const QString& name, const QByteArray& bytes, const QString& outcome) {
        const QString path = write(name, bytes);
        const qint64 before = peakResidentKiB();
        const PictureLoader::Result result = PictureLoader::load(path);
        const QString unsupported = PictureLoader::unsupportedMessage(path);
        if (outcome.startsWith(u"loads")) {
            QVERIFY2(result.ok(), qPrintable(result.message));
            QCOMPARE(u"loads %1x%2"_qs.arg(result.image.width()).arg(result.image.height()),
                     outcome);
        } else if (outcome == u"refused") {
            QVERIFY(!result.ok());
            QVERIFY2(result.message == unsupported || result.message == name + tooLargeEnd,
                     qPrintable(result.message));
        } else {
            QVERIFY(!result.ok());
            QCOMPARE(result.message, outcome == u"too large" ? name + tooLargeEnd : unsupported);
        }
        QVERIFY2(peakResidentKiB() - before < 64 * 1024,
                 qPrintable(u"peak grew by %1 KiB"_qs.arg(peakResidentKiB() - before)));
    }

private slots:
    void damaged_data() {
        QTest::addColumn<QByteArray>("bytes");
        for (const char* format : {"bmp", "gif", "jpg", "png", "webp", "tiff", "ico"}) {
            const QByteArray valid = validFile(format);
            QVERIFY2(QImage::fromData(valid).width() > 0, format);
            for (const qsizetype length :
                 {qsizetype(1), qsizetype(8), qsizetype(20), valid.size() / 2, valid.size() - 1}) {
                QTest::addRow("%s cut to %lld bytes", format, static_cast<long long>(length))
                    << valid.left(length);
            }
            QByteArray flipped = valid;
            for (qsizetype i = 6; i < flipped.size(); i += 7)
                flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
            QTest::addRow("%s with every 7th byte flipped", format) << flipped;
            QByteArray ones = valid;
            for (qsizetype i = 10; i < ones.size() && i < 40; ++i)
                ones[i] = '\xff';
            QTest::addRow("%s with its header run over by 0xFF", format) << ones;
        }
    }
    // A damaged file may still give a picture (decoders fill what is missing); when it gives
    // none, the message is the "not supported" one.
    void damaged() {
        QFETCH(QByteArray, bytes);
        const QString path = write(QStringLiteral("damaged.pic"), bytes);
        const PictureLoader::Result result = PictureLoader::load(path);
        if (result.ok()) {
            QVERIFY(result.image.width() >= 1 && result.image.width() <= PictureLoader::MaxSide);
            QVERIFY(result.image.height() >= 1 && result.image.height() <= PictureLoader::MaxSide);
            QCOMPARE(result.image.format(), QImage::Format_RGB32);
        } else {
            QCOMPARE(result.message, PictureLoader::unsupportedMessage(path));
        }
    }

    void declaredHuge_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("outcome");
        // Qt's PNG reader reports the size of the header, so the loader refuses it unread.
        QTest::newRow("png 100000 x 100000") << pngDeclaring(100000, 100000) << u"too large"_qs;
        QTest::newRow("png 32768 x 1") << pngDeclaring(32768, 1) << u"too large"_qs;
        QTest::newRow("png 20000 x 20000 (1.6 GB)")
            << pngDeclaring(20000, 20000) << u"too large"_qs;
        QTest::newRow("png 0x7fffffff square")
            << pngDeclaring(0x7fffffff, 0x7fffffff) << u"refused"_qs;
        // Qt's BMP reader refuses such headers itself.
        QTest::newRow("bmp 100000 x 100000") << bmpDeclaring(100000, 100000) << u"refused"_qs;
        QTest::newRow("bmp 100000 x -100000") << bmpDeclaring(100000, -100000) << u"refused"_qs;
    }
    void declaredHuge() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, outcome);
        expectOutcome(QStringLiteral("huge.png"), bytes, outcome);
    }

    void gifFrames_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("outcome");
        // Without a screen size the reader would make a 60-million-pixel picture of background
        // from 72 bytes: the data cannot draw such a frame, so the file is refused unread.
        QTest::newRow("no screen, frame 3000 x 20000, 72 bytes")
            << gifDeclaring(0, 0, 3000, 20000, 36) << u"not supported"_qs;
        QTest::newRow("no screen, frame 20000 x 3000")
            << gifDeclaring(0, 0, 20000, 3000) << u"not supported"_qs;
        // The same frame on a small screen is cut to the screen: nothing to refuse.
        QTest::newRow("screen 2 x 2, frame 3000 x 20000")
            << gifDeclaring(2, 2, 3000, 20000) << u"loads 2x2"_qs;
        // A small damaged file is still left to the reader.
        QTest::newRow("no screen, frame 1000 x 1000")
            << gifDeclaring(0, 0, 1000, 1000) << u"loads 1000x1000"_qs;
        // The reader reports the 1 x 1 frame but would allocate the screen: the screen is checked.
        QTest::newRow("screen 40000 x 2, frame 1 x 1")
            << gifDeclaring(40000, 2, 1, 1) << u"too large"_qs;
        QTest::newRow("screen 30000 x 30000, frame 1 x 1")
            << gifDeclaring(30000, 30000, 1, 1) << u"too large"_qs;
        QTest::newRow("screen 16, frame 1 x 1") << gifDeclaring(16, 12, 1, 1) << u"loads 16x12"_qs;
    }
    void gifFrames() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, outcome);
        expectOutcome(QStringLiteral("frame.gif"), bytes, outcome);
    }

    // What the loader knows that the reader does not say: a screen of 3000 x 20000 with a first
    // frame of 1 x 1 is reported as 1 x 1, yet decoding it would allocate the whole screen.
    void gifReportsAnotherSize() {
        const QString path = write(QStringLiteral("screen.gif"), gifDeclaring(3000, 20000, 1, 1));
        QCOMPARE(QImageReader(path).size(), QSize(1, 1));
        const std::optional<GifFrame::FirstFrame> gif = GifFrame::read(path);
        QVERIFY(gif.has_value());
        QCOMPARE(gif->canvas, QSize(3000, 20000));
        QCOMPARE(gif->frame, QRect(0, 0, 1, 1));
        QCOMPARE(gif->dataBytes, qint64(3));
        QCOMPARE(gif->minimumCodeSize, 2);
        // 3 bytes of 3-bit codes: 8 codes of at most 8192 pixels, 8 times over.
        QCOMPARE(gif->drawablePixels(), qint64(8) * 8192 * 8);
        QVERIFY(gif->dataCanDrawFrame());
        // Not a GIF, or cut before its first frame: nothing to say.
        QVERIFY(!GifFrame::read(write(u"not.gif"_qs, QByteArray("GIF90a0123456789"))));
        QVERIFY(!GifFrame::read(write(u"cut.gif"_qs, gifDeclaring(0, 0, 9, 9).left(25))));
    }

    void notAPictureFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("zero-byte png") << QStringLiteral("empty.png") << QByteArray();
        QTest::newRow("text named jpg") << QStringLiteral("text.jpg") << QByteArray("hello\r\n");
        QTest::newRow("folder") << QStringLiteral("folder.bmp") << QByteArray();
        QTest::newRow("missing") << QStringLiteral("missing.png") << QByteArray();
    }
    void notAPictureFile() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QString path = m_dir.filePath(name);
        if (name == u"folder.bmp")
            QVERIFY(QDir(m_dir.path()).mkdir(name));
        else if (name != u"missing.png")
            path = write(name, bytes);
        const PictureLoader::Result result = PictureLoader::load(path);
        QVERIFY(!result.ok());
        QCOMPARE(result.message, name + QStringLiteral(" ファイルの形式には対応しておりません。"));
    }

    // A valid picture without read permission, opened by an ordinary user (the superuser reads
    // it whatever its permissions say).
    void unreadable() {
        const QString path = write(QStringLiteral("locked.png"), validFile("png"));
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        QVERIFY(QFile::setPermissions(
            m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                              QFileDevice::ReadOther | QFileDevice::ExeOther));
        QVERIFY(AsOrdinaryUser::run([&path] {
            const PictureLoader::Result result = PictureLoader::load(path);
            return !result.ok() &&
                   result.message ==
                       QStringLiteral("locked.png ファイルの形式には対応しておりません。");
        }));
        // The same file with read permission loads.
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        QVERIFY(AsOrdinaryUser::run([&path] { return PictureLoader::load(path).ok(); }));
    }
};

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    PictureLoaderHostileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PictureLoaderHostileTest.moc"
