// The four named page settings: defaults, the stored form and its guards,
// selecting, validating and applying against printers of known figures.
#include "PageSetupPrinters.h"
#include "pagesetup/PageSetup.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QPageSize>
#include <QtTest>

using namespace tz;
using tz::test::DescribedPrinters;
using tz::test::PrinterDescription;

namespace {

// 600 dpi with unequal borders; the second printer has none.
QList<PrinterDescription> TwoPrinters()
{
    PrinterDescription office { QStringLiteral("Office"), 600, 600, 100, 120, 90, 150 };
    office.paper = 1;
    PrinterDescription second { QStringLiteral("Second"), 300, 300 };
    return { office, second };
}

// A printer whose borders are exactly 2.5 cm at 254 dpi: 250 pixels.
PrinterDescription ExactPrinter()
{
    return { QStringLiteral("Exact"), 254, 254, 250, 250, 250, 250 };
}

QString SetKey(int n) { return QStringLiteral("Common\\Settings\\Set%1").arg(n); }

void WriteCompleteSet(SettingsStore& store, int n, const QString& name)
{
    SettingsGroup(store, SetKey(n))
        .Write(QStringLiteral("Name"), name)
        .Write(QStringLiteral("Bind"), 2)
        .Write(QStringLiteral("Orientation"), 1)
        .Write(QStringLiteral("PRT"), QStringLiteral("Second"))
        .Write(QStringLiteral("Size"), 11)
        .Write(QStringLiteral("MarginL"), 10)
        .Write(QStringLiteral("MarginT"), 20)
        .Write(QStringLiteral("MarginR"), 30)
        .Write(QStringLiteral("MarginB"), 40);
}

void RemoveValue(const QString& key, const QString& name)
{
    // The store has no delete; rewrite the file without the value's line.
    QFile file(SettingsStore::FilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    const QByteArray line = "\"" + name.toUtf8() + "\"=";
    const qsizetype section = text.indexOf(key.toUtf8().replace("\\\\", "\\") + "]");
    QVERIFY(section >= 0);
    const qsizetype at = text.indexOf(line, section);
    QVERIFY(at >= 0);
    text.remove(at, text.indexOf('\n', at) - at + 1);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

MarginTexts Texts(const char* l, const char* t, const char* r, const char* b)
{
    return { QString::fromUtf8(l), QString::fromUtf8(t), QString::fromUtf8(r), QString::fromUtf8(b) };
}

} // namespace

class PageSetupListTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QFile::remove(SettingsStore::FilePath()); }

