// The sample text record: designed defaults, the empty-text fallback, the
// history rule, guarded loading and a round trip through a second process.
#include "SettingsFiles.h"
#include "TestSupport.h"
#include "platform/Text.h"
#include "settings/SampleTextSet.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
Q_DECLARE_METATYPE(tz::SampleText)

namespace {

SampleTextSet LoadedTexts()
{
    SampleTextSet texts;
    SettingsStore store;
    texts.Load(store);
    return texts;
}

QStringList Numbered(int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << QStringLiteral("text %1").arg(i);
    return list;
}

} // namespace

class TestSampleTextSet : public QObject {
    Q_OBJECT
private slots:
    void init() { test::RemoveSettingsFile(); }

    void designedDefaults()
    {
        const SampleTextSet texts = LoadedTexts();
        QCOMPARE(texts, SampleTextSet());
        for (int c = 0; c < kSampleClassCount; ++c)
            QCOMPARE(texts.EffectiveText(c), SampleTextSet::StandardText(c));
        QCOMPARE(texts.EffectiveText(3), QString());
        QCOMPARE(texts.Entry(kSymbolClass).history.size(), 1);
        QCOMPARE(texts.Entry(kAsciiClass).history.size(), 4);
        QCOMPARE(texts.Entry(kShiftJisClass).history.size(), 5);

        const QByteArray symbol = EncodeCp932(texts.Entry(kSymbolClass).history[0]).value_or(QByteArray());
        QCOMPARE(symbol.size(), 69);
        QCOMPARE(symbol.left(32), QByteArray("!\"#$%&'()*+,-./0123456789:;<=>?@"));
        QCOMPARE(symbol.mid(32, 6), QByteArray("[\\]^_`"));
        QCOMPARE(uchar(symbol[38]), uchar(0xA1));
        QCOMPARE(uchar(symbol[68]), uchar(0xBF));
        QCOMPARE(texts.Entry(kSymbolClass).history[0].right(1), QStringLiteral("ｿ"));

        QCOMPARE(texts.Entry(kAsciiClass).history[2].size(), 63);
        QCOMPARE(texts.Entry(kAsciiClass).history[3].toLatin1().toHex(),
            QByteArray("33653435367467682762786472706371617a77737569312c6b6676325c2d6a6e5d2f6d3738396f6c2e3b22302979"));
    }

    void emptyCustomTextFallsBackToStandard()
    {
        SampleTextSet texts;
        texts.Entry(kAsciiClass).useStandard = false;
        texts.Entry(kShiftJisClass) = { false, QStringLiteral("かな"), {} };
        texts.FallBackFromEmptyTexts();
        QVERIFY(texts.Entry(kAsciiClass).useStandard);
        QCOMPARE(texts.EffectiveText(kAsciiClass), SampleTextSet::StandardText(kAsciiClass));
        QCOMPARE(texts.EffectiveText(kShiftJisClass), QStringLiteral("かな"));
    }

    void rememberCustomTexts_data()
    {
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QString>("custom");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("new text on top") << QStringList { "a", "b" } << "c" << QStringList { "c", "a", "b" };
        QTest::newRow("equal ignoring case moves up, new spelling") << QStringList { "The Quick", "Frogs",
            "Lazy Dog" } << "the quick" << QStringList { "the quick", "Frogs", "Lazy Dog" };
        QTest::newRow("lower entry moves to the top")
            << QStringList { "a", "b", "c" } << "C" << QStringList { "C", "a", "b" };
        QTest::newRow("ninth entry dropped") << Numbered(8) << "new" << (QStringList { "new" } + Numbered(7));
        QTest::newRow("full history, known text keeps eight")
            << Numbered(8) << "TEXT 8" << (QStringList { "TEXT 8" } + Numbered(7));
        QTest::newRow("empty custom text changes nothing") << QStringList { "a" } << "" << QStringList { "a" };
    }

    void rememberCustomTexts()
    {
        QFETCH(QStringList, history);
        QFETCH(QString, custom);
        QFETCH(QStringList, expected);
        SampleTextSet texts;
        // The rule applies whether or not the custom text is in use.
        texts.Entry(kAsciiClass) = { true, custom, history };
        texts.RememberCustomTexts();
        QCOMPARE(texts.Entry(kAsciiClass).history, expected);
    }

