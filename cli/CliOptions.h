#pragma once

#include "convert/Sampling.h"
#include "convert/SelectionState.h"
#include "convert/SettingsRecord.h"

#include <QString>
#include <QStringList>

#include <optional>

// The headless converter's command line, parsed into the settings record and run options.
struct CliOptions {
    QString picturePath;
    SettingsRecord settings;
    SelectionState selection;
    std::optional<LevelPair> levels;
    bool autoLevels = false; // --levels auto: the levels the slider's double-click would set
    QString outputPath;
    bool stdoutCp932 = false;
    bool quiet = false;
};

struct CliParse {
    enum class Action { Run, Exit };
    Action action = Action::Run;
    int exitCode = 0;
    QString output; // help or version text for standard output
    QString error;  // one-line message for standard error
    CliOptions options;
};

CliParse parseCliArguments(const QStringList& arguments);
