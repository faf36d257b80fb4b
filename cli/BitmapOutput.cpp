#include "BitmapOutput.h"

#include "convert/FontSetup.h"
#include "platform/SafeFileWriter.h"
#include "textview/TextFiles.h"
#include "textview/TextLayout.h"
#include "textview/TextRendering.h"
#include "textview/WidthCache.h"

#include <QBuffer>
#include <QColor>
#include <QImageWriter>

namespace BitmapOutput {

bool isPicturePath(const QString& path) {
    const QString e = path.right(4).toLower();
    return e == QStringLiteral(".bmp") || e == QStringLiteral(".png");
}

std::optional<qint32> parseColor(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("image"), Qt::CaseInsensitive) == 0)
        return ColorRef::ImageColor;
    if (!QColor::isValidColor(t))
        return std::nullopt;
    const QColor c(t);
    return static_cast<qint32>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

static QByteArray pngBytes(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    return writer.write(picture) ? bytes : QByteArray();
}

QString write(const QString& path, const QString& text, const SettingsRecord& settings,
              const QImage& selectionCopy) {
    TextLayout layout;
    layout.setFont(FontSetup::textFont(settings));
    layout.TxtToPic(text, settings.LineSpace);
    WidthCache cache;
    QImage picture;
    const qint32 r = TextRendering::PicDrawAll(
        layout, cache, {settings.ForeColor, settings.BackColor}, selectionCopy, picture);
    if (r == -1)
        return QStringLiteral("メモリ不足のため、画像を作れません。");
    if (r != 0)
        return QStringLiteral("画像にする文字がありません。");
    const QByteArray bytes = path.right(4).toLower() == QStringLiteral(".png")
                                 ? pngBytes(picture)
                                 : TextFiles::bitmapBytes(picture);
    if (bytes.isEmpty() || !SafeFileWriter::write(path, bytes))
        return path + QStringLiteral("に保存できません。");
    return QString();
}

} // namespace BitmapOutput
