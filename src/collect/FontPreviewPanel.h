#pragma once
// TForm12: the font preview panel at the right edge of the add dialog. While
// "プレビュー(&P)" is checked, every change of the dialog's current file draws
// that file's family name and sample; the check box starts unchecked and the
// installed-font list is read afresh each time a panel is made.
#include "collect/FontPreview.h"

#include <QImage>
#include <QWidget>

class QCheckBox;
class QFileDialog;
class QLabel;

namespace tz {

class SampleTextSet;

class FontPreviewPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kDesignedSize { 147, 249 };
    static constexpr QSize kImageSize { 105, 153 };

    // Attaches the panel to the right of dialog (a non-native file dialog);
    // texts are the sample texts in force, read at every drawing; formats:
    // the font files read.
    FontPreviewPanel(QFileDialog& dialog, const SampleTextSet& texts, FontFormats formats = FontFormats::Designed);

    // Redraws the panel for the file at path: blank unless the check box is
    // checked and the path names a font file.
    void UpdatePreview(const QString& path);

private:
    void COpenDialog0SelectionChange(const QString& path);
    void chkEnablePreviewClick();

    const SampleTextSet& texts_;
    FontPreview preview_;
    QCheckBox* chkEnablePreview_ = nullptr;
    QLabel* Image1_ = nullptr;
    QLabel* lblFaceName_ = nullptr;
    QImage canvas_;
    QString currentFile_;
};

} // namespace tz
