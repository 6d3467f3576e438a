#pragma once
#include <QDialog>

namespace tz {

// The about box TAboutDlg.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 1220;
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace tz
