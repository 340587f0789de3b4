// Views of the plain control kinds: numerics, rings, switches, check boxes, LEDs, texts, buttons,
// pictures and frames.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>

#include "control_kinds.h"
#include "numeric_box.h"
#include "qt_util.h"
#include "widgets.h"

namespace qmqt {

void applyColors(QWidget* w, int textColor, int bgColor) {
    QPalette pal = w->palette();
    const QPalette before = pal;
    if (!isTransparent(textColor)) {
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            pal.setColor(group, QPalette::Text, toColor(textColor));
            pal.setColor(group, QPalette::WindowText, toColor(textColor));
        }
    }
    if (!isTransparent(bgColor)) {
        // A dimmed control keeps its background: grey means read-only, pale red "no effect", and the
        // operator must still see which one it is.
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Base, toColor(bgColor));
        // A dimmed control still shows the current setting: its text stays readable on the grey of a
        // read-only control, where the style's own disabled grey would vanish.
        pal.setColor(QPalette::Disabled, QPalette::Text, QColor(0x70, 0x70, 0x70));
    }
    if (pal != before) w->setPalette(pal);
}

namespace {

// ---------------------------------------------------------------------------------------------------------
class NumericView : public ControlView {
  public:
    NumericView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        box_ = new NumericBox(canvas);
        box_->onCommit = [this](double v) {
            gesture([v](int p, int id) { return ui::userCommitNumber(p, id, v); });
        };
        setBody(box_);
    }

  protected:
    void syncKind(const ui::Control& c, unsigned) override {
        box_->setModel(c);
        applyColors(box_, c.textColor, c.bgColor);
    }

  private:
    NumericBox* box_;
};

// ---------------------------------------------------------------------------------------------------------
class RingView : public ControlView {
  public:
    RingView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        combo_ = new QComboBox(canvas);
        combo_->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(combo_, &QComboBox::activated, this, [this](int index) {
            gesture([index](int p, int id) { return ui::userCommitIndex(p, id, index); });
        });
        setBody(combo_);
    }

  protected:
    void syncKind(const ui::Control& c, unsigned what) override {
        const QSignalBlocker block(combo_);
        if ((what & (ui::ChItems | ui::ChCreated)) || combo_->count() != c.itemCount()) {
            combo_->clear();
            for (int i = 0; i < c.itemCount(); ++i) combo_->addItem(qs(c.itemLabel(i)));
        }
        if (combo_->currentIndex() != c.index) combo_->setCurrentIndex(c.index);
        applyColors(combo_, c.textColor, c.bgColor);
    }

  private:
    QComboBox* combo_;
};

// ---------------------------------------------------------------------------------------------------------
class SwitchView : public ControlView {
  public:
    SwitchView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        switch_ = new SwitchWidget(canvas);
        switch_->onToggle = [this](bool wantOn) {
            const ui::Control* m = ui::findControl(panel_, control_);
            if (!m) return;
            const double v = wantOn ? m->onValue : m->offValue;
            gesture([v](int p, int id) { return ui::userCommitNumber(p, id, v); });
        };
        setBody(switch_);
    }

  protected:
    void syncKind(const ui::Control& c, unsigned) override {
        switch_->setState(c.number == c.onValue, qs(c.onText), qs(c.offText));
        applyColors(switch_, c.textColor, VAL_TRANSPARENT);
    }

  private:
    SwitchWidget* switch_;
};

// ---------------------------------------------------------------------------------------------------------
class CheckBoxView : public ControlView {
  public:
    CheckBoxView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        box_ = new QCheckBox(canvas);
        QObject::connect(box_, &QCheckBox::clicked, this, [this](bool checked) {
            const ui::Control* m = ui::findControl(panel_, control_);
            if (!m) return;
            const double v = checked ? m->onValue : m->offValue;
            gesture([v](int p, int id) { return ui::userCommitNumber(p, id, v); });
        });
        setBody(box_);
    }

  protected:
    bool hasOwnLabel() const override { return true; }
    QRect bodyGeometry(const ui::Control& c) const override {
        // The box's text is its label; give it room when the resource sized only the box itself.
        QRect r = ControlView::bodyGeometry(c);
        r.setWidth(std::max(r.width(), box_->sizeHint().width()));
        r.setHeight(std::max(r.height(), box_->sizeHint().height()));
        return r;
    }
    void syncKind(const ui::Control& c, unsigned) override {
        const QSignalBlocker block(box_);
        const QString text = c.labelVisible ? accessText(c.label) : QString();
        if (box_->text() != text) box_->setText(text);
        box_->setChecked(c.number == c.onValue);
        applyColors(box_, c.textColor, VAL_TRANSPARENT);
        const QRect g = bodyGeometry(c);
        if (box_->geometry() != g) box_->setGeometry(g);
    }

  private:
    QCheckBox* box_;
};

