#pragma once
// The open dialog of font list files (COpenDialog1): a file dialog with the
// panel TForm11 at its bottom holding the drive-letter check box, which starts
// unchecked every time the dialog is made.
#include <QFileDialog>

class QCheckBox;

namespace tz {

class ListOpenDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit ListOpenDialog(QWidget* parent);

    // The file chosen, empty when none was.
    QString ChosenFile() const;
    // "ドライブレターを無視する": re-base the rows on the list file's drive.
    bool IgnoreDriveLetter() const;

private:
    QCheckBox* driveLetter_ = nullptr;
};

} // namespace tz
