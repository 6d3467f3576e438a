#include "platform/PathResolver.h"
#include "platform/RemovedOnSignal.h"
#include "platform/Text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>

using namespace tz;

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void upperCaseChangesAsciiOnly()
    {
        QCOMPARE(UpperAscii(QStringLiteral("c:\\fonts\\ａｂc.ttf")), QStringLiteral("C:\\FONTS\\ａｂC.TTF"));
        QCOMPARE(UpperAscii(QByteArray("ab\x82\xa0z")), QByteArray("AB\x82\xa0Z"));
        QCOMPARE(UpperExtension(QStringLiteral("/a.b/font.ttc")), QStringLiteral(".TTC"));
        QCOMPARE(UpperExtension(QStringLiteral("/a.b/font")), QString());
        QCOMPARE(FileNamePart(QStringLiteral("C:\\x\\y.ttf")), QStringLiteral("y.ttf"));
    }

    // A process ended by SIGINT or SIGTERM removes the files it registered,
    // then its folders when empty, and ends as the signal would have; a
    // path no longer registered stays.
    void signalsRemoveTemporaryFiles_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
    }
    void signalsRemoveTemporaryFiles()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString folder = dir.filePath("work");
        QVERIFY(QDir().mkdir(folder));
        const QString temporary = folder + "/.tzcopy-1";
        const QString kept = dir.filePath("kept");
        for (const QString& path : { temporary, kept }) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const pid_t child = ::fork();
        if (child == 0) {
            RemoveTemporaryFilesOnSignals();
            const RemovedOnSignal removedFolder(folder, RemovedOnSignal::Kind::Folder);
            const RemovedOnSignal removedFile(temporary);
            { const RemovedOnSignal forgotten(kept); }
            ::raise(signal);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), signal);
        QVERIFY(!QFile::exists(temporary));
        QVERIFY(!QFile::exists(folder));
        QVERIFY(QFile::exists(kept));
    }

    void codePages()
    {
        // "ゴシック" in CP932.
        const QByteArray sjis("\x83\x53\x83\x56\x83\x62\x83\x4e");
        QCOMPARE(DecodeCp932(sjis), std::optional<QString>(QStringLiteral("ゴシック")));
        QCOMPARE(EncodeCp932(QStringLiteral("ゴシック")), std::optional<QByteArray>(sjis));
        QVERIFY(!DecodeCp932(QByteArray("\x83")));
        QVERIFY(!EncodeCp932(QStringLiteral("한")).has_value());
        QCOMPARE(DecodeMacRoman(QByteArray("Caf\x8e")), QStringLiteral("Café"));
        QCOMPARE(DecodeUtf16BE(QByteArray("\x00\x41\x30\x42\x00", 5)), std::optional<QString>(QStringLiteral("Aあ")));
        QVERIFY(!DecodeUtf16BE(QByteArray("\xd8\x00\x00\x41", 4)));
        QVERIFY(IsValidUtf8("plain"));
        QVERIFY(!IsValidUtf8(sjis));
    }

    void resolvesStoredPathsIgnoringCase()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Fonts/Sub"));
        QFile(dir.filePath(QStringLiteral("Fonts/Sub/arial.ttf"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("Fonts/Sub/Arial.TTF"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("Fonts/Sub/Exact.ttf"))).open(QIODevice::WriteOnly);
        const QString base = dir.path();
        // The cache gives the same answers, also when asked twice.
        PathResolverCache cache;
        for (const auto& resolve : std::initializer_list<std::function<QString(const QString&)>> {
                 ResolvePath, [&cache](const QString& p) { return cache.Resolve(p); } }) {
            for (int twice = 0; twice < 2; ++twice) {
                const QString upper = base + QStringLiteral("/FONTS/SUB/ARIAL.TTF");
                // Among case-variants the first in byte order: "Arial.TTF" < "arial.ttf".
                QCOMPARE(resolve(upper), base + QStringLiteral("/Fonts/Sub/Arial.TTF"));
                QCOMPARE(resolve(base + QStringLiteral("/Fonts/Sub/arial.ttf")), base + QStringLiteral("/Fonts/Sub/arial.ttf"));
                QCOMPARE(resolve(base + QStringLiteral("/FONTS/SUB/EXACT.TTF")), base + QStringLiteral("/Fonts/Sub/Exact.ttf"));
                const QString missing = base + QStringLiteral("/FONTS/NONE/X.TTF");
                QCOMPARE(resolve(missing), missing);
            }
        }
    }

    // The cache agrees with ResolvePath path by path, for stored (upper-cased)
    // paths and for paths given in their exact case, and looks again only
    // after Forget.
    void cacheAgreesWithTheResolver()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Fonts/Sub"));
        for (const char* name : { "Fonts/Sub/arial.ttf", "Fonts/Sub/Arial.TTF", "Fonts/Sub/EXACT.TTF", "Fonts/top.ttf",
                 "Fonts/Sub/b.ttf", "Fonts/Sub/B.TTF" })
            QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        const QString upper = UpperAscii(dir.path());
        PathResolverCache cache;
        for (const QString& base : { upper, dir.path() }) {
            for (const char* stored : { "/FONTS/SUB/ARIAL.TTF", "/FONTS/SUB/EXACT.TTF", "/FONTS/TOP.TTF",
                     "/FONTS/SUB/GONE.TTF", "/NONE/X.TTF", "/FONTS/SUB", "/Fonts/Sub/arial.ttf", "/Fonts/Sub/b.ttf",
                     "/FONTS/SUB/B.TTF", "/Fonts/./Sub/../top.ttf", "/Fonts//top.ttf", "/Fonts/" }) {
                const QString path = base + QString::fromLatin1(stored);
                QCOMPARE(cache.Resolve(path), ResolvePath(path));
            }
        }
        QCOMPARE(cache.Resolve(QStringLiteral("/")), QStringLiteral("/"));
        QCOMPARE(cache.Resolve(upper + "/FONTS/TOP.TTF"), dir.filePath(QStringLiteral("Fonts/top.ttf")));
        QVERIFY(QFile::rename(dir.filePath(QStringLiteral("Fonts/top.ttf")), dir.filePath(QStringLiteral("Fonts/Top.ttf"))));
        QCOMPARE(cache.Resolve(upper + "/FONTS/TOP.TTF"), dir.filePath(QStringLiteral("Fonts/top.ttf")));
        cache.Forget();
        QCOMPARE(cache.Resolve(upper + "/FONTS/TOP.TTF"), dir.filePath(QStringLiteral("Fonts/Top.ttf")));
    }
};

QTEST_GUILESS_MAIN(PlatformTest)
#include "test_platform.moc"
