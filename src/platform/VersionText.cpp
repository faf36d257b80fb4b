#include "platform/VersionText.h"

#include <QStringList>

namespace VersionText {

QString productLine(const QString& product, int major, int minor, int revision) {
    QString line = product + QStringLiteral(" Version ") + QString::number(major) + u'.' +
                   QString::number(minor);
    if (revision > 0)
        line += u'.' + QString::number(revision);
    return line;
}

QString currentProductLine() {
    const QStringList parts = QStringLiteral(CHARLOOM_VERSION).split(u'.');
    const auto part = [&parts](qsizetype i) { return i < parts.size() ? parts[i].toInt() : 0; };
    return productLine(QStringLiteral("Charloom"), part(0), part(1), part(2));
}

} // namespace VersionText
