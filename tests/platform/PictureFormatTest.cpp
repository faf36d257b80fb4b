// The format comes from the first bytes, whatever the file is called, and formats without a
// known signature are still found by the readers themselves.

#include "platform/PictureFormat.h"
#include "platform/PictureLoader.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

class PictureFormatTest : public QObject {
    Q_OBJECT

private slots:
    void signatures_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1a\n", 8) << QByteArray("png");
        QTest::newRow("jpeg") << QByteArray("\xff\xd8\xff\xe0\x00\x10JF", 8) << QByteArray("jpeg");
        QTest::newRow("gif87a") << QByteArray("GIF87a\x01\x00", 8) << QByteArray("gif");
        QTest::newRow("gif89a") << QByteArray("GIF89a\x01\x00", 8) << QByteArray("gif");
        QTest::newRow("bmp") << QByteArray("BM\x36\x00\x00\x00\x00\x00", 8) << QByteArray("bmp");
        QTest::newRow("png cut short") << QByteArray("\x89PNG", 4) << QByteArray();
        QTest::newRow("tiff") << QByteArray("II*\x00\x08\x00\x00\x00", 8) << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void signatures() {
        QFETCH(QByteArray, head);
        QTEST(PictureFormat::fromSignature(head), "format");
    }

    void misnamedPicturesLoad_data() {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QString>("name");
        QTest::newRow("png named .jpg") << QByteArray("png") << QStringLiteral("picture.jpg");
        QTest::newRow("jpeg named .png") << QByteArray("jpeg") << QStringLiteral("picture.png");
        QTest::newRow("bmp without suffix") << QByteArray("bmp") << QStringLiteral("picture");
        QTest::newRow("tiff named .gif") << QByteArray("tiff") << QStringLiteral("picture.gif");
    }
    void misnamedPicturesLoad() {
        QFETCH(QByteArray, format);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QImage picture(7, 5, QImage::Format_RGB32);
        picture.fill(QColor(200, 40, 40));
        if (!picture.save(path, format.constData()))
            QSKIP("this Qt cannot write the format");
        const PictureLoader::Result loaded = PictureLoader::load(path);
        QVERIFY2(loaded.ok(), qPrintable(loaded.message));
        QCOMPARE(loaded.image.size(), QSize(7, 5));
    }
};

QTEST_GUILESS_MAIN(PictureFormatTest)
#include "PictureFormatTest.moc"
