// The environment settings record: defaults, the guarded groups of loading,
// the face-selection rule, the heading composition and the size rule, and a
// round trip through a real settings file and a second process.
#include "SettingsFiles.h"
#include "TestSupport.h"
#include "settings/EnvironmentSettings.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace tz;
using Edit = std::function<void(EnvironmentSettings&)>;
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(tz::HeadingLayout)

namespace {

EnvironmentSettings LoadedSettings()
{
    EnvironmentSettings settings;
    SettingsStore store;
    settings.Load(store);
    return settings;
}

} // namespace

class TestEnvironmentSettings : public QObject {
    Q_OBJECT
private slots:
    void init() { test::RemoveSettingsFile(); }

    void firstRunTakesDefaultsAndCreatesKeys()
    {
        const EnvironmentSettings settings = LoadedSettings();
        QCOMPARE(settings, EnvironmentSettings());
        QCOMPARE(settings.lineShown, (std::array<bool, 4> { false, true, true, false }));
        QCOMPARE(settings.lineSize, (std::array<int, 4> { 8, 12, 30, 60 }));
        QCOMPARE(settings.HeadingFace(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(settings.HeadingSize(), 12);
        QCOMPARE(settings.DropFaceSelection(), 0);
        QCOMPARE(settings.SearchFaceSelection(), 0);
        SettingsStore store;
        for (const char* key :
            { "Common\\Size", "Zindel\\Drop", "Zindel\\Search", "Zindel\\Title", "Zindel\\Misc", "Zindel\\Caption" })
            QVERIFY2(store.KeyExists(QString::fromLatin1(key)), key);
    }

    void groupGuards_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Edit>("expected");
        QTest::newRow("size8 missing: checks restored, sizes kept")
            << "[Common\\Size]\n\"pt8\"=dword:00000001\n\"pt12\"=dword:00000000\n\"pt30\"=dword:00000000\n"
               "\"pt60\"=dword:00000001\n\"size12\"=dword:00000014\n"
            << Edit([](EnvironmentSettings& s) {
                   s.lineShown = { true, false, false, true };
               });
        QTest::newRow("sizes outside 1-99 keep their defaults")
            << "[Common\\Size]\n\"pt8\"=dword:00000001\n\"pt12\"=dword:00000001\n\"pt30\"=dword:00000001\n"
               "\"pt60\"=dword:00000001\n\"size8\"=dword:00000000\n\"size12\"=dword:00000064\n"
               "\"size30\"=dword:00000063\n\"size60\"=dword:00000001\n"
            << Edit([](EnvironmentSettings& s) {
                   s.lineShown = { true, true, true, true };
                   s.lineSize = { 8, 12, 99, 1 };
               });
        QTest::newRow("Title Size present but empty reads as 12")
            << "[Zindel\\Title]\n\"Text\"=\"DejaVu Sans\"\n\"Size\"=\"\"\n\"Value\"=dword:00000000\n"
            << Edit([](EnvironmentSettings& s) {
                   s.customFace = QStringLiteral("DejaVu Sans");
                   s.headingStandard = false;
               });
        QTest::newRow("Title Size not a number reads as 12")
            << "[Zindel\\Title]\n\"Size\"=\"1a\"\n\"Value\"=dword:00000001\n"
            << Edit([](EnvironmentSettings&) {});
        QTest::newRow("Title Size 99") << "[Zindel\\Title]\n\"Size\"=\"99\"\n"
                                       << Edit([](EnvironmentSettings& s) { s.customSize = 99; });
        QTest::newRow("Drop Item1 missing ends the group")
            << "[Zindel\\Drop]\n\"Item2\"=dword:00000001\n\"Enable\"=dword:00000000\n"
            << Edit([](EnvironmentSettings&) {});
        QTest::newRow("Drop last face")
            << "[Zindel\\Drop]\n\"Item1\"=dword:00000000\n\"Item2\"=dword:00000001\n\"Enable\"=dword:00000001\n"
            << Edit([](EnvironmentSettings& s) {
                   s.drop = { true, false, true };
               });
        QTest::newRow("Drop both items chosen: the last read wins")
            << "[Zindel\\Drop]\n\"Item1\"=dword:00000001\n\"Item2\"=dword:00000001\n\"Enable\"=dword:00000001\n"
            << Edit([](EnvironmentSettings& s) {
                   s.drop = { true, false, true };
               });
        QTest::newRow("Search groups are read apart")
            << "[Zindel\\Search]\n\"Item1\"=dword:00000000\n\"Item2\"=\"1\"\n\"Enable\"=dword:00000000\n"
               "\"Execute\"=dword:00000000\n"
            << Edit([](EnvironmentSettings& s) {
                   s.search.firstFace = false;
                   s.searchSelfExtracting = false;
               });
        QTest::newRow("Misc wrongly typed value in the middle")
            << "[Zindel\\Misc]\n\"EnableAnsiMessage\"=dword:00000000\n\"EnablePlus\"=\"x\"\n"
               "\"EnableMacExt\"=dword:00000000\n"
            << Edit([](EnvironmentSettings& s) { s.sjisAlsoAscii = false; });
        QTest::newRow("Caption complete")
            << "[Zindel\\Caption]\n\"EnablechkFace\"=dword:00000000\n\"EnablechkFamily\"=dword:00000001\n"
               "\"EnablechkFile\"=dword:00000000\n\"FaceLeftValue\"=dword:00000000\n\"FileLeftValue\"=dword:00000001\n"
            << Edit([](EnvironmentSettings& s) {
                   s.heading = { false, true, false, false, true };
               });
    }

    void groupGuards()
    {
        QFETCH(QString, file);
        QFETCH(Edit, expected);
        test::WriteSettingsFile(file);
        EnvironmentSettings want;
        expected(want);
        QCOMPARE(LoadedSettings(), want);
    }

    void faceSelection_data()
    {
        QTest::addColumn<bool>("oneFace");
        QTest::addColumn<bool>("firstFace");
        QTest::addColumn<bool>("lastFace");
        QTest::addColumn<int>("selection");
        QTest::newRow("all faces") << false << true << false << -1;
        QTest::newRow("first face") << true << true << false << 0;
        QTest::newRow("last face") << true << false << true << 1;
        QTest::newRow("neither button: not first, so last") << true << false << false << 1;
    }

    void faceSelection()
    {
        QFETCH(bool, oneFace);
        QFETCH(bool, firstFace);
        QFETCH(bool, lastFace);
        QFETCH(int, selection);
        EnvironmentSettings settings;
        settings.drop = { oneFace, firstFace, lastFace };
        settings.search = { oneFace, firstFace, lastFace };
        QCOMPARE(settings.DropFaceSelection(), selection);
        QCOMPARE(settings.SearchFaceSelection(), selection);
    }

    void composeHeading_data()
    {
        QTest::addColumn<HeadingLayout>("layout");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::newRow("defaults") << HeadingLayout() << "Verdana Bold / Verdana"
                                  << "VERDANAB.TTF";
        QTest::newRow("all left") << HeadingLayout { true, true, true, true, true }
                                  << "Verdana Bold / Verdana / VERDANAB.TTF"
                                  << "";
        QTest::newRow("family and file right") << HeadingLayout { false, true, true, false, false } << ""
                                               << "Verdana / VERDANAB.TTF";
        QTest::newRow("face only, file left")
            << HeadingLayout { true, false, true, true, true } << "Verdana Bold / VERDANAB.TTF"
            << "";
        QTest::newRow("file alone left, names right")
            << HeadingLayout { true, true, true, false, true } << "VERDANAB.TTF"
            << "Verdana Bold / Verdana";
        QTest::newRow("nothing shown") << HeadingLayout { false, false, false, true, false } << ""
                                       << "";
    }

    void composeHeading()
    {
        QFETCH(HeadingLayout, layout);
        QFETCH(QString, left);
        QFETCH(QString, right);
        const HeadingTexts texts
            = layout.Compose(QStringLiteral("Verdana Bold"), QStringLiteral("Verdana"), QStringLiteral("VERDANAB.TTF"));
        QCOMPARE(texts.left, left);
        QCOMPARE(texts.right, right);
    }

    void parseSampleSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size"); // 0: invalid
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("100") << "100" << 0;
        QTest::newRow("1a") << "1a" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign") << "+5" << 0;
        QTest::newRow("space") << " 5" << 0;
        QTest::newRow("full-width digits") << "１２" << 0;
        QTest::newRow("99") << "99" << 99;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("leading zero") << "05" << 5;
    }

