// Adding with the wider set of formats: which names the folder search, the
// installed-font search and the archive members take with it and without it,
// and rows added from 7z, tar and RAR archives.
#include "SfntWriter.h"
#include "WiderArchives.h"
#include "archive/Archivettf.h"
#include "collect/FolderSearch.h"
#include "collect/FontAdder.h"
#include "fontfile/FontExtensions.h"
#include "fontlist/FontList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

void PutU16(QByteArray& bytes, quint16 value) { bytes.append(char(value >> 8)).append(char(value)); }
void PutU32(QByteArray& bytes, quint32 value)
{
    PutU16(bytes, quint16(value >> 16));
    PutU16(bytes, quint16(value));
}

// A data-fork suitcase: a resource file whose "sfnt" resources are the fonts.
QByteArray DataForkSuitcase(const QList<QByteArray>& fonts)
{
    QByteArray data;
    QByteArray references;
    for (int i = 0; i < fonts.size(); ++i) {
        PutU16(references, quint16(128 + i)); // id
        PutU16(references, 0xFFFF); // no name
        PutU32(references, quint32(data.size())); // attributes 0, then the offset in 24 bits
        PutU32(references, 0); // handle
        PutU32(data, quint32(fonts[i].size()));
        data += fonts[i];
    }
    QByteArray typeList;
    PutU16(typeList, 0); // one type
    typeList += "sfnt";
    PutU16(typeList, quint16(fonts.size() - 1));
    PutU16(typeList, 2 + 8); // references right after the type list
    QByteArray map(16 + 4 + 2 + 2, '\0');
    PutU16(map, 28); // type list offset
    PutU16(map, quint16(28 + typeList.size() + references.size())); // name list offset
    map += typeList + references;
    QByteArray file;
    PutU32(file, 256);
    PutU32(file, quint32(256 + data.size()));
    PutU32(file, quint32(data.size()));
    PutU32(file, quint32(map.size()));
    file.resize(256, '\0');
    return file + data + map;
}

} // namespace

class WiderFormatsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QTemporaryDir work_;
    QByteArray font_;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? path : QString();
    }

    // The files a walk of folder hands on, by name, sorted, and those it
    // reported as adding nothing.
    struct Walk {
        QStringList analysed;
        QStringList reported;
    };
    static Walk Search(const QString& folder, FolderSearchSettings settings)
    {
        Walk walk;
        FolderSearch search;
        search.ReadSettings = [settings] { return settings; };
        search.Progress = [](const QString&, const QString&) {};
        search.LetEventsRun = [] {};
        search.AddFile = [&walk](const QString& path, int) {
            walk.analysed << QFileInfo(path).fileName();
            return AddOutcome::NotFont;
        };
        search.Run(folder);
        for (const NotAddedFile& file : search.Failed)
            walk.reported << file.Name;
        walk.analysed.sort();
        walk.reported.sort();
        return walk;
    }