// ---------------------------------------------------------------------------------------------------------
class LedView : public ControlView {
  public:
    LedView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        led_ = new LedWidget(canvas);
        setBody(led_);
    }

  protected:
    void placeLabel(const ui::Control& c) override {
        // Lamps carry their caption beside them, centred on the lamp, but never over the next control
        // of the row: a caption that does not fit is shortened (the lamp's tool tip says it in full).
        const QFontMetrics fm(label_->font());
        const int left = c.left + c.width + 4;
        const int h = fm.height();
        const int top = c.top + (c.height - h) / 2;
        int room = fm.horizontalAdvance(label_->text()) + 4;
        if (const ui::Panel* p = ui::findPanel(panel_)) {
            for (const auto& other : p->controls) {
                if (other->id == control_ || !other->visible || other->left < left) continue;
                if (other->top >= top + h || other->top + other->height <= top) continue;
                room = std::min(room, other->left - left - 2);
            }
        }
        room = std::max(room, 0);
        label_->setText(fm.elidedText(label_->text(), Qt::ElideRight, room));
        label_->setGeometry(left, top, room, h);
    }
    void syncKind(const ui::Control& c, unsigned) override {
        led_->setState(c.number != 0, toColor(c.onColor), toColor(c.offColor));
    }

  private:
    LedWidget* led_;
};

// ---------------------------------------------------------------------------------------------------------
class TextMsgView : public ControlView {
  public:
    TextMsgView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        text_ = new QLabel(canvas);
        text_->setTextFormat(Qt::PlainText);
        setBody(text_);
    }

  protected:
    bool hasOwnLabel() const override { return true; }
    QRect bodyGeometry(const ui::Control& c) const override {
        // A message grows to show its whole text, as the status lines must stay readable.
        QRect r = ControlView::bodyGeometry(c);
        const QSize hint = text_->sizeHint();
        r.setWidth(std::max(r.width(), hint.width()));
        r.setHeight(std::max(r.height(), hint.height()));
        return r;
    }
    void syncKind(const ui::Control& c, unsigned) override {
        const QString t = lineBreaks(c.text);
        if (text_->text() != t) text_->setText(t);
        const bool opaque = !isTransparent(c.bgColor);
        text_->setAutoFillBackground(opaque);
        QPalette pal = text_->palette();
        if (opaque) pal.setColor(QPalette::Window, toColor(c.bgColor));
        if (!isTransparent(c.textColor)) pal.setColor(QPalette::WindowText, toColor(c.textColor));
        if (pal != text_->palette()) text_->setPalette(pal);
        const QRect g = bodyGeometry(c);
        if (text_->geometry() != g) text_->setGeometry(g);
    }

  private:
    QLabel* text_;
};

// ---------------------------------------------------------------------------------------------------------
class StringView : public ControlView {
  public:
    StringView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        edit_ = new QLineEdit(canvas);
        QObject::connect(edit_, &QLineEdit::returnPressed, this, [this] { commit(); });
        QObject::connect(edit_, &QLineEdit::editingFinished, this, [this] {
            if (edit_->isModified()) commit();
        });
        setBody(edit_);
    }

  protected:
    void syncKind(const ui::Control& c, unsigned) override {
        const QString t = qs(c.text);
        if (edit_->text() != t) edit_->setText(t);
        edit_->setReadOnly(c.mode == VAL_INDICATOR);
        applyColors(edit_, c.textColor, c.bgColor);
    }

  private:
    void commit() {
        if (edit_->isReadOnly()) return;
        edit_->setModified(false);
        const std::string s = edit_->text().toStdString();
        gesture([s](int p, int id) { return ui::userCommitText(p, id, s); });
    }
    QLineEdit* edit_;
};

// ---------------------------------------------------------------------------------------------------------
class TextBoxView : public ControlView {
  public:
    TextBoxView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        edit_ = new QPlainTextEdit(canvas);
        setBody(edit_);
    }

  protected:
    void syncKind(const ui::Control& c, unsigned) override {
        const QString t = qs(c.text);
        if (edit_->toPlainText() != t) {
            edit_->setPlainText(t);
            edit_->document()->setModified(false);
        }
        edit_->setReadOnly(c.mode == VAL_INDICATOR);
        applyColors(edit_, c.textColor, c.bgColor);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A text box is committed when the operator leaves it after editing (Enter starts a new line).
        if (event->type() == QEvent::FocusOut && watched == edit_ && edit_->document()->isModified() &&
            !edit_->isReadOnly()) {
            edit_->document()->setModified(false);
            const std::string s = edit_->toPlainText().toStdString();
            gesture([s](int p, int id) { return ui::userCommitText(p, id, s); });
        }
        return ControlView::eventFilter(watched, event);
    }

  private:
    QPlainTextEdit* edit_;
};

