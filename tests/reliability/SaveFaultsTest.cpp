// Saving under faults: a read-only folder, a read-only file, a full disk and a process killed
// in the middle of a save. The old file must always stay exactly as it was, the writer must say
// that it failed, and no temporary file may be left behind by a failure it noticed.

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
#include <optional>
#include <sys/inotify.h>
#include <sys/mount.h>
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

// A small tmpfs for full and read-only disks. Mounting needs the right to mount (a CI container
// may lack it); available() then says no and the test is skipped.
class ScratchMount {
public:
    explicit ScratchMount(const char* size) {
        const QByteArray options = QByteArray("size=") + size + ",mode=0777";
        m_mounted = dir.isValid() &&
                    ::mount("tmpfs", where().constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~ScratchMount() {
        if (m_mounted)
            ::umount2(where().constData(), MNT_DETACH);
    }

    bool available() const { return m_mounted; }
    // Read-only for everyone, the superuser included.
    bool makeReadOnly() {
        return ::mount("tmpfs", where().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

    QTemporaryDir dir;

private:
    QByteArray where() const { return QFile::encodeName(dir.path()); }
    bool m_mounted = false;
};

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

enum class Fault { FullDisk, FullFileSystem, ReadOnlyFileSystem, ReadOnlyFolder, ReadOnlyFile };

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Fault)

class SaveFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void faults_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("name");
        // fullDisk: a file-size limit stops the writes short, exactly as a full disk does;
        // fullFileSystem: a real file system with no room left; readOnlyFileSystem stops the
        // superuser too; readOnlyFolder and readOnlyFile hold for an ordinary user (the
        // superuser writes there anyway).
        const std::pair<Fault, const char*> faults[] = {
            {Fault::FullDisk, "fullDisk"},
            {Fault::FullFileSystem, "fullFileSystem"},
            {Fault::ReadOnlyFileSystem, "readOnlyFileSystem"},
            {Fault::ReadOnlyFolder, "readOnlyFolder"},
            {Fault::ReadOnlyFile, "readOnlyFile"}};
        const std::pair<Kind, const char*> kinds[] = {
            {Kind::Text, "art.txt"}, {Kind::Bitmap, "art.bmp"}, {Kind::Settings, "Charloom.ini"}};
        for (const auto& [fault, faultName] : faults)
            for (const auto& [kind, name] : kinds)
                QTest::addRow("%s, %s", faultName, name)
                    << fault << kind << QString::fromLatin1(name);
    }

    // The save is refused, the old file stays byte for byte and nothing lies beside it; where
    // the fault can be lifted, the same save then works.
    void faults() {
        QFETCH(Fault, fault);
        QFETCH(Kind, kind);
        QFETCH(QString, name);
        QTemporaryDir dir;
        std::optional<ScratchMount> disk;
        if (fault == Fault::FullFileSystem || fault == Fault::ReadOnlyFileSystem) {
            disk.emplace(fault == Fault::FullFileSystem ? "64k" : "1m");
            if (!disk->available())
                QSKIP("no right to mount a tmpfs here");
        }
        const QString folder = disk ? disk->dir.path() : dir.path();
        const QString path = folder + u'/' + name;
        const QString other = folder + QStringLiteral("/new-") + name;
        QVERIFY(writePlain(path, oldBytes));
        const auto rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        bool refused = false;
        switch (fault) {
        case Fault::FullDisk:
            refused = !saveWithSizeLimit(kind, path, 4096);
            break;
        case Fault::FullFileSystem:
            refused = !save(kind, path);
            break;
        case Fault::ReadOnlyFileSystem:
            QVERIFY(disk->makeReadOnly());
            refused = !save(kind, path) && !save(kind, other);
            break;
        case Fault::ReadOnlyFolder:
            QVERIFY(giveToUser(path, rw));
            QVERIFY(giveToUser(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            refused = AsOrdinaryUser::run([&] { return !save(kind, path) && !save(kind, other); });
            break;
        case Fault::ReadOnlyFile:
            QVERIFY(giveToUser(path, QFileDevice::ReadOwner));
            QVERIFY(giveToUser(folder, rw | QFileDevice::ExeOwner));
            refused = AsOrdinaryUser::run([&] { return !save(kind, path); });
            break;
        }
        QVERIFY(refused);
        QCOMPARE(readFile(path), oldBytes);
        QCOMPARE(entries(folder), QStringList{name});
        if (fault == Fault::FullDisk) {
            QVERIFY(saveWithSizeLimit(kind, path, RLIM_INFINITY));
        } else if (fault == Fault::ReadOnlyFile) {
            QVERIFY(giveToUser(path, rw));
            QVERIFY(AsOrdinaryUser::run([&] { return save(kind, path); }));
        } else {
            return;
        }
        QVERIFY(readFile(path) != oldBytes);
    }
    // A save killed at any moment leaves either the old file or the complete new one, never a
    // part. The killed process leaves its temporary file beside the old one, named after it:
    // "big.txt." and six letters or digits.
    void killedDuringSave() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.txt"));
        const QByteArray newBytes(64 * 1024 * 1024, 'n');
        int killedMidway = 0;
        for (int attempt = 0; attempt < 10; ++attempt) {
            QVERIFY(writePlain(path, oldBytes));
            // Kill it the moment its temporary file appears beside the old one.
            const int watch = inotify_init1(IN_CLOEXEC);
            QVERIFY(watch >= 0);
            QVERIFY(inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(),
                                      IN_CREATE) >= 0);
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
        // On a fast machine the save may always win the race.
        if (killedMidway == 0)
            QSKIP("no kill landed in the middle of a save on this machine");
    }

    // Nothing removes a killed save's temporary file later: a name of that shape may as well be
    // the user's own, such as "art.txt.backup". The next save leaves such files as they were.
    void strayTemporaryFilesAreLeftAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("art.txt"));
        QVERIFY(writePlain(path, oldBytes));
        const QStringList others = {QStringLiteral("art.txt.Ab3xQz"),
                                    QStringLiteral("art.txt.backup")};
        for (const QString& other : others)
            QVERIFY(writePlain(dir.filePath(other), other.toUtf8()));
        QVERIFY(SafeFileWriter::write(path, "new text\r\n"));
        QCOMPARE(readFile(path), QByteArray("new text\r\n"));
        QCOMPARE(entries(dir.path()), QStringList({QStringLiteral("art.txt")}) + others);
        for (const QString& other : others)
            QCOMPARE(readFile(dir.filePath(other)), other.toUtf8());
    }
};

QTEST_GUILESS_MAIN(SaveFaultsTest)
#include "SaveFaultsTest.moc"
