// Gestures on the plain control kinds: each must reach the control's callback with its own panel and
// control, and leave the model holding what the operator chose.
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <thread>

#include "qt_fixture.h"
#include "ui/qt/widgets.h"

namespace {

using Targets = std::vector<std::pair<int, int>>;

void typeInto(QWidget* w, const QString& text) {
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w, text);
}

}  // namespace

TEST_F(QtFrontendTest, NumericTakesClicksAndCommitsTypedValueOnEnterCoercedIntoRange) {
    const int panel = loadTestPanel("PANEL");
    const int freq = ctrl(panel, "FREQ");
    auto* box = widget<QAbstractSpinBox>(panel, freq);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "100.00");

    // Right and double clicks reach the callback and commit nothing.
    auto* edit = box->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, edit->rect().center(),
                           edit->mapToGlobal(edit->rect().center()));
    QApplication::sendEvent(edit, &menu);
    QTest::mouseDClick(edit, Qt::LeftButton);
    EXPECT_EQ(targetsOf(EVENT_RIGHT_CLICK), (Targets{{panel, freq}}));
    EXPECT_EQ(targetsOf(EVENT_LEFT_DOUBLE_CLICK), (Targets{{panel, freq}}));
    EXPECT_DOUBLE_EQ(model(panel, freq).number, 100.0);

    typeInto(box, "250.5");
    EXPECT_TRUE(eventsOf(EVENT_COMMIT).empty()) << "typing alone must not commit";
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(targetsOf(EVENT_COMMIT), (Targets{{panel, freq}}));
    EXPECT_DOUBLE_EQ(model(panel, freq).number, 250.5);

    // Beyond the maximum: the control holds its maximum and shows it.
    typeInto(box, "5000");
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_DOUBLE_EQ(model(panel, freq).number, 1000.0);
    EXPECT_EQ(box->text(), "1000.00");

    // Text that is no number leaves the value alone and shows it again.
    typeInto(box, "-");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(model(panel, freq).number, 1000.0);
    EXPECT_EQ(box->text(), "1000.00");
}

TEST_F(QtFrontendTest, NumericArrowsCommitEachStepAndShowTheValueTheProgramWrites) {
    const int panel = loadTestPanel("PANEL");
    const int freq = ctrl(panel, "FREQ");
    auto* box = widget<QAbstractSpinBox>(panel, freq);
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(eventsOf(EVENT_COMMIT).size(), 2u);
    EXPECT_DOUBLE_EQ(model(panel, freq).number, 120.0);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(model(panel, freq).number, 110.0);

    // Set, then read back: the callback writes what the instrument accepted, and that is what shows.
    onCtrlEvent = [](int p, int c, int event) {
        if (event == EVENT_COMMIT) SetCtrlVal(p, c, 333.0);
    };
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(model(panel, freq).number, 333.0);
    EXPECT_EQ(box->text(), "333.00");
}

TEST_F(QtFrontendTest, HexNumericShowsAndParsesHexDigits) {
    const int panel = loadTestPanel("PANEL");
    const int reg = ctrl(panel, "REG");
    auto* box = widget<QAbstractSpinBox>(panel, reg);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), "000000FF");
    typeInto(box, "0x1a2B");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(model(panel, reg).number, 0x1A2B);
    EXPECT_EQ(box->text(), "00001A2B");
    // Not a hex digit: refused as it is typed.
    typeInto(box, "G");
    EXPECT_EQ(box->text(), "00001A2B");
}

TEST_F(QtFrontendTest, RingSwitchCheckBoxAndButtonCommit) {
    const int panel = loadTestPanel("PANEL");
    const int units = ctrl(panel, "UNITS"), source = ctrl(panel, "SOURCE");
    const int focus = ctrl(panel, "AUTOFOCUS"), start = ctrl(panel, "START");

    auto* combo = widget<QComboBox>(panel, units);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "dBm");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(model(panel, units).index, 1);
    EXPECT_EQ(combo->currentText(), "dBV");

    auto* sw = dynamic_cast<qmqt::SwitchWidget*>(fe_.controlWidget(panel, source));
    ASSERT_NE(sw, nullptr);
    EXPECT_FALSE(sw->isOn());
    QTest::mouseClick(sw, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(model(panel, source).number, 1.0);
    EXPECT_TRUE(sw->isOn());

    auto* check = widget<QCheckBox>(panel, focus);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->text(), "Automatically set focus");
    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_DOUBLE_EQ(model(panel, focus).number, 1.0);
    EXPECT_TRUE(check->isChecked());

    auto* button = widget<QPushButton>(panel, start);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "&Start");
    QTest::mouseClick(button, Qt::LeftButton);

    EXPECT_EQ(targetsOf(EVENT_COMMIT),
              (Targets{{panel, units}, {panel, source}, {panel, focus}, {panel, start}}));
}

