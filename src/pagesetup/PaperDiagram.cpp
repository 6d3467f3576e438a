#include "pagesetup/PaperDiagram.h"

#include "page/PageGeometry.h"

#include <QLabel>
#include <algorithm>

namespace tz {

namespace {

    constexpr int kLabelInset = 8;
    // Until told otherwise the sheet is A4.
    constexpr QSizeF kA4Millimetres(210, 297);

    QFrame* MakeGuide(QWidget* parent, const char* name)
    {
        auto* guide = new QFrame(parent);
        guide->setObjectName(QLatin1String(name));
        guide->setAutoFillBackground(true);
        QPalette palette = guide->palette();
        palette.setColor(QPalette::Window, Qt::red);
        guide->setPalette(palette);
        return guide;
    }

    QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text)
    {
        auto* label = new QLabel(text, parent);
        label->setObjectName(QLatin1String(name));
        label->hide();
        return label;
    }

} // namespace

PaperDiagram::PaperDiagram(QWidget* parent)
    : QFrame(parent)
    , paper_(new QFrame(this))
    , guideHorizontal_(MakeGuide(this, "shpGuideH"))
    , guideVertical_(MakeGuide(this, "shpGuideV"))
    , gutter_(MakeLabel(this, "lblGutter", QStringLiteral("ノド")))
    , foreEdge_(MakeLabel(this, "lblForeEdge", QStringLiteral("小口")))
    , paperMillimetres_(kA4Millimetres)
    , orientation_(kPortrait)
    , binding_(kBindNone)
{
    setObjectName(QStringLiteral("pnlPaper"));
    setFixedSize(kSide, kSide);
    setFrameShape(QFrame::StyledPanel);
    paper_->setObjectName(QStringLiteral("shpPaper"));
    paper_->setFrameShape(QFrame::Box);
    paper_->setAutoFillBackground(true);
    QPalette palette = paper_->palette();
    palette.setColor(QPalette::Window, Qt::white);
    paper_->setPalette(palette);
    gutter_->raise();
    foreEdge_->raise();
    LayOutPaper();
}

void PaperDiagram::SetPaper(QSizeF portraitMillimetres, int orientation)
{
    if (portraitMillimetres.width() > 0 && portraitMillimetres.height() > 0)
        paperMillimetres_ = portraitMillimetres;
    orientation_ = orientation;
    LayOutPaper();
}

void PaperDiagram::SetOrientation(int orientation) { SetPaper(paperMillimetres_, orientation); }

void PaperDiagram::LayOutPaper()
{
    // The longer side keeps its length; the shorter one follows the paper.
    const double longer = std::max(paperMillimetres_.width(), paperMillimetres_.height());
    const double shorter = std::min(paperMillimetres_.width(), paperMillimetres_.height());
    const int across = qRound(kLongSide * shorter / longer);
    const int inset = (kSide - kLongSide) / 2;
    if (orientation_ == kLandscape)
        paper_->setGeometry(inset, (kSide - across + 1) / 2, kLongSide, across);
    else
        paper_->setGeometry((kSide - across + 1) / 2, inset, across, kLongSide);
    SetBinding(binding_);
    ShowGuide(field_);
}

void PaperDiagram::SetBinding(int binding)
{
    binding_ = binding;
    const QRect outline = paper_->geometry();
    const int height = gutter_->sizeHint().height();
    const int left = outline.x() + kLabelInset;
    const int width = outline.width() - 2 * kLabelInset;
    gutter_->setVisible(binding != kBindNone);
    foreEdge_->setVisible(binding != kBindNone);
    if (binding == kBindTop) {
        gutter_->setAlignment(Qt::AlignCenter);
        foreEdge_->setAlignment(Qt::AlignCenter);
        gutter_->setGeometry(left, outline.y() + kLabelInset, width, height);
        foreEdge_->setGeometry(left, outline.y() + outline.height() - height - kLabelInset, width, height);
    } else if (binding == kBindLeft) {
        const int top = outline.y() + (outline.height() - height) / 2;
        gutter_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        foreEdge_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        gutter_->setGeometry(left, top, width, height);
        foreEdge_->setGeometry(left, top, width, height);
    }
}

void PaperDiagram::SetMargin(int field, double centimetres)
{
    margins_.at(std::size_t(field - kFieldTop)) = centimetres;
    if (field == field_)
        ShowGuide(field_);
}

int PaperDiagram::MarginPixels(int field) const
{
    const QRect outline = paper_->geometry();
    const bool vertical = field == kFieldTop || field == kFieldBottom;
    const bool landscape = orientation_ == kLandscape;
    // The sheet's extent across the margin as it lies: its height for top
    // and bottom margins, its width for left and right ones.
    const double sheet = vertical == landscape ? std::min(paperMillimetres_.width(), paperMillimetres_.height())
                                               : std::max(paperMillimetres_.width(), paperMillimetres_.height());
    const int extent = vertical ? outline.height() : outline.width();
    const double millimetres = margins_.at(std::size_t(field - kFieldTop)) * 10.0;
    return std::min(qRound(extent * millimetres / sheet), extent);
}

void PaperDiagram::ShowGuide(int field)
{
    field_ = field;
    const QRect outline = paper_->geometry();
    const bool horizontal = field == kFieldTop || field == kFieldBottom;
    const int inset = MarginPixels(field);
    switch (field) {
    case kFieldTop:
        guideHorizontal_->setGeometry(0, outline.y() + inset, kSide, 1);
        break;
    case kFieldBottom:
        guideHorizontal_->setGeometry(0, outline.y() + outline.height() - inset, kSide, 1);
        break;
    case kFieldLeft:
        guideVertical_->setGeometry(outline.x() + inset, 0, 1, kSide);
        break;
    default:
        guideVertical_->setGeometry(outline.x() + outline.width() - inset, 0, 1, kSide);
        break;
    }
    guideHorizontal_->setVisible(horizontal);
    guideVertical_->setVisible(!horizontal);
}

} // namespace tz
