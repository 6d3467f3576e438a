// Every kind of file the program writes, onto a file system that is full:
// the write fails and says so, the file of that name stays as it was, and no
// temporary file is left beside it. The file system is a small tmpfs mounted
// in a mount namespace of the test's own (or mounted and unmounted again
// where no namespace can be made); without root the tests skip.
#include "ListFileSupport.h"
#include "SettingsPrivateFonts.h"
#include "TestSupport.h"
#include "sample/PageStore.h"
#include "viewer/PNGImage.h"
#include "viewer/PageExport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace tz;
using namespace tz::test;

namespace {

const QByteArray kOld = "the file as it was before";

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFullDisk : public QObject {
    Q_OBJECT
    QString mountError_;
    std::optional<QTemporaryDir> mount_;

    QString On(const QString& name) const { return mount_->filePath(name); }

    // Puts the old files in place, then fills the file system up to `spare`
    // bytes.
    void Fill(const QStringList& oldFiles, qint64 spare = 0)
    {
        for (const QString& name : oldFiles)
            QVERIFY(WriteBytes(On(name), kOld));
        const int fd = ::open(QFile::encodeName(On("filler")).constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(fd >= 0);
        const QByteArray block(4096, 'f');
        qint64 size = 0;
        for (ssize_t n; (n = ::write(fd, block.constData(), size_t(block.size()))) > 0;)
            size += n;
        QCOMPARE(errno, ENOSPC);
        QCOMPARE(::ftruncate(fd, std::max<qint64>(0, size - spare)), 0);
        ::close(fd);
    }

    // The old files hold their old bytes, and beside them lie only the filler
    // and the files named in `written`.
    void CheckUntouched(const QStringList& oldFiles, const QStringList& written = {})
    {
        for (const QString& name : oldFiles)
            QCOMPARE(ReadAll(On(name)), kOld);
        QStringList expected = QStringList { "filler" } + oldFiles + written;
        expected.removeDuplicates();
        expected.sort();
        QStringList left = QDir(mount_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        left.sort();
        QCOMPARE(left, expected);
    }

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("mounting a tmpfs needs root");
        // A mount namespace of our own: the mounts vanish with the process.
        if (::unshare(CLONE_NEWNS) == 0)
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    }

    void init()
    {
        mount_.emplace();
        if (::mount("tmpfs", QFile::encodeName(mount_->path()).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP(qPrintable(QStringLiteral("no tmpfs can be mounted: ") + QString::fromLocal8Bit(std::strerror(errno))));
    }

    void cleanup()
    {
        if (mount_)
            ::umount2(QFile::encodeName(mount_->path()).constData(), MNT_DETACH);
        mount_.reset();
    }

    // tzind's outputs. `target` is the file that can't be written (an old one
    // lies there); `spare` leaves room for the small files written before it.
    void commandOutputs_data()
    {
        QTest::addColumn<QStringList>("args"); // "@" stands for the mounted folder
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("spare");
        // The pages are written first, while the run goes on.
        const QStringList sample = { "sample", "--no-printer", "-o", "@", kDejaVuSans };
        QTest::newRow("png page") << sample + QStringList { "--format", "png" } << "tzsm0001.png" << 0;
        QTest::newRow("bmp page") << sample + QStringList { "--format", "bmp" } << "tzsm0001.bmp" << 0;
        QTest::newRow("page file") << sample + QStringList { "--format", "tzg" } << "0001.tzg" << 0;
        QTest::newRow("log") << sample << "log.txt" << 0;
        QTest::newRow("pdf catalog") << QStringList { "sample", "--no-printer", "-o", "@/c.pdf", kDejaVuSans } << "c.pdf" << 0;
        QTest::newRow("list file") << QStringList { "add", "-o", "@/fonts.tzl", kDejaVuSans } << "fonts.tzl" << 0;
    }
    void commandOutputs()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, target);
        QFETCH(int, spare);
        Fill({ target }, spare);
        args.replaceInStrings(QStringLiteral("@"), mount_->path());
        const ProcessResult run = RunProcess(BinPath("tzind"), args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("cannot write " + QFile::encodeName(On(target))), run.err);
        CheckUntouched({ target }, spare > 0 ? QStringList { "index.tsv", "log.txt" } : QStringList());
    }

    // Pages saved from the viewer: the current page as PNG or BMP, and every
    // page as BMP, moved from the work folder on another file system.
    void viewerSaves()
    {
        QTemporaryDir work;
        QImage page(600, 800, QImage::Format_Mono);
        page.fill(0);
        QVERIFY(page.save(PageBitmapPath(work.path(), 1), "BMP"));
        QVERIFY(CompressFile(PageBitmapPath(work.path(), 1), PageFilePath(work.path(), 1)));
        const QStringList old = { "page.png", "page.bmp", "tzsm0001.bmp" };
        Fill(old);
        TPNGImage png;
        QString error;
        QVERIFY(!SaveBitmapFile(page, On("page.png"), SaveFormat::Png, png, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!SaveBitmapFile(page, On("page.bmp"), SaveFormat::Bmp, png, &error));
        error.clear();
        QVERIFY(!SaveAllPages(work.path(), 1, On("tzsm"), kTypeBmp, png, &error));
        QVERIFY(!error.isEmpty());
        CheckUntouched(old);
    }
};

QTEST_GUILESS_MAIN(TestFullDisk)
#include "test_full_disk.moc"
