// The installed TrueType families and the font-folder watcher, against a
// fontconfig configuration of the test's own.
#include "SettingsPrivateFonts.h"
#include "fontfile/FontFamilies.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

class TestFontFamilies : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(root_.isValid());
        fonts_ = test::UsePrivateFonts(root_.filePath(QStringLiteral("fc")),
            { test::kP052OpenType, test::kIpaPGothic, test::kNimbusSansType1, test::kDejaVuSans });
    }

    void sfntFamiliesOnlySorted()
    {
        // The Type 1 file is left out; the OpenType file with CFF outlines counts.
        QCOMPARE(InstalledTrueTypeFamilies(),
            (QStringList { QStringLiteral("DejaVu Sans"), QStringLiteral("IPAPGothic"), QStringLiteral("P052") }));
    }

    void newFontSeenWithoutRestart()
    {
        QVERIFY(!InstalledTrueTypeFamilies().contains(QStringLiteral("DejaVu Serif")));
        QVERIFY(QFile::copy(test::kDejaVuSerif, fonts_.fontFolder + QStringLiteral("/DejaVuSerif.ttf")));
        QVERIFY(InstalledTrueTypeFamilies().contains(QStringLiteral("DejaVu Serif")));
    }

    void watcherNoticesInstalledFont_data()
    {
        QTest::addColumn<bool>("folderExists");
        QTest::newRow("existing font folder") << true;
        QTest::newRow("font folder made by the install") << false;
    }

    void watcherNoticesInstalledFont()
    {
        QFETCH(bool, folderExists);
        FontFolderWatcher watcher;
        QSignalSpy changed(&watcher, &FontFolderWatcher::FontsChanged);
        const QString folder = folderExists ? fonts_.fontFolder : fonts_.missingFolder;
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(test::kDejaVuSerif, folder + QStringLiteral("/DejaVuSerif.ttf")));
        QTRY_VERIFY_WITH_TIMEOUT(changed.count() >= 1, 5000);
        QVERIFY(InstalledTrueTypeFamilies().contains(QStringLiteral("DejaVu Serif")));
        // The new folder is watched from now on.
        QVERIFY(watcher.WatchedPaths().contains(folder));
    }

private:
    QTemporaryDir root_;
    test::PrivateFonts fonts_;
};

QTEST_GUILESS_MAIN(TestFontFamilies)
#include "test_fontfamilies.moc"
