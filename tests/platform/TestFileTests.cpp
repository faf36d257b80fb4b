// The file tests answer plain true or false and never fail; CanCreate leaves nothing behind.

#include "platform/FileTests.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace FileTests;

class TestFileTests : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QFile file(m_dir.filePath(QStringLiteral("a.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(QFile::setPermissions(m_dir.filePath(QStringLiteral("locked")),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    void tests_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isFile");
        QTest::addColumn<bool>("isDir");
        QTest::addColumn<bool>("canCreate");
        QTest::newRow("file") << "a.txt" << true << false << false;
        QTest::newRow("folder") << "sub" << false << true << false;
        QTest::newRow("missing") << "b.txt" << false << false << true;
        QTest::newRow("in missing folder") << "none/b.txt" << false << false << false;
        QTest::newRow("under a file") << "a.txt/b.txt" << false << false << false;
        // Root creates files in a read-only folder.
        QTest::newRow("read-only folder") << "locked/b.txt" << false << false << (geteuid() == 0);
        QTest::newRow("empty") << "" << false << false << false;
    }
    void tests() {
        QFETCH(QString, name);
        QFETCH(bool, isFile);
        QFETCH(bool, isDir);
        const QString path = name.isEmpty() ? QString() : m_dir.filePath(name);
        QCOMPARE(IsFile(path), isFile);
        QCOMPARE(IsDir(path), isDir);
        QCOMPARE(PathExists(path), isFile || isDir);
        QTEST(CanCreate(path), "canCreate");
    }

    void canCreateLeavesNothing() {
        const QString path = m_dir.filePath(QStringLiteral("probe.bin"));
        QVERIFY(CanCreate(path));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")});
    }
};

QTEST_APPLESS_MAIN(TestFileTests)
#include "TestFileTests.moc"
