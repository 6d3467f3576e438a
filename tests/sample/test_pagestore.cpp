// The page file store: zlib streams through fixed buffers, page names, and
// the emptying of the work folder.
#include "platform/WorkFolder.h"
#include "sample/PageStore.h"

#include <sys/time.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstring>
#include <thread>
#include <zlib.h>

using namespace tz;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestPageStore : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString Path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("one byte") << 1;
        QTest::newRow("exactly one buffer") << 8192;
        QTest::newRow("exactly three buffers") << 3 * 8192;
        QTest::newRow("one byte past a buffer") << 8193;
        QTest::newRow("a page") << 120000;
    }
    void roundTrip()
    {
        QFETCH(int, size);
        QByteArray source(size, '\0');
        // Mostly white with some noise, like a page; noise keeps the output
        // longer than one buffer for the larger sizes.
        for (int i = 0; i < size; i += 7)
            source[i] = char(QRandomGenerator::global()->bounded(256));
        Write(Path("page.bmp"), source);
        QVERIFY(CompressFile(Path("page.bmp"), Path("page.tzg")));
        const QByteArray stream = ReadAll(Path("page.tzg"));
        // One zlib stream at the highest level, readable by zlib itself.
        QVERIFY(stream.size() >= 2);
        QCOMPARE(quint8(stream[0]), quint8(0x78));
        QCOMPARE(quint8(stream[1]), quint8(0xDA));
        uLongf length = uLongf(size + 1);
        QByteArray inflated(size + 1, '\0');
        QCOMPARE(uncompress(reinterpret_cast<Bytef*>(inflated.data()), &length,
                     reinterpret_cast<const Bytef*>(stream.constData()), uLong(stream.size())),
            Z_OK);
        QCOMPARE(inflated.left(qsizetype(length)), source);

        QVERIFY(DecompressFile(Path("page.tzg"), Path("back.bmp")));
        QCOMPARE(ReadAll(Path("back.bmp")), source);

        // Bytes in memory give the stream their file gives.
        QVERIFY(CompressBytes(source, Path("bytes.tzg")));
        QCOMPARE(ReadAll(Path("bytes.tzg")), stream);
    }

    // Pages stored on several threads at once each come back whole.
    void pagesAreStoredOnManyThreadsAtOnce()
    {
        QList<QImage> pages;
        for (int n = 0; n < 8; ++n) {
            QImage page(400, 300, QImage::Format_Indexed8);
            page.setColorCount(256);
            for (int y = 0; y < page.height(); ++y)
                std::memset(page.scanLine(y), (n * 31 + y) % 256, size_t(page.bytesPerLine()));
            pages.append(page);
        }
        std::vector<std::thread> threads;
        std::atomic<int> stored = 0;
        for (int n = 0; n < pages.size(); ++n)
            threads.emplace_back([&, n] { stored += StorePageFile(dir_.path(), n + 1, pages[n]); });
        for (std::thread& thread : threads)
            thread.join();
        QCOMPARE(stored.load(), int(pages.size()));
        for (int n = 0; n < pages.size(); ++n) {
            QVERIFY(DecompressFile(PageFilePath(dir_.path(), n + 1), Path("back.bmp")));
            QCOMPARE(ReadAll(Path("back.bmp")), BitmapFileOf(pages[n]));
        }
    }

    void damagedPageFilesFail()
    {
        Write(Path("page.bmp"), QByteArray(50000, 'a') + QByteArray(50000, 'b'));
        QVERIFY(CompressFile(Path("page.bmp"), Path("page.tzg")));
        const QByteArray stream = ReadAll(Path("page.tzg"));
        Write(Path("short.tzg"), stream.chopped(1));
        QVERIFY(!DecompressFile(Path("short.tzg"), Path("out.bmp")));
        QByteArray corrupt = stream;
        corrupt[corrupt.size() / 2] = char(~corrupt[corrupt.size() / 2]);
        Write(Path("corrupt.tzg"), corrupt);
        QVERIFY(!DecompressFile(Path("corrupt.tzg"), Path("out.bmp")));
        Write(Path("empty.tzg"), {});
        QVERIFY(!DecompressFile(Path("empty.tzg"), Path("out.bmp")));
    }

    void missingFilesFail()
    {
        QVERIFY(!CompressFile(Path("absent.bmp"), Path("x.tzg")));
        QVERIFY(!QFile::exists(Path("x.tzg")));
        Write(Path("page.bmp"), "x");
        QVERIFY(!CompressFile(Path("page.bmp"), Path("no/such/folder/x.tzg")));
        QVERIFY(!DecompressFile(Path("absent.tzg"), Path("x.bmp")));
    }

    void pageNames()
    {
        QCOMPARE(PageFilePath("/w", 1), QStringLiteral("/w/0001.tzg"));
        QCOMPARE(PageBitmapPath("/w", 42), QStringLiteral("/w/0042.bmp"));
        QCOMPARE(PageFilePath("/w", 12345), QStringLiteral("/w/12345.tzg"));
    }

    void emptyingKeepsSubFolders()
    {
        QTemporaryDir work;
        QDir dir(work.path());
        Write(dir.filePath("0001.tzg"), "page");
        Write(dir.filePath("typozind.arc.ttf"), "font");
        Write(dir.filePath(".hidden"), "h");
        Write(dir.filePath("0002.tzg"), "r");
        QFile::setPermissions(dir.filePath("0002.tzg"), QFileDevice::ReadOwner);
        QVERIFY(dir.mkdir("sub"));
        Write(dir.filePath("sub/kept"), "k");
        EmptyWorkFolder(work.path());
        QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), (QStringList { ".hidden", "sub" }));
        QVERIFY(QFile::exists(dir.filePath("sub/kept")));
    }

    // A work folder whose owner was killed goes at the next start; one whose
    // owner still runs stays.
    void abandonedWorkFoldersAreRemoved()
    {
        QTemporaryDir temp;
        const QByteArray oldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        auto age = [](const QString& path) {
            const timeval hourAgo[2] = { { time(nullptr) - 3600, 0 }, { time(nullptr) - 3600, 0 } };
            QCOMPARE(utimes(QFile::encodeName(path).constData(), hourAgo), 0);
        };
        {
            WorkFolder running;
            QVERIFY(running.Path().startsWith(temp.path() + "/tzQ"));
            age(running.Path());
            // A folder as a killed run leaves it: its own mark, no lock.
            const QString mark = QDir(running.Path()).entryList(QDir::Files).first();
            const QString abandoned = temp.filePath("tzQaband1");
            QVERIFY(QDir().mkdir(abandoned, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QVERIFY(QFile::copy(running.File(mark), abandoned + u'/' + mark));
            Write(abandoned + "/typozind.arc.ttf", "font");
            age(abandoned);
            const QString fresh = temp.filePath("tzQfresh");
            QVERIFY(QDir().mkdir(fresh));

            WorkFolder next;
            QVERIFY(!QFile::exists(abandoned));
            QVERIFY(QFile::exists(running.Path()));
            QVERIFY(QFile::exists(fresh));
        }
        QCOMPARE(QDir(temp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList { "tzQfresh" });
        qputenv("TMPDIR", oldTemp);
    }
};

QTEST_GUILESS_MAIN(TestPageStore)
#include "test_pagestore.moc"