    void parseSampleSize()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        QCOMPARE(ParseSampleSize(text).value_or(0), size);
    }

    // The choice of the wider set of formats is a value of its own under
    // Zindel\Misc: off by default and in files written before it existed,
    // and a wrong type of it leaves the designed values of the group alone.
    void wider_formats_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("allFormats");
        QTest::addColumn<bool>("macExtension");
        const QString designed = QStringLiteral("[Zindel\\Misc]\n\"EnableAnsiMessage\"=dword:00000001\n"
                                                "\"EnablePlus\"=dword:00000000\n\"EnableMacExt\"=dword:00000000\n");
        QTest::newRow("missing") << designed << false << false;
        QTest::newRow("on alone") << "[Zindel\\Misc]\n\"EnableAllFormats\"=dword:00000001\n" << true << true;
        QTest::newRow("wrong type") << designed + "\"EnableAllFormats\"=\"1\"\n" << false << false;
    }
    void wider_formats()
    {
        QFETCH(QString, file);
        test::WriteSettingsFile(file);
        const EnvironmentSettings settings = LoadedSettings();
        QTEST(settings.allFormats, "allFormats");
        QTEST(settings.macExtension, "macExtension");
        QCOMPARE(settings.Formats(), settings.allFormats ? FontFormats::All : FontFormats::Designed);

        EnvironmentSettings on;
        on.allFormats = true;
        {
            SettingsStore store;
            on.Save(store);
        }
        QVERIFY(test::ReadSettingsFile().contains(QStringLiteral("\"EnableAllFormats\"=dword:00000001")));
        QCOMPARE(LoadedSettings(), on);
    }

    void roundTripThroughSecondProcess()
    {
        EnvironmentSettings settings;
        settings.lineShown = { true, false, true, true };
        settings.lineSize = { 9, 14, 99, 1 };
        settings.search = { false, false, true };
        settings.drop = { true, false, true };
        settings.sjisAlsoAscii = false;
        settings.macExtension = false;
        settings.searchArchives = false;
        settings.searchSelfExtracting = false;
        settings.headingStandard = false;
        settings.heading = { false, true, false, false, true };
        settings.smoothPreview = true;
        settings.allFormats = true;
        settings.customFace = QStringLiteral("IPA Pゴシック \"quoted\" \\ back");
        settings.customSize = 15;
        {
            SettingsStore store;
            settings.Save(store);
        }
        const QString file = test::ReadSettingsFile();
        QVERIFY(file.contains(QStringLiteral("\"Size\"=\"15\"")));
        QVERIFY(file.contains(QStringLiteral("\"size8\"=dword:00000009")));

        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.reg"));
        const test::ProcessResult result = test::RunProcess(test::BinPath(QStringLiteral("settings_copy")), { copy });
        QCOMPARE(result.exitCode, 0);
        const QByteArray own = qgetenv("TYPOSCAN_SETTINGS");
        qputenv("TYPOSCAN_SETTINGS", copy.toLocal8Bit());
        const EnvironmentSettings reloaded = LoadedSettings();
        qputenv("TYPOSCAN_SETTINGS", own);
        QCOMPARE(reloaded, settings);
    }
};

QTEST_GUILESS_MAIN(TestEnvironmentSettings)
#include "test_environmentsettings.moc"
