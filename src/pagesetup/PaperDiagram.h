#pragma once
// The paper diagram of the margin page: the sheet's outline in the paper's
// proportions for the orientation, the red guide line of the margin being
// edited, drawn to scale, and the gutter and fore-edge labels of the binding.
#include <QFrame>
#include <QSizeF>
#include <array>

class QLabel;

namespace tz {

// Margin field identifiers, as the guide line takes them.
enum MarginFieldId { kFieldTop = 1, kFieldBottom = 2, kFieldLeft = 3, kFieldRight = 4 };

class PaperDiagram : public QFrame {
    Q_OBJECT
public:
    static constexpr int kSide = 193;
    // The outline's longer side, whatever the paper.
    static constexpr int kLongSide = 177;

    explicit PaperDiagram(QWidget* parent = nullptr);

    // The sheet in millimetres, width and height of the portrait sheet.
    void SetPaper(QSizeF portraitMillimetres, int orientation);
    void SetOrientation(int orientation);
    void SetBinding(int binding);
    // The margin of a field (MarginFieldId) in centimetres.
    void SetMargin(int field, double centimetres);
    // Moves the guide line to the margin of the field (MarginFieldId).
    void ShowGuide(int field);

private:
    void LayOutPaper();
    // The margin of a field in outline pixels, at most the outline's extent.
    int MarginPixels(int field) const;

    QFrame* paper_;
    QFrame* guideHorizontal_;
    QFrame* guideVertical_;
    QLabel* gutter_;
    QLabel* foreEdge_;
    QSizeF paperMillimetres_;
    int orientation_;
    int binding_;
    std::array<double, 4> margins_ {}; // centimetres, by MarginFieldId - 1
    int field_ = kFieldTop;
};

} // namespace tz
