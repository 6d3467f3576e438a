// The archives of the wider set of formats: 7z, tar (plain and compressed)
// and RAR, read through the archiver library only when the wider set is
// chosen, with the rules of the program's own archives: font and document
// members, names in UTF-8 or CP932, extraction within its bounds.
#include "ArchiveTestUtil.h"
#include "SfntWriter.h"
#include "WiderArchives.h"
#include "archive/ArchiveNames.h"
#include "platform/Text.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tz;
using namespace tz::test;

Q_DECLARE_METATYPE(tz::ArchiveKind)

namespace {

const QByteArray kCp932FontName("\x83\x74\x83\x48\x83\x93\x83\x67.ttf"); // フォント.ttf
const QString kCp932FontText = QString::fromUtf8("フォント.ttf");

} // namespace

class TestWiderArchives : public QObject {
    Q_OBJECT

    QTemporaryDir temp_;
    QByteArray font_;

    // The archive name under the temporary folder, made with the members of
    // every test: a font, a WOFF2 font, a read-me, a LICENSE and a font whose
    // name is CP932 (tar and RAR keep name bytes) or UTF-8 (7z stores Unicode).
    QString Made(const QString& name)
    {
        const QString path = temp_.filePath(name);
        const bool unicodeNames = name.endsWith(QStringLiteral(".7z"));
        const QList<ArchivedFile> files { { "fonts/a.ttf", font_ }, { "fonts/b.woff2", "wOF2 bytes" },
            { "read me.txt", "read me" }, { "LICENSE", "free" },
            { unicodeNames ? kCp932FontText.toUtf8() : kCp932FontName, font_ } };
        if (name.endsWith(QStringLiteral(".rar")))
            return WriteAll(path, StoredRar(files)) ? path : QString();
        return PackWithTool(path, files) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(UseArchiverLibrary(true) == 3);
        font_ = BuildFont({ WindowsName(1, "Alpha"), WindowsName(4, "Alpha Regular") });
    }
    void cleanupTestCase() { FreeArchiverLibraries(); }

