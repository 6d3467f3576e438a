// The list view in the main window: sorting by header and menu, the right
// button, row tool tips, deleting, selecting all, Enter and Alt+Enter.
#include "DialogHelpers.h"
#include "app/MainWindow.h"
#include "fontlist/FontListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace tz;

namespace {

struct Row {
    const char16_t* face;
    const char16_t* family;
    const char16_t* member;
    const char16_t* size;
};

QStringList Column(const FontList& list, QString FontEntry::*field)
{
    QStringList values;
    for (int row = 0; row < list.Count(); ++row)
        values << list.Entry(row).*field;
    return values;
}

QPoint RowCenter(FontListView& view, int row) { return view.visualRect(view.model()->index(row, 0)).center(); }

bool RowFullyVisible(FontListView& view, int row)
{
    return view.viewport()->rect().contains(view.visualRect(view.model()->index(row, 0)));
}

} // namespace

class TestListView : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<MainWindow> window_;
    FontList& List() { return window_->List(); }
    FontListView& View() { return window_->View(); }

    void Fill(std::initializer_list<Row> rows)
    {
        for (const Row& r : rows)
            List().AddEntry(QString::fromUtf16(r.face), QString::fromUtf16(r.family), QStringLiteral("/fonts/a.zip"),
                QString::fromUtf16(r.member), QString::fromUtf16(r.size), 0);
        List().DeselectAll();
    }
    void FillNumbered(int count)
    {
        FontListUpdate update(List());
        for (int i = 0; i < count; ++i)
            List().AddEntry(QStringLiteral("Face %1").arg(count - i, 4, 10, QLatin1Char('0')), {},
                QStringLiteral("/F.TTF"), {}, QStringLiteral("1"), 0);
        List().DeselectAll();
    }
    void ClickHeader(int section)
    {
        QHeaderView* header = View().header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
    }
    bool Enabled(const char* name) { return window_->Action(QString::fromLatin1(name))->isEnabled(); }

