#include "viewer/PrintInfoWindow.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tz {

PrintInfoWindow::PrintInfoWindow(QWidget* parent)
    : QDialog(parent)
    , memo_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("印刷時の情報"));
    resize(320, 159);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The text lies on the button face, like the rest of a dialog.
    QPalette palette = memo_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    memo_->setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo_);
}

void PrintInfoWindow::ShowText(const QString& text)
{
    memo_->setPlainText(text);
    exec();
}

QString PrintInfoWindow::Text() const { return memo_->toPlainText(); }

} // namespace tz
