// Painted widgets for the control kinds Qt has no counterpart for: the round LED, the two-position
// binary switch and the frame decoration.
#ifndef QM_UI_QT_WIDGETS_H
#define QM_UI_QT_WIDGETS_H

#include <QAbstractButton>
#include <QColor>
#include <QWidget>
#include <functional>

namespace qmqt {

// A round indicator lamp: the boot, capture, reference-lock and overload states of the module.
class LedWidget : public QWidget {
  public:
    explicit LedWidget(QWidget* parent);
    void setState(bool on, const QColor& onColor, const QColor& offColor);
    bool isOn() const { return on_; }
    QColor shownColor() const { return on_ ? onColor_ : offColor_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool on_ = false;
    QColor onColor_ = Qt::green;
    QColor offColor_ = Qt::lightGray;
};

// A toggle with its two position texts (for example "IF" and "RF", "Above" and "Below"). A click asks
// for the other position through `onToggle`; the shown position follows the model only.
class SwitchWidget : public QAbstractButton {
  public:
    explicit SwitchWidget(QWidget* parent);
    void setState(bool on, const QString& onText, const QString& offText);
    bool isOn() const { return on_; }
    std::function<void(bool wantOn)> onToggle;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void nextCheckState() override {}

  private:
    bool on_ = false;
    QString onText_, offText_;
};

// A box decoration, optionally with a group title on its top edge.
class FrameWidget : public QWidget {
  public:
    explicit FrameWidget(QWidget* parent);
    void setLook(const QColor& frame, const QString& title);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor frame_ = Qt::gray;
    QString title_;
};

}  // namespace qmqt

#endif
