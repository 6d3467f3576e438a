#include "collect/FontPreviewPanel.h"

#include "platform/FontSubstitutes.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace tz {

FontPreviewPanel::FontPreviewPanel(QFileDialog& dialog, const SampleTextSet& texts, FontFormats formats)
    : QWidget(&dialog)
    , texts_(texts)
    , preview_(formats)
{
    setObjectName(QStringLiteral("TForm12"));
    setFont(QFont(kProportionalGothicFace, 9));
    setMinimumSize(kDesignedSize);

    // A raised-and-lowered bevel (137 x 221 at the designed size) holding the
    // controls at their designed places; it grows with the dialog.
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Raised);
    bevel->setMinimumSize(137, 221);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(5, 5, 5, 5);
    outer->addWidget(bevel);

    chkEnablePreview_ = new QCheckBox(QStringLiteral("プレビュー(&P)"), bevel);
    chkEnablePreview_->setObjectName(QStringLiteral("chkEnablePreview"));
    chkEnablePreview_->setGeometry(16, 8, 97, 17);
    Image1_ = new QLabel(bevel);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setGeometry(QRect(QPoint(16, 32), kImageSize));
    lblFaceName_ = new QLabel(bevel);
    lblFaceName_->setObjectName(QStringLiteral("lblFaceName"));
    lblFaceName_->setGeometry(8, 192, 121, 17);
    lblFaceName_->setTextFormat(Qt::PlainText);

    // The image keeps the screen's resolution, so 48 points convert as on screen.
    canvas_ = QImage(kImageSize, QImage::Format_RGB32);
    canvas_.setDotsPerMeterX(qRound(Image1_->logicalDpiX() / 0.0254));
    canvas_.setDotsPerMeterY(qRound(Image1_->logicalDpiY() / 0.0254));
    canvas_.fill(Qt::white);
    Image1_->setPixmap(QPixmap::fromImage(canvas_));

    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(this, 0, grid->columnCount(), grid->rowCount(), 1);
    else if (dialog.layout())
        dialog.layout()->addWidget(this);
    connect(&dialog, &QFileDialog::currentChanged, this, &FontPreviewPanel::COpenDialog0SelectionChange);
    connect(chkEnablePreview_, &QCheckBox::clicked, this, &FontPreviewPanel::chkEnablePreviewClick);
}

void FontPreviewPanel::COpenDialog0SelectionChange(const QString& path)
{
    currentFile_ = path;
    if (!path.isEmpty())
        UpdatePreview(path);
}

void FontPreviewPanel::chkEnablePreviewClick() { UpdatePreview(currentFile_); }

void FontPreviewPanel::UpdatePreview(const QString& path)
{
    canvas_.fill(Qt::white);
    lblFaceName_->setText(chkEnablePreview_->isChecked() ? preview_.Draw(canvas_, path, texts_) : QString());
    Image1_->setPixmap(QPixmap::fromImage(canvas_));
}

} // namespace tz
