#pragma once
// The frame of a settings dialog: its tab pages above a right-aligned row of
// "OK" (the default button, accepts) and "キャンセル" (rejects).
#include <QPushButton>

class QDialog;
class QTabWidget;

namespace tz {

struct DialogButtons {
    QPushButton* ok = nullptr;     // btnOK
    QPushButton* cancel = nullptr; // btnCancel
};

DialogButtons LayOutSettingsDialog(QDialog& dialog, QTabWidget* tabs);

} // namespace tz
