#pragma once

// Runs the built charloom-cli (found through CHARLOOM_BIN_DIR) and collects what it printed.

#include <QByteArray>
#include <QProcess>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1: it crashed or did not finish
    QByteArray out;
    QByteArray err;
};

inline QString cliProgram() {
    return qEnvironmentVariable("CHARLOOM_BIN_DIR") + QStringLiteral("/charloom-cli");
}

inline CliRun runCli(const QStringList& arguments) {
    QProcess process;
    process.start(cliProgram(), arguments);
    CliRun result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}