TEST_F(QtFrontendTest, StringAndTextBoxCommitText) {
    const int panel = loadTestPanel("PANEL");
    const int file = ctrl(panel, "FILE"), info = ctrl(panel, "INFO");
    auto* edit = widget<QLineEdit>(panel, file);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "capture.txt");
    edit->selectAll();
    QTest::keyClicks(edit, "trace.csv");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(model(panel, file).text, "trace.csv");
    EXPECT_EQ(targetsOf(EVENT_COMMIT), (Targets{{panel, file}}));

    auto* box = widget<QPlainTextEdit>(panel, info);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toPlainText(), "first");
    // The run-time's SetCtrlVal appends to a text box; the widget follows.
    SetCtrlVal(panel, info, " second");
    EXPECT_EQ(box->toPlainText(), "first second");
    // An edit is committed when the operator leaves the box.
    box->setFocus();
    QTest::keyClicks(box, "X");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
    EXPECT_EQ(targetsOf(EVENT_COMMIT), (Targets{{panel, file}, {panel, info}}));
    EXPECT_EQ(model(panel, info).text, box->toPlainText().toStdString());
}

TEST_F(QtFrontendTest, IndicatorsFollowTheModel) {
    const int panel = loadTestPanel("PANEL");
    const int led = ctrl(panel, "LED"), status = ctrl(panel, "STATUS"), freq = ctrl(panel, "FREQ");
    auto* lamp = dynamic_cast<qmqt::LedWidget*>(fe_.controlWidget(panel, led));
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->shownColor(), QColor(0xFF, 0, 0));
    SetCtrlVal(panel, led, 1);
    EXPECT_EQ(lamp->shownColor(), QColor(0, 0xFF, 0));
    SetCtrlAttribute(panel, led, ATTR_ON_COLOR, 0xFFFF00);
    EXPECT_EQ(lamp->shownColor(), QColor(0xFF, 0xFF, 0));
    ASSERT_NE(fe_.controlLabel(panel, led), nullptr);
    EXPECT_EQ(fe_.controlLabel(panel, led)->text(), "Boot");

    auto* msg = widget<QLabel>(panel, status);
    ASSERT_NE(msg, nullptr);
    EXPECT_EQ(msg->text(), "Idle");
    SetCtrlVal(panel, status, "Capturing");
    EXPECT_EQ(msg->text(), "Capturing");

    // Dimmed and hidden controls, read-only background colours and labels.
    auto* box = widget<QAbstractSpinBox>(panel, freq);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toolTip(), "Sets the RF frequency, in Hz");
    SetCtrlAttribute(panel, freq, ATTR_DIMMED, 1);
    SetCtrlAttribute(panel, freq, ATTR_TEXT_BGCOLOR, 0xC0C0C0);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_EQ(box->palette().color(QPalette::Disabled, QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    SetCtrlAttribute(panel, freq, ATTR_LABEL_TEXT, "RF Level (dBV):");
    EXPECT_EQ(fe_.controlLabel(panel, freq)->text(), "RF Level (dBV):");
    SetCtrlAttribute(panel, freq, ATTR_VISIBLE, 0);
    EXPECT_TRUE(box->isHidden());
    EXPECT_TRUE(fe_.controlLabel(panel, freq)->isHidden());
}

TEST_F(QtFrontendTest, ValuesSetFromAnotherThreadArriveThroughTheEventLoop) {
    const int panel = loadTestPanel("PANEL");
    const int led = ctrl(panel, "LED");
    auto* lamp = dynamic_cast<qmqt::LedWidget*>(fe_.controlWidget(panel, led));
    ASSERT_NE(lamp, nullptr);
    // The reference-lock monitor sets its LED from a pool thread.
    std::thread monitor([&] { SetCtrlVal(panel, led, 1); });
    monitor.join();
    EXPECT_FALSE(lamp->isOn()) << "nothing may change outside the main thread";
    EXPECT_TRUE(QTest::qWaitFor([&] { return lamp->isOn(); }, 2000));
    EXPECT_DOUBLE_EQ(model(panel, led).number, 1.0);
}
