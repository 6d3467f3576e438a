// The character search and the duplicate search over real files: plain
// files, ZIP members, a collection and a Macintosh file; tzind find and
// tzind dups as a user runs them.
#include "FaceSearchFixtures.h"
#include "TestSupport.h"
#include "WebFontWriter.h"
#include "fontfile/ByteOrder.h"
#include "fontlist/CharacterSearch.h"
#include "fontlist/DuplicateFaces.h"
#include "fontlist/ListFile.h"
#include "fontlist/RowFaceScan.h"
#include "platform/WorkFolder.h"

#include <QtTest>

using namespace tz;
using namespace tz::test;

using Rows = std::vector<int>;

class FaceSearchesTest : public QObject {
    Q_OBJECT
    FaceSearchFiles files_;
    WorkFolder work_;
    FontList list_;
    QString listFile_;

    ProcessResult Tzind(const QStringList& args) { return RunProcess(BinPath("tzind"), args); }
    static QStringList Faces(const QByteArray& listFile)
    {
        FontList list;
        ReadListContent(list, listFile, QString(), {});
        QStringList faces;
        for (int row = 0; row < list.Count(); ++row)
            faces << list.Entry(row).FaceName + u'@' + QFileInfo(list.Entry(row).FilePath).fileName();
        return faces;
    }

private slots:
    void initTestCase()
    {
        files_.AddRows(list_, work_.Path());
        QCOMPARE(list_.Count(), 10);
        QCOMPARE(list_.Entry(3).MemberName, QStringLiteral("KANJI.TTF"));
        QCOMPARE(list_.Entry(5).FaceName, QStringLiteral("Kanji Regular"));
        QCOMPARE(list_.Entry(8).Kind, int(kKindMac));
        listFile_ = files_.Path("all.tzl");
        QVERIFY(WriteListFile(list_, listFile_));
    }

