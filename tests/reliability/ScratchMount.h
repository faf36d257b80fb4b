#pragma once

// A small tmpfs file system for tests of full and read-only disks. Mounting needs the
// superuser with the right to mount (a CI container may lack it); available() then says no and
// the tests that need it are skipped.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>

class ScratchMount {
public:
    explicit ScratchMount(const char* size) {
        const QByteArray options = QByteArray("size=") + size + ",mode=0777";
        m_mounted = m_dir.isValid() && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(),
                                               "tmpfs", 0, options.constData()) == 0;
    }
    ~ScratchMount() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool available() const { return m_mounted; }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString path() const { return m_dir.path(); }

    // Makes the file system read-only: nothing in it can be written any more, not even by the
    // superuser.
    bool makeReadOnly() {
        return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
