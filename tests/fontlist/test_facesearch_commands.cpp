// The main window's searches over the faces: the character search with its
// dialog and history, the duplicate search, inverting the selection, Stop.
#include "DialogHelpers.h"
#include "FaceSearchFixtures.h"
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "fontlist/CharSearchDialog.h"
#include "fontlist/FaceScanWindow.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using namespace tz;
using namespace tz::test;

using Rows = std::vector<int>;

class FaceSearchCommandsTest : public QObject {
    Q_OBJECT
    FaceSearchFiles files_;
    AppWindows windows_;
    std::unique_ptr<MainWindow> window_;

    FontList& List() { return window_->List(); }
    Rows Selected()
    {
        Rows rows;
        for (int row = List().FirstSelected(); row != FontList::kNone; row = List().NextBelow(row, true))
            rows.push_back(row);
        return rows;
    }
    QComboBox* Text() { return windows_.CharSearch->findChild<QComboBox*>(QStringLiteral("cmbText")); }
    // Runs the character search with text typed into the dialog (OK or Cancel).
    void SearchCharacters(const QString& text, bool ok = true)
    {
        ModalWatcher watcher([&](QWidget* modal) {
            if (modal != windows_.CharSearch)
                return;
            Text()->setEditText(text);
            if (ok)
                windows_.CharSearch->accept();
            else
                windows_.CharSearch->reject();
        });
        window_->Action(QStringLiteral("smnFindChars"))->trigger();
    }

private slots:
    void init()
    {
        windows_ = {};
        window_ = CreateWindows(windows_, false);
        files_.AddRows(List(), window_->Work().Path());
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->UpdateCommandStates();
    }
    void cleanup() { window_.reset(); }

    void commandsInTheMenus()
    {
        QCOMPARE(window_->Action(QStringLiteral("smnFindChars"))->text(), QStringLiteral("文字を含む書体を選択(&C)..."));
        QCOMPARE(window_->Action(QStringLiteral("smnFindChars"))->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
        QCOMPARE(window_->Action(QStringLiteral("smnFindDuplicates"))->text(), QStringLiteral("重複する書体を選択(&D)"));
        QCOMPARE(window_->Action(QStringLiteral("emnSelectInvert"))->text(), QStringLiteral("選択の反転(&I)"));
        for (const char* name : { "smnFindChars", "smnFindDuplicates", "emnSelectInvert" })
            QVERIFY(window_->Action(QString::fromLatin1(name))->isEnabled());
        List().Clear();
        window_->UpdateCommandStates();
        for (const char* name : { "smnFindChars", "smnFindDuplicates", "emnSelectInvert" })
            QVERIFY(!window_->Action(QString::fromLatin1(name))->isEnabled());
    }

    void characterSearchSelectsTheMatchingRows()
    {
        List().SetSelected(0, true);
        SearchCharacters(QStringLiteral("葛\U000E0100"));
        QCOMPARE(Selected(), (Rows { 3, 5, 6, 8 }));
        QCOMPARE(window_->StatusText(), QStringLiteral("4書体が該当しました（ファイルが見つからない1書体を除く）"));
        window_->Action(QStringLiteral("emnSelectInvert"))->trigger();
        QCOMPARE(Selected(), (Rows { 0, 1, 2, 4, 7, 9 }));
        SearchCharacters(QStringLiteral("Aあ"));
        QCOMPARE(Selected(), Rows {});
        QCOMPARE(window_->StatusText(), QStringLiteral("0書体が該当しました（ファイルが見つからない1書体を除く）"));
    }

    void cancelKeepsTheSelection()
    {
        List().SetSelected(1, true);
        SearchCharacters(QStringLiteral("A"), false);
        QCOMPARE(Selected(), Rows { 1 });
    }

    void duplicateSearch()
    {
        window_->Action(QStringLiteral("smnFindDuplicates"))->trigger();
        QCOMPARE(Selected(), (Rows { 1, 2, 5, 6, 8 }));
        QCOMPARE(window_->StatusText(), QStringLiteral("5書体が重複しています（ファイルが見つからない1書体を除く）"));
    }

    void stopLeavesTheSelection()
    {
        List().SetSelected(2, true);
        ModalWatcher watcher([](QWidget* modal) {
            if (auto* scan = qobject_cast<FaceScanWindow*>(modal))
                scan->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
        });
        window_->Action(QStringLiteral("smnFindDuplicates"))->trigger();
        QCOMPARE(Selected(), Rows { 2 });
        QCOMPARE(window_->StatusText(), QStringLiteral("検索を中止しました．"));
    }

    // OK takes only a text with a character in it; texts searched go to the
    // top of the history (equal ignoring case replaced), which survives the
    // program's end.
    void textHistory()
    {
        CharSearchDialog& dialog = *windows_.CharSearch;
        dialog.show();
        Text()->setEditText(QStringLiteral(" \n"));
        dialog.accept();
        QVERIFY(dialog.isVisible());
        dialog.reject();
        for (const char* text : { "abc", "葛", "ABC" })
            SearchCharacters(QString::fromUtf8(text));
        QCOMPARE(dialog.History().mid(0, 2), (QStringList { "ABC", "葛" }));
        QCOMPARE(dialog.History().filter(QStringLiteral("abc"), Qt::CaseInsensitive).size(), 1);
        for (int i = 0; i < 10; ++i)
            SearchCharacters(QString::number(i));
        QCOMPARE(dialog.History().size(), CharSearchDialog::kHistoryLimit);
        QCOMPARE(dialog.History().first(), QStringLiteral("9"));
        QCOMPARE(Text()->count(), CharSearchDialog::kHistoryLimit);
        window_.reset();
        CharSearchDialog reloaded;
        QCOMPARE(reloaded.History().first(), QStringLiteral("9"));
        QCOMPARE(reloaded.findChild<QComboBox*>(QStringLiteral("cmbText"))->currentText(), QStringLiteral("9"));
    }
};

QTEST_MAIN(FaceSearchCommandsTest)
#include "test_facesearch_commands.moc"
