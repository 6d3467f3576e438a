// The font list's document state: the path and its untitled names, the
// modified state and the recent items, each reported by its signal, and the
// recent items' round trip through the settings.
#include "SettingsFiles.h"
#include "fontlist/ListDocument.h"
#include "settings/SettingsStore.h"

#include <QSignalSpy>
#include <QtTest>

using namespace tz;

class TestListDocument : public QObject {
    Q_OBJECT
private slots:
    void init() { test::RemoveSettingsFile(); }

    void untitledNamesCount()
    {
        ListDocument document;
        QSignalSpy path(&document, &ListDocument::PathChanged);
        document.StartUntitled();
        document.StartUntitled();
        QCOMPARE(document.UntitledNumber(), 3);
        QCOMPARE(document.Path(), QStringLiteral("名称未設定3"));
        QCOMPARE(path.count(), 2);
        document.SetPath(document.Path());
        QCOMPARE(path.count(), 2);
    }

    void modifiedSignalsChangesOnly()
    {
        ListDocument document;
        QSignalSpy modified(&document, &ListDocument::ModifiedChanged);
        document.SetModified(false);
        document.SetModified(true);
        document.SetModified(true);
        QVERIFY(document.Modified());
        QCOMPARE(modified.count(), 1);
        QCOMPARE(modified.first().first().toBool(), true);
    }

    void recentItemsAreFour()
    {
        ListDocument document;
        QCOMPARE(document.RecentLists(), QStringList({ "", "", "", "" }));
        QSignalSpy lists(&document, &ListDocument::RecentListsChanged);
        document.SetRecentLists({ "/a.tzl", "/b.tzl", "/c.tzl", "/d.tzl", "/e.tzl" });
        QCOMPARE(document.RecentLists(), QStringList({ "/a.tzl", "/b.tzl", "/c.tzl", "/d.tzl" }));
        document.PushRecentList(QStringLiteral("/C.TZL"));
        QCOMPARE(document.RecentLists(), QStringList({ "/C.TZL", "/a.tzl", "/b.tzl", "/d.tzl" }));
        QCOMPARE(lists.count(), 2);
        QSignalSpy folders(&document, &ListDocument::RecentFoldersChanged);
        document.PushRecentFolder(QStringLiteral("/fonts"));
        QCOMPARE(document.RecentFolders(), QStringList({ "/fonts", "", "", "" }));
        QCOMPARE(folders.count(), 1);
    }

    void recentItemsRoundTrip()
    {
        {
            SettingsStore store;
            ListDocument document;
            document.LoadRecentItems(store);
            QVERIFY(!store.KeyExists(QStringLiteral("Zindel\\Lists"))); // reading never creates it
            document.SetRecentLists({ "/l.tzl" });
            document.SetRecentFolders({ "", "/f" });
            document.SaveRecentItems(store);
        }
        SettingsStore store;
        ListDocument document;
        document.LoadRecentItems(store);
        QCOMPARE(document.RecentLists(), QStringList({ "/l.tzl", "", "", "" }));
        QCOMPARE(document.RecentFolders(), QStringList({ "", "/f", "", "" }));
    }
};

QTEST_GUILESS_MAIN(TestListDocument)
#include "test_listdocument.moc"
