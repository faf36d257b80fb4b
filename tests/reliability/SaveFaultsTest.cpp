// Saving under faults: a read-only folder, a read-only file, a full disk and a process killed
// in the middle of a save. The old file must always stay exactly as it was, the writer must say
// that it failed, and no temporary file may be left behind by a failure it noticed.

#include "ScratchMount.h"
#include "common/AsOrdinaryUser.h"

#include "convert/SettingsRecord.h"
#include "platform/SafeFileWriter.h"
#include "settings/SettingsFile.h"
#include "textview/TextFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray oldBytes("OLD CONTENTS\r\n");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writePlain(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// The three kinds of file the program writes, each as the bytes it would save.
enum class Kind { Text, Bitmap, Settings };

// Saves a large document of the kind at path the way the program does.
bool save(Kind kind, const QString& path) {
    switch (kind) {
    case Kind::Text:
        return SafeFileWriter::write(path, QByteArray(300000, 'x'));
    case Kind::Bitmap: {
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        return SafeFileWriter::write(path, TextFiles::bitmapBytes(picture));
    }
    case Kind::Settings: {
        SettingsRecord record;
        record.TextTable1 = QString(60000, u'亜');
        return SettingsFile::IniWrite(path, record).written;
    }
    }
    return false;
}

// Runs the save in a child process whose files may grow to at most limit bytes, as on a nearly
// full disk; true when the child's save reported success.
bool saveWithSizeLimit(Kind kind, const QString& path, rlim_t limit) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{limit, limit};
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(save(kind, path) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Hands the file or folder to the user of AsOrdinaryUser with these permissions.
bool giveToUser(const QString& path, QFileDevice::Permissions permissions) {
    if (geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), AsOrdinaryUser::user(),
                                  AsOrdinaryUser::user()) != 0)
        return false;
    return QFile::setPermissions(path, permissions);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class SaveFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void fullDisk_data();
    void fullDisk();
    void fullFileSystem_data();
    void fullFileSystem();
    void readOnlyFileSystem_data();
    void readOnlyFileSystem();
    void readOnlyFolder_data();
    void readOnlyFolder();
    void readOnlyFile_data();
    void readOnlyFile();
    void killedDuringSave();
    void strayTemporaryFilesAreLeftAlone();

private:
    void kinds();
};

void SaveFaultsTest::kinds() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("text") << Kind::Text << QStringLiteral("art.txt");
    QTest::newRow("bitmap") << Kind::Bitmap << QStringLiteral("art.bmp");
    QTest::newRow("settings") << Kind::Settings << QStringLiteral("Charloom.ini");
}

void SaveFaultsTest::fullDisk_data() {
    kinds();
}

// A file-size limit stops the writes short, exactly as a full disk does.
void SaveFaultsTest::fullDisk() {
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writePlain(path, oldBytes));
    QVERIFY(!saveWithSizeLimit(kind, path, 4096));
    QCOMPARE(readFile(path), oldBytes);
    QCOMPARE(entries(dir.path()), QStringList{name});
    // Without the limit the same save works.
    QVERIFY(saveWithSizeLimit(kind, path, RLIM_INFINITY));
    QVERIFY(readFile(path) != oldBytes);
}

void SaveFaultsTest::fullFileSystem_data() {
    kinds();
}

// A real file system with no room left (a 64 KiB tmpfs).
void SaveFaultsTest::fullFileSystem() {
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    ScratchMount disk("64k");
    if (!disk.available())
        QSKIP("no right to mount a tmpfs here");
    const QString path = disk.filePath(name);
    QVERIFY(writePlain(path, oldBytes));
    QVERIFY(!save(kind, path));
    QCOMPARE(readFile(path), oldBytes);
    QCOMPARE(entries(disk.path()), QStringList{name});
}

void SaveFaultsTest::readOnlyFileSystem_data() {
    kinds();
}

// Read-only for everyone, the superuser included.
void SaveFaultsTest::readOnlyFileSystem() {
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    ScratchMount disk("1m");
    if (!disk.available())
        QSKIP("no right to mount a tmpfs here");
    const QString path = disk.filePath(name);
    QVERIFY(writePlain(path, oldBytes));
    QVERIFY(disk.makeReadOnly());
    QVERIFY(!save(kind, path));
    QCOMPARE(readFile(path), oldBytes);
    QVERIFY(!save(kind, disk.filePath(QStringLiteral("new-") + name)));
    QCOMPARE(entries(disk.path()), QStringList{name});
}

