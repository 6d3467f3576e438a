// Extracting one member: contents, times, lookup, and what a damaged or
// hostile archive may and may not leave behind.
#include "ArchiveTestUtil.h"
#include "ArchiveZipWriter.h"
#include "TestSupport.h"
#include "platform/Text.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace tz;
using namespace tz::test;

namespace {

// The payloads written by tests/data/archive/make-fixtures.sh and make-lzh.py.
QByteArray FixtureFont(const char* tag) { return QByteArray("\0\1\0\0fake TrueType payload ", 26) + tag + '\n'; }
QByteArray LzhFont(const char* tag) { return QByteArray("\0\1\0\0", 4) + QByteArray("fake TrueType payload\n").repeated(3) + tag; }

} // namespace

class TestArchiveExtract : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;

    // A fresh folder that should hold nothing but what the extraction makes.
    QString Sandbox()
    {
        static int number = 0;
        const QString path = temp_.filePath(QString::number(++number));
        QDir().mkpath(path + "/out");
        return path;
    }

    QString Generated(const QString& name, const QList<ZipEntry>& entries)
    {
        return GeneratedZip(temp_.path(), name, entries);
    }

    // One row for the built-in reader, one for the library.
    void AddBackendRows()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("built-in") << false;
        QTest::newRow("library") << true;
    }

