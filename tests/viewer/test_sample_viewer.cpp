// The sample viewer over real page files: navigation states, keys, the face
// list jump, the face under the mouse, right-button gestures, a run without
// blocks, a damaged page file and closing.
#include "PageFixtures.h"
#include "sample/PageStore.h"
#include "viewer/SampleViewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

constexpr QSize kPage { 300, 1200 };

struct ViewerRun {
    QTemporaryDir work;
    SampleViewer viewer;

    // Pages 1 … pages of a run of the input; blocks as (page, top, face).
    void Start(int pages, const QList<std::tuple<int, int, QString>>& blocks, SampleInput input = {})
    {
        for (int n = 1; n <= pages; ++n)
            QVERIFY(StorePageFile(work.path(), n, MonoPage(kPage)));
        viewer.ResetViewer();
        input.workFolder = work.path();
        viewer.Sheets().Reset(std::move(input));
        for (const auto& [page, top, face] : blocks)
            viewer.Sheets().Index().Append(PageIndex::PageKey(page, top), face, 0);
        SampleResult result;
        result.pageCount = pages;
        result.pageSize = kPage;
        viewer.Sheets().Adopt(result);
        viewer.ShowRun();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    }
    bool Enabled(const char* name) const { return viewer.Action(QString::fromLatin1(name))->isEnabled(); }
    QScrollBar* Vertical() const { return viewer.findChild<QScrollArea*>("ScrollBox1")->verticalScrollBar(); }
    QLabel* Image() const { return viewer.findChild<QLabel*>("Image1"); }
};

// Answers the next file dialog from inside its own event loop: the file type
// (1-based, as the filter lists them) and the name typed in `folder`.
void AnswerFileDialog(const QString& objectName, int fileType, const QString& folder, const QString& name)
{
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->objectName(), objectName);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        types->setCurrentIndex(fileType - 1);
        emit types->activated(fileType - 1);
        emit types->textActivated(types->currentText());
        dialog->setDirectory(folder);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

} // namespace

class TestSampleViewer : public QObject {
    Q_OBJECT
private slots:
    void navigationStates();
    void ctrlDigits();
    void runWithoutBlocks();
    void comboJumpShowsBlockTop();
    void faceAtPoint();
    void rightGestures();
    void spaceTurnsPages();
    void damagedPageFile();
    void closeEmptiesWorkFolder();
    void saveDialogs();
};

