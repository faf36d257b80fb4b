#include "platform/PathHelpers.h"

#include <limits>

namespace PathHelpers {

static bool isSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

static qsizetype lastSeparator(const QString& s) {
    for (qsizetype i = s.size() - 1; i >= 0; --i) {
        if (isSeparator(s[i]))
            return i;
    }
    return -1;
}

QString PathRoot(const QString& path) {
    if (path.startsWith(QStringLiteral("\\\\"))) {
        const QString s = path.mid(2);
        const qsizetype first = s.indexOf(u'\\');
        if (first < 0)
            return QString();
        const QString server = QStringLiteral("\\\\") + s.left(first + 1);
        const QString t = s.mid(first + 1);
        const qsizetype next = t.indexOf(u'\\');
        return next >= 0 ? server + t.left(next) : server + t;
    }
    // A native absolute path has no drive: a colon in it is part of a name ("/tmp/a:b.png").
    if (path.startsWith(u'/'))
        return QString();
    const qsizetype colon = path.indexOf(u':');
    if (colon >= 0)
        return path.left(colon + 1);
    return QString();
}

QString PathDir(const QString& path) {
    QString root = PathRoot(path);
    // A native absolute path has no drive or server root but is rooted all the same.
    if (root.isEmpty() && !path.startsWith(u'/'))
        return QString();
    QString rest = path.mid(root.size());
    if (!rest.isEmpty() && isSeparator(rest[0])) {
        root += rest[0];
        rest = rest.mid(1);
    }
    const qsizetype n = lastSeparator(rest);
    if (n >= 0)
        return root + rest.left(n);
    return root;
}

QString PathFile(const QString& path) {
    QString name = path.mid(PathDir(path).size());
    if (!name.isEmpty() && isSeparator(name[0]))
        name = name.mid(1);
    return name;
}

QString PathNoExt(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == u'.')
            return path.left(i);
        if (isSeparator(c) || c == u':')
            break;
    }
    return path;
}

qint32 CeilDiv(qint32 a, qint32 b) {
    if (b == 0)
        return 0;
    // In 64 bits, so that the one quotient beyond 32 bits (minimum / -1) cannot trap.
    const qint64 quotient = static_cast<qint64>(a) / b;
    const qint64 remainder = static_cast<qint64>(a) % b;
    const qint64 result = remainder > 0 ? quotient + 1 : quotient;
    return static_cast<qint32>(qMin<qint64>(result, std::numeric_limits<qint32>::max()));
}

} // namespace PathHelpers
