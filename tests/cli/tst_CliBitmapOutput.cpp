// charloom-cli -o with a picture name renders the text art as the text view does.

#include "common/CliRun.h"
#include "convert/FontSetup.h"
#include "convert/SettingsRecord.h"
#include "platform/Cp932.h"
#include "textview/TextLayout.h"
#include "textview/TextRendering.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_CliBitmapOutput : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_picture;

    int cli(const QStringList& arguments) {
        return runCli(QStringList{QStringLiteral("-q"), QStringLiteral("--lines"),
                                  QStringLiteral("4")} +
                      arguments + QStringList{m_picture})
            .exitCode;
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    static QImage picture() {
        QImage image(48, 32, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 5, 255 - y * 7, 128));
        return image;
    }

private slots:
    void initTestCase() {
        FontSetup::installSubstitutions();
        m_picture = path(QStringLiteral("pic.png"));
        QVERIFY(picture().save(m_picture));
    }

    void colours_data() {
        QTest::addColumn<QString>("options"); // split at blanks
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint32>("fore");
        QTest::addColumn<qint32>("back");
        QTest::newRow("default colours, BMP")
            << ""
            << "art.bmp" << ColorRef::ButtonText << ColorRef::WindowBackground;
        QTest::newRow("#rrggbb and a name, PNG in capitals")
            << "--fore-color #ff0000 --back-color navy"
            << "art.PNG" << qint32(0x0000FF) << qint32(0x800000);
        QTest::newRow("picture colours") << "--fore-color image --back-color #000000"
                                         << "pic-art.png" << ColorRef::ImageColor << qint32(0);
    }

    // The saved picture equals the text of the same run rendered here with the same colours.
    void colours() {
        QFETCH(QString, options);
        QFETCH(QString, name);
        QFETCH(qint32, fore);
        QFETCH(qint32, back);
        const QString out = path(name);
        QCOMPARE(
            cli(options.split(u' ', Qt::SkipEmptyParts) + QStringList{QStringLiteral("-o"), out}),
            0);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (name.endsWith(QStringLiteral(".bmp"))) {
            QVERIFY(bytes.startsWith("BM"));
            QCOMPARE(static_cast<int>(bytes[28]), 24); // bits per pixel
        }
        const QImage saved = QImage::fromData(bytes);
        QVERIFY(!saved.isNull());

        const QString textPath = path(QStringLiteral("art.txt"));
        if (!QFile::exists(textPath))
            QCOMPARE(cli({QStringLiteral("-o"), textPath}), 0);
        QFile text(textPath);
        QVERIFY(text.open(QIODevice::ReadOnly));
        TextLayout layout;
        layout.setFont(FontSetup::textFont(SettingsRecord()));
        layout.TxtToPic(Cp932::decode(text.readAll()).text, 0);
        WidthCache cache;
        QImage expected;
        TextRendering::PicDrawAll(layout, cache, {fore, back},
                                  fore == ColorRef::ImageColor ? picture() : QImage(), expected);
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), expected);
    }
};

QTEST_MAIN(tst_CliBitmapOutput)
#include "tst_CliBitmapOutput.moc"
