// The list commands of the main window, run through its handlers with their
// real dialogs answered: new, open, reopen, merge, save, save as, the discard
// prompt, the single list file of a drop or command line and the close query.
#include "ListFileDialogHelpers.h"
#include "ListFileSupport.h"
#include "app/MainWindow.h"
#include "fontlist/ListFile.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using test::ModalAnswers;

namespace {

const QByteArray kTwoRows = test::ListHeader()
    + "0\tAlpha\tAlpha\t/FONTS/ALPHA.TTF\t\t100\r\n"
      "1\tBeta\tBeta\t/FONTS/BETA.TTC\t\t200\r\n";

QString Faces(const FontList& list)
{
    QStringList faces;
    for (int i = 0; i < list.Count(); ++i)
        faces << list.Entry(i).FaceName + (list.IsSelected(i) ? QStringLiteral("*") : QString());
    return faces.join(u',');
}

} // namespace

class TestListFileCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void newListsCountUntitledNames();
    void discardPrompt_data();
    void discardPrompt();
    void openReadsAndReports();
    void openIgnoresOtherExtensions();
    void openWithDriveLetterOptionIsNotRecent();
    void reopenMovesToTheTop();
    void reopenOfAMissingFile();
    void declinedConversionLeavesAnEmptyList();
    void noFontListLeavesTheListAlone_data();
    void noFontListLeavesTheListAlone();
    void mergeAppendsSelectedRows();
    void saveWritesTheList();
    void saveOfAnUntitledListAsksForAName();
    void failedSaveKeepsModifiedAndTheOldFile();
    void droppedOrCommandLineListOpens();
    void closeQuery_data();
    void closeQuery();

private:
    QString Path(const QString& name) const { return dir_->filePath(name); }
    QString WriteList(const QString& name, const QByteArray& content = kTwoRows) const
    {
        const QString path = Path(name);
        test::WriteBytes(path, content);
        return path;
    }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestListFileCommands::init() { dir_ = std::make_unique<QTemporaryDir>(); }

void TestListFileCommands::newListsCountUntitledNames()
{
    MainWindow window(false);
    window.fmnNewClick();
    window.fmnNewClick();
    QCOMPARE(window.windowTitle(), QStringLiteral("名称未設定3 - Typoscan Zindel"));
    QCOMPARE(window.StatusText(), QStringLiteral("フォント: 0書体"));
    QVERIFY(!window.Document().Modified());
}

void TestListFileCommands::discardPrompt_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("No keeps the list") << int(QMessageBox::No) << 1;
    QTest::newRow("Yes discards it") << int(QMessageBox::Yes) << 0;
}

void TestListFileCommands::discardPrompt()
{
    QFETCH(int, answer);
    QFETCH(int, rowsAfter);
    MainWindow window(false);
    window.List().AddEntry("A", "A", "/a.ttf", "", "1", 0);
    window.Document().SetModified(true);
    ModalAnswers answers;
    answers.Message(QMessageBox::StandardButton(answer));
    window.fmnNewClick();
    QCOMPARE(answers.Messages().size(), 1);
    const test::AnsweredMessage& prompt = answers.Messages().first();
    QCOMPARE(prompt.title, QStringLiteral("Typoscan Zindel"));
    QCOMPARE(prompt.text, QStringLiteral("編集中の書体リストを破棄します.\nよろしいですか."));
    QCOMPARE(prompt.icon, QMessageBox::Question);
    QCOMPARE(prompt.defaultButton, QMessageBox::No);
    QCOMPARE(window.List().Count(), rowsAfter);
    QCOMPARE(window.Document().Modified(), rowsAfter == 1);
}

void TestListFileCommands::openReadsAndReports()
{
    const QString path = WriteList("fonts.tzl", kTwoRows + "7\tBad\tKind\tX\t\t1\r\n");
    MainWindow window(false);
    window.List().AddEntry("Old", "Old", "/old.ttf", "", "1", 0);
    ModalAnswers answers;
    answers.File(path).Message(QMessageBox::Ok);
    window.fmnOpenClick();
    QCOMPARE(answers.Pending(), 0);
    QCOMPARE(answers.MessageTexts(), QStringList { "1書体読込めませんでした" });
    QCOMPARE(answers.Messages().first().icon, QMessageBox::Critical);
    QCOMPARE(Faces(window.List()), QStringLiteral("Alpha*,Beta*"));
    QCOMPARE(window.Document().Path(), path);
    QCOMPARE(window.windowTitle(), QStringLiteral("fonts.tzl - Typoscan Zindel"));
    QCOMPARE(window.StatusText(), QStringLiteral("フォント: 2書体"));
    QCOMPARE(window.Document().RecentLists().first(), path);
    QVERIFY(window.Action(QStringLiteral("fmnReOpen"))->isEnabled());
    QVERIFY(!window.Document().Modified());
}

