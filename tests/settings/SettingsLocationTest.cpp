// Where the settings file lives: the program's folder when it takes new files, the user's
// configuration folder otherwise.

#include "settings/SettingsLocation.h"
#include "platform/FileTests.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class SettingsLocationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void writableProgramFolder();
    void missingProgramFolderFallsBack();
    void failedProbeFallsBack();
    void readOnlyProgramFolderFallsBack();
    void thisProgram();
};

void SettingsLocationTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void SettingsLocationTest::writableProgramFolder() {
    QTemporaryDir program;
    QTemporaryDir config;
    const SettingsLocation where = SettingsLocation::choose(program.path(), config.path());
    QCOMPARE(where.place, SettingsLocation::Place::ProgramFolder);
    QCOMPARE(where.path, program.path() + QStringLiteral("/Charloom.ini"));
    // The probe is gone again.
    QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
}

void SettingsLocationTest::missingProgramFolderFallsBack() {
    QTemporaryDir config;
    const SettingsLocation where =
        SettingsLocation::choose(config.filePath(QStringLiteral("no/such/folder")), config.path());
    QCOMPARE(where.place, SettingsLocation::Place::UserConfigFolder);
    QCOMPARE(where.path, config.path() + QStringLiteral("/Charloom.ini"));
}

void SettingsLocationTest::failedProbeFallsBack() {
    QTemporaryDir program;
    QTemporaryDir config;
    QString probed;
    const SettingsLocation where =
        SettingsLocation::choose(program.path(), config.path(), [&probed](const QString& path) {
            probed = path;
            return false;
        });
    QCOMPARE(where.place, SettingsLocation::Place::UserConfigFolder);
    QCOMPARE(where.path, config.path() + QStringLiteral("/Charloom.ini"));
    QVERIFY(probed.startsWith(program.path() + u'/'));
    QVERIFY(!probed.endsWith(QStringLiteral("/Charloom.ini")));
}

void SettingsLocationTest::readOnlyProgramFolderFallsBack() {
    QTemporaryDir program;
    QTemporaryDir config;
    QFile folder(program.path());
    QVERIFY(folder.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                  QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                  QFileDevice::ReadOther | QFileDevice::ExeOther));
    const bool rootMayWrite = FileTests::CanCreate(program.filePath(QStringLiteral("x")));
    const SettingsLocation where = SettingsLocation::choose(program.path(), config.path());
    folder.setPermissions(folder.permissions() | QFileDevice::WriteOwner);
    if (rootMayWrite) {
        // Root creates files in a 0555 folder; then the folder is usable and is chosen, which
        // is right. failedProbeFallsBack covers the refusal.
        QCOMPARE(geteuid(), uid_t(0));
        QCOMPARE(where.place, SettingsLocation::Place::ProgramFolder);
        QSKIP("running as root: a read-only folder still takes files");
    }
    QCOMPARE(where.place, SettingsLocation::Place::UserConfigFolder);
    QCOMPARE(where.path, config.path() + QStringLiteral("/Charloom.ini"));
}

void SettingsLocationTest::thisProgram() {
    // The tests' folder in the build tree takes files, as a portable copy's folder does.
    const SettingsLocation where = SettingsLocation::forThisProgram();
    QCOMPARE(where.place, SettingsLocation::Place::ProgramFolder);
    QCOMPARE(where.path, QCoreApplication::applicationDirPath() + QStringLiteral("/Charloom.ini"));
}

QTEST_GUILESS_MAIN(SettingsLocationTest)
#include "SettingsLocationTest.moc"
