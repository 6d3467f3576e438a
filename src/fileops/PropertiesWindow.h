#pragma once
// TForm7: the summary of the selected fonts' files: how many faces and files,
// their size, and whether archives are among them.
#include "fileops/SelectionSummary.h"

#include <QDialog>

class QLabel;

namespace tz {

class PropertiesWindow : public QDialog {
    Q_OBJECT
public:
    explicit PropertiesWindow(QWidget* parent = nullptr);

    // Fills the labels from summary.
    void Fill(const SelectionSummary& summary);
    // Fills the labels, centres the window over over and shows it modally.
    void ShowSummary(const SelectionSummary& summary, const QWidget* over);

private:
    QLabel* lblFontCount_;
    QLabel* lblFileCount_;
    QLabel* lblFileSize_;
    QLabel* lblFileSizeByte_;
    QLabel* archiveNote_;
};

} // namespace tz