    void characterSearch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Rows>("rows");
        QTest::newRow("latin") << QStringLiteral("Az") << Rows { 0, 1, 2 };
        // Every kanji face, whether loose, in the ZIP, the collection or the
        // Macintosh file; the second version has the base character too.
        QTest::newRow("kanji") << QStringLiteral("葛 𠮟\n") << Rows { 3, 5, 6, 7, 8 };
        // The sequence only where format 14 maps it.
        QTest::newRow("sequence") << QStringLiteral("葛\U000E0100") << Rows { 3, 5, 6, 8 };
        QTest::newRow("kana") << QStringLiteral("かな") << Rows { 4 };
        QTest::newRow("no face has both") << QStringLiteral("Aあ") << Rows {};
    }
    void characterSearch()
    {
        QFETCH(QString, text);
        QFETCH(Rows, rows);
        RowFaceScan scan(list_, work_.Path());
        QCOMPARE(RowsCovering(scan, CharactersOf(text)), rows);
        QCOMPARE(scan.SkippedRows(), 1); // the deleted file
        QVERIFY(!scan.Stopped());
        // The copies are gone: nothing beyond what a fresh work folder holds.
        QCOMPARE(QDir(work_.Path()).entryList(QDir::Files), QDir(WorkFolder().Path()).entryList(QDir::Files));
    }

    void duplicates()
    {
        RowFaceScan scan(list_, work_.Path());
        const std::vector<Rows> groups = DuplicateGroups(scan);
        // Latin loose, copied and zipped; kanji zipped, in the collection,
        // alone and in the Macintosh file. Version 2 of the family and the
        // collection's kana face are no duplicates.
        QCOMPARE(groups, (std::vector<Rows> { { 0, 1, 2 }, { 3, 5, 6, 8 } }));
        QCOMPARE(RepeatingRows(groups), (Rows { 1, 2, 5, 6, 8 }));
        QCOMPARE(scan.SkippedRows(), 1);
    }

    // The digest covers the face's tables, not the file: a different
    // whole-file checksum in `head` or a signature make no difference, a
    // changed table does.
    void digestOfTablesOnly()
    {
        FaceSearchFiles files;
        QByteArray head = FaceSearchFiles::TableOf(files.latin, "head");
        const QByteArray cmap = FaceSearchFiles::TableOf(files.latin, "cmap");
        const QByteArray name = FaceSearchFiles::TableOf(files.latin, "name");
        QByteArray adjusted = head;
        adjusted.replace(8, 4, "\x12\x34\x56\x78");
        files.Write("signed.ttf", BuildFontWithTables({ { "name", name }, { "DSIG", "signature" }, { "cmap", cmap }, { "head", adjusted } }));
        QByteArray changedCmap = cmap;
        changedCmap[changedCmap.size() - 1] = 1;
        files.Write("changed.ttf", BuildFontWithTables({ { "cmap", changedCmap }, { "head", head }, { "name", name } }));
        FontList list;
        FontAdder adder(list, work_.Path());
        for (const char* path : { "loose/latin.ttf", "signed.ttf", "changed.ttf" })
            adder.AddPath(files.Path(path), kAllFaces);
        QCOMPARE(list.Count(), 3);
        RowFaceScan scan(list, work_.Path());
        QCOMPARE(DuplicateGroups(scan), (std::vector<Rows> { { 0, 1 } }));
    }

    // Thousands of rows naming a few files: each file is read once, and one
    // file reached by two paths is one file.
    void repeatedRowsAndLinks()
    {
        FontList list;
        const QString link = files_.Path("loose/link.ttf");
        QVERIFY(QFile::link(files_.Path("loose/latin.ttf"), link) || QFile::exists(link));
        FontAdder adder(list, work_.Path());
        for (int i = 0; i < 2000; ++i)
            adder.AddPath(files_.Path(i % 2 ? "loose/latin.ttf" : "loose/link.ttf"), kAllFaces);
        int files = 0;
        RowFaceScan scan(list, work_.Path());
        scan.GoOn = [&](int done, int count, const QString&) {
            ++files;
            return done < count;
        };
        QCOMPARE(RowsCovering(scan, CharactersOf("A")).size(), size_t(2000));
        QCOMPARE(files, 2);
        RowFaceScan again(list, work_.Path());
        QCOMPARE(RepeatingRows(DuplicateGroups(again)).size(), size_t(1999));
    }

    // Many distinct files of one table layout, two faces in turn: their
    // digests are read many at a time, and each face's rows end up in one
    // group whatever order the digests come in.
    void manyCopiesOfOneLayout()
    {
        FaceSearchFiles files;
        const QByteArray head = FaceSearchFiles::TableOf(files.latin, "head");
        const QByteArray name = FaceSearchFiles::TableOf(files.latin, "name");
        QByteArray cmap = FaceSearchFiles::TableOf(files.latin, "cmap");
        const QByteArray first = BuildFontWithTables({ { "cmap", cmap }, { "head", head }, { "name", name } });
        cmap[cmap.size() - 1] = 1;
        const QByteArray second = BuildFontWithTables({ { "cmap", cmap }, { "head", head }, { "name", name } });
        FontList list;
        FontAdder adder(list, work_.Path());
        Rows even, odd;
        for (int i = 0; i < 60; ++i) {
            const QString path = QStringLiteral("copies/%1.ttf").arg(i);
            files.Write(path, i % 2 ? second : first);
            adder.AddPath(files.Path(path), kAllFaces);
            (i % 2 ? odd : even).push_back(i);
        }
        QCOMPARE(list.Count(), 60);
        RowFaceScan scan(list, work_.Path());
        QCOMPARE(DuplicateGroups(scan), (std::vector<Rows> { even, odd }));
    }

    // With the wider formats the faces of WOFF, WOFF2, suitcase and CFF
    // collection files are searched as the sfnt data they decode to: the
    // kanji face in each is found by its characters and is one face with the
    // loose kanji file. The program's own formats pass them over.
    void widerFormatRows()
    {
        FaceSearchFiles files;
        const auto tables = [](const QByteArray& face) {
            QList<SfntTable> list;
            for (const char* tag : { "cmap", "head", "name" })
                list.append({ tag, FaceSearchFiles::TableOf(face, tag) });
            return list;
        };
        const QByteArray pair = BuildCollectionWithTables({ tables(files.kana), tables(files.kanji) });
        SfntWriter cffPair { pair };
        for (const qsizetype face : { 12, 16 })
            cffPair.PutBytes(qsizetype(BigEndianView(pair).U32(face)), "OTTO");
        files.Write("kanji.ttf", files.kanji);
        files.Write("kanji.woff", WoffOf(files.kanji));
        files.Write("kanji.woff2", Woff2Of(files.kanji));
        files.Write("pair.woff2", Woff2Of(pair));
        files.Write("pair.dfont", SuitcaseOf({ files.kana, files.kanji }));
        files.Write("pair.otc", cffPair.bytes);
        FontList list;
        FontAdder adder(list, work_.Path(), FontFormats::All);
        for (const char* name : { "kanji.ttf", "kanji.woff", "kanji.woff2", "pair.woff2", "pair.dfont", "pair.otc" })
            adder.AddPath(files.Path(name), kAllFaces);
        QCOMPARE(list.Count(), 9);
        Rows kanji, kana;
        for (int row = 0; row < list.Count(); ++row)
            (list.Entry(row).FaceName == "Kanji Regular" ? kanji : kana).push_back(row);
        QCOMPARE(kanji.size(), size_t(6));

        RowFaceScan scan(list, work_.Path(), FontFormats::All);
        QCOMPARE(RowsCovering(scan, CharactersOf(QStringLiteral("葛\U000E0100"))), kanji);
        QCOMPARE(scan.SkippedRows(), 0);
        RowFaceScan again(list, work_.Path(), FontFormats::All);
        QCOMPARE(DuplicateGroups(again), (std::vector<Rows> { kanji, kana }));
        QCOMPARE(QDir(work_.Path()).entryList(QDir::Files), QDir(WorkFolder().Path()).entryList(QDir::Files));

        RowFaceScan designed(list, work_.Path());
        QCOMPARE(RowsCovering(designed, CharactersOf(QStringLiteral("葛"))), Rows { kanji.front() });
        const ProcessResult r = Tzind({ "find", "--all-formats", "--text", QStringLiteral("葛"), files.Path("kanji.woff2") });
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(Faces(r.out), QStringList { "Kanji Regular@KANJI.WOFF2" });
    }

    void stopBeforeTheNextFile()
    {
        RowFaceScan scan(list_, work_.Path());
        scan.GoOn = [](int done, int, const QString&) { return done < 1; };
        QCOMPARE(RowsCovering(scan, CharactersOf("A")), Rows { 0 });
        QVERIFY(scan.Stopped());
    }

    void tzindFind_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("faces");
        QTest::newRow("found in a list")
            << QStringList { "--text", "葛\U000E0100" } << 0
            << QStringList { "Kanji Regular@PACK.ZIP", "Kanji Regular@PAIR.TTC", "Kanji Regular@KANJI.TTF",
                   "Kanji Regular@KANJI.SUI" };
        QTest::newRow("none") << QStringList { "--text", "Aあ" } << 3 << QStringList {};
        QTest::newRow("no text") << QStringList { "--text", " " } << 2 << QStringList {};
        QTest::newRow("unknown option") << QStringList { "--text", "A", "--all" } << 2 << QStringList {};
    }
    void tzindFind()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, faces);
        const ProcessResult r = Tzind(QStringList { "find" } + args + QStringList { listFile_ });
        QCOMPARE(r.exitCode, exitCode);
        if (exitCode == 2)
            return;
        QCOMPARE(Faces(r.out), faces);
        QVERIFY(r.err.contains("1 rows skipped"));
    }

    void tzindFindWritesListFileFromPaths()
    {
        const QString out = files_.Path("found.tzl");
        const ProcessResult r = Tzind({ "find", "--text", "z", "-o", out, files_.Path("copy"), files_.Path("pack.zip") });
        QCOMPARE(r.exitCode, 0);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(Faces(file.readAll()), (QStringList { "Latin Regular@LATIN.TTF", "Latin Regular@PACK.ZIP" }));
    }

    void tzindDups()
    {
        const ProcessResult r = Tzind({ "dups", listFile_ });
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> groups = r.out.split('\n');
        // Three rows, an empty line, four rows, the last line's end.
        QCOMPARE(groups.size(), 3 + 1 + 4 + 1);
        QVERIFY(groups[0].startsWith("0\tLatin Regular\t"));
        QVERIFY(groups[3].isEmpty());
        QVERIFY(groups[4].startsWith("0\tKanji Regular\t"));
        QCOMPARE(Tzind({ "dups", files_.Path("kanji.ttf"), files_.Path("kanji2.ttf") }).exitCode, 3);
        QCOMPARE(Tzind({ "dups" }).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(FaceSearchesTest)
#include "test_facesearches.moc"
