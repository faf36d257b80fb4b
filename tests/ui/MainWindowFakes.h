#pragma once

#include "app/SettingsFileLink.h"
#include "app/TextViewLink.h"

#include <QStringList>

// A settings file in memory: what start-up reads and what exit wrote.
class MemorySettingsFile : public SettingsFileLink {
public:
    bool exists = false;
    SettingsRecord stored;
    int reads = 0;
    int writes = 0;

    QString SettingsPath() override { return QStringLiteral("/memory/Charloom.ini"); }
    void IniRead(const QString&, SettingsRecord& settings) override {
        ++reads;
        settings = exists ? stored : SettingsRecord();
    }
    void IniWrite(const QString&, const SettingsRecord& settings) override {
        ++writes;
        stored = settings;
        exists = true;
    }
};

// Records what the main window asked of the text view.
class RecordingTextView : public TextViewLink {
public:
    QStringList viewed;
    QStringList read;
    int detached = 0;
    int unloaded = 0;
    bool visible = false;
    QList<bool> menus;

    void View(const QString& text, const QImage&) override {
        viewed.append(text);
        visible = true;
    }
    void Read(const QString& path) override {
        read.append(path);
        visible = true;
    }
    void detachFile() override { ++detached; }
    bool isVisible() const override { return visible; }
    void setRunMenusEnabled(bool enabled) override { menus.append(enabled); }
    void unload() override {
        ++unloaded;
        visible = false;
    }
};
