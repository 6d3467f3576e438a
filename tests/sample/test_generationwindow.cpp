// The generation window: Enter and Esc press Stop, the window closes itself
// when the run has ended.
#include "SampleSupport.h"
#include "SettingsPrivateFonts.h"
#include "sample/GenerationWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace tz;
using namespace tz::test;

class TestGenerationWindow : public QObject {
    Q_OBJECT
    QTemporaryDir work_;

    SampleInput ManyRows() const
    {
        const FontEntry sans = RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans");
        return PreviewInput(QList<FontEntry>(300, sans), work_.path());
    }

private slots:
    void theWindowAsDesigned()
    {
        GenerationWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("TForm5"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Typoscan Zindel"));
        QCOMPARE(window.size(), QSize(291, 111));
        auto* stop = window.findChild<QPushButton*>("btnCancel");
        QVERIFY(stop);
        QCOMPARE(stop->text(), QStringLiteral("&Stop"));
        QVERIFY(stop->isDefault());
        QVERIFY(window.findChild<QLabel*>("lblStatus"));
        QVERIFY(window.findChild<QProgressBar*>("ProgressBar1"));
    }

    void aKeyStopsTheRun_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void aKeyStopsTheRun()
    {
        QFETCH(int, key);
        GenerationWindow window;
        QTimer::singleShot(300, &window, [&] { QTest::keyClick(&window, Qt::Key(key)); });
        SampleSheets sheets(ManyRows());
        const SampleResult result = window.Generate(sheets);
        QVERIFY(result.stopped);
        QVERIFY(sheets.Index().Count() > 0 && sheets.Index().Count() < 300);
        QCOMPARE(sheets.Log().Lines().last(), QStringLiteral("[中断] 書体見本の作成が中止されました．"));
        QVERIFY(!window.isVisible());
        QCOMPARE(window.findChild<QLabel*>("lblStatus")->text(), QStringLiteral("Running..."));
    }

    void theWindowClosesItselfAtTheEnd()
    {
        GenerationWindow window;
        SampleSheets sheets(PreviewInput({}, work_.path()));
        const SampleResult result = window.Generate(sheets);
        QVERIFY(!result.stopped);
        QCOMPARE(result.pageCount, 1);
        QVERIFY(!window.isVisible());
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir root;
    const PrivateFonts fonts = UsePrivateFonts(root.filePath(QStringLiteral("fc")), { kDejaVuSans, kIpaPGothic });
    Q_UNUSED(fonts);
    QApplication app(argc, argv);
    TestGenerationWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_generationwindow.moc"
