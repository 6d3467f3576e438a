// Places the program shares with other users and programs: the temporary
// folder's work folders, the run lock, the settings file. Nothing that is not
// the program's own is changed, and a place that can't be used is reported
// as that.
#include "ListFileSupport.h"
#include "SettingsPrivateFonts.h"
#include "TestSupport.h"
#include "platform/WorkFolder.h"
#include "sample/PageStore.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

using namespace tz;
using namespace tz::test;

namespace {

constexpr uid_t kOtherUser = 12345;

void AgeByAnHour(const QString& path)
{
    const timeval hourAgo[2] = { { time(nullptr) - 3600, 0 }, { time(nullptr) - 3600, 0 } };
    QCOMPARE(lutimes(QFile::encodeName(path).constData(), hourAgo), 0);
}

mode_t ModeOf(const QString& path)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The environment of a tzind run without a runtime folder, with its own
// temporary folder.
QStringList WithoutRuntimeFolder(const QString& temp)
{
    return { "XDG_RUNTIME_DIR=", "TMPDIR=" + temp };
}

} // namespace

class TestHostilePlaces : public QObject {
    Q_OBJECT

private slots:
    // Only folders that are certainly abandoned work folders of this user go:
    // the exact name, mode 0700, the program's mark, no lock, no recent change.
    void onlyAbandonedWorkFoldersOfOursAreRemoved()
    {
        QTemporaryDir temp;
        QTemporaryDir outside;
        const QByteArray oldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        QString markName, markCopy;
        {
            const WorkFolder model;
            const QStringList marks = QDir(model.Path()).entryList(QDir::Files | QDir::Hidden);
            QCOMPARE(marks.size(), 1);
            markName = marks.first();
            markCopy = outside.filePath("mark");
            QVERIFY(QFile::copy(model.File(markName), markCopy));
        }
        const QString victim = outside.filePath("victim.txt");
        QVERIFY(WriteBytes(victim, "the user's own file"));
        QVERIFY(QFile::setPermissions(victim, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        auto folder = [&](const QString& name, mode_t mode, bool marked) {
            const QString path = temp.filePath(name);
            QDir().mkdir(path);
            if (marked)
                QFile::copy(markCopy, path + u'/' + markName);
            WriteBytes(path + "/0001.tzg", "page");
            ::chmod(QFile::encodeName(path).constData(), mode);
            return path;
        };
        const QString abandoned = folder("tzQab12CD", 0700, true);
        QVERIFY(QFile::link(victim, abandoned + "/typozind.arc.ttf"));
        const QString quotes = folder("TZQuotes", 0755, false);
        const QString mixedCase = folder("tzqab12cd", 0700, true);
        const QString unmarked = folder("tzQnomark", 0700, false);
        const QString evil = folder("tzQevil12", 0777, true);
        QVERIFY(QFile::link(victim, evil + "/link"));
        const QString foreign = folder("tzQothers", 0700, true);
        QCOMPARE(::lchown(QFile::encodeName(foreign).constData(), kOtherUser, kOtherUser), 0);
        const QString pointed = outside.filePath("pointed");
        QVERIFY(QDir().mkdir(pointed));
        QVERIFY(QFile::copy(markCopy, pointed + u'/' + markName));
        QCOMPARE(::chmod(QFile::encodeName(pointed).constData(), 0700), 0);
        QVERIFY(QFile::link(pointed, temp.filePath("tzQlink12")));
        for (const QString& name : QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
            AgeByAnHour(temp.filePath(name));
        const QString fresh = folder("tzQfresh1", 0700, true);
        {
            WorkFolder running;
            AgeByAnHour(running.Path());
            WorkFolder next;
            QVERIFY(QFileInfo::exists(running.Path()));
        }
        qputenv("TMPDIR", oldTemp);

        QVERIFY(!QFileInfo::exists(abandoned));
        for (const QString& kept : { quotes, mixedCase, unmarked, evil, foreign, fresh })
            QVERIFY2(QFileInfo::exists(kept + "/0001.tzg"), qPrintable(kept));
        QVERIFY(QFileInfo(evil + "/link").isSymLink());
        QVERIFY(QFileInfo::exists(pointed + u'/' + markName));
        QCOMPARE(ReadAll(victim), QByteArray("the user's own file"));
        QCOMPARE(ModeOf(victim), mode_t(0644));
        QCOMPARE(ModeOf(evil), mode_t(0777));
    }

    // The executable's folder serves when the temporary folder can't: its
    // emptying takes only the program's page files and extracted fonts.
    void emptyingTakesOnlyTheProgramsFiles()
    {
        QTemporaryDir work;
        const QStringList ours = { "0001.tzg", "12345.tzg", "typozind.arc.ttx", "typozind.mac.ttx",
            "typozind.arc.ttf", "typozind.mac.ttf" };
        const QStringList theirs = { "typoscan-zindel", "readme.txt", "001.tzg", "0001.tzg.bak", ".hidden",
            "TYPOZIND.ARC.TTF" };
        for (const QString& name : ours + theirs)
            QVERIFY(WriteBytes(work.filePath(name), "x"));
        QVERIFY(QFile::setPermissions(work.filePath("0001.tzg"), QFile::ReadOwner));
        EmptyWorkFolder(work.path());
        QStringList left = QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
        QStringList expected = theirs;
        left.sort();
        expected.sort();
        QCOMPARE(left, expected);
    }

    // The run lock's place is this user's: another user's file there (a
    // folder stands in for it) is reported as an unusable lock, never as
    // another run, and the place other users share is not used at all.
    void aLockPlaceThatCannotBeUsed_data()
    {
        QTest::addColumn<QString>("taken"); // relative to the temporary folder
        QTest::addColumn<bool>("runtimeFolder"); // XDG_RUNTIME_DIR set to <temp>/run
        QTest::addColumn<int>("exitCode");
        QTest::newRow("the lock shared by all users") << "Typoscan" << false << 0;
        QTest::newRow("this user's lock folder") << QString("typoscan-%1").arg(::geteuid()) << false << 2;
        QTest::newRow("the lock file in the runtime folder") << "run/Typoscan" << true << 2;
    }
    void aLockPlaceThatCannotBeUsed()
    {
        QFETCH(QString, taken);
        QFETCH(bool, runtimeFolder);
        QFETCH(int, exitCode);
        QTemporaryDir temp;
        QVERIFY(QDir().mkdir(temp.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QDir().mkpath(temp.filePath(taken));
        QCOMPARE(::chown(QFile::encodeName(temp.filePath(taken)).constData(), kOtherUser, kOtherUser), 0);
        QCOMPARE(::chmod(QFile::encodeName(temp.filePath(taken)).constData(), 0700), 0);
        QStringList environment = WithoutRuntimeFolder(temp.path());
        if (runtimeFolder)
            environment[0] = "XDG_RUNTIME_DIR=" + temp.filePath("run");
        const ProcessResult run
            = RunProcess(BinPath("tzind"), { "sample", "--no-printer", "-o", temp.filePath("out"), kDejaVuSans }, environment);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(!run.err.contains(QStringLiteral("他のTyposcanが実行中です").toUtf8()));
        if (exitCode != 0)
            QVERIFY2(run.err.contains("run lock") && run.err.contains(QFile::encodeName(temp.filePath(taken))), run.err);
    }

    // Without a runtime folder the program makes its own, quietly.
    void noRuntimeFolderWarning()
    {
        QTemporaryDir temp;
        const ProcessResult run = RunProcess(BinPath("tzind"),
            { "sample", "--no-printer", "-o", temp.filePath("out"), kDejaVuSans }, WithoutRuntimeFolder(temp.path()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(!run.err.contains("XDG_RUNTIME_DIR"), run.err);
        QCOMPARE(ModeOf(temp.filePath(QString("typoscan-%1").arg(::geteuid()))), mode_t(0700));
    }

    // A settings file that could not be opened is no broken file: it is
    // neither set aside nor written over, and the program runs on defaults.
    void settingsThatCannotBeOpened_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("no descriptor left") << "emfile";
    }
    void settingsThatCannotBeOpened()
    {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        const QString path = folder.filePath("Typoscan.reg");
        const QByteArray content = "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\Zindel]\n\"Left\"=dword:00000064\n";
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkdir(path));
        else
            QVERIFY(WriteBytes(path, content));
        const QByteArray oldSettings = qgetenv("TYPOSCAN_SETTINGS");
        qputenv("TYPOSCAN_SETTINGS", QFile::encodeName(path));
        std::vector<int> held;
        if (kind == u"emfile") {
            for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
                held.push_back(fd);
        }
        ::alarm(20); // an open that blocks ends the test
        int left = 7;
        {
            SettingsStore store;
            SettingsGroup(store, "Zindel").Read("Left", left).Write("Left", 300);
            store.Close();
        }
        ::alarm(0);
        for (int fd : held)
            ::close(fd);
        qputenv("TYPOSCAN_SETTINGS", oldSettings);
        QCOMPARE(left, 7);
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            QStringList { "Typoscan.reg" });
        if (kind == u"emfile")
            QCOMPARE(ReadAll(path), content);
    }
};

QTEST_GUILESS_MAIN(TestHostilePlaces)
#include "test_hostile_places.moc"
