#include "numeric_box.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

#include "qt_util.h"

namespace qmqt {

NumericBox::NumericBox(QWidget* parent) : QAbstractSpinBox(parent) {
    setKeyboardTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void NumericBox::setModel(const ui::Control& c) {
    look_.type = c.type;
    look_.precision = c.precision;
    look_.format = c.format;
    look_.minValue = c.minValue;
    look_.maxValue = c.maxValue;
    look_.increment = c.increment;
    look_.coerce = c.coerce;
    look_.mode = c.mode;
    const bool indicator = c.mode == VAL_INDICATOR;
    setReadOnly(indicator);
    setButtonSymbols(indicator ? QAbstractSpinBox::NoButtons : QAbstractSpinBox::UpDownArrows);
    value_ = c.number;
    showValue();
}

void NumericBox::showValue() {
    const QString text = formatNumber(look_, value_);
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void NumericBox::stepBy(int steps) {
    if (isReadOnly() || !onCommit) return;
    // A step always starts from what is typed, so an operator who types 100 and presses the up arrow
    // gets 100 plus one increment rather than the old value plus one.
    double base = value_;
    double typed = 0;
    if (parseNumber(look_, lineEdit()->text(), &typed)) base = typed;
    double v = base + steps * look_.increment;
    if (look_.coerce) v = std::clamp(v, look_.minValue, look_.maxValue);
    onCommit(v);
}

QAbstractSpinBox::StepEnabled NumericBox::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    if (!look_.coerce) return StepUpEnabled | StepDownEnabled;
    StepEnabled e = StepNone;
    if (value_ < look_.maxValue) e |= StepUpEnabled;
    if (value_ > look_.minValue) e |= StepDownEnabled;
    return e;
}

QValidator::State NumericBox::validate(QString& input, int&) const {
    static const QRegularExpression hexPartial(QStringLiteral("^\\s*(0[xX])?[0-9a-fA-F]*\\s*$"));
    static const QRegularExpression decPartial(QStringLiteral("^\\s*[+-]?\\d*\\.?\\d*([eE][+-]?\\d*)?\\s*$"));
    const bool hex = look_.format == VAL_HEX_FORMAT;
    if (!(hex ? hexPartial : decPartial).match(input).hasMatch()) return QValidator::Invalid;
    double v = 0;
    return parseNumber(look_, input, &v) ? QValidator::Acceptable : QValidator::Intermediate;
}

void NumericBox::commitTyped(bool always) {
    double v = 0;
    if (!parseNumber(look_, lineEdit()->text(), &v)) {
        showValue();  // nothing usable was typed: the field shows the control's value again
        return;
    }
    const bool edited = lineEdit()->text() != formatNumber(look_, value_);
    if ((always || edited) && onCommit) onCommit(v);
}

void NumericBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!isReadOnly()) commitTyped(true);
            lineEdit()->selectAll();
            event->accept();
            return;
        case Qt::Key_Escape:
            showValue();
            event->accept();
            return;
        default:
            QAbstractSpinBox::keyPressEvent(event);
    }
}

void NumericBox::focusOutEvent(QFocusEvent* event) {
    if (!isReadOnly()) commitTyped(false);
    QAbstractSpinBox::focusOutEvent(event);
}

void NumericBox::wheelEvent(QWheelEvent* event) {
    // Scrolling the panel must not turn the dials under the pointer.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QAbstractSpinBox::wheelEvent(event);
}

}  // namespace qmqt
