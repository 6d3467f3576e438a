#pragma once
// The print-information window: the generation log of a print run, shown
// after the run when it holds a line, in a window large enough for its lines.
#include <QDialog>

class QPlainTextEdit;

namespace tz {

class PrintInfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit PrintInfoWindow(QWidget* parent = nullptr);

    // Puts the whole text in the window and shows it modally.
    void ShowText(const QString& text);
    QString Text() const;

private:
    // A window size that shows every line of the text, within the screen.
    QSize SizeFor(const QString& text) const;

    QPlainTextEdit* memo_;
};

} // namespace tz