void SaveFaultsTest::readOnlyFolder_data() {
    kinds();
}

// A folder without write permission, for an ordinary user (the superuser writes there anyway;
// readOnlyFileSystem covers the superuser).
void SaveFaultsTest::readOnlyFolder() {
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writePlain(path, oldBytes));
    QVERIFY(giveToUser(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(giveToUser(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QVERIFY(AsOrdinaryUser::run([&] {
        return !save(kind, path) && !save(kind, dir.filePath(QStringLiteral("new-") + name));
    }));
    QCOMPARE(readFile(path), oldBytes);
    QCOMPARE(entries(dir.path()), QStringList{name});
}

void SaveFaultsTest::readOnlyFile_data() {
    kinds();
}

// A file without write permission in a writable folder is not replaced behind the user's back.
void SaveFaultsTest::readOnlyFile() {
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writePlain(path, oldBytes));
    QVERIFY(giveToUser(path, QFileDevice::ReadOwner));
    QVERIFY(giveToUser(dir.path(),
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QVERIFY(AsOrdinaryUser::run([&] { return !save(kind, path); }));
    QCOMPARE(readFile(path), oldBytes);
    QCOMPARE(entries(dir.path()), QStringList{name});
    // Once writable again, the same save replaces it.
    QVERIFY(giveToUser(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(AsOrdinaryUser::run([&] { return save(kind, path); }));
    QVERIFY(readFile(path) != oldBytes);
}

// A save killed at any moment leaves either the old file or the complete new one, never a part.
// A killed process leaves its temporary file beside the old one, named after it: "big.txt." and
// six letters or digits.
void SaveFaultsTest::killedDuringSave() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    const QByteArray newBytes(64 * 1024 * 1024, 'n');
    int killedMidway = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        QVERIFY(writePlain(path, oldBytes));
        // Kill it the moment its temporary file appears beside the old one.
        const int watch = inotify_init1(IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_CREATE) >=
                0);
        const pid_t child = fork();
        if (child == 0)
            _exit(SafeFileWriter::write(path, newBytes) ? 0 : 1);
        alignas(inotify_event) char event[sizeof(inotify_event) + 256];
        QVERIFY(read(watch, event, sizeof event) > 0);
        kill(child, SIGKILL);
        const QString created =
            QFile::decodeName(reinterpret_cast<const inotify_event*>(event)->name);
        QVERIFY2(created.size() == 14 && created.startsWith(QStringLiteral("big.txt.")),
                 qPrintable(created));
        close(watch);
        int status = 0;
        waitpid(child, &status, 0);
        const QByteArray now = readFile(path);
        QVERIFY2(now == oldBytes || now == newBytes, "the file holds a part of a save");
        if (WIFSIGNALED(status) && now == oldBytes)
            ++killedMidway;
        QStringList strays = entries(dir.path());
        strays.removeOne(QStringLiteral("big.txt"));
        QVERIFY(strays.isEmpty() || strays == QStringList{created});
        for (const QString& stray : std::as_const(strays))
            QFile::remove(dir.filePath(stray));
    }
    // Every attempt found the file whole; on a fast machine the save may always win the race.
    if (killedMidway == 0)
        QSKIP("no kill landed in the middle of a save on this machine");
}

// Nothing removes a killed save's temporary file later: a name of that shape ("art.txt." and six
// letters or digits) may as well be the user's own, such as "art.txt.backup". The next save
// works beside such files and leaves them byte for byte as they were.
void SaveFaultsTest::strayTemporaryFilesAreLeftAlone() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("art.txt"));
    QVERIFY(writePlain(path, oldBytes));
    const QStringList others = {QStringLiteral("art.txt.Ab3xQz"), QStringLiteral("art.txt.backup")};
    for (const QString& other : others)
        QVERIFY(writePlain(dir.filePath(other), other.toUtf8()));
    const QByteArray newBytes("new text\r\n");
    QVERIFY(SafeFileWriter::write(path, newBytes));
    QCOMPARE(readFile(path), newBytes);
    QCOMPARE(entries(dir.path()), QStringList({QStringLiteral("art.txt")}) + others);
    for (const QString& other : others)
        QCOMPARE(readFile(dir.filePath(other)), other.toUtf8());
}

QTEST_GUILESS_MAIN(SaveFaultsTest)
#include "SaveFaultsTest.moc"
