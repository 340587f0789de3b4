// The numeric control: a spin box that shows the model's value in the control's format and hands
// what the operator does back as commits, the way an instrument panel expects: Enter commits the typed
// value, leaving the field commits an edit, and each arrow step commits at once.
#ifndef QM_UI_QT_NUMERIC_BOX_H
#define QM_UI_QT_NUMERIC_BOX_H

#include <QAbstractSpinBox>
#include <functional>

#include "ui/model.h"

namespace qmqt {

class NumericBox : public QAbstractSpinBox {
  public:
    explicit NumericBox(QWidget* parent);

    // Copies what the box needs from the model: value, range, increment, format, mode.
    void setModel(const ui::Control& c);
    double shownValue() const { return value_; }

    // Called with the value the operator asks for; the model decides what it becomes.
    std::function<void(double)> onCommit;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

  protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void commitTyped(bool always);
    void showValue();

    ui::Control look_;  // format-relevant copy: type, precision, format, range (no graph/grid data)
    double value_ = 0;
};

}  // namespace qmqt

#endif
