#include "settings/FontNameList.h"

#include <QFontDatabase>

#include <algorithm>

namespace FontNameList {

QStringList substitutedNames() {
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
            QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")};
}

QStringList fromFamilies(const QStringList& families) {
    QStringList names = families;
    names += substitutedNames();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    names.removeAll(QString());
    return names;
}

QStringList current() {
    static qsizetype keptCount = -1;
    static QStringList kept;
    const QStringList families = QFontDatabase::families();
    if (families.size() != keptCount) {
        keptCount = families.size();
        kept = fromFamilies(families);
    }
    return kept;
}

} // namespace FontNameList