    void guardedLoading_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<SampleText>("ascii");
        const QStringList defaults = SampleTextSet::DefaultHistory(kAsciiClass);
        QTest::newRow("Item3 empty, no gap")
            << "[Common\\Ascii]\n\"Value\"=dword:00000000\n\"Text\"=\"mine\"\n\"Item0\"=\"zero\"\n\"Item1\"=\"one\"\n"
               "\"Item2\"=\"two\"\n\"Item3\"=\"\"\n\"Item4\"=\"four\"\n"
            << SampleText { false, "mine", { "zero", "one", "two", "four" } };
        QTest::newRow("Value missing keeps every default") << "[Common\\Ascii]\n\"Text\"=\"mine\"\n\"Item0\"=\"zero\"\n"
                                                           << SampleText { true, "", defaults };
        QTest::newRow("Value wrongly typed keeps every default")
            << "[Common\\Ascii]\n\"Value\"=\"0\"\n\"Text\"=\"mine\"\n"
            << SampleText { true, "", defaults };
        QTest::newRow("Value alone clears the history") << "[Common\\Ascii]\n\"Value\"=dword:00000001\n"
                                                        << SampleText { true, "", {} };
        QTest::newRow("custom chosen but empty falls back")
            << "[Common\\Ascii]\n\"Value\"=dword:00000000\n\"Text\"=\"\"\n\"Item0\"=\"x\"\n"
            << SampleText { true, "", { "x" } };
    }

    void guardedLoading()
    {
        QFETCH(QString, file);
        QFETCH(SampleText, ascii);
        test::WriteSettingsFile(file);
        const SampleTextSet texts = LoadedTexts();
        QCOMPARE(texts.Entry(kAsciiClass), ascii);
        QCOMPARE(texts.Entry(kSymbolClass), SampleTextSet().Entry(kSymbolClass));
    }

    // A history loaded with a gap is shorter than the slots stored; saving
    // must not let the old last slot come back as a duplicate.
    void savingAfterGapLeavesNoStaleEntries()
    {
        QString file = QStringLiteral("[Common\\SHIFTJIS]\n\"Value\"=dword:00000001\n");
        for (int i = 0; i < 8; ++i)
            file += i == 3 ? QStringLiteral("\"Item3\"=\"\"\n") : QStringLiteral("\"Item%1\"=\"t%1\"\n").arg(i);
        test::WriteSettingsFile(file);
        const SampleTextSet loaded = LoadedTexts();
        QCOMPARE(loaded.Entry(kShiftJisClass).history.size(), 7);
        {
            SettingsStore store;
            loaded.Save(store);
        }
        QCOMPARE(LoadedTexts(), loaded);
    }

    void roundTripThroughSecondProcess()
    {
        SampleTextSet texts;
        texts.Entry(kSymbolClass) = { false, QStringLiteral("!\"#$ ｱｲｳ"), { QStringLiteral("!\"#$ ｱｲｳ") } };
        texts.Entry(kAsciiClass) = { true, QStringLiteral("back\\slash"), Numbered(8) };
        texts.Entry(kShiftJisClass) = { false, QStringLiteral("日本語の見本"), { QStringLiteral("日本語の見本") } };
        {
            SettingsStore store;
            texts.Save(store);
        }
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.reg"));
        QCOMPARE(test::RunProcess(test::BinPath(QStringLiteral("settings_copy")), { copy }).exitCode, 0);
        const QByteArray own = qgetenv("TYPOSCAN_SETTINGS");
        qputenv("TYPOSCAN_SETTINGS", copy.toLocal8Bit());
        const SampleTextSet reloaded = LoadedTexts();
        qputenv("TYPOSCAN_SETTINGS", own);
        QCOMPARE(reloaded, texts);
        QCOMPARE(reloaded.EffectiveText(kShiftJisClass), QStringLiteral("日本語の見本"));
    }
};

QTEST_GUILESS_MAIN(TestSampleTextSet)
#include "test_sampletextset.moc"
