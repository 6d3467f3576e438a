#include "pagesetup/PaperDiagram.h"

#include "viewer/PageGeometry.h"

#include <QLabel>

namespace tz {

namespace {

    constexpr int kGuideInset = 32;
    constexpr int kLabelInset = 8;

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
    SetOrientation(kPortrait);
    ShowGuide(kFieldTop);
}

void PaperDiagram::SetOrientation(int orientation)
{
    if (orientation == kLandscape)
        paper_->setGeometry(8, 29, 177, 137);
    else
        paper_->setGeometry(29, 8, 137, 177);
    ShowGuide(field_);
}

void PaperDiagram::SetBinding(int binding)
{
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

void PaperDiagram::ShowGuide(int field)
{
    field_ = field;
    const QRect outline = paper_->geometry();
    const bool horizontal = field == kFieldTop || field == kFieldBottom;
    switch (field) {
    case kFieldTop:
        guideHorizontal_->setGeometry(0, outline.y() + kGuideInset, kSide, 1);
        break;
    case kFieldBottom:
        guideHorizontal_->setGeometry(0, outline.y() + outline.height() - kGuideInset, kSide, 1);
        break;
    case kFieldLeft:
        guideVertical_->setGeometry(outline.x() + kGuideInset, 0, 1, kSide);
        break;
    default:
        guideVertical_->setGeometry(outline.x() + outline.width() - kGuideInset, 0, 1, kSide);
        break;
    }
    guideHorizontal_->setVisible(horizontal);
    guideVertical_->setVisible(!horizontal);
}

} // namespace tz
