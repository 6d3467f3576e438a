#include "collect/FolderSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace tz;

// The walk itself: which files it hands on, in which order, what it reports,
// and that loops, FIFOs and Stop end it. Naming the files is tested with the
// adding code.
class FolderSearchTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    void Touch(const QString& relative)
    {
        QDir(dir_.path()).mkpath(QFileInfo(dir_.filePath(relative)).path());
        QFile f(dir_.filePath(relative));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    // A walk whose files "add rows" when their name starts with "good".
    struct Recorder {
        FolderSearch search;
        QStringList analysed;
        QStringList folders;
        int settingsReads = 0;
        explicit Recorder(FolderSearchSettings settings)
        {
            search.ReadSettings = [this, settings] {
                ++settingsReads;
                return settings;
            };
            search.Progress = [this](const QString& phase, const QString& path) {
                if (phase == FolderSearch::kListingPhase)
                    folders << QFileInfo(path).fileName();
            };
            search.LetEventsRun = [] {};
            search.AddFile = [this](const QString& path, int) {
                analysed << QFileInfo(path).fileName();
                return QFileInfo(path).fileName().startsWith(u"good") ? AddOutcome::Added : AddOutcome::Damaged;
            };
        }
    };

private slots:
    void initTestCase()
    {
        Touch(QStringLiteral("good.ttf"));
        Touch(QStringLiteral("bad.TTF"));
        Touch(QStringLiteral("readme.txt"));
        Touch(QStringLiteral("fonts.zip"));
        Touch(QStringLiteral("setup.exe"));
        Touch(QStringLiteral("mac.suit"));
        Touch(QStringLiteral("sub/deeper/good2.otf"));
        Touch(QStringLiteral("sub/other.ttc"));
        // A link back to the top and a FIFO named like a font.
        QVERIFY(QFile::link(dir_.path(), dir_.filePath(QStringLiteral("sub/loop"))));
        QCOMPARE(mkfifo(QFile::encodeName(dir_.filePath(QStringLiteral("sub/pipe.ttf"))).constData(), 0600), 0);
        // A link to a font file is analysed like the file; a dangling one is not.
        QVERIFY(
            QFile::link(QStringLiteral("../../good.ttf"), dir_.filePath(QStringLiteral("sub/deeper/goodlink.ttf"))));
        QVERIFY(QFile::link(QStringLiteral("missing.ttf"), dir_.filePath(QStringLiteral("sub/gone.ttf"))));
    }

    void walksAndReports_data()
    {
        QTest::addColumn<bool>("archives");
        QTest::addColumn<bool>("selfExtracting");
        QTest::addColumn<QStringList>("analysed");
        QTest::newRow("both on") << true << true
                                 << QStringList { "bad.TTF", "fonts.zip", "good.ttf", "good2.otf", "goodlink.ttf",
                                        "other.ttc", "setup.exe" };
        QTest::newRow("archives off") << false << true
                                      << QStringList { "bad.TTF", "good.ttf", "good2.otf", "goodlink.ttf", "other.ttc",
                                             "setup.exe" };
        QTest::newRow("both off") << false << false
                                  << QStringList { "bad.TTF", "good.ttf", "good2.otf", "goodlink.ttf", "other.ttc" };
    }
    void walksAndReports()
    {
        QFETCH(bool, archives);
        QFETCH(bool, selfExtracting);
        QFETCH(QStringList, analysed);
        Recorder r({ archives, selfExtracting, 0 });
        r.search.Run(dir_.path());
        QStringList got = r.analysed;
        got.sort();
        QCOMPARE(got, analysed);
        // Font files that added nothing are reported; archives are not.
        QStringList failed;
        for (const NotAddedFile& file : r.search.Failed) {
            QCOMPARE(file.Reason, AddOutcome::Damaged);
            failed << file.Name;
        }
        failed.sort();
        QCOMPARE(failed, (QStringList { "bad.TTF", "other.ttc" }));
        // Each folder once: the link back to the top ends there.
        QCOMPARE(r.folders.count(QFileInfo(dir_.path()).fileName()), 1);
        QCOMPARE(r.settingsReads, 3); // top, sub, deeper
    }

    void stopUnwindsAfterTheCurrentFile()
    {
        Recorder r({ true, true, 0 });
        r.search.AddFile = [&](const QString& path, int) {
            r.analysed << QFileInfo(path).fileName();
            r.search.Stop();
            return AddOutcome::NotFont;
        };
        r.search.Run(dir_.path());
        QCOMPARE(r.analysed.size(), 1);
        QVERIFY(r.search.Stopped());
        // A new run clears the flag.
        r.search.AddFile = [](const QString&, int) { return AddOutcome::Added; };
        r.search.Run(dir_.path());
        QVERIFY(!r.search.Stopped());
    }

    void unreadableStartIsSkipped()
    {
        Recorder r({ true, true, 0 });
        r.search.Run(dir_.filePath(QStringLiteral("no-such-folder")));
        QVERIFY(r.analysed.isEmpty());
        QCOMPARE(r.settingsReads, 0);
    }

    void searchedFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("archives");
        QTest::addColumn<bool>("selfExtracting");
        QTest::addColumn<bool>("searched");
        QTest::newRow("otf") << "a.OtF" << false << false << true;
        QTest::newRow("lzh on") << "a.lzh" << true << false << true;
        QTest::newRow("cab off") << "a.cab" << false << true << false;
        QTest::newRow("exe needs only its own setting") << "a.exe" << false << true << true;
        QTest::newRow("mac suitcase") << "a.suit" << true << true << false;
        QTest::newRow("no extension") << "ttf" << true << true << false;
    }
    void searchedFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, archives);
        QFETCH(bool, selfExtracting);
        QFETCH(bool, searched);
        QCOMPARE(IsSearchedFile(name, { archives, selfExtracting, 0 }), searched);
    }
};

QTEST_GUILESS_MAIN(FolderSearchTest)
#include "test_foldersearch.moc"