void TestListFileCommands::openIgnoresOtherExtensions()
{
    const QString path = WriteList("a.txt");
    MainWindow window(false);
    window.List().AddEntry("Kept", "Kept", "/k.ttf", "", "1", 0);
    window.Document().SetModified(true);
    ModalAnswers answers;
    answers.File(path);
    window.fmnOpenClick();
    QCOMPARE(answers.Unexpected(), 0); // no discard prompt either
    QCOMPARE(Faces(window.List()), QStringLiteral("Kept*"));
    QVERIFY(window.Document().Modified());

    answers.File({});
    window.fmnOpenClick();
    QCOMPARE(window.List().Count(), 1);
}

void TestListFileCommands::openWithDriveLetterOptionIsNotRecent()
{
    const QString path = WriteList("moved.tzl", test::ListHeader() + "0\tA\tA\tD:\\FONTS\\A.TTF\t\t1\r\n");
    MainWindow window(false);
    ModalAnswers answers;
    answers.File(path, true);
    window.fmnOpenClick();
    QCOMPARE(window.List().Count(), 1);
    const QString rebased = window.List().Entry(0).FilePath;
    QVERIFY2(rebased.endsWith(u"/FONTS/A.TTF") && !rebased.contains(u':'), qPrintable(rebased));
    QCOMPARE(window.Document().RecentLists(), QStringList({ "", "", "", "" }));

    answers.File(path); // the check box starts unchecked every time
    window.fmnOpenClick();
    QCOMPARE(window.List().Entry(0).FilePath, QStringLiteral("D:\\FONTS\\A.TTF"));
    QCOMPARE(window.Document().RecentLists().first(), path);
}

void TestListFileCommands::reopenMovesToTheTop()
{
    const QString path = WriteList("Fonts.tzl");
    const QString text = WriteList("b.txt", test::ListHeader() + "0\tText\tText\t/T.TTF\t\t1\r\n");
    MainWindow window(false);
    window.Document().SetRecentLists({ Path("other.tzl"), path.toUpper(), text, "" });
    ModalAnswers answers;
    answers.File(path);
    window.fmnOpenClick();
    QCOMPARE(window.Document().RecentLists(), QStringList({ path, Path("other.tzl"), text, "" }));
    // Reopening reads without an extension check and without a dialog.
    window.Action(QStringLiteral("fmnReOpen2"))->trigger();
    QCOMPARE(Faces(window.List()), QStringLiteral("Text*"));
    QCOMPARE(window.Document().Path(), text);
    QCOMPARE(window.Document().RecentLists(), QStringList({ text, path, Path("other.tzl"), "" }));
    window.Action(QStringLiteral("fmnReOpen1"))->trigger();
    QCOMPARE(Faces(window.List()), QStringLiteral("Alpha*,Beta*"));
    QCOMPARE(window.Document().RecentLists(), QStringList({ path, text, Path("other.tzl"), "" }));
    QCOMPARE(answers.Unexpected(), 0);
}

void TestListFileCommands::reopenOfAMissingFile()
{
    const QString missing = Path("gone.tzl");
    MainWindow window(false);
    window.List().AddEntry("Old", "Old", "/old.ttf", "", "1", 0);
    window.Document().SetRecentLists({ missing, "", "", "" });
    window.SetStatusText(QStringLiteral("unchanged"));
    ModalAnswers answers;
    answers.Message(QMessageBox::Ok);
    window.Action(QStringLiteral("fmnReOpen0"))->trigger();
    QCOMPARE(answers.MessageTexts(), QStringList { "書体リストを読み込めません" });
    QCOMPARE(answers.Messages().first().icon, QMessageBox::Critical);
    QCOMPARE(window.List().Count(), 0);
    QCOMPARE(window.Document().Path(), missing);
    QCOMPARE(window.windowTitle(), QStringLiteral("gone.tzl - Typoscan Zindel"));
    QCOMPARE(window.Document().RecentLists(), QStringList({ missing, "", "", "" }));
}

void TestListFileCommands::declinedConversionLeavesAnEmptyList()
{
    const QString path = WriteList("old.tzl", "[List098]\r\n0\tA\tA\tA.TTF\t\r\n");
    MainWindow window(false);
    window.Document().SetRecentLists({ path, "", "", "" });
    ModalAnswers answers;
    answers.Message(QMessageBox::No);
    window.Action(QStringLiteral("fmnReOpen0"))->trigger();
    QCOMPARE(answers.Messages().size(), 1);
    const test::AnsweredMessage& question = answers.Messages().first();
    QCOMPARE(question.text,
        QStringLiteral(
            "旧形式の書体リストを読み込もうとしています．\n\nこの書体リストは現在のバージョンへ変換を行いながら読み"
            "込みます．この作業には書体数やメディアタイプ等によって数秒から数分かかります．\n\n読み込み作業を継続"
            "してよろしいですか．"));
    QCOMPARE(question.icon, QMessageBox::Warning);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(window.List().Count(), 0);
    QCOMPARE(window.windowTitle(), QStringLiteral("old.tzl - Typoscan Zindel"));
    QVERIFY(!window.Document().Modified());
}