    void kindsByName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ArchiveKind>("designed");
        QTest::addColumn<ArchiveKind>("all");
        QTest::newRow("zip") << "a.zip" << ArchiveKind::Zip << ArchiveKind::Zip;
        QTest::newRow("LZH upper case") << "A.LZH" << ArchiveKind::Lzh << ArchiveKind::Lzh;
        QTest::newRow("7z") << "fonts.7z" << ArchiveKind::None << ArchiveKind::SevenZip;
        QTest::newRow("tar") << "fonts.tar" << ArchiveKind::None << ArchiveKind::Tar;
        QTest::newRow("tgz") << "fonts.TGZ" << ArchiveKind::None << ArchiveKind::Tar;
        QTest::newRow("tar.gz is one archive") << "fonts.Tar.Gz" << ArchiveKind::None << ArchiveKind::Tar;
        QTest::newRow("tar.bz2") << "fonts.tar.bz2" << ArchiveKind::None << ArchiveKind::Tar;
        QTest::newRow("tar.xz") << "fonts.tar.xz" << ArchiveKind::None << ArchiveKind::Tar;
        QTest::newRow("a gzip file alone is none") << "font.ttf.gz" << ArchiveKind::None << ArchiveKind::None;
        QTest::newRow("xz alone") << "fonts.xz" << ArchiveKind::None << ArchiveKind::None;
        QTest::newRow("rar") << "fonts.rar" << ArchiveKind::None << ArchiveKind::Rar;
        QTest::newRow("exe is probed apart") << "setup.exe" << ArchiveKind::None << ArchiveKind::None;
        QTest::newRow("no dot") << "tar" << ArchiveKind::None << ArchiveKind::None;
    }
    void kindsByName()
    {
        QFETCH(QString, name);
        QTEST(ArchiveKindOfName(name, FontFormats::Designed), "designed");
        QTEST(ArchiveKindOfName(name, FontFormats::All), "all");
    }

    void membersAndExtraction_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : { "fonts.7z", "fonts.tar", "fonts.tgz", "fonts.tar.gz", "fonts.tar.bz2", "fonts.tar.xz",
                 "fonts.rar" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void membersAndExtraction()
    {
        QFETCH(QString, name);
        if (!name.endsWith(QStringLiteral(".rar")) && !HasPackingTool(name))
            QSKIP("the tool that makes this archive is not installed (scripts/install-deps installs it)");
        const QString archive = Made(name);
        QVERIFY(!archive.isEmpty());

        // The program's own formats: not an archive at all.
        QCOMPARE(KindOfArchive(archive), ArchiveKind::None);
        QVERIFY(ListFontMembers(archive).Failed());
        QVERIFY(!FindMember(archive, QStringLiteral("FONTS/A.TTF")));

        const MemberListing fonts = ListFontMembers(archive, FontFormats::All);
        QStringList names = Names(fonts.Members);
        names.sort();
        QCOMPARE(names, (QStringList { "fonts/a.ttf", "fonts/b.woff2", kCp932FontText }));
        QCOMPARE(fonts.Count, 3);
        QStringList documents = Names(ListDocumentMembers(archive, FontFormats::All).Members);
        documents.sort();
        QCOMPARE(documents, (QStringList { "LICENSE", "read me.txt" }));

        // Found again by the upper-cased name a row stores, "\\" as written
        // on Windows included, and extracted byte for byte.
        for (const QString& stored : { QStringLiteral("FONTS\\A.TTF"), UpperAscii(kCp932FontText) }) {
            const std::optional<ArchiveMember> member = FindMember(archive, stored, FontFormats::All);
            QVERIFY2(member, qPrintable(stored));
            const QString destination = temp_.filePath(QStringLiteral("out.ttx"));
            QVERIFY(ExtractMember(archive, *member, destination, FontFormats::All));
            QCOMPARE(ReadAll(destination), font_);
            QVERIFY(ExtractMember(archive, { stored, {} }, destination, FontFormats::All));
            QCOMPARE(ReadAll(destination), font_);
        }
    }

    // The library checks the CRC of every RAR header (so the archives these
    // tests write are taken for what they are): a damaged header ends the
    // listing before it, and its member is never extracted.
    void damagedRarHeader()
    {
        QByteArray rar = StoredRar({ { "a.ttf", font_ }, { "b.ttf", font_ } });
        const qsizetype name = rar.indexOf("b.ttf");
        rar[name] = 'c'; // the second file header no longer matches its CRC
        const QString archive = temp_.filePath(QStringLiteral("damaged.rar"));
        QVERIFY(WriteAll(archive, rar));
        QCOMPARE(Names(ListFontMembers(archive, FontFormats::All).Members), QStringList { "a.ttf" });
        const QString destination = temp_.filePath(QStringLiteral("damaged.ttx"));
        QVERIFY(!ExtractMember(archive, { "C.TTF", {} }, destination, FontFormats::All));
        QVERIFY(!QFile::exists(destination));
    }

    void bombsAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("tar.gz") << "bomb.tar.gz";
        QTest::newRow("tar.xz") << "bomb.tar.xz";
        QTest::newRow("7z") << "bomb.7z";
    }
    void bombsAreRefused()
    {
        QFETCH(QString, name);
        if (!HasPackingTool(name))
            QSKIP("the tool that makes this archive is not installed (scripts/install-deps installs it)");
        // 3 MiB of zeros pack into a few KiB: far beyond 100 times what is
        // read of the archive for it.
        const QString archive = temp_.filePath(name);
        QVERIFY(PackWithTool(archive, { { "bomb.ttf", QByteArray(3 << 20, '\0') } }));
        const QString destination = temp_.filePath(QStringLiteral("bomb.ttx"));
        const ExtractResult result = ExtractMember(archive, { "BOMB.TTF", {} }, destination, FontFormats::All);
        QVERIFY(result.IsTooLarge());
        QVERIFY(!QFile::exists(destination));
    }

    void garbageIsNoArchive_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : { "junk.7z", "junk.tar.gz", "junk.tar.xz", "junk.rar" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void garbageIsNoArchive()
    {
        QFETCH(QString, name);
        const QString archive = temp_.filePath(name);
        QVERIFY(WriteAll(archive, QByteArray("Rar!\x1a\x07\x00", 7) + QByteArray(4000, '\x5a')));
        QVERIFY(ListFontMembers(archive, FontFormats::All).Members.isEmpty());
        QVERIFY(!ExtractMember(archive, { "A.TTF", {} }, temp_.filePath(QStringLiteral("junk.ttx")), FontFormats::All));
    }
};

QTEST_GUILESS_MAIN(TestWiderArchives)
#include "test_wider_archives.moc"
