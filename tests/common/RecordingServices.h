#pragma once

#include "convert/RunServices.h"

#include <QList>
#include <QString>
#include <QStringList>

// Run services for tests: records what a run showed and asked, answers the 999 question as told
// and requests an abort after a given number of yields.
class RecordingServices : public RunServices {
public:
    bool answer999 = true;
    int abortAfterYields = -1; // -1: never

    int preparingShown = 0;
    QList<int> percents;
    int yields = 0;
    int questions999 = 0;
    QStringList messages;
    bool handedOff = false;
    QString text;

    void showPreparing() override { ++preparingShown; }
    void showPercent(int percent) override { percents.append(percent); }
    bool yieldAndCheckAbort() override {
        ++yields;
        return abortAfterYields >= 0 && yields > abortAfterYields;
    }
    bool confirmCut999() override {
        ++questions999;
        return answer999;
    }
    void showMessage(const QString& message) override { messages.append(message); }
    void handOff(const QString& handed) override {
        handedOff = true;
        text = handed;
    }
};
