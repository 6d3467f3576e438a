// The installed font files, as fontconfig knows them, including a font in the
// user's own fonts folder (the test's private XDG_DATA_HOME).
#include "FontfileTestFiles.h"
#include "fontfile/InstalledFontFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace tz;

namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

} // namespace

class TestInstalledFontFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // fontconfig reads the user's fonts folder when it first starts and
        // keeps its cache below XDG_CACHE_HOME, a private folder here.
        QVERIFY(QFile::exists(kDejaVu));
        const QString folder = InstalledFontFiles::FontsFolder() + QStringLiteral("/Sub");
        QVERIFY(QDir().mkpath(folder));
        QFile::remove(folder + QStringLiteral("/MyFont.ttf"));
        QVERIFY(QFile::copy(kDejaVu, folder + QStringLiteral("/MyFont.ttf")));
    }

    void fontsFolderIsTheUsersDataFolder()
    {
        QCOMPARE(InstalledFontFiles::FontsFolder(), qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/fonts"));
    }

    void pathsAreUpperCasedSortedAndUnique()
    {
        InstalledFontFiles installed;
        QVERIFY(installed.Refresh());
        const QStringList& paths = installed.Paths();
        QVERIFY(paths.size() > 10);
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QVERIFY2(paths[i].startsWith(u'/'), qPrintable(paths[i]));
            QVERIFY2(!paths[i].contains(QRegularExpression("[a-z]")), qPrintable(paths[i]));
            if (i > 0)
                QVERIFY2(paths[i - 1] < paths[i], qPrintable(paths[i]));
        }
        QVERIFY(paths.contains(kDejaVu.toUpper()));
        QVERIFY(paths.contains(InstalledFontFiles::FontsFolder().toUpper() + QStringLiteral("/SUB/MYFONT.TTF")));
    }

    void refreshStartsAfresh()
    {
        InstalledFontFiles installed;
        QVERIFY(installed.Refresh());
        const QStringList first = installed.Paths();
        QVERIFY(installed.Refresh());
        QCOMPARE(installed.Paths(), first);
    }

    void indexOfIgnoresCase_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("found");
        QTest::newRow("as on disk") << kDejaVu << true;
        QTest::newRow("upper-cased") << kDejaVu.toUpper() << true;
        QTest::newRow("mixed") << QStringLiteral("/usr/SHARE/fonts/truetype/DejaVu/dejavusans.TTF") << true;
        QTest::newRow("user font") << InstalledFontFiles::FontsFolder() + QStringLiteral("/sub/myfont.ttf") << true;
        QTest::newRow("not installed") << QStringLiteral("/tmp/DejaVuSans.ttf") << false;
        QTest::newRow("prefix only") << QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void indexOfIgnoresCase()
    {
        QFETCH(QString, path);
        QFETCH(bool, found);
        InstalledFontFiles installed;
        installed.Refresh();
        const qsizetype index = installed.IndexOf(path);
        QCOMPARE(index >= 0, found);
        if (found)
            QCOMPARE(installed.Paths().at(index), path.toUpper());
    }
};

int main(int argc, char** argv)
{
    tz::test::UsePrivateFontCache();
    QCoreApplication app(argc, argv);
    TestInstalledFontFiles test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_installedfontfiles.moc"
