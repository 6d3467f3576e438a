#pragma once
// A margin in centimetres: two integer digits and one decimal, no sign, the
// unit "cm", full-width digits taken as digits. Its arrows step by 0.1 and
// never go below 0.0.
#include <QDoubleSpinBox>

namespace tz {

class MarginField : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit MarginField(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

signals:
    // The field got the focus or its arrows were used.
    void Entered();

protected:
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace tz
