#include "convert/FontSetup.h"

#include "platform/Numbers.h"

#include <QFontInfo>
#include <QStringList>

#include <algorithm>

namespace FontSetup {

void installSubstitutions() {
    const QStringList pgothic = {
        QStringLiteral("MS PGothic"),      QStringLiteral("IPAMonaPGothic"),
        QStringLiteral("Monapo"),          QStringLiteral("Mona"),
        QStringLiteral("IPAPGothic"),      QStringLiteral("VL PGothic"),
        QStringLiteral("Noto Sans CJK JP")};
    QFont::removeSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"));
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
    QFont::removeSubstitutions(QStringLiteral("MS PGothic"));
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pgothic.mid(1));
    const QStringList gothic = {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")};
    QFont::removeSubstitutions(QStringLiteral("ＭＳ ゴシック"));
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::removeSubstitutions(QStringLiteral("MS Gothic"));
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic.mid(1));
}

int pixelSizeFor(double points) {
    const qint64 px = Numbers::roundHalfEven(points * 96.0 / 72.0);
    return static_cast<int>(std::clamp<qint64>(px, 1, 4096));
}

QFont textFont(const SettingsRecord& settings) {
    QFont font(settings.FontName);
    font.setPixelSize(pixelSizeFor(settings.FontSize));
    font.setItalic(settings.FontItalic);
    font.setBold(settings.FontBold);
    font.setStrikeOut(settings.FontStrikethrough);
    font.setUnderline(settings.FontUnderline);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

QString resolvedFamily(const QFont& font) {
    return QFontInfo(font).family();
}

} // namespace FontSetup
