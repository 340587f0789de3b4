#include "control_view.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFontMetrics>
#include <algorithm>

#include "control_kinds.h"
#include "qt_util.h"

namespace qmqt {

ControlView::ControlView(QtFrontend& frontend, int panel, int control, QWidget* canvas)
    : frontend_(frontend), panel_(panel), control_(control), canvas_(canvas) {}

ControlView::~ControlView() {
    if (body_) body_->deleteLater();
    if (label_) label_->deleteLater();
}

void ControlView::retire() {
    forget();
    if (body_) body_->hide();
    if (label_) label_->hide();
    deleteLater();
}

ControlView* ControlView::create(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    switch (c.kind) {
        case ui::Kind::Numeric:
            return makeNumericView(fe, panel, c, canvas);
        case ui::Kind::Ring:
            return makeRingView(fe, panel, c, canvas);
        case ui::Kind::BinarySwitch:
            return makeSwitchView(fe, panel, c, canvas);
        case ui::Kind::CheckBox:
            return makeCheckBoxView(fe, panel, c, canvas);
        case ui::Kind::Led:
            return makeLedView(fe, panel, c, canvas);
        case ui::Kind::TextMsg:
            return makeTextMsgView(fe, panel, c, canvas);
        case ui::Kind::String:
            return makeStringView(fe, panel, c, canvas);
        case ui::Kind::TextBox:
            return makeTextBoxView(fe, panel, c, canvas);
        case ui::Kind::Button:
            return makeButtonView(fe, panel, c, canvas);
        case ui::Kind::ListBox:
            return makeListView(fe, panel, c, canvas);
        case ui::Kind::Grid:
            return makeGridView(fe, panel, c, canvas);
        case ui::Kind::Graph:
            return makeGraphView(fe, panel, c, canvas);
        case ui::Kind::Tab:
            return makeTabView(fe, panel, c, canvas);
        case ui::Kind::Picture:
            return makePictureView(fe, panel, c, canvas);
        case ui::Kind::Frame:
            return makeFrameView(fe, panel, c, canvas);
    }
    return nullptr;
}

void ControlView::setBody(QWidget* w) {
    body_ = w;
    w->installEventFilter(this);
    for (QWidget* child : w->findChildren<QWidget*>()) child->installEventFilter(this);
}

QRect ControlView::bodyGeometry(const ui::Control& c) const {
    return QRect(c.left, c.top, std::max(1, c.width), std::max(1, c.height));
}

void ControlView::placeLabel(const ui::Control& c) {
    const QFontMetrics fm(label_->font());
    const QString text = label_->text();
    const QRect br = fm.boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft | Qt::AlignTop, text);
    const int h = br.height();
    label_->setGeometry(c.left, c.top - h - 1, std::max(c.width, br.width() + 4), h);
}

void ControlView::sync(const ui::Control& c, unsigned what) {
    if (!body_) return;
    syncing_ = true;
    const QRect g = bodyGeometry(c);
    if (body_->geometry() != g) body_->setGeometry(g);
    if (body_->isEnabled() == c.dimmed) body_->setEnabled(!c.dimmed);
    const QString tip = c.toolTipEnabled ? lineBreaks(c.toolTip) : QString();
    if (body_->toolTip() != tip) body_->setToolTip(tip);

    if (!hasOwnLabel()) {
        const bool wantLabel = c.labelVisible && !c.label.empty();
        if (wantLabel && !label_ && canvas_) {
            label_ = new QLabel(canvas_);
            label_->setAttribute(Qt::WA_TransparentForMouseEvents);
            label_->show();
        }
        if (label_) {
            const QString text = lineBreaks(c.label).replace(QLatin1String("__"), QString());
            if (label_->text() != text) label_->setText(text);
            label_->setEnabled(!c.dimmed);
            placeLabel(c);
            label_->setVisible(wantLabel && c.visible);
        }
    }
    syncKind(c, what);
    if (body_->isHidden() == c.visible) body_->setVisible(c.visible);
    syncing_ = false;
}

void ControlView::gesture(const std::function<int(int, int)>& call) {
    if (syncing_) return;
    QPointer<ControlView> self(this);
    const int p = panel_, id = control_;
    call(p, id);
    if (!self) return;
    if (const ui::Control* m = ui::findControl(p, id)) self->sync(*m, ui::ChValue | ui::ChAttributes);
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ContextMenu:
            // A right click belongs to the control's callback (it opens the step-size dialogs), not to
            // a toolkit context menu.
            gesture([](int p, int c) { return ui::userRightClick(p, c); });
            return true;
        case QEvent::MouseButtonDblClick:
            gesture([](int p, int c) { return ui::userDoubleClick(p, c); });
            return false;
        case QEvent::ChildAdded:
            // Widgets that build their parts late (scroll-area viewports, editors) get the same routing.
            if (auto* ce = static_cast<QChildEvent*>(event); ce->child()->isWidgetType())
                ce->child()->installEventFilter(this);
            return false;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace qmqt
