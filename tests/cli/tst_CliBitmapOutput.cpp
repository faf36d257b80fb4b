#include "common/CliRun.h"
#include "convert/FontSetup.h"
#include "convert/SettingsRecord.h"
#include "platform/Cp932.h"
#include "textview/TextLayout.h"
#include "textview/TextRendering.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// charloom-cli -o with a picture name renders the text art as the text view does.
class tst_CliBitmapOutput : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_picture;

    struct Run {
        int exitCode = -1;
        QString error;
    };
    Run cli(const QStringList& arguments) {
        const CliRun r = runCli(
            QStringList{QStringLiteral("-q"), QStringLiteral("--lines"), QStringLiteral("4")} +
            arguments + QStringList{m_picture});
        return {r.exitCode, QString::fromUtf8(r.err)};
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    // The text of the same run, rendered here with the given colours.
    QImage expected(qint32 fore, qint32 back, const QImage& selection) {
        QFile f(path("art.txt"));
        if (!f.exists())
            cli({QStringLiteral("-o"), f.fileName()});
        if (!f.open(QIODevice::ReadOnly))
            return QImage();
        const QString text = Cp932::decode(f.readAll()).text;
        TextLayout layout;
        layout.setFont(FontSetup::textFont(SettingsRecord()));
        layout.TxtToPic(text, 0);
        WidthCache cache;
        QImage image;
        TextRendering::PicDrawAll(layout, cache, {fore, back}, selection, image);
        return image;
    }

    QImage picture() const {
        QImage image(48, 32, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 5, 255 - y * 7, 128));
        return image;
    }

private slots:
    void initTestCase() {
        FontSetup::installSubstitutions();
        m_picture = path("pic.png");
        QVERIFY(picture().save(m_picture));
    }

    void defaultColoursAre24BitBmp() {
        QCOMPARE(cli({QStringLiteral("-o"), path("art.bmp")}).exitCode, 0);
        QFile f(path("art.bmp"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(static_cast<int>(bytes[28]), 24);
        QImage saved;
        QVERIFY(saved.loadFromData(bytes, "BMP"));
        const QImage want = expected(ColorRef::ButtonText, ColorRef::WindowBackground, QImage());
        QVERIFY(!want.isNull());
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), want);
    }

    void namedColoursToPng() {
        QCOMPARE(cli({QStringLiteral("--fore-color"), QStringLiteral("#ff0000"),
                      QStringLiteral("--back-color"), QStringLiteral("navy"), QStringLiteral("-o"),
                      path("art.PNG")})
                     .exitCode,
                 0);
        QImage saved(path("art.PNG"), "PNG");
        QVERIFY(!saved.isNull());
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                 expected(0x0000FF, 0x800000, QImage()));
    }

    void pictureColours() {
        QCOMPARE(cli({QStringLiteral("--fore-color"), QStringLiteral("image"),
                      QStringLiteral("--back-color"), QStringLiteral("#000000"),
                      QStringLiteral("-o"), path("pic-art.png")})
                     .exitCode,
                 0);
        QImage saved(path("pic-art.png"), "PNG");
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                 expected(ColorRef::ImageColor, 0, picture()));
    }

    void invalidColour() {
        const Run run = cli({QStringLiteral("--back-color"), QStringLiteral("nocolour"),
                             QStringLiteral("-o"), path("x.bmp")});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.error.contains(QStringLiteral("--back-color")));
        QVERIFY(!QFile::exists(path("x.bmp")));
    }
};

QTEST_MAIN(tst_CliBitmapOutput)
#include "tst_CliBitmapOutput.moc"
