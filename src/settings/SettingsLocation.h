#pragma once

#include <QString>

#include <functional>

// Where Charloom.ini lives. In the program's folder when that folder takes new files (a portable
// copy, the build tree); otherwise, for a program installed where it cannot write (under /usr),
// in the user's configuration folder, so that settings are never silently lost.
struct SettingsLocation {
    enum class Place { ProgramFolder, UserConfigFolder };

    QString path;
    Place place = Place::ProgramFolder;

    static QString fileName() { return QStringLiteral("Charloom.ini"); }

    // Decides between the two folders. The program's folder is tested by creating and removing
    // a probe file with canCreate (FileTests::CanCreate), because permission bits do not say
    // what root may do and a read-only mount does not show in them.
    static SettingsLocation
    choose(const QString& programFolder, const QString& userConfigFolder,
           const std::function<bool(const QString&)>& canCreate = defaultCanCreate());

    // The choice for this program: its own folder and Qt's per-application config location.
    // Needs a QCoreApplication with the application name set.
    static SettingsLocation forThisProgram();

private:
    static std::function<bool(const QString&)> defaultCanCreate();
};