// ---------------------------------------------------------------------------------------------------------
class ButtonView : public ControlView {
  public:
    ButtonView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        button_ = new QPushButton(canvas);
        button_->setAutoDefault(false);
        QObject::connect(button_, &QPushButton::clicked, this,
                         [this] { gesture([](int p, int id) { return ui::userPressButton(p, id); }); });
        setBody(button_);
    }

  protected:
    bool hasOwnLabel() const override { return true; }
    void syncKind(const ui::Control& c, unsigned) override {
        const QString text = accessText(c.label);
        if (button_->text() != text) button_->setText(text);
        applyColors(button_, c.textColor, VAL_TRANSPARENT);
        QPalette pal = button_->palette();
        // A dimmed button keeps the style's grey text, so that it shows it cannot be pressed.
        for (auto group : {QPalette::Active, QPalette::Inactive})
            pal.setColor(group, QPalette::ButtonText,
                         isTransparent(c.textColor) ? Qt::black : toColor(c.textColor));
        // A button's background in the model is white unless a panel gives it a colour of its own (a Set
        // button turns red while its value waits to be written); white stands for the style's face.
        const bool ownFace = !isTransparent(c.bgColor) && c.bgColor != VAL_WHITE;
        const QColor face =
            ownFace ? toColor(c.bgColor) : button_->style()->standardPalette().color(QPalette::Button);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Button, face);
        if (pal != button_->palette()) button_->setPalette(pal);
    }

  private:
    QPushButton* button_;
};

// ---------------------------------------------------------------------------------------------------------
class PictureView : public ControlView {
  public:
    PictureView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        picture_ = new QLabel(canvas);
        picture_->setAlignment(Qt::AlignCenter);
        picture_->lower();
        setBody(picture_);
    }

  protected:
    bool hasOwnLabel() const override { return true; }
    void syncKind(const ui::Control& c, unsigned) override {
        if (shown_ == c.image && !(picture_->pixmap().isNull() && c.image.empty())) return;
        shown_ = c.image;
        QPixmap pm;
        const QString name = qs(c.image);
        const QString dir = QCoreApplication::applicationDirPath();
        for (const QString& path :
             {name, dir + QLatin1Char('/') + name, dir + QLatin1String("/resources/") + name})
            if (!name.isEmpty() && QFileInfo::exists(path) && pm.load(path)) break;
        if (!pm.isNull()) {
            picture_->setPixmap(pm.scaled(c.width, c.height, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        } else {
            // Without its image the picture still shows where it sits and what it would show.
            picture_->setFrameStyle(QFrame::Box | QFrame::Plain);
            picture_->setText(name.isEmpty() ? qs(c.label) : QFileInfo(name).completeBaseName());
        }
    }

  private:
    QLabel* picture_;
    std::string shown_ = "\x01";
};

// ---------------------------------------------------------------------------------------------------------
class FrameView : public ControlView {
  public:
    FrameView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas)
        : ControlView(fe, panel, c.id, canvas) {
        frame_ = new FrameWidget(canvas);
        frame_->lower();
        setBody(frame_);
    }

  protected:
    bool hasOwnLabel() const override { return true; }
    void syncKind(const ui::Control& c, unsigned) override {
        frame_->setLook(toColor(isTransparent(c.frameColor) ? VAL_GRAY : c.frameColor),
                        c.labelVisible ? lineBreaks(c.label) : QString());
    }

  private:
    FrameWidget* frame_;
};

}  // namespace

ControlView* makeNumericView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new NumericView(fe, panel, c, canvas);
}
ControlView* makeRingView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new RingView(fe, panel, c, canvas);
}
ControlView* makeSwitchView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new SwitchView(fe, panel, c, canvas);
}
ControlView* makeCheckBoxView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new CheckBoxView(fe, panel, c, canvas);
}
ControlView* makeLedView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new LedView(fe, panel, c, canvas);
}
ControlView* makeTextMsgView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new TextMsgView(fe, panel, c, canvas);
}
ControlView* makeStringView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new StringView(fe, panel, c, canvas);
}
ControlView* makeTextBoxView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new TextBoxView(fe, panel, c, canvas);
}
ControlView* makeButtonView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new ButtonView(fe, panel, c, canvas);
}
ControlView* makePictureView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new PictureView(fe, panel, c, canvas);
}
ControlView* makeFrameView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas) {
    return new FrameView(fe, panel, c, canvas);
}

}  // namespace qmqt