    void firstRunDefaults_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QString>("printerName");
        QTest::addColumn<int>("paper");
        QTest::newRow("with a printer") << true << kPortrait << QStringLiteral("Office") << 1;
        QTest::newRow("without a printer") << false << kLandscape << QString() << kPaperA4;
    }
    void firstRunDefaults()
    {
        QFETCH(bool, printer);
        QFETCH(int, orientation);
        QFETCH(QString, printerName);
        QFETCH(int, paper);
        DescribedPrinters printers(printer ? TwoPrinters() : QList<PrinterDescription> {});
        PageSetupList list(printers);
        SettingsStore store;
        list.Load(store);
        QCOMPARE(list.Current(), 0);
        for (int slot = 0; slot < PageSetupList::kSlots; ++slot) {
            const PageSetup& s = list.Setting(slot);
            QCOMPARE(s.name, QStringLiteral("ページ設定 %1").arg(slot + 1));
            QCOMPARE(s.binding, kBindNone);
            QCOMPARE(s.orientation, orientation);
            QCOMPARE(s.printer, printerName);
            QCOMPARE(s.paper, paper);
        }
        QCOMPARE(list.AppliedMargins(), Texts("3.5", "2.5", "1.3", "3.5"));
        QCOMPARE(list.AppliedOrientation(), orientation);
        QCOMPARE(list.PaperName(), printer ? QPageSize(QPageSize::Letter).name() : QStringLiteral("A4 [210 x 297mm]"));
    }

    void keptAcrossRestarts()
    {
        DescribedPrinters printers(TwoPrinters());
        PageSetup applied;
        {
            PageSetupList list(printers);
            SettingsStore store;
            list.Load(store);
            list.Rename(1, QStringLiteral("見本帳"));
            QVERIFY(list.Apply(2, kLandscape, kBindTop, Texts("2.3", "0.7", "1.0", "3.5")).ok);
            applied = list.Setting(2);
            list.Save(store);
        }
        printers.MakeCurrent(QStringLiteral("Second"));
        PageSetupList reloaded(printers);
        SettingsStore store;
        reloaded.Load(store);
        QCOMPARE(reloaded.Current(), 2);
        QCOMPARE(reloaded.Setting(1).name, QStringLiteral("見本帳"));
        QCOMPARE(reloaded.Setting(2), applied);
        QCOMPARE(reloaded.AppliedMargins(), Texts("2.3", "0.7", "1.0", "3.5"));
        QCOMPARE(reloaded.AppliedMarginHundredths(), (std::array<int, 4> { 230, 70, 100, 350 }));
        QCOMPARE(reloaded.AppliedOrientation(), kLandscape);
        // Loading selected the current setting's printer again.
        QCOMPARE(printers.CurrentName(), QStringLiteral("Office"));
        QCOMPARE(printers.Orientation(), kLandscape);
    }

    // Set2 is stored complete, then one thing is spoiled.
    void storedValueGuards_data()
    {
        QTest::addColumn<QString>("spoil");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<int>("expectedBinding");
        QTest::newRow("complete") << QString() << QStringLiteral("Stored") << 2;
        QTest::newRow("MarginB missing: whole setting default")
            << QStringLiteral("remove MarginB") << QStringLiteral("ページ設定 2") << 0;
        QTest::newRow("Bind stored as text") << QStringLiteral("text Bind") << QStringLiteral("ページ設定 2") << 0;
        QTest::newRow("binding out of range") << QStringLiteral("Bind 3") << QStringLiteral("ページ設定 2") << 0;
        QTest::newRow("orientation out of range")
            << QStringLiteral("Orientation -1") << QStringLiteral("ページ設定 2") << 0;
        QTest::newRow("negative margin") << QStringLiteral("MarginT -5") << QStringLiteral("ページ設定 2") << 0;
        QTest::newRow("name missing") << QStringLiteral("remove Name") << QStringLiteral("ページ設定 2") << 2;
        QTest::newRow("name longer than 63 bytes")
            << QStringLiteral("long name") << QString(QStringLiteral("あ").repeated(31) + u'x') << 2;
    }
    void storedValueGuards()
    {
        QFETCH(QString, spoil);
        QFETCH(QString, expectedName);
        QFETCH(int, expectedBinding);
        {
            SettingsStore store;
            WriteCompleteSet(store, 2, QStringLiteral("Stored"));
            SettingsKey key = *store.OpenKey(SetKey(2), true);
            if (spoil == QStringLiteral("text Bind"))
                key.WriteString(QStringLiteral("Bind"), QStringLiteral("2"));
            else if (spoil == QStringLiteral("long name"))
                key.WriteString(QStringLiteral("Name"), QStringLiteral("あ").repeated(31) + QStringLiteral("xyz"));
            else if (spoil.contains(u' ') && !spoil.startsWith(QStringLiteral("remove")))
                key.WriteInteger(spoil.section(u' ', 0, 0), spoil.section(u' ', 1).toInt());
        }
        if (spoil.startsWith(QStringLiteral("remove")))
            RemoveValue(SetKey(2), spoil.section(u' ', 1));
        DescribedPrinters printers(TwoPrinters());
        PageSetupList list(printers);
        SettingsStore store;
        list.Load(store);
        QCOMPARE(list.Setting(1).name, expectedName);
        QCOMPARE(list.Setting(1).binding, expectedBinding);
        QCOMPARE(list.Setting(0).name, QStringLiteral("ページ設定 1"));
    }

    void storedIndexOutOfRange_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("current");
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("4") << 4 << 0;
        QTest::newRow("-1") << -1 << 0;
    }
    void storedIndexOutOfRange()
    {
        QFETCH(int, stored);
        QFETCH(int, current);
        {
            SettingsStore store;
            SettingsGroup(store, QStringLiteral("Common\\Settings")).Write(QStringLiteral("index"), stored);
        }
        DescribedPrinters printers;
        PageSetupList list(printers);
        SettingsStore store;
        list.Load(store);
        QCOMPARE(list.Current(), current);
    }

    // Borders of 250 pixels at 254 dpi: 2.5 cm is exactly the border.
    void applyValidation_data()
    {
        QTest::addColumn<MarginTexts>("margins");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("side");
        QTest::addColumn<QString>("message");
        QTest::newRow("equal to the border passes") << Texts("2.5", "2.5", "2.5", "2.5") << true << -1 << QString();
        QTest::newRow("full-width digits") << Texts("２．５", "2.5", "2.5", "2.5") << true << -1 << QString();
        QTest::newRow("left below") << Texts("2.4", "2.5", "2.5", "2.5") << false << int(kSideLeft)
                                    << QStringLiteral("左マージンを広くとってください");
        QTest::newRow("top below") << Texts("3.0", "2.4", "2.5", "2.5") << false << int(kSideTop)
                                   << QStringLiteral("上マージンを広くとってください");
        QTest::newRow("right below") << Texts("3.0", "3.0", "0.0", "2.5") << false << int(kSideRight)
                                     << QStringLiteral("右マージンを広くとってください");
        QTest::newRow("bottom below") << Texts("3.0", "3.0", "3.0", "2.4") << false << int(kSideBottom)
                                      << QStringLiteral("下マージンを広くとってください");
        QTest::newRow("left and bottom below: only left") << Texts("1.0", "2.5", "2.5", "1.0") << false
                                                          << int(kSideLeft) << QStringLiteral("左マージンを広くとってください");
        QTest::newRow("not a number") << Texts("3.0", "abc", "2.5", "1.0") << false << int(kSideTop)
                                      << QStringLiteral("'abc' は正しい数値ではありません");
        QTest::newRow("empty") << Texts("3.0", "3.0", "", "1.0") << false << int(kSideRight)
                               << QStringLiteral("'' は正しい数値ではありません");
        QTest::newRow("beyond any sheet") << Texts("1e300", "3.0", "3.0", "3.0") << false << int(kSideLeft)
                                          << QStringLiteral("'1e300' は正しい数値ではありません");
    }
    void applyValidation()
    {
        QFETCH(MarginTexts, margins);
        QFETCH(bool, ok);
        QFETCH(int, side);
        QFETCH(QString, message);
        DescribedPrinters printers({ ExactPrinter() });
        PageSetupList list(printers);
        const PageSetup before = list.Setting(1);
        const MarginTexts appliedBefore = list.AppliedMargins();
        const ApplyResult result = list.Apply(1, kPortrait, kBindLeft, margins);
        QCOMPARE(result.ok, ok);
        QCOMPARE(result.side, side);
        QCOMPARE(result.message, message);
        if (!ok) {
            QCOMPARE(list.Current(), 0);
            QCOMPARE(list.Setting(1), before);
            QCOMPARE(list.AppliedMargins(), appliedBefore);
        }
    }

    void applyCapturesIntoTheSlot()
    {
        DescribedPrinters printers(TwoPrinters());
        PageSetupList list(printers);
        QVERIFY(list.Apply(3, kLandscape, kBindTop, Texts("2.3", "0.7", "1.0", "3.5")).ok);
        const PageSetup& s = list.Setting(3);
        QCOMPARE(list.Current(), 3);
        QCOMPARE(s.marginLeft, 23);
        QCOMPARE(s.marginTop, 7);
        QCOMPARE(s.marginRight, 10);
        QCOMPARE(s.marginBottom, 35);
        QCOMPARE(s.binding, kBindTop);
        QCOMPARE(s.orientation, kLandscape);
        QCOMPARE(s.printer, QStringLiteral("Office"));
        QCOMPARE(s.paper, 1);
        QCOMPARE(printers.Orientation(), kLandscape);
        QCOMPARE(list.AppliedOrientation(), kLandscape);
    }

    void everyOneDecimalMarginSurvivesTheRoundTrip()
    {
        for (int mm = 0; mm <= 999; ++mm) {
            const auto cm = ParseMargin(FormatMargin(mm));
            QVERIFY(cm);
            QCOMPARE(MarginMillimetres(*cm), mm);
        }
    }

    void withoutPrinterTheChosenOrientationsSheetIsChecked()
    {
        DescribedPrinters none;
        PageSetupList list(none);
        // 0.7 cm = 82 px passes the portrait bottom border (60) but not the landscape one (78).
        const MarginTexts margins = Texts("1.0", "1.0", "1.0", "0.6");
        QVERIFY(list.Apply(0, kPortrait, kBindNone, margins).ok);
        QCOMPARE(list.Apply(0, kLandscape, kBindNone, margins).side, int(kSideBottom));
        QCOMPARE(list.Setting(0).printer, QString());
        QCOMPARE(list.Setting(0).paper, kPaperA4);
    }

    void selectPushesTheSlotsPrinter()
    {
        {
            SettingsStore store;
            WriteCompleteSet(store, 2, QStringLiteral("Stored")); // printer "Second", A5, landscape
            WriteCompleteSet(store, 3, QStringLiteral("Gone"));
            SettingsGroup(store, SetKey(3)).Write(QStringLiteral("PRT"), QStringLiteral("Gone Printer"));
        }
        DescribedPrinters printers(TwoPrinters());
        PageSetupList list(printers);
        SettingsStore store;
        list.Load(store);
        QCOMPARE(printers.CurrentName(), QStringLiteral("Office"));

        list.Select(1);
        QCOMPARE(printers.CurrentName(), QStringLiteral("Second"));
        QCOMPARE(printers.PaperCode(), 11);
        QCOMPARE(printers.Orientation(), kLandscape);

        printers.MakeCurrent(QStringLiteral("Office"));
        list.Select(2);
        QCOMPARE(printers.CurrentName(), QStringLiteral("Office"));
        QCOMPARE(list.Setting(2).printer, QStringLiteral("Gone Printer"));
        QVERIFY(list.Apply(2, kPortrait, kBindNone, Texts("3.0", "3.0", "3.0", "3.0")).ok);
        QCOMPARE(list.Setting(2).printer, QStringLiteral("Office"));
    }

    void maximumMargins_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<MarginTexts>("expected");
        // 100, 120, 90, 150 px at 600 dpi: 0.42 + 0.1, 0.51 + 0.1, 0.38 + 0.1, 0.64 + 0.1 cm.
        QTest::newRow("printer") << true << kPortrait << Texts("0.5", "0.6", "0.4", "0.7");
        // Turned sheet: left 120, top 90, right 150, bottom 100.
        QTest::newRow("printer landscape") << true << kLandscape << Texts("0.6", "0.4", "0.7", "0.5");
        QTest::newRow("fallback portrait") << false << kPortrait << Texts("0.7", "0.7", "0.6", "0.6");
        QTest::newRow("fallback landscape") << false << kLandscape << Texts("0.7", "0.6", "0.6", "0.7");
    }
    void maximumMargins()
    {
        QFETCH(bool, printer);
        QFETCH(int, orientation);
        QFETCH(MarginTexts, expected);
        DescribedPrinters printers(printer ? TwoPrinters() : QList<PrinterDescription> {});
        if (printer)
            printers.SetOrientation(orientation);
        PageSetupList list(printers);
        const MarginTexts largest = list.MaximumMargins(orientation);
        QCOMPARE(largest, expected);
        // The largest usable area is always accepted.
        QVERIFY(list.Apply(0, orientation, kBindNone, largest).ok);
    }

    void paperNameOfACodeTheDriverLacksIsEmpty()
    {
        DescribedPrinters printers(TwoPrinters());
        PageSetupList list(printers);
        printers.SetPaperCode(9);
        QCOMPARE(list.PaperName(), QStringLiteral("A4"));
        printers.Current().paper = 70;
        QCOMPARE(list.PaperName(), QString());
    }
};

QTEST_MAIN(PageSetupListTest)
#include "test_page_setup_list.moc"
