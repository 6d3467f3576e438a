#include "viewer/PrintInfoWindow.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tz {

namespace {

    // The window opens at least this large, as it always has.
    constexpr QSize kSmallest(320, 159);

} // namespace

PrintInfoWindow::PrintInfoWindow(QWidget* parent)
    : QDialog(parent)
    , memo_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("印刷時の情報"));
    resize(kSmallest);
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
    resize(SizeFor(text));
    exec();
}

QSize PrintInfoWindow::SizeFor(const QString& text) const
{
    const QFontMetrics metrics(memo_->font());
    const QStringList lines = text.split(u'\n');
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    // The text's own margin and the frame on both sides; one more pixel for the cursor.
    const int border = 2 * (int(memo_->document()->documentMargin()) + memo_->frameWidth()) + 1;
    QSize wanted(widest + border + memo_->verticalScrollBar()->sizeHint().width(),
        int(lines.size()) * metrics.lineSpacing() + border);
    // Never beyond the screen: a longer log scrolls.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() * 9 / 10 : wanted;
    if (wanted.width() > room.width())
        wanted.rheight() += memo_->horizontalScrollBar()->sizeHint().height();
    return wanted.boundedTo(room).expandedTo(kSmallest);
}

QString PrintInfoWindow::Text() const { return memo_->toPlainText(); }

} // namespace tz
