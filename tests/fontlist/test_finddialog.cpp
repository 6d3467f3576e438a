// The find dialog TForm15 over the main list: find from the top, find next
// without wrapping, the not-found message, restarts, and the modal showing
// from the main window.
#include "DialogHelpers.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "fontlist/FindDialog.h"
#include "fontlist/FontListView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tz;

class TestFindDialog : public QObject {
    Q_OBJECT
private:
    AppWindows windows_;
    std::unique_ptr<MainWindow> window_;
    FindDialog* dialog_ = nullptr;

    FontList& List() { return window_->List(); }
    QLineEdit* Edit1() { return dialog_->findChild<QLineEdit*>(QStringLiteral("Edit1")); }
    void Press() { QTest::mouseClick(dialog_->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton); }
    void Fill(const QStringList& faces)
    {
        FontListUpdate update(List());
        for (const QString& face : faces)
            List().AddEntry(face, {}, QStringLiteral("/F.TTF"), {}, QStringLiteral("1"), 0);
        List().DeselectAll();
    }
    QList<int> SelectedRows()
    {
        QList<int> rows;
        for (int row = List().FirstSelected(); row != FontList::kNone; row = List().NextBelow(row, true))
            rows << row;
        return rows;
    }

private slots:
    void init()
    {
        windows_ = {};
        window_ = CreateWindows(windows_, false);
        dialog_ = qobject_cast<FindDialog*>(windows_.Find);
        QVERIFY(dialog_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void designedDialog()
    {
        QCOMPARE(dialog_->objectName(), QStringLiteral("TForm15"));
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("検索"));
        QVERIFY(dialog_->findChild<QPushButton*>(QStringLiteral("Button1"))->isDefault());
        QVERIFY(!dialog_->Search().FindRestart);
    }

    void findsSingleByteLettersIgnoringCase()
    {
        Fill({ "ＭＳ ゴシック", "Century Gothic", "Arial" });
        List().SetSelected(2, true);
        dialog_->show();
        Edit1()->setText(QStringLiteral("gothic"));
        Press();
        QCOMPARE(SelectedRows(), QList<int> { 1 });
        QCOMPARE(dialog_->Search().LastFound, 1);
        QVERIFY(!dialog_->Search().FindRestart);
    }

    void findNextToTheEndAndAgain()
    {
        Fill({ "Gothic A", "Mincho", "Gothic B" });
        dialog_->show();
        Edit1()->setText(QStringLiteral("Gothic"));
        Press();
        QCOMPARE(SelectedRows(), QList<int> { 0 });
        Press();
        QCOMPARE(SelectedRows(), QList<int> { 2 });
        test::MessageBoxAnswerer answerer { QMessageBox::Ok };
        Press();
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().title, QStringLiteral("Typoscan Zindel"));
        QCOMPARE(answerer.Last().text, QStringLiteral("\"Gothic\"が見つかりません．"));
        QCOMPARE(answerer.Last().icon, QMessageBox::Information);
        QCOMPARE(SelectedRows(), QList<int> { 2 }); // the selection stays where it was
        QCOMPARE(Edit1()->selectedText(), QStringLiteral("Gothic"));
        Press();
        QCOMPARE(answerer.Count(), 2);
        // Editing the text starts at the top again.
        Edit1()->setText(QStringLiteral("gothic"));
        Press();
        QCOMPARE(SelectedRows(), QList<int> { 0 });
        QCOMPARE(answerer.Count(), 2);
    }

    void showingAgainRestarts()
    {
        Fill({ "Gothic" });
        dialog_->show();
        Edit1()->setText(QStringLiteral("Gothic"));
        Press();
        QCOMPARE(SelectedRows(), QList<int> { 0 });
        test::MessageBoxAnswerer answerer { QMessageBox::Ok };
        Press(); // one-row list: the second press reports not found
        QCOMPARE(answerer.Count(), 1);
        dialog_->hide();
        dialog_->show();
        QCOMPARE(Edit1()->text(), QStringLiteral("Gothic"));
        QCOMPARE(Edit1()->selectedText(), QStringLiteral("Gothic"));
        Press();
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(SelectedRows(), QList<int> { 0 });
    }

    void emptyTextSearchesNothing()
    {
        Fill({ "Gothic" });
        dialog_->show();
        Edit1()->clear();
        test::MessageBoxAnswerer answerer { QMessageBox::Ok };
        Press();
        QTest::qWait(20);
        QCOMPARE(answerer.Count(), 0);
        QVERIFY(dialog_->Search().FindRestart);
        QVERIFY(SelectedRows().isEmpty());
    }

    void foundRowScrolledIntoView()
    {
        QStringList faces;
        for (int i = 0; i < 500; ++i)
            faces << QStringLiteral("Face %1").arg(i);
        faces << QStringLiteral("Target");
        Fill(faces);
        dialog_->show();
        Edit1()->setText(QStringLiteral("target"));
        Press();
        QCOMPARE(SelectedRows(), QList<int> { 500 });
        FontListView& view = window_->View();
        QVERIFY(view.viewport()->rect().contains(view.visualRect(view.model()->index(500, 0))));
    }

    void findCommandShowsTheDialogModally()
    {
        Fill({ "Arial", "Century Gothic" });
        bool wasModal = false;
        test::ModalWatcher watcher([&](QWidget* modal) {
            wasModal = modal == dialog_;
            Edit1()->setText(QStringLiteral("GOTHIC"));
            Press();
            dialog_->reject();
        });
        window_->Action(QStringLiteral("smnFind"))->setEnabled(true);
        window_->Action(QStringLiteral("smnFind"))->trigger();
        QVERIFY(wasModal);
        QCOMPARE(SelectedRows(), QList<int> { 1 });
    }
};

QTEST_MAIN(TestFindDialog)
#include "test_finddialog.moc"