void TestListFileCommands::noFontListLeavesTheListAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("merge");
    QByteArray noise;
    quint32 seed = 22;
    for (int i = 0; i < 4096; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += char(seed >> 24);
    }
    QTest::newRow("random bytes, reopened") << noise << false;
    QTest::newRow("random bytes, merged") << noise << true;
    QTest::newRow("a text file") << QByteArray("[Generator]\r\nnot a list\r\n") << false;
    QTest::newRow("an empty file") << QByteArray() << false;
}

void TestListFileCommands::noFontListLeavesTheListAlone()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, merge);
    const QString path = WriteList("noise.tzl", content);
    MainWindow window(false);
    window.Document().SetPath(Path("mine.tzl"));
    window.RefreshCaption();
    window.List().AddEntry("Mine", "Mine", "/mine.ttf", "", "1", 0);
    window.Document().SetRecentLists({ path, "", "", "" });
    ModalAnswers answers;
    if (merge)
        answers.File(path);
    answers.Message(QMessageBox::Ok);
    if (merge)
        window.fmnAddListClick();
    else
        window.Action(QStringLiteral("fmnReOpen0"))->trigger();
    QCOMPARE(answers.MessageTexts(), QStringList { "書体リストを読み込めません" });
    QCOMPARE(answers.Messages().first().icon, QMessageBox::Critical);
    QCOMPARE(Faces(window.List()), QStringLiteral("Mine*"));
    QCOMPARE(window.Document().Path(), Path("mine.tzl"));
    QCOMPARE(window.windowTitle(), QStringLiteral("mine.tzl - Typoscan Zindel"));
    QVERIFY(!window.Document().Modified());
}

void TestListFileCommands::mergeAppendsSelectedRows()
{
    const QString path = WriteList("more.txt");
    MainWindow window(false);
    window.Document().SetPath(Path("mine.tzl"));
    window.List().AddEntry("Mine", "Mine", "/mine.ttf", "", "1", 0);
    window.Document().SetModified(false);
    ModalAnswers answers;
    answers.File(path);
    window.fmnAddListClick();
    QCOMPARE(answers.Unexpected(), 0);
    QCOMPARE(Faces(window.List()), QStringLiteral("Mine,Alpha*,Beta*"));
    QCOMPARE(window.Document().Path(), Path("mine.tzl"));
    QCOMPARE(window.windowTitle(), QStringLiteral("mine.tzl - Typoscan Zindel"));
    QCOMPARE(window.Document().RecentLists().first(), path);
    QVERIFY(window.Document().Modified());

    window.Document().SetModified(false);
    answers.File({});
    window.fmnAddListClick();
    QCOMPARE(window.List().Count(), 3);
    QCOMPARE(window.Document().Path(), Path("mine.tzl"));
    QVERIFY(!window.Document().Modified());
}

void TestListFileCommands::saveWritesTheList()
{
    const QString path = WriteList("fonts.tzl");
    MainWindow window(false);
    window.OpenListFile(path);
    window.List().AddEntry("Gamma", "Gamma", "/fonts/gamma.ttf", "ARC/G.TTF", "300", 0);
    window.Document().SetModified(true);
    window.fmnSaveClick();
    QCOMPARE(test::ReadBytes(path), kTwoRows + "0\tGamma\tGamma\t/FONTS/GAMMA.TTF\tARC/G.TTF\t300\r\n");
    QVERIFY(!window.Document().Modified());
    QCOMPARE(window.Document().RecentLists().first(), path); // saving leaves the recent lists alone
    QCOMPARE(window.Document().RecentLists().at(1), QString());
}

void TestListFileCommands::saveOfAnUntitledListAsksForAName()
{
    MainWindow window(false);
    window.List().AddEntry("A", "A", "/a.ttf", "", "1", 0);
    window.Document().SetModified(true);
    ModalAnswers answers;
    answers.File(Path("named"));
    window.fmnSaveClick();
    QCOMPARE(answers.Pending(), 0);
    const QString saved = Path("named.tzl"); // the default extension
    QCOMPARE(window.Document().Path(), saved);
    QCOMPARE(test::ReadBytes(saved), test::ListHeader() + "0\tA\tA\t/A.TTF\t\t1\r\n");
    QCOMPARE(window.windowTitle(), QStringLiteral("named.tzl - Typoscan Zindel"));
    QVERIFY(!window.Document().Modified());

    window.Document().SetModified(true);
    answers.File({});
    window.fmnSaveAsClick();
    QVERIFY(window.Document().Modified());
    QCOMPARE(window.Document().Path(), saved);
}

