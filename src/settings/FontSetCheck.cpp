#include "settings/FontSetCheck.h"

#include "platform/Numbers.h"

#include <optional>

QString FontSetCheck(const QString& sizeText, const QString& spaceText) {
    const std::optional<double> size = Numbers::parseNumeric(sizeText);
    if (!size)
        return QStringLiteral("サイズが不正です。");
    const std::optional<double> space = Numbers::parseNumeric(spaceText);
    if (!space)
        return QStringLiteral("行間隔が不正です。");
    const QString maxSize = QStringLiteral("400");
    if (*size > 400)
        return QStringLiteral("サイズが大きすぎです。1 から ") + maxSize +
               QStringLiteral(" の間に設定して下さい。");
    if (*size <= 0)
        return QStringLiteral("サイズが小さすぎです。1 から ") + maxSize +
               QStringLiteral(" の間に設定して下さい。");
    if (*size + *space <= 0)
        return QStringLiteral("行間隔が狭すぎです。") + Numbers::formatDouble(-*size) +
               QStringLiteral(" より大きい値に設定して下さい。");
    return QString();
}
