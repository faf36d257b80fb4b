#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The start-up check of the runtime's language library. Qt needs no such library, so the check
// always finds it; it keeps its place in start-up with the messages it would show.
namespace RuntimeLib {

// 0: the library loads; 1: installed just now; -1: missing and not installable.
qint16 RuntimeLibInstall();

struct Message {
    QString text;
    QString caption;
    bool critical = false; // otherwise an exclamation
};

// The message for a result of RuntimeLibInstall; nothing when start-up goes on.
std::optional<Message> messageFor(qint16 result);

} // namespace RuntimeLib
