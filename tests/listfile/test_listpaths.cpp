// Paths around list files: the drive part and re-basing of the drive-letter
// option, and the recent-item order.
#include "fontlist/DrivePart.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "fontlist/RecentItems.h"
#include "platform/PathResolver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

class TestListPaths : public QObject {
    Q_OBJECT
private slots:
    void drivePart_data();
    void drivePart();
    void rebase_data();
    void rebase();
    void rebasedRowsResolveOnTheMedium();
    void pushRecent_data();
    void pushRecent();
};

namespace {
const QStringList kMounts { "/", "/home", "/media/bob/STICK", "/srv/data/" };
}

void TestListPaths::drivePart_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("drive");
    QTest::newRow("drive letter") << "D:\\FONTS\\A.TTF"
                                  << "D:";
    QTest::newRow("network share") << "\\\\srv\\fonts\\FONTS\\A.TTF"
                                   << "\\\\srv\\fonts";
    QTest::newRow("network share with slashes") << "//srv/fonts/A.TTF"
                                                << "//srv/fonts";
    QTest::newRow("server only") << "\\\\srv"
                                 << "\\\\srv";
    QTest::newRow("mount point, other case") << "/MEDIA/BOB/STICK/FONTS/A.TTF"
                                             << "/MEDIA/BOB/STICK";
    QTest::newRow("longest mount point") << "/home/alice/a.tzl"
                                         << "/home";
    QTest::newRow("mount point with trailing slash") << "/SRV/DATA/X.TTF"
                                                     << "/SRV/DATA";
    QTest::newRow("not a component prefix") << "/homeless/a.ttf"
                                            << "";
    QTest::newRow("removable medium of another machine") << "/MEDIA/ALICE/USB/A.TTF"
                                                         << "/MEDIA/ALICE/USB";
    QTest::newRow("udisks medium") << "/run/media/alice/USB/a.ttf"
                                   << "/run/media/alice/USB";
    QTest::newRow("mnt medium") << "/MNT/CDROM/A.TTF"
                                << "/MNT/CDROM";
    QTest::newRow("medium folder alone is no drive") << "/media/alice"
                                                     << "";
    QTest::newRow("root file system") << "/usr/share/fonts/a.ttf"
                                      << "";
    QTest::newRow("relative") << "FONTS/A.TTF"
                              << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestListPaths::drivePart()
{
    QFETCH(QString, path);
    QFETCH(QString, drive);
    QCOMPARE(DrivePart(path, kMounts), drive);
}

void TestListPaths::rebase_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("rebased");
    QTest::newRow("Windows list on E:") << "D:\\FONTS\\A.TTF"
                                        << "E:\\LISTS\\A.TZL"
                                        << "E:/FONTS/A.TTF";
    QTest::newRow("Windows list on a share") << "D:\\FONTS\\A.TTF"
                                             << "\\\\srv\\fonts\\A.TZL"
                                             << "//srv/fonts/FONTS/A.TTF";
    QTest::newRow("Windows row, list on a stick") << "D:\\FONTS\\A.TTF"
                                                  << "/media/bob/STICK/lists/a.tzl"
                                                  << "/media/bob/STICK/FONTS/A.TTF";
    QTest::newRow("stick of another machine") << "/MEDIA/ALICE/USB/FONTS/A.TTF"
                                              << "/media/bob/STICK/a.tzl"
                                              << "/media/bob/STICK/FONTS/A.TTF";
    QTest::newRow("list on the root file system") << "/MEDIA/ALICE/USB/FONTS/A.TTF"
                                                  << "/tmp/a.tzl"
                                                  << "/FONTS/A.TTF";
    QTest::newRow("row without drive") << "/FONTS/A.TTF"
                                       << "/media/bob/STICK/a.tzl"
                                       << "/media/bob/STICK/FONTS/A.TTF";
    QTest::newRow("relative row") << "A.TTF"
                                  << "/media/bob/STICK/a.tzl"
                                  << "/media/bob/STICK/A.TTF";
    QTest::newRow("row on a share") << "\\\\OLD\\SHARE\\A.TTF"
                                    << "/home/u/a.tzl"
                                    << "/home/A.TTF";
}

void TestListPaths::rebase()
{
    QFETCH(QString, row);
    QFETCH(QString, list);
    QFETCH(QString, rebased);
    QCOMPARE(RebaseOnListDrive(row, list, kMounts), rebased);
}

void TestListPaths::rebasedRowsResolveOnTheMedium()
{
    // A list and its fonts copied to a medium mounted here: the rows written on
    // Windows and on another machine find the fonts beside the list.
    QTemporaryDir medium;
    QVERIFY(QDir(medium.path()).mkpath(QStringLiteral("Fonts")));
    QFile font(medium.filePath(QStringLiteral("Fonts/Sans.ttf")));
    QVERIFY(font.open(QIODevice::WriteOnly));
    font.close();
    const QString listPath = medium.filePath(QStringLiteral("fonts.tzl"));
    const QByteArray content = "[List099]\r\n0\tS\tS\tD:\\FONTS\\SANS.TTF\t\t1\r\n"
                               "0\tS\tS\t/MEDIA/ALICE/USB/FONTS/SANS.TTF\t\t1\r\n";
    FontList list;
    ListReadOptions options;
    options.IgnoreDriveLetter = true;
    options.MountPoints = QStringList { "/", medium.path() };
    QCOMPARE(ReadListContent(list, content, listPath, options).Added, 2);
    for (int row = 0; row < 2; ++row)
        QCOMPARE(ResolvePath(list.Entry(row).FilePath), font.fileName());
}

void TestListPaths::pushRecent_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("into empty items") << QStringList { "", "", "", "" } << "/a.tzl"
                                      << QStringList { "/a.tzl", "", "", "" };
    QTest::newRow("newest first, oldest dropped")
        << QStringList { "/1", "/2", "/3", "/4" } << "/5" << QStringList { "/5", "/1", "/2", "/3" };
    QTest::newRow("present in another case moves to the top") << QStringList { "/1", "/Lists/A.tzl", "/3",
        "" } << "/lists/a.TZL" << QStringList { "/lists/a.TZL", "/1", "/3", "" };
    QTest::newRow("only the first equal entry goes")
        << QStringList { "/x", "/X", "", "" } << "/x" << QStringList { "/x", "/X", "", "" };
    QTest::newRow("short list is padded") << QStringList {} << "/a" << QStringList { "/a", "", "", "" };
    QTest::newRow("empty path changes nothing")
        << QStringList { "/1", "", "", "" } << "" << QStringList { "/1", "", "", "" };
}

void TestListPaths::pushRecent()
{
    QFETCH(QStringList, items);
    QFETCH(QString, path);
    QFETCH(QStringList, expected);
    QCOMPARE(PushRecent(items, path), expected);
}

QTEST_GUILESS_MAIN(TestListPaths)
#include "test_listpaths.moc"
