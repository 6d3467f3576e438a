#include "fontlist/FindDialog.h"
#include "widgets/MessageText.h"

#include "widgets/BusyCursor.h"

#include "fontlist/FontListView.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace tz {

FindDialog::FindDialog(FontListView& view, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , view_(view)
{
    setObjectName(QStringLiteral("TForm15"));
    setWindowTitle(QStringLiteral("検索"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    // Face names are mostly Latin; the input method is still available.
    edit1_->setInputMethodHints(Qt::ImhPreferLatin);
    edit1_->installEventFilter(this);
    label->setBuddy(edit1_);
    button1_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setDefault(true);
    auto* button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    button2->setObjectName(QStringLiteral("Button2"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(edit1_, 1, 0);
    layout->addWidget(button1_, 0, 1);
    layout->addWidget(button2, 1, 1);
    layout->setColumnStretch(0, 1);
    setFixedSize(kClientSize.expandedTo(sizeHint()));

    connect(button1_, &QPushButton::clicked, this, &FindDialog::Button1Click);
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(edit1_, &QLineEdit::textChanged, this, [this] { search_.FindRestart = true; });
}

void FindDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    search_.FindRestart = true;
    edit1_->setFocus();
    edit1_->selectAll();
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit1_ && event->type() == QEvent::FocusIn)
        edit1_->selectAll();
    return QDialog::eventFilter(watched, event);
}

void FindDialog::Button1Click()
{
    if (edit1_->text().isEmpty()) {
        edit1_->setFocus();
        return;
    }
    button1_->setFocus();
    const int found = [this] {
        BusyCursor busy;
        return SearchAndSelect();
    }();
    if (found != FontList::kNone)
        view_.MakeVisible(found);
    else
        ReportNotFound();
}

int FindDialog::SearchAndSelect()
{
    FontList& list = view_.List();
    FontListUpdate update(list);
    const int found = search_.Next(list, edit1_->text());
    if (found != FontList::kNone) {
        list.DeselectAll();
        list.SetSelected(found, true);
    }
    return found;
}

void FindDialog::ReportNotFound()
{
    QMessageBox::information(
        this, kProductTitle, u'"' + edit1_->text() + QStringLiteral("\"が見つかりません．"));
    edit1_->setFocus();
    edit1_->selectAll();
}

} // namespace tz
