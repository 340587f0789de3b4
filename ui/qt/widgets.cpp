#include "widgets.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace qmqt {

LedWidget::LedWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void LedWidget::setState(bool on, const QColor& onColor, const QColor& offColor) {
    if (on == on_ && onColor == onColor_ && offColor == offColor_) return;
    on_ = on;
    onColor_ = onColor;
    offColor_ = offColor;
    update();
}

void LedWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = std::max(4, std::min(width(), height()) - 2);
    const QRectF r((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    QColor base = shownColor();
    if (!isEnabled()) base = base.lighter(130);
    // A highlight towards the upper left makes the lamp read as lit glass rather than a flat dot.
    QRadialGradient g(r.center() - QPointF(d / 5.0, d / 5.0), d * 0.7);
    g.setColorAt(0, base.lighter(160));
    g.setColorAt(0.6, base);
    g.setColorAt(1, base.darker(140));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.drawEllipse(r);
}

SwitchWidget::SwitchWidget(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (onToggle) onToggle(!on_);
    });
}

void SwitchWidget::setState(bool on, const QString& onText, const QString& offText) {
    if (on == on_ && onText == onText_ && offText == offText_) return;
    on_ = on;
    onText_ = onText;
    offText_ = offText;
    update();
}

void SwitchWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor text = isEnabled() ? palette().color(QPalette::WindowText) : QColor(0x80, 0x80, 0x80);
    const QColor idle(0x90, 0x90, 0x90);
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    const bool vertical = height() > width() + 8;
    const double tw =
        vertical ? std::min(16.0, width() - 2.0) : std::min(30.0, std::max(16.0, width() / 3.0));
    const double th = vertical ? std::min(30.0, height() / 3.0) : std::min(16.0, height() - 2.0);
    // Both position texts beside the track when they fit; otherwise the track at the left and only the
    // selected position's text after it, so a narrow switch still reads "Above" or "Below".
    const int offW = fm.horizontalAdvance(offText_), onW = fm.horizontalAdvance(onText_);
    const bool both = vertical || offW + onW + tw + 10 <= width();
    QRectF track, offArea, onArea;
    if (vertical) {
        track = QRectF((width() - tw) / 2, (height() - th) / 2, tw, th);
        onArea = QRectF(0, 0, width(), track.top());
        offArea = QRectF(0, track.bottom(), width(), height() - track.bottom());
    } else if (both) {
        const double left = std::max(0.0, (width() - (offW + onW + tw + 10)) / 2.0) + offW + 5;
        track = QRectF(left, (height() - th) / 2, tw, th);
        offArea = QRectF(0, 0, track.left() - 4, height());
        onArea = QRectF(track.right() + 4, 0, width() - track.right() - 4, height());
    } else {
        // A slimmer pill leaves the text its room.
        const double nh = std::min(12.0, height() - 2.0);
        track = QRectF(1, (height() - nh) / 2, std::min(tw, 22.0), nh);
        onArea = offArea = QRectF(track.right() + 3, 0, width() - track.right() - 3, height());
    }
    const double radius = std::min(track.width(), track.height()) / 2;
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
    QColor fill = on_ ? QColor(0x40, 0x70, 0xC0) : QColor(0xB0, 0xB0, 0xB0);
    if (!isEnabled()) fill = fill.lighter(120);
    p.setBrush(fill);
    p.drawRoundedRect(track, radius, radius);
    const double k = std::min(track.width(), track.height()) - 4;
    QPointF knob;
    if (vertical)
        knob = QPointF(track.center().x(), on_ ? track.top() + 2 + k / 2 : track.bottom() - 2 - k / 2);
    else
        knob = QPointF(on_ ? track.right() - 2 - k / 2 : track.left() + 2 + k / 2, track.center().y());
    p.setBrush(QColor(0xF4, 0xF4, 0xF4));
    p.drawEllipse(knob, k / 2, k / 2);

    // The selected position's text is drawn bold and dark so the setting reads at a glance.
    auto drawText = [&](const QRectF& area, const QString& s, bool active, int align) {
        p.setFont(active ? bold : font());
        p.setPen(active ? text : idle);
        p.drawText(area, align | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(s, Qt::ElideRight, static_cast<int>(area.width())));
    };
    if (vertical) {
        drawText(onArea, onText_, on_, Qt::AlignHCenter | Qt::AlignBottom);
        drawText(offArea, offText_, !on_, Qt::AlignHCenter | Qt::AlignTop);
    } else if (both) {
        drawText(offArea, offText_, !on_, Qt::AlignRight | Qt::AlignVCenter);
        drawText(onArea, onText_, on_, Qt::AlignLeft | Qt::AlignVCenter);
    } else {
        // Regular weight: the one text has the room to itself and must fit whole.
        p.setFont(font());
        p.setPen(text);
        const QString s = on_ ? onText_ : offText_;
        p.drawText(onArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(s, Qt::ElideRight, static_cast<int>(onArea.width())));
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

FrameWidget::FrameWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
}

void FrameWidget::setLook(const QColor& frame, const QString& title) {
    frame_ = frame;
    title_ = title;
    update();
}

void FrameWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int titleHeight = title_.isEmpty() ? 0 : p.fontMetrics().height() / 2;
    QRect box = rect().adjusted(0, titleHeight, -1, -1);
    // A frame of height or width 1 or 2 is a rule line; anything larger is a box.
    if (height() <= 2 || width() <= 2) {
        p.fillRect(rect(), frame_);
        return;
    }
    p.setPen(QPen(frame_, 1));
    p.drawRect(box);
    p.setPen(QPen(frame_.lighter(170), 1));
    p.drawLine(box.topLeft() + QPoint(1, 1), box.topRight() + QPoint(-1, 1));
    p.drawLine(box.topLeft() + QPoint(1, 1), box.bottomLeft() + QPoint(1, -1));
    if (!title_.isEmpty()) {
        const int w = p.fontMetrics().horizontalAdvance(title_) + 8;
        const QRect t(8, 0, w, p.fontMetrics().height());
        p.fillRect(t, palette().color(QPalette::Window));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(t, Qt::AlignCenter, title_);
    }
}

}  // namespace qmqt
