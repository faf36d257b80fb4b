#include "app/CommandLine.h"

namespace CommandLine {

QString join(const QStringList& arguments) {
    return arguments.mid(1).join(u' ');
}

QString unquote(const QString& commandLine) {
    if (commandLine.size() > 2 && commandLine.front() == u'"' && commandLine.back() == u'"')
        return commandLine.mid(1, commandLine.size() - 2);
    return commandLine;
}

bool isTextFile(const QString& name) {
    return name.right(4).compare(QStringLiteral(".txt"), Qt::CaseInsensitive) == 0;
}

} // namespace CommandLine