private slots:
    void extract_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("library");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("content");
        for (bool library : { false, true }) {
            const char* tag = library ? "library" : "built-in";
            QTest::addRow("zip folder, %s", tag) << "fonts.zip" << library << "FONTS/ABC.TTF" << FixtureFont("abc");
            QTest::addRow("zip folder as on Windows, %s", tag)
                << "fonts.zip" << library << "FONTS\\ABC.TTF" << FixtureFont("abc");
            QTest::addRow("cp932 so, %s", tag) << "cp932.zip" << library << QString::fromUtf8("ソ.TTF") << FixtureFont("so");
            QTest::addRow("cp932 bi, %s", tag) << "cp932.zip" << library << QString::fromUtf8("ビ.TTF") << FixtureFont("bi");
            QTest::addRow("cp932 ko, %s", tag) << "cp932.zip" << library << QString::fromUtf8("コ.TTF") << FixtureFont("ko");
        }
        QTest::newRow("self-extracting zip") << "sfxzip.exe" << true << "FONTS/ABC.TTF" << FixtureFont("abc");
        QTest::newRow("lzh backslash folder") << "fonts.lzh" << true << "FONTS/ABC.TTF" << LzhFont("");
        QTest::newRow("lzh folder as on Windows") << "fonts.lzh" << true << "FONTS\\ABC.TTF" << LzhFont("");
        QTest::newRow("lzh backslash byte") << "fonts.lzh" << true << QString::fromUtf8("ソ.TTF") << LzhFont("so");
        QTest::newRow("lzh folder extension") << "fonts.lzh" << true << QString::fromUtf8("サブ/日本語.TTF") << LzhFont("jp");
        QTest::newRow("self-extracting lzh") << "sfxlzh.exe" << true << QString::fromUtf8("ソ.TTF") << LzhFont("so");
        QTest::newRow("cab folder") << "fonts.cab" << true << "SUB/FONT.TTF" << FixtureFont("cab");
        QTest::newRow("cab folder as on Windows") << "fonts.cab" << true << "SUB\\FONT.TTF" << FixtureFont("cab");
        QTest::newRow("self-extracting cab") << "sfxcab.exe" << true << "SUB/FONT.TTF" << FixtureFont("cab");
        QTest::newRow("cp932 cab") << "cp932.cab" << true << QString::fromUtf8("ソ.TTF") << FixtureFont("so");
    }
    void extract()
    {
        QFETCH(QString, file);
        QFETCH(bool, library);
        QFETCH(QString, stored);
        UseArchiverLibrary(library);
        const QString archive = DataPath("archive/" + file);
        const QString sandbox = Sandbox();
        const QString destination = sandbox + "/out/typozind.arc.ttx";
        // A file named like the member's last component stays untouched.
        const QString bystander = sandbox + "/out/" + FileNamePart(stored).toLower();
        QVERIFY(WriteAll(bystander, "bystander"));

        // Both from the stored (upper-cased) name alone and from the listing.
        QVERIFY(ExtractMember(archive, ArchiveMember { stored, {} }, destination));
        QTEST(ReadAll(destination), "content");
        const std::optional<ArchiveMember> member = FindMember(archive, stored);
        QVERIFY(member);
        QVERIFY(ExtractMember(archive, *member, destination));
        QTEST(ReadAll(destination), "content");

        QCOMPARE(ReadAll(bystander), QByteArray("bystander"));
        QCOMPARE(FilesBelow(sandbox + "/out").size(), 2);
        QCOMPARE(FilesBelow(sandbox), QStringList { "out" });
    }

    // One opened archive extracts its members one after another, in the
    // listing's order over one pass, and still finds a member the pass has
    // gone by (asked for again, or out of order).
    void membersInTurn_data() { AddBackendRows(); }
    void membersInTurn()
    {
        QFETCH(bool, library);
        UseArchiverLibrary(library);
        const QString archive
            = Generated("turn.zip", { { "A.TTF", "a" }, { "README.TXT", "r" }, { "B.TTF", "b" }, { "C.TTF", "c" } });
        OpenedArchive opened(archive);
        const MemberListing fonts = opened.List(MemberFilter::Fonts);
        QCOMPARE(Names(fonts.Members), (QStringList { "A.TTF", "B.TTF", "C.TTF" }));
        const QString destination = Sandbox() + "/out/member.ttx";
        for (const auto& [index, content] :
            { std::pair { 0, "a" }, { 1, "b" }, { 2, "c" }, { 2, "c" }, { 0, "a" }, { 1, "b" } }) {
            QVERIFY(opened.Extract(fonts.Members[index], destination));
            QCOMPARE(ReadAll(destination), QByteArray(content));
        }
        QVERIFY(!opened.Extract({ "MISSING.TTF", {} }, destination));
        QVERIFY(!QFile::exists(destination));
        QVERIFY(opened.Extract(fonts.Members[2], destination));
        QCOMPARE(ReadAll(destination), QByteArray("c"));
    }

    void modificationTime_data() { AddBackendRows(); }
    void modificationTime()
    {
        QFETCH(bool, library);
        UseArchiverLibrary(library);
        const QString archive = Generated("dated.zip", { { "A.TTF", "a" } });
        const QString destination = Sandbox() + "/out/a.ttx";
        QVERIFY(ExtractMember(archive, { "A.TTF", {} }, destination));
        QCOMPARE(QFileInfo(destination).lastModified(), QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    }

    void damagedMember_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("library");
        QTest::addColumn<QString>("member");
        const QString zip = temp_.filePath("crc.zip");
        WriteZip(zip, { { "A.TTF", "0123456789abcdef", false, true } });
        QByteArray bytes = ReadAll(zip);
        bytes.replace("0123456789abcdef", "0123456789abcdeX");
        WriteAll(zip, bytes);
        // Recorded sizes larger than the deflated data: nothing checks the CRC
        // of a member that ends early, so the size must match.
        const QString lying = Generated("lying.zip", { { "B.TTF", QByteArray(4000, 'b') } });
        PatchZipField(lying, "PK\x01\x02", 24, 8000);
        PatchZipField(lying, "PK\x03\x04", 22, 8000);
        const QString lzh = temp_.filePath("crc.lzh");
        bytes = ReadAll(DataPath("archive/fonts.lzh"));
        bytes.replace("payload\nfake", "payload\nFAKE");
        WriteAll(lzh, bytes);
        const QString cutLzh = temp_.filePath("cut.lzh");
        WriteAll(cutLzh, ReadAll(DataPath("archive/fonts.lzh")).left(100));
        const QString cutZip = temp_.filePath("cut.zip");
        WriteAll(cutZip, ReadAll(DataPath("archive/fonts.zip")).left(70));
        for (bool library : { false, true }) {
            const char* tag = library ? "library" : "built-in";
            QTest::addRow("zip crc mismatch, %s", tag) << zip << library << "A.TTF";
            QTest::addRow("zip lying size, %s", tag) << lying << library << "B.TTF";
            QTest::addRow("zip cut short, %s", tag) << cutZip << library << "FONTS/ABC.TTF";
        }
        QTest::newRow("lzh crc mismatch") << lzh << true << "FONTS/ABC.TTF";
        QTest::newRow("lzh cut short") << cutLzh << true << "FONTS/ABC.TTF";
    }
    void damagedMember()
    {
        QFETCH(QString, file);
        QFETCH(bool, library);
        QFETCH(QString, member);
        UseArchiverLibrary(library);
        const QString sandbox = Sandbox();
        const QString destination = sandbox + "/out/typozind.arc.ttx";
        QVERIFY(WriteAll(destination, "stale"));
        QVERIFY(!ExtractMember(file, { member, {} }, destination));
        QCOMPARE(FilesBelow(sandbox + "/out"), QStringList());
    }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("library");
        const QString zip = Generated("hostile.zip",
            { { "../../evil.ttf", "up" }, { "/tmp/typozind-abs.ttf", "abs" }, { "C:\\drive.ttf", "drive" },
                { "..\\..\\win.ttf", "win" } });
        for (bool library : { false, true })
            QTest::addRow("zip, %s", library ? "library" : "built-in") << zip << library;
        QTest::newRow("lzh") << DataPath("archive/hostile.lzh") << true;
    }
    void hostileNames()
    {
        QFETCH(QString, file);
        QFETCH(bool, library);
        UseArchiverLibrary(library);
        const MemberListing listing = ListFontMembers(file);
        QCOMPARE(listing.Members.size(), file.endsWith(".zip") ? 4 : 3);
        const QString sandbox = Sandbox();
        const QString destination = sandbox + "/out/typozind.arc.ttx";
        for (const ArchiveMember& member : listing.Members) {
            QVERIFY2(ExtractMember(file, member, destination), qPrintable(member.Name));
            QCOMPARE(FilesBelow(sandbox + "/out"), QStringList { "typozind.arc.ttx" });
        }
        QCOMPARE(FilesBelow(sandbox), QStringList { "out" });
        QCOMPARE(FilesBelow(temp_.path()).filter("evil").size(), 0);
        QVERIFY(!QFileInfo::exists("/tmp/ABS.TTF") && !QFileInfo::exists("/tmp/typozind-abs.ttf"));
    }

    void symbolicLinkMember_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("library");
        ZipEntry link { "link.ttf", "/etc/passwd" };
        link.symlink = true;
        const QString zip = Generated("link.zip", { link });
        for (bool library : { false, true })
            QTest::addRow("zip, %s", library ? "library" : "built-in") << zip << library;
        QTest::newRow("lzh") << DataPath("archive/hostile.lzh") << true;
    }
    void symbolicLinkMember()
    {
        QFETCH(QString, file);
        QFETCH(bool, library);
        UseArchiverLibrary(library);
        const QString destination = Sandbox() + "/out/link.ttx";
        QVERIFY(!ExtractMember(file, { "LINK.TTF", {} }, destination));
        QVERIFY(!QFileInfo(destination).exists() && !QFileInfo(destination).isSymLink());
    }

    // A destination that is a symbolic link is replaced, never written through.
    void destinationIsSymbolicLink()
    {
        UseArchiverLibrary(false);
        const QString sandbox = Sandbox();
        QVERIFY(WriteAll(sandbox + "/victim", "victim"));
        const QString destination = sandbox + "/out/typozind.arc.ttx";
        QVERIFY(QFile::link(sandbox + "/victim", destination));
        QVERIFY(ExtractMember(DataPath("archive/fonts.zip"), { "FONTS/ABC.TTF", {} }, destination));
        QCOMPARE(ReadAll(sandbox + "/victim"), QByteArray("victim"));
        QVERIFY(!QFileInfo(destination).isSymLink());
        QCOMPARE(ReadAll(destination), FixtureFont("abc"));
    }

    void missingMemberOrArchive()
    {
        const QString destination = Sandbox() + "/out/typozind.arc.ttx";
        for (bool library : { false, true }) {
            UseArchiverLibrary(library);
            QVERIFY(WriteAll(destination, "stale"));
            QVERIFY(!ExtractMember(DataPath("archive/fonts.zip"), { "NONE.TTF", {} }, destination));
            QVERIFY(!QFileInfo::exists(destination));
            QVERIFY(!ExtractMember(DataPath("archive/none.zip"), { "A.TTF", {} }, destination));
            QCOMPARE(bool(ExtractMember(DataPath("archive/fonts.lzh"), { "FONTS/ABC.TTF", {} }, destination)), library);
        }
    }

    // Members that would grow far beyond what they take in the archive, or
    // beyond any real font, are refused before or while they are written,
    // and nothing of them is left.
    void bombsAreRefused_data()
    {
        QTest::addColumn<bool>("library");
        QTest::addColumn<bool>("declaredHuge");
        for (bool library : { false, true }) {
            const char* tag = library ? "library" : "built-in";
            QTest::addRow("48 MiB of deflated zeros, %s", tag) << library << false;
            QTest::addRow("declared 600 MiB, %s", tag) << library << true;
        }
    }
    void bombsAreRefused()
    {
        QFETCH(bool, library);
        QFETCH(bool, declaredHuge);
        UseArchiverLibrary(library);
        QString archive;
        if (declaredHuge) {
            archive = Generated("declared.zip", { { "BOMB.TTF", QByteArray(4096, 'x'), false, true } });
            QVERIFY(PatchZipField(archive, "PK\x01\x02", 24, 600u << 20));
            QVERIFY(PatchZipField(archive, "PK\x03\x04", 22, 600u << 20));
        } else {
            archive = Generated("zeros.zip", { { "BOMB.TTF", QByteArray(48 << 20, '\0') } });
        }
        const QString sandbox = Sandbox();
        const ExtractResult result = ExtractMember(archive, { "BOMB.TTF", {} }, sandbox + "/out/bomb.ttx");
        QVERIFY(!result);
        QVERIFY(result.IsTooLarge());
        QCOMPARE(FilesBelow(sandbox + "/out"), QStringList());
    }

    // A member declared larger than the free space of the folder it goes to
    // is refused before a byte is written.
    void noRoomIsRefusedFirst_data() { AddBackendRows(); }
    void noRoomIsRefusedFirst()
    {
        QFETCH(bool, library);
        UseArchiverLibrary(library);
        const QString archive = Generated("stored.zip", { { "BIG.TTF", QByteArray(4 << 20, 'x'), false, true } });
        const QString small = Sandbox() + "/out";
        if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("no tmpfs can be mounted here (it needs root)");
        const ExtractResult result = ExtractMember(archive, { "BIG.TTF", {} }, small + "/big.ttx");
        const QStringList left = FilesBelow(small);
        ::umount(QFile::encodeName(small).constData());
        QVERIFY(result.IsTooLarge());
        QCOMPARE(left, QStringList());
    }

    // A member larger than the room left: the short write fails the
    // extraction and the partial file goes.
    void shortWrite_data() { AddBackendRows(); }
    void shortWrite()
    {
        QFETCH(bool, library);
        UseArchiverLibrary(library);
        const QString archive = Generated("big.zip", { { "BIG.TTF", QByteArray(1 << 20, '\0') } });
        const QString destination = Sandbox() + "/out/big.ttx";
        rlimit saved;
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = 64 * 1024;
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool extracted = bool(ExtractMember(archive, { "BIG.TTF", {} }, destination));
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!extracted);
        QVERIFY(!QFileInfo::exists(destination));
        QVERIFY(ExtractMember(archive, { "BIG.TTF", {} }, destination));
        QCOMPARE(QFileInfo(destination).size(), 1 << 20);
    }
};

QTEST_GUILESS_MAIN(TestArchiveExtract)
#include "test_archive_extract.moc"
