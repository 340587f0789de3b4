// Factories of the per-kind control views (internal to the Qt front end).
#ifndef QM_UI_QT_CONTROL_KINDS_H
#define QM_UI_QT_CONTROL_KINDS_H

#include "control_view.h"

namespace qmqt {

ControlView* makeNumericView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeRingView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeSwitchView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeCheckBoxView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeLedView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeTextMsgView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeStringView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeTextBoxView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeButtonView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makePictureView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeFrameView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeTabView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeListView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeGridView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
ControlView* makeGraphView(QtFrontend& fe, int panel, const ui::Control& c, QWidget* canvas);
// Writes a graph view's plot as a PNG, JPEG or PDF picture (VAL_GRAPH_...); 0 or UIE_FILE_WRITE.
int saveGraphPicture(QWidget* body, const std::string& path, int format, int width, int height);

// Sets the text and base colours of a widget from the control's colours (transparent keeps the default).
void applyColors(QWidget* w, int textColor, int bgColor);

}  // namespace qmqt

#endif
