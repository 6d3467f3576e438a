#pragma once
// The paper diagram of the margin page: the sheet's outline for the
// orientation, the red guide line of the margin being edited and the gutter
// and fore-edge labels of the binding.
#include <QFrame>

class QLabel;

namespace tz {

// Margin field identifiers, as the guide line takes them.
enum MarginFieldId { kFieldTop = 1, kFieldBottom = 2, kFieldLeft = 3, kFieldRight = 4 };

class PaperDiagram : public QFrame {
    Q_OBJECT
public:
    static constexpr int kSide = 193;

    explicit PaperDiagram(QWidget* parent = nullptr);

    void SetOrientation(int orientation);
    void SetBinding(int binding);
    // Moves the guide line to the margin of the field (MarginFieldId).
    void ShowGuide(int field);

private:
    QFrame* paper_;
    QFrame* guideHorizontal_;
    QFrame* guideVertical_;
    QLabel* gutter_;
    QLabel* foreEdge_;
    int field_ = kFieldTop;
};

} // namespace tz
