#include "ArchiveZipWriter.h"
#include "SfntWriter.h"
#include "TestSupport.h"
#include "collect/FontAdder.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

QList<SfntName> Face(const QString& family, const QString& face)
{
    return { WindowsName(1, family), WindowsName(4, face) };
}

QString Rows(const FontList& list)
{
    QStringList rows;
    for (int i = 0; i < list.Count(); ++i) {
        const FontEntry& e = list.Entry(i);
        rows << QStringLiteral("%1|%2|%3|%4|%5|%6").arg(e.Kind).arg(e.FaceName, e.FamilyName, QFileInfo(e.FilePath).fileName(), e.MemberName, e.Size);
    }
    return rows.join(u'\n');
}

} // namespace

// Adding paths through the real reader and archive code, on files built byte
// by byte in a temporary folder.
class FontAdderTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QTemporaryDir work_;
    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(bytes);
        return path;
    }
    QByteArray FourFaces() const
    {
        return BuildCollection({ Face("Fam", "Face 0"), Face("Fam", "Face 1"), Face("Fam", "Face 2"), Face("Fam", "Face 3") });
    }

private slots:
    void plainFontsAndFailures()
    {
        const QByteArray font = BuildFont(Face("Alpha", "Alpha Bold"));
        const QString a = Write("a.ttf", font);
        const QString txt = Write("notes.txt", "just text");
        FontList list;
        FontAdder adder(list, work_.path());
        QVERIFY(adder.AddPathNoting(a, kFirstFace));
        QVERIFY(!adder.AddPathNoting(txt, kFirstFace));
        QVERIFY(!adder.AddPathNoting(dir_.filePath("missing.ttf"), kFirstFace));
        QCOMPARE(Rows(list), QStringLiteral("0|Alpha Bold|Alpha|A.TTF||%1").arg(font.size()));
        QCOMPARE(list.Entry(0).FilePath, a.toUpper());
        QCOMPARE(adder.Summary(kNotAddedFiles),
            QStringLiteral("notes.txt: フォントではありません\r\nmissing.ttf: 読み込めません\r\n"
                           "以上のファイルが追加できませんでした．"));
        // Adding the same file again gives a second identical row.
        adder.AddPath(a, kAllFaces);
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.Entry(1).FaceName, list.Entry(0).FaceName);
    }

    void faceSelectionOfCollections_data()
    {
        QTest::addColumn<int>("selection");
        QTest::addColumn<QString>("faces");
        QTest::newRow("all") << int(kAllFaces) << "Face 0,Face 1,Face 2,Face 3";
        QTest::newRow("first") << int(kFirstFace) << "Face 0";
        QTest::newRow("last") << int(kLastFace) << "Face 3";
    }
    void faceSelectionOfCollections()
    {
        QFETCH(int, selection);
        QFETCH(QString, faces);
        const QString ttc = Write("four.ttc", FourFaces());
        FontList list;
        FontAdder(list, work_.path()).AddPath(ttc, selection);
        QStringList names;
        for (int i = 0; i < list.Count(); ++i) {
            names << list.Entry(i).FaceName;
            QCOMPARE(list.Entry(i).Kind, int(kKindCollection)); // the file has four faces
            QVERIFY(list.IsSelected(i));
        }
        QCOMPARE(names.join(u','), faces);
    }

    void singleFaceCollectionIsKindZero()
    {
        const QString ttc = Write("one.ttc", BuildCollection({ Face("Solo", "Solo") }));
        FontList list;
        FontAdder(list, work_.path()).AddPath(ttc, kAllFaces);
        QCOMPARE(list.Count(), 1);
        QCOMPARE(list.Entry(0).Kind, int(kKindSingle));
    }

    void macintoshFont()
    {
        const QByteArray font = BuildFont(Face("Mac Family", "Mac Face"));
        const QString suitcase = Write("Suitcase.suit", BuildMacBinary({ font }));
        FontList list;
        FontAdder(list, work_.path()).AddPath(suitcase, kFirstFace);
        QCOMPARE(Rows(list), QStringLiteral("2|Mac Face|Mac Family|SUITCASE.SUIT||%1").arg(font.size()));
        QVERIFY(QDir(work_.path()).entryList(QDir::Files).isEmpty()); // the extracted font is gone again
    }

    void archiveMembers()
    {
        const QByteArray one = BuildFont(Face("One", "One Regular"));
        const QByteArray four = FourFaces();
        const QString zip = dir_.filePath("fonts.zip");
        QVERIFY(WriteZip(zip, { ZipEntry { "fonts/one.ttf", one }, ZipEntry { "readme.txt", "hello" }, ZipEntry { "Sub\\four.TTC", four } }));
        FontList list;
        FontAdder adder(list, work_.path());
        QVERIFY(adder.AddPathNoting(zip, kLastFace));
        QCOMPARE(Rows(list), QStringLiteral("0|One Regular|One|FONTS.ZIP|FONTS/ONE.TTF|%1\n1|Face 3|Fam|FONTS.ZIP|SUB\\FOUR.TTC|%2")
                                 .arg(one.size())
                                 .arg(four.size()));
        QVERIFY(QDir(work_.path()).entryList(QDir::Files).isEmpty());
        // An archive without fonts, and a broken one, add nothing.
        const QString empty = dir_.filePath("empty.zip");
        QVERIFY(WriteZip(empty, { ZipEntry { "readme.txt", "hello" } }));
        QVERIFY(!adder.AddPathNoting(empty, kAllFaces));
        QVERIFY(!adder.AddPathNoting(Write("broken.zip", "PK\x03\x04 not really"), kAllFaces));
    }

    // Why a path added nothing comes from the reader and the archive code.
    void reasonsForNothingAdded_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("reason");
        const QByteArray font = BuildFont(Face("F", "F"));
        QByteArray truncated = font.left(20);
        QTest::newRow("text") << "notes.ttf" << QByteArray("just text") << int(AddOutcome::NotFont);
        QTest::newRow("empty file") << "empty.ttf" << QByteArray() << int(AddOutcome::NotFont);
        QTest::newRow("CFF outlines") << "cff.otf" << BuildFont(Face("C", "C"), 0x4F54544F) << int(AddOutcome::CffOutlines);
        QTest::newRow("TrueType cut short") << "cut.ttf" << truncated << int(AddOutcome::Damaged);
        QTest::newRow("collection of nothing") << "bad.ttc" << QByteArray("ttcf\0\1\0\0\0\0\0\2", 12)
                                               << int(AddOutcome::Damaged);
        QTest::newRow("Macintosh file of a CFF font")
            << "cff.suit" << BuildMacBinary({ BuildFont(Face("C", "C"), 0x4F54544F) }) << int(AddOutcome::CffOutlines);
        QTest::newRow("missing") << "missing.ttf" << QByteArray() << int(AddOutcome::Unreadable);
        QTest::newRow("archive without fonts") << "docs.zip" << QByteArray() << int(AddOutcome::NoFonts);
        QTest::newRow("self-extractor of nothing") << "setup.exe" << QByteArray("MZ nothing") << int(AddOutcome::NotFont);
    }
    void reasonsForNothingAdded()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, reason);
        QString path = dir_.filePath(name);
        if (name == u"docs.zip")
            QVERIFY(WriteZip(path, { ZipEntry { "readme.txt", "hello" } }));
        else if (name != u"missing.ttf")
            path = Write(name, bytes);
        FontList list;
        FontAdder adder(list, work_.path());
        QCOMPARE(int(adder.AddPath(path, kAllFaces)), reason);
        QCOMPARE(list.Count(), 0);
    }

    void storedPathsAreResolved()
    {
        // Installed fonts arrive with upper-cased paths.
        const QString a = Write("Mixed.ttf", BuildFont(Face("M", "M")));
        FontList list;
        FontAdder(list, work_.path()).AddPath(a.toUpper(), kAllFaces);
        QCOMPARE(list.Count(), 1);
    }

    void controlCharactersNeverSplitRows()
    {
        const QString a = Write("tab.ttf", BuildFont(Face("Fam\tily", "Fa\r\nce")));
        FontList list;
        FontAdder(list, work_.path()).AddPath(a, kAllFaces);
        QCOMPARE(list.Entry(0).FaceName, QStringLiteral("Fa  ce"));
        QCOMPARE(list.Entry(0).FamilyName, QStringLiteral("Fam ily"));
        QCOMPARE(FormatListFile(list).count('\t'), 5);
    }
};

QTEST_GUILESS_MAIN(FontAdderTest)
#include "test_fontadder.moc"
