#include "pagesetup/MarginField.h"

#include "pagesetup/PageSetup.h"

#include <QLineEdit>

namespace tz {

MarginField::MarginField(QWidget* parent)
    : QDoubleSpinBox(parent)
{
    setLocale(QLocale::c());
    setDecimals(1);
    setRange(0.0, 99.9);
    setSingleStep(0.1);
    setSuffix(QStringLiteral(" cm"));
    setAccelerated(false);
    // The input method stays off; full-width digits that still arrive (pasted) are taken as digits.
    lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly | Qt::ImhPreferLatin);
}

QValidator::State MarginField::validate(QString& input, int& pos) const
{
    ToAsciiDigits(input);
    return QDoubleSpinBox::validate(input, pos);
}

void MarginField::stepBy(int steps)
{
    emit Entered();
    QDoubleSpinBox::stepBy(steps);
}

void MarginField::focusInEvent(QFocusEvent* event)
{
    QDoubleSpinBox::focusInEvent(event);
    emit Entered();
}

} // namespace tz
