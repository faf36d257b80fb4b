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

    QTemporaryDir m_config;

    void expectConfigFolder(const SettingsLocation& where) {
        QCOMPARE(where.place, SettingsLocation::Place::UserConfigFolder);
        QCOMPARE(where.path, m_config.path() + QStringLiteral("/Charloom.ini"));
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writableProgramFolder() {
        QTemporaryDir program;
        const SettingsLocation where = SettingsLocation::choose(program.path(), m_config.path());
        QCOMPARE(where.place, SettingsLocation::Place::ProgramFolder);
        QCOMPARE(where.path, program.path() + QStringLiteral("/Charloom.ini"));
        // The probe is gone again.
        QCOMPARE(
            QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }

    void missingProgramFolderFallsBack() {
        expectConfigFolder(SettingsLocation::choose(
            m_config.filePath(QStringLiteral("no/such/folder")), m_config.path()));
    }

    // The probe is a file of its own, never the settings file itself.
    void failedProbeFallsBack() {
        QTemporaryDir program;
        QString probed;
        expectConfigFolder(SettingsLocation::choose(program.path(), m_config.path(),
                                                    [&probed](const QString& path) {
                                                        probed = path;
                                                        return false;
                                                    }));
        QVERIFY(probed.startsWith(program.path() + u'/'));
        QVERIFY(!probed.endsWith(QStringLiteral("/Charloom.ini")));
    }

    void readOnlyProgramFolderFallsBack() {
        QTemporaryDir program;
        QFile folder(program.path());
        QVERIFY(folder.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                      QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                      QFileDevice::ReadOther | QFileDevice::ExeOther));
        const bool rootMayWrite = FileTests::CanCreate(program.filePath(QStringLiteral("x")));
        const SettingsLocation where = SettingsLocation::choose(program.path(), m_config.path());
        folder.setPermissions(folder.permissions() | QFileDevice::WriteOwner);
        if (rootMayWrite) {
            // Root creates files in a 0555 folder; then the folder is usable and is chosen,
            // which is right. failedProbeFallsBack covers the refusal.
            QCOMPARE(geteuid(), uid_t(0));
            QCOMPARE(where.place, SettingsLocation::Place::ProgramFolder);
            QSKIP("running as root: a read-only folder still takes files");
        }
        expectConfigFolder(where);
    }

    // The tests' folder in the build tree takes files, as a portable copy's folder does.
    void thisProgram() {
        const SettingsLocation where = SettingsLocation::forThisProgram();
        QCOMPARE(where.place, SettingsLocation::Place::ProgramFolder);
        QCOMPARE(where.path,
                 QCoreApplication::applicationDirPath() + QStringLiteral("/Charloom.ini"));
    }
};

QTEST_GUILESS_MAIN(SettingsLocationTest)
#include "SettingsLocationTest.moc"