void TestListFileCommands::failedSaveKeepsModifiedAndTheOldFile()
{
    const QString path = WriteList("fonts.tzl");
    MainWindow window(false);
    window.OpenListFile(path);
    for (int i = 0; i < 3000; ++i)
        window.List().AddEntry(QStringLiteral("Face %1").arg(i), "Family", "/fonts/face.ttf", "", "1000", 0);
    window.Document().SetModified(true);
    ModalAnswers answers;
    answers.Message(QMessageBox::Ok).File(Path("elsewhere.tzl")).Message(QMessageBox::Ok);
    {
        const test::FileSizeLimit fullDisk(8192);
        window.fmnSaveClick();
        window.fmnSaveAsClick();
    }
    QCOMPARE(answers.MessageTexts(), QStringList({ "ファイルの保存に失敗しました", "ファイルの保存に失敗しました" }));
    QCOMPARE(answers.Messages().first().icon, QMessageBox::Critical);
    QVERIFY(window.Document().Modified());
    QCOMPARE(test::ReadBytes(path), kTwoRows);
    QCOMPARE(window.Document().Path(), path);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList { "fonts.tzl" });
}

void TestListFileCommands::droppedOrCommandLineListOpens()
{
    const QString path = WriteList("dropped.TZL");
    MainWindow dropped(false);
    dropped.OpenListFile(path);
    QCOMPARE(Faces(dropped.List()), QStringLiteral("Alpha*,Beta*"));
    QCOMPARE(dropped.windowTitle(), QStringLiteral("dropped.TZL - Typoscan Zindel"));
    QVERIFY(!dropped.Document().Modified());

    MainWindow started(false);
    started.SetCommandLine({ path, Path("ignored.ttf") });
    started.show();
    QVERIFY(QTest::qWaitForWindowExposed(&started));
    QCOMPARE(Faces(started.List()), QStringLiteral("Alpha*,Beta*"));
    QCOMPARE(started.windowTitle(), QStringLiteral("dropped.TZL - Typoscan Zindel"));
    QCOMPARE(started.Document().RecentLists().first(), path);
    started.Document().SetModified(false);
}

void TestListFileCommands::closeQuery_data()
{
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<QString>("saveAs"); // empty: the save dialog is cancelled
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<bool>("closes");
    QTest::newRow("named list is written") << false << QString() << false << true;
    QTest::newRow("untitled list asks for a name") << true << QString("closing.tzl") << false << true;
    QTest::newRow("cancelled save dialog keeps the window") << true << QString() << false << false;
    QTest::newRow("failed write keeps the window") << false << QString() << true << false;
}

void TestListFileCommands::closeQuery()
{
    QFETCH(bool, untitled);
    QFETCH(QString, saveAs);
    QFETCH(bool, fullDisk);
    QFETCH(bool, closes);
    const QString path = WriteList("fonts.tzl", test::ListHeader());
    MainWindow window(false);
    if (!untitled)
        window.Document().SetPath(path);
    for (int i = 0; i < 3000; ++i)
        window.List().AddEntry(QStringLiteral("Face %1").arg(i), "Family", "/fonts/face.ttf", "", "1000", 0);
    window.Document().SetModified(true);
    window.show();
    ModalAnswers answers;
    answers.Message(QMessageBox::Yes);
    if (untitled)
        answers.File(saveAs.isEmpty() ? QString() : Path(saveAs));
    if (fullDisk)
        answers.Message(QMessageBox::Ok);
    bool closed = false;
    {
        std::optional<test::FileSizeLimit> limit;
        if (fullDisk)
            limit.emplace(8192);
        closed = window.close();
    }
    QCOMPARE(answers.Pending(), 0);
    const QString expectedName = untitled ? QStringLiteral("名称未設定1") : QStringLiteral("fonts.tzl");
    QCOMPARE(answers.Messages().first().text, QStringLiteral("変更内容を %1に保存しますか.").arg(expectedName));
    QCOMPARE(answers.Messages().first().icon, QMessageBox::Warning);
    QCOMPARE(closed, closes);
    const QString written = untitled ? Path(saveAs) : path;
    if (closes)
        QCOMPARE(test::ReadBytes(written), FormatListFile(window.List()));
    if (fullDisk)
        QCOMPARE(test::ReadBytes(path), test::ListHeader());
    window.Document().SetModified(false);
}

QTEST_MAIN(TestListFileCommands)
#include "test_listfilecommands.moc"