void TestSampleViewer::navigationStates()
{
    ViewerRun run;
    run.Start(3, { { 1, 0, "A" } });
    QCOMPARE(run.viewer.windowTitle(), QString("見本一覧(1/3)"));
    const char* back[] = { "tBtnAhead", "tBtnBackword", "vmnAheadPage", "vmnBackPage", "pmnBackPage" };
    const char* ahead[] = { "tBtnForword", "tBtnEndOfPage", "vmnFowardPage", "vmnEndOfBook", "pmnFowardPage" };
    auto states = [&](bool b, bool a) {
        for (const char* name : back)
            QCOMPARE(run.Enabled(name), b);
        for (const char* name : ahead)
            QCOMPARE(run.Enabled(name), a);
    };
    states(false, true);
    run.viewer.Action("vmnFowardPage")->trigger();
    QCOMPARE(run.viewer.CurrentPage(), 2);
    states(true, true);
    run.viewer.Action("tBtnEndOfPage")->trigger();
    QCOMPARE(run.viewer.windowTitle(), QString("見本一覧(3/3)"));
    states(true, false);
    run.viewer.NextPage(); // outside the run: ignored
    QCOMPARE(run.viewer.CurrentPage(), 3);
    run.viewer.Action("vmnAheadPage")->trigger();
    QCOMPARE(run.viewer.CurrentPage(), 1);
    QCOMPARE(run.viewer.Action("vmnFowardPage")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QCOMPARE(run.viewer.Action("wmnWindowState")->shortcut(), QKeySequence(Qt::Key_F11));
}

void TestSampleViewer::ctrlDigits()
{
    ViewerRun run;
    run.Start(9, { { 1, 0, "A" } });
    QTest::keyClick(&run.viewer, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(run.viewer.CurrentPage(), 3);
    QTest::keyClick(&run.viewer, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(run.viewer.CurrentPage(), 3);
    QTest::keyClick(&run.viewer, Qt::Key_7, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(run.viewer.CurrentPage(), 7);
    // Also while the face list has the focus.
    QTest::keyClick(run.viewer.findChild<QComboBox*>("cmbFontNames"), Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(run.viewer.CurrentPage(), 2);

    ViewerRun ten;
    ten.Start(10, { { 1, 0, "A" } });
    QTest::keyClick(&ten.viewer, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(ten.viewer.CurrentPage(), 10);
}

void TestSampleViewer::runWithoutBlocks()
{
    ViewerRun run;
    run.Start(1, {});
    QCOMPARE(run.viewer.windowTitle(), QString("見本一覧(1/1)"));
    for (const char* name : { "fmnSaveAs", "fmnSaveAll", "tBtnSave", "emnCopy" })
        QVERIFY(!run.Enabled(name));
    QCOMPARE(run.viewer.findChild<QComboBox*>("cmbFontNames")->count(), 0);
    QVERIFY(run.Image()->isVisible());
}

void TestSampleViewer::comboJumpShowsBlockTop()
{
    ViewerRun run;
    run.Start(2, { { 1, 0, "Alpha" }, { 2, 40, "Beta" }, { 2, 700, "Gamma" } });
    auto* combo = run.viewer.findChild<QComboBox*>("cmbFontNames");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->geometry().topLeft(), QPoint(165, 0));
    QCOMPARE(combo->width(), run.viewer.findChild<QWidget*>("ToolBar1")->width() - 167);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    QCOMPARE(run.viewer.CurrentPage(), 2);
    QCOMPARE(run.Vertical()->value(), 700);
    // The main list's jump: letter case ignored.
    QVERIFY(run.viewer.JumpToFace("beta"));
    QCOMPARE(run.Vertical()->value(), 40);
    QVERIFY(!run.viewer.JumpToFace("Delta"));
}

void TestSampleViewer::faceAtPoint()
{
    ViewerRun run;
    run.Start(2, { { 1, 5, "Zero" }, { 2, 120, "First" }, { 2, 480, "Second" } });
    run.viewer.ShowPage(2, 0);
    run.viewer.SetPressPoint({ 10, 480 });
    QCOMPARE(run.viewer.FaceAtPoint(), QString("First"));
    run.viewer.SetPressPoint({ 10, 481 });
    QCOMPARE(run.viewer.FaceAtPoint(), QString("Second"));
    run.viewer.SetPressPoint({ 10, 1100 });
    QCOMPARE(run.viewer.FaceAtPoint(), QString("Second"));
    run.viewer.SetPressPoint({ 10, 119 });
    QCOMPARE(run.viewer.FaceAtPoint(), QString());
}

void TestSampleViewer::rightGestures()
{
    ViewerRun run;
    run.Start(3, { { 1, 0, "A" } });
    QLabel* image = run.Image();
    auto gesture = [image](QPoint from, QPoint to) {
        QTest::mousePress(image, Qt::RightButton, {}, from);
        QTest::mouseRelease(image, Qt::RightButton, {}, to);
    };
    gesture({ 100, 100 }, { 150, 150 }); // equal moves count as horizontal
    QCOMPARE(run.viewer.CurrentPage(), 2);
    gesture({ 150, 100 }, { 100, 130 });
    QCOMPARE(run.viewer.CurrentPage(), 1);
    gesture({ 100, 100 }, { 100, 60 }); // up at the top: previous page (none)
    QCOMPARE(run.viewer.CurrentPage(), 1);
    gesture({ 100, 100 }, { 100, 160 }); // down: one page of scrolling
    QVERIFY(run.Vertical()->value() > 0);
    QCOMPARE(run.viewer.CurrentPage(), 1);
}

void TestSampleViewer::spaceTurnsPages()
{
    ViewerRun run;
    run.Start(2, { { 1, 0, "A" } });
    int presses = 0;
    while (run.viewer.CurrentPage() == 1 && presses++ < 100)
        QTest::keyClick(&run.viewer, Qt::Key_Space);
    QCOMPARE(run.viewer.CurrentPage(), 2);
    QVERIFY(presses > 1);
    QCOMPARE(run.Vertical()->value(), 0);
    QTest::keyClick(&run.viewer, Qt::Key_Space, Qt::ShiftModifier);
    QCOMPARE(run.viewer.CurrentPage(), 1);
    QCOMPARE(run.Vertical()->value(), run.Vertical()->maximum()); // shown from its bottom
}

void TestSampleViewer::damagedPageFile()
{
    ViewerRun run;
    run.Start(2, { { 1, 0, "A" } });
    QVERIFY(run.viewer.findChild<QWidget*>("Panel1")->isHidden());
    QFile damaged(PageFilePath(run.work.path(), 2));
    QVERIFY(damaged.open(QIODevice::ReadWrite));
    damaged.resize(damaged.size() / 2);
    damaged.close();
    run.viewer.NextPage();
    QCOMPARE(run.viewer.windowTitle(), QString("見本一覧(2/2)"));
    QVERIFY(!run.Image()->isVisible());
    QVERIFY(run.viewer.findChild<QWidget*>("Panel1")->isVisible());
    QCOMPARE(run.viewer.findChild<QPlainTextEdit*>("Memo1")->toPlainText(),
        GenerationLog::Format(LogEvent::FileError, {}, {}, {}));
    QCOMPARE(QDir(run.work.path()).entryList(QDir::Files), QStringList({ "0001.tzg", "0002.tzg" }));
}

void TestSampleViewer::closeEmptiesWorkFolder()
{
    ViewerRun run;
    run.Start(2, { { 1, 0, "A" } });
    run.viewer.Action("fmnClose")->trigger();
    QVERIFY(!run.viewer.isVisible());
    QVERIFY(QDir(run.work.path()).entryList(QDir::Files).isEmpty());
    QCOMPARE(run.viewer.Sheets().Index().Count(), 1); // the lists stay until the next reset
    run.viewer.ResetViewer();
    QCOMPARE(run.viewer.Sheets().Index().Count(), 0);
    QCOMPARE(run.viewer.PageCount(), 0);
    QCOMPARE(run.viewer.size(), SampleViewer::kDesignedSize);
}

void TestSampleViewer::saveDialogs()
{
    ViewerRun run;
    SampleInput input;
    FontEntry row;
    row.FaceName = row.FamilyName = QStringLiteral("DejaVu Sans");
    row.FilePath = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    input.rows.append(row);
    run.Start(2, { { 1, 0, "DejaVu Sans" } }, input);
    QTemporaryDir out;

    AnswerFileDialog("SaveDialog1", 1, out.path(), "page");
    run.viewer.Action("tBtnSave")->trigger();
    QCOMPARE(QImage(out.filePath("page.png")).size(), kPage);

    // The third type gives a name without extension ".pdf": the page as a PDF.
    AnswerFileDialog("SaveDialog1", 3, out.path(), "sheet");
    run.viewer.Action("fmnSaveAs")->trigger();
    QVERIFY(QFileInfo(out.filePath("sheet.pdf")).size() > 0);

    AnswerFileDialog("SaveDialog2", 2, out.path(), "tzsm");
    run.viewer.Action("fmnSaveAll")->trigger();
    QCOMPARE(QDir(out.path()).entryList({ "*.bmp" }), QStringList({ "tzsm0001.bmp", "tzsm0002.bmp" }));
    QCOMPARE(QImage(out.filePath("tzsm0002.bmp")).format(), QImage::Format_Mono);

    run.viewer.Action("emnCopy")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), kPage);
}

QTEST_MAIN(TestSampleViewer)
#include "test_sample_viewer.moc"
