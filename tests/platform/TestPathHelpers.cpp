// Path splitting of Windows and native paths, and the rounded-up integer quotient.

#include "platform/PathHelpers.h"

#include <QTest>

#include <limits>

using namespace PathHelpers;

class TestPathHelpers : public QObject {
    Q_OBJECT

private slots:
    void split_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("noExt");
        const auto row = [](const char* name, const QString& path, const QString& root,
                            const QString& dir, const QString& file, const QString& noExt) {
            QTest::newRow(name) << path << root << dir << file << noExt;
        };
        row("drive, folder", uR"(C:\pic\a.bmp)"_qs, u"C:"_qs, uR"(C:\pic)"_qs, u"a.bmp"_qs,
            uR"(C:\pic\a)"_qs);
        row("drive root", uR"(C:\a.bmp)"_qs, u"C:"_qs, uR"(C:\)"_qs, u"a.bmp"_qs, uR"(C:\a)"_qs);
        row("server, folder", uR"(\\srv\share\d\a.txt)"_qs, uR"(\\srv\share)"_qs,
            uR"(\\srv\share\d)"_qs, u"a.txt"_qs, uR"(\\srv\share\d\a)"_qs);
        row("server root", uR"(\\srv\share\a.txt)"_qs, uR"(\\srv\share)"_qs, uR"(\\srv\share\)"_qs,
            u"a.txt"_qs, uR"(\\srv\share\a)"_qs);
        row("relative", uR"(pic\a.bmp)"_qs, QString(), QString(), uR"(pic\a.bmp)"_qs,
            uR"(pic\a)"_qs);
        row("dot in folder", uR"(C:\ver1.2\readme)"_qs, u"C:"_qs, uR"(C:\ver1.2)"_qs, u"readme"_qs,
            uR"(C:\ver1.2\readme)"_qs);
        row("server without share", uR"(\\srv)"_qs, QString(), QString(), uR"(\srv)"_qs,
            uR"(\\srv)"_qs);
        row("native", u"/home/u/pic/cat.jpg"_qs, QString(), u"/home/u/pic"_qs, u"cat.jpg"_qs,
            u"/home/u/pic/cat"_qs);
        row("native root", u"/cat.jpg"_qs, QString(), u"/"_qs, u"cat.jpg"_qs, u"/cat"_qs);
        row("native dot in folder", u"/home/u/v1.2/readme"_qs, QString(), u"/home/u/v1.2"_qs,
            u"readme"_qs, u"/home/u/v1.2/readme"_qs);
        row("native colon in name", u"/tmp/a:b/c.png"_qs, QString(), u"/tmp/a:b"_qs, u"c.png"_qs,
            u"/tmp/a:b/c"_qs);
        row("native relative", u"pic/cat.jpg"_qs, QString(), QString(), u"pic/cat.jpg"_qs,
            u"pic/cat"_qs);
        row("empty", QString(), QString(), QString(), QString(), QString());
    }
    void split() {
        QFETCH(QString, path);
        QTEST(PathRoot(path), "root");
        QTEST(PathDir(path), "dir");
        QTEST(PathFile(path), "file");
        QTEST(PathNoExt(path), "noExt");
    }

    void ceilDiv_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("quotient");
        QTest::newRow("7/5") << 7 << 5 << 2;
        QTest::newRow("5/5") << 5 << 5 << 1;
        QTest::newRow("-7/5") << -7 << 5 << -1;
        QTest::newRow("-3/5") << -3 << 5 << 0;
        QTest::newRow("0/5") << 0 << 5 << 0;
        QTest::newRow("by zero") << 7 << 0 << 0;
        // Trapped in 32 bits.
        QTest::newRow("minimum/-1")
            << std::numeric_limits<int>::min() << -1 << std::numeric_limits<int>::max();
    }
    void ceilDiv() {
        QFETCH(int, a);
        QFETCH(int, b);
        QTEST(CeilDiv(a, b), "quotient");
    }
};

QTEST_APPLESS_MAIN(TestPathHelpers)
#include "TestPathHelpers.moc"