private slots:
    void init()
    {
        window_ = std::make_unique<MainWindow>(false);
        window_->resize(640, 400);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->Document().SetModified(false);
    }
    void cleanup()
    {
        window_->Document().SetModified(false);
        window_.reset();
    }

    void headerClickSortsAndReverses()
    {
        Fill({ { u"Gothic B", u"Gothic", u"", u"1" }, { u"Mincho", u"Mincho", u"", u"1" },
            { u"Gothic A", u"Gothic", u"", u"1" } });
        ClickHeader(FontList::kColFamily);
        QCOMPARE(List().SortKey, 2);
        QCOMPARE(Column(List(), &FontEntry::FaceName), (QStringList { "Gothic A", "Gothic B", "Mincho" }));
        QVERIFY(window_->Document().Modified());
        ClickHeader(FontList::kColFamily);
        QCOMPARE(List().SortKey, -2);
        QCOMPARE(Column(List(), &FontEntry::FaceName), (QStringList { "Mincho", "Gothic B", "Gothic A" }));
        // The view shows the new order.
        QCOMPARE(View().model()->index(0, 0).data().toString(), QStringLiteral("Mincho"));
    }

    void sortItemsCarryTheirColumn_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("sortKey");
        QTest::addColumn<QStringList>("sizes");
        QTest::newRow("size numerically") << "vmnSortBySize" << 5 << QStringList { "9", "10", "100" };
        QTest::newRow("face") << "vmnSortByName" << 1 << QStringList { "100", "9", "10" };
        QTest::newRow("member") << "vmnSortByArchive" << 4 << QStringList { "10", "100", "9" };
    }
    void sortItemsCarryTheirColumn()
    {
        QFETCH(QString, item);
        QFETCH(int, sortKey);
        QFETCH(QStringList, sizes);
        Fill({ { u"b", u"", u"C.TTF", u"9" }, { u"c", u"", u"A.TTF", u"10" }, { u"a", u"", u"B.TTF", u"100" } });
        window_->UpdateCommandStates();
        QVERIFY(Enabled("vmnSort"));
        window_->Action(item)->trigger();
        QCOMPARE(List().SortKey, sortKey);
        QCOMPARE(Column(List(), &FontEntry::Size), sizes);
        QVERIFY(window_->Document().Modified());
    }

    void sortScrollsToTheSelectedRow()
    {
        FillNumbered(300); // "Face 0300" first, so a face sort reverses the rows
        List().SetSelected(0, true);
        QVERIFY(RowFullyVisible(View(), 0));
        ClickHeader(FontList::kColFace);
        QCOMPARE(List().FirstSelected(), 299);
        QVERIFY(RowFullyVisible(View(), 299));
    }

    void sortWithoutSelectionScrollsNowhere()
    {
        FillNumbered(300);
        QCoreApplication::processEvents(); // lays the rows out
        View().verticalScrollBar()->setValue(40);
        QCOMPARE(View().verticalScrollBar()->value(), 40);
        ClickHeader(FontList::kColFace);
        QCOMPARE(List().SortKey, 1);
        QCOMPARE(List().Entry(0).FaceName, QStringLiteral("Face 0001"));
        QVERIFY(window_->Document().Modified());
        QCOMPARE(View().verticalScrollBar()->value(), 40);
    }

    void headerClickOnEmptyList()
    {
        ClickHeader(FontList::kColPath);
        QCOMPARE(List().SortKey, 3);
        QVERIFY(window_->Document().Modified());
        QCOMPARE(List().Count(), 0);
    }

    void rightButton_data()
    {
        QTest::addColumn<int>("row"); // -1: empty space below the last row
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("propertyEnabled");
        QTest::addColumn<bool>("openDocEnabled");
        QTest::newRow("empty space clears the selection") << -1 << 0 << false << false;
        QTest::newRow("row joins the selection") << 2 << 2 << true << false;
        QTest::newRow("selected row stays alone selected") << 0 << 1 << true << true;
    }
    void rightButton()
    {
        QFETCH(int, row);
        QFETCH(int, selected);
        QFETCH(bool, propertyEnabled);
        QFETCH(bool, openDocEnabled);
        Fill({ { u"a", u"", u"", u"1" }, { u"b", u"", u"", u"1" }, { u"c", u"", u"", u"1" } });
        List().SetSelected(0, true);
        window_->UpdateCommandStates();
        const QPoint pos = row >= 0 ? RowCenter(View(), row) : QPoint(10, View().viewport()->height() - 5);
        QTest::mousePress(View().viewport(), Qt::RightButton, {}, pos);
        QCOMPARE(List().SelectedCount(), selected);
        QCOMPARE(View().selectionModel()->selectedRows().size(), selected);
        // The states are right at once, before the context menu opens.
        QCOMPARE(Enabled("pmnProperty"), propertyEnabled);
        QCOMPARE(Enabled("emnDelete"), propertyEnabled);
        QCOMPARE(Enabled("pmnOpenDoc"), openDocEnabled);
        QTest::mouseRelease(View().viewport(), Qt::RightButton, {}, pos);
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    void toolTipBuiltPerRow()
    {
        Fill({ { u"Plain", u"", u"", u"1536" }, { u"Packed", u"", u"A.TTF", u"3145728" } });
        QTest::mouseMove(View().viewport(), RowCenter(View(), 0));
        QCOMPARE(View().HintRow(), 0);
        QCOMPARE(View().HintText(), QStringLiteral("Plain\n/FONTS/A.ZIP\n1.50KB"));
        QTest::mouseMove(View().viewport(), RowCenter(View(), 1));
        QCOMPARE(View().HintRow(), 1);
        QCOMPARE(View().HintText(), QStringLiteral("Packed\n/FONTS/A.ZIP\n[A.TTF]\n3.00MB"));

        QHelpEvent help(QEvent::ToolTip, RowCenter(View(), 1), View().viewport()->mapToGlobal(RowCenter(View(), 1)));
        QApplication::sendEvent(View().viewport(), &help);
        QVERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().contains(QStringLiteral("[A.TTF]")));

        QTest::mouseMove(View().viewport(), QPoint(10, View().viewport()->height() - 5));
        QCOMPARE(View().HintRow(), -1);
        QVERIFY(View().HintText().isEmpty());
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void dragClearsToolTip()
    {
        Fill({ { u"Plain", u"", u"", u"1536" } });
        QTest::mouseMove(View().viewport(), RowCenter(View(), 0));
        QCOMPARE(View().HintRow(), 0);
        emit View().DragMoving();
        QCOMPARE(View().HintRow(), -1);
        QVERIFY(View().HintText().isEmpty());
    }

    void deleteWithConfirmation_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("modified");
        QTest::newRow("cancel keeps the rows") << int(QMessageBox::Cancel) << 3 << false;
        QTest::newRow("ok deletes the selected rows") << int(QMessageBox::Ok) << 1 << true;
    }
    void deleteWithConfirmation()
    {
        QFETCH(int, answer);
        QFETCH(int, count);
        QFETCH(bool, modified);
        Fill({ { u"a", u"", u"", u"1" }, { u"b", u"", u"", u"1" }, { u"c", u"", u"", u"1" } });
        List().SetSelected(0, true);
        List().SetSelected(2, true);
        test::MessageBoxAnswerer answerer { QMessageBox::StandardButton(answer) };
        window_->emnDeleteClick();
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().title, QStringLiteral("Typoscan Zindel"));
        QCOMPARE(answerer.Last().text, QStringLiteral("選択した書体をリストから削除しますか."));
        QCOMPARE(answerer.Last().icon, QMessageBox::Question);
        QCOMPARE(answerer.Last().buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(answerer.Last().defaultButton, QMessageBox::Cancel);
        QCOMPARE(List().Count(), count);
        QCOMPARE(window_->Document().Modified(), modified);
        if (modified) {
            QCOMPARE(List().Entry(0).FaceName, QStringLiteral("b"));
            QCOMPARE(window_->StatusText(), QStringLiteral("フォント: 1書体"));
        }
    }

    void deleteWithoutSelectionAsksNothing()
    {
        Fill({ { u"a", u"", u"", u"1" } });
        test::MessageBoxAnswerer answerer { QMessageBox::Ok };
        window_->emnDeleteClick();
        window_->emnDeleteOKClick();
        QTest::qWait(20);
        QCOMPARE(answerer.Count(), 0);
        QCOMPARE(List().Count(), 1);
        QVERIFY(!window_->Document().Modified());
    }

    void deleteWithoutConfirmationToEmpty()
    {
        Fill({ { u"a", u"", u"", u"1" }, { u"b", u"", u"", u"1" } });
        window_->emnSelectAllClick();
        QCOMPARE(View().selectionModel()->selectedRows().size(), 2);
        test::MessageBoxAnswerer answerer { QMessageBox::Cancel };
        window_->emnDeleteOKClick();
        QCOMPARE(answerer.Count(), 0);
        QCOMPARE(List().Count(), 0);
        QCOMPARE(window_->StatusText(), QStringLiteral("フォント: 0書体"));
        QVERIFY(window_->Document().Modified());
    }

    void enterOpensAltEnterShowsProperties_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("alt");
        QTest::newRow("Return") << int(Qt::Key_Return) << false;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << false;
        QTest::newRow("Alt+Return") << int(Qt::Key_Return) << true;
    }
    void enterOpensAltEnterShowsProperties()
    {
        QFETCH(int, key);
        QFETCH(bool, alt);
        Fill({ { u"a", u"", u"", u"1" } });
        QSignalSpy open(&View(), &FontListView::OpenRequested);
        QSignalSpy properties(&View(), &FontListView::PropertiesRequested);
        QTest::keyClick(&View(), Qt::Key(key), alt ? Qt::AltModifier : Qt::NoModifier);
        QCOMPARE(open.size(), alt ? 0 : 1);
        QCOMPARE(properties.size(), alt ? 1 : 0);
    }
};

QTEST_MAIN(TestListView)
#include "test_listview.moc"
