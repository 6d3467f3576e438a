#pragma once
#include <QDialog>

namespace tz {

// A window of the creation list whose content comes with its own subsystem:
// it exists from start-up with its name and caption.
class ShellWindow : public QDialog {
    Q_OBJECT
public:
    ShellWindow(const QString& name, const QString& caption, QWidget* parent)
        : QDialog(parent)
    {
        setObjectName(name);
        setWindowTitle(caption);
    }
};

} // namespace tz
