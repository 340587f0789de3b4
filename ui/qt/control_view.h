// One control of a panel on screen. A ControlView owns the widget(s) that draw one model control, brings
// them up to date from the model when the run-time reports a change, and turns what the operator does
// with them into the run-time's gestures (ui::user...), so the control's callback receives the event
// with its own panel and control.
#ifndef QM_UI_QT_CONTROL_VIEW_H
#define QM_UI_QT_CONTROL_VIEW_H

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "ui/model.h"

namespace qmqt {

class QtFrontend;

class ControlView : public QObject {
  public:
    ControlView(QtFrontend& frontend, int panel, int control, QWidget* canvas);
    ~ControlView() override;

    int panel() const { return panel_; }
    int control() const { return control_; }
    QWidget* body() const { return body_; }
    QLabel* labelWidget() const { return label_; }

    // Brings the widgets up to date; `what` holds ui::Change bits.
    void sync(const ui::Control& c, unsigned what);

    // Hides the widgets and schedules their deletion (the control left the model).
    void retire();

    // Does the redraw work put off with QtFrontend::requestFlush.
    virtual void flush() {}

    // Builds the view that fits the control's kind.
    static ControlView* create(QtFrontend& frontend, int panel, const ui::Control& c, QWidget* canvas);

  protected:
    // Drops every pointer into the model (the control is leaving it); the widgets may still paint once.
    virtual void forget() {}
    // Kind-specific part of sync; the common part (geometry, visibility, dimming, label, tool tip)
    // has run already.
    virtual void syncKind(const ui::Control& c, unsigned what) = 0;
    // Where the label goes; by default above the body, left-aligned.
    virtual bool hasOwnLabel() const { return false; }
    virtual void placeLabel(const ui::Control& c);
    virtual QRect bodyGeometry(const ui::Control& c) const;

    // Installs the body and routes its right clicks and double clicks to the run-time.
    void setBody(QWidget* w);
    // Makes a gesture against the run-time, then shows what the model holds afterwards (the callback
    // may have coerced, rejected or rewritten the value). Safe when the callback discards this view.
    void gesture(const std::function<int(int panel, int control)>& call);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QtFrontend& frontend_;
    const int panel_;
    const int control_;
    QPointer<QWidget> canvas_;
    QPointer<QWidget> body_;
    QPointer<QLabel> label_;
    bool syncing_ = false;  // set while model state is pushed into widgets: their signals are not gestures
};

}  // namespace qmqt

#endif