private slots:
    void initTestCase()
    {
        LoadArchiverLibraries();
        font_ = BuildFont({ WindowsName(1, "Alpha"), WindowsName(4, "Alpha Regular") });
    }
    void cleanupTestCase() { FreeArchiverLibraries(); }

    void fontNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("designed"); // installed fonts and archive members
        QTest::addColumn<bool>("all");
        QTest::addColumn<bool>("searchedDesigned"); // the folder search
        QTest::newRow("ttf") << "a.ttf" << true << true << true;
        QTest::newRow("TTC") << "A.TTC" << true << true << true;
        QTest::newRow("otf: the folder search only") << "a.otf" << false << true << true;
        QTest::newRow("OTC") << "NotoSansCJK.OTC" << false << true << false;
        QTest::newRow("woff") << "a.Woff" << false << true << false;
        QTest::newRow("woff2") << "fonts/a.woff2" << false << true << false;
        QTest::newRow("dfont") << "Mac.dfont" << false << true << false;
        QTest::newRow("woff3 is none") << "a.woff3" << false << false << false;
        QTest::newRow("type 1") << "a.pfb" << false << false << false;
        QTest::newRow("no dot") << "woff2" << false << false << false;
    }
    void fontNames()
    {
        QFETCH(QString, name);
        QTEST(IsFontName(name, FontFormats::Designed), "designed");
        QTEST(IsFontName(name, FontFormats::All), "all");
        QTEST(IsSearchedFontName(name, FontFormats::Designed), "searchedDesigned");
        QCOMPARE(IsSearchedFontName(name, FontFormats::All), IsFontName(name, FontFormats::All));
    }

    void folderSearchTakesTheWiderNamesOnlyWhenChosen()
    {
        QTemporaryDir tree;
        for (const char* name : { "a.ttf", "b.otf", "c.woff2", "d.WOFF", "e.dfont", "f.otc", "g.7z", "h.tar.gz",
                 "i.RAR", "j.tgz", "k.gz", "l.zip", "m.tar.bz2", "n.tar.xz", "o.tar", "notes.txt" }) {
            QFile f(tree.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        FolderSearchSettings settings { true, false, kAllFaces };
        Walk walk = Search(tree.path(), settings);
        QCOMPARE(walk.analysed, (QStringList { "a.ttf", "b.otf", "l.zip" }));

        settings.Formats = FontFormats::All;
        walk = Search(tree.path(), settings);
        QCOMPARE(walk.analysed,
            (QStringList { "a.ttf", "b.otf", "c.woff2", "d.WOFF", "e.dfont", "f.otc", "g.7z", "h.tar.gz", "i.RAR",
                "j.tgz", "l.zip", "m.tar.bz2", "n.tar.xz", "o.tar" }));
        // Font files that added nothing are named; archives are not.
        QCOMPARE(walk.reported, (QStringList { "a.ttf", "b.otf", "c.woff2", "d.WOFF", "e.dfont", "f.otc" }));

        settings.Archives = false;
        walk = Search(tree.path(), settings);
        QCOMPARE(walk.analysed, (QStringList { "a.ttf", "b.otf", "c.woff2", "d.WOFF", "e.dfont", "f.otc" }));
    }

    // Needs the reader of the wider formats: a face of a data-fork suitcase
    // is a row of a Macintosh file (kind 3 for a suitcase of several faces).
    void suitcaseFacesAreMacintoshRows()
    {
        const QString suitcase = Write(QStringLiteral("two.dfont"),
            DataForkSuitcase({ font_, BuildFont({ WindowsName(1, "Beta"), WindowsName(4, "Beta Regular") }) }));
        FontList list;
        QCOMPARE(FontAdder(list, work_.path()).AddPath(suitcase, kAllFaces), AddOutcome::NotFont);
        if (FontAdder(list, work_.path(), FontFormats::All).AddPath(suitcase, kAllFaces) != AddOutcome::Added)
            QSKIP("this build's font reader does not read data-fork suitcases (the reader of the wider formats is not in)");
        QCOMPARE(list.Count(), 2);
        for (int row = 0; row < 2; ++row)
            QCOMPARE(list.Entry(row).Kind, int(kKindMacCollection));
        QCOMPARE(list.Entry(1).FaceName, QStringLiteral("Beta Regular"));
    }

    void rowsFromTheWiderArchives_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : { "pack.7z", "pack.tar.xz", "pack.tar.gz", "pack.rar" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void rowsFromTheWiderArchives()
    {
        QFETCH(QString, name);
        const QString archive = dir_.filePath(name);
        // A TrueType font stored under a WOFF2 name is a font member of the
        // wider set all the same: the reader goes by the bytes.
        const QList<ArchivedFile> files { { "sub/inner.ttf", font_ }, { "renamed.woff2", font_ }, { "a.txt", "text" } };
        if (name.endsWith(QStringLiteral(".rar")))
            QCOMPARE(Write(name, StoredRar(files)), archive);
        else if (!PackWithTool(archive, files))
            QSKIP("the tool that makes this archive is not installed (scripts/install-deps installs it)");

        FontList list;
        FontAdder designed(list, work_.path());
        QCOMPARE(designed.AddPath(archive, kAllFaces), AddOutcome::NotFont);
        QCOMPARE(list.Count(), 0);

        FontAdder adder(list, work_.path(), FontFormats::All);
        QCOMPARE(adder.AddPath(archive, kAllFaces), AddOutcome::Added);
        QStringList rows;
        for (int i = 0; i < list.Count(); ++i) {
            const FontEntry& e = list.Entry(i);
            rows << QStringLiteral("%1|%2|%3|%4|%5").arg(e.Kind).arg(e.FaceName, e.FilePath, e.MemberName, e.Size);
        }
        rows.sort();
        const QString size = QString::number(font_.size());
        QCOMPARE(rows,
            (QStringList { QStringLiteral("0|Alpha Regular|%1|RENAMED.WOFF2|%2").arg(archive.toUpper(), size),
                QStringLiteral("0|Alpha Regular|%1|SUB/INNER.TTF|%2").arg(archive.toUpper(), size) }));
        QVERIFY(QDir(work_.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(WiderFormatsTest)
#include "test_wider_formats.moc"
