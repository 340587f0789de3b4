// The step-size dialog (see qm41xx_step.h).
#include "qm41xx_step.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "app_state.h"
#include "qm41xx_step_uir.h"
#include "userint.h"

namespace {

StepDialogState step;

constexpr int STEP_CONTROLS[] = {
    STEPPANEL_INTEGER_INTERVAL, STEPPANEL_INTEGER_MINSTEP, STEPPANEL_INTEGER_MAXSTEP,
    STEPPANEL_DOUBLE_INTERVAL,  STEPPANEL_DOUBLE_MINSTEP,  STEPPANEL_DOUBLE_MAXSTEP,
};

void copyText(char (&to)[STEP_TEXT_MAX + 1], const char* from) {
    std::strncpy(to, from ? from : "", STEP_TEXT_MAX);
    to[STEP_TEXT_MAX] = '\0';
}

void show(int panel, int control) {
    SetCtrlAttribute(panel, control, ATTR_VISIBLE, 1);
}

void resetStepDialog() {
    step = StepDialogState{};
}

}  // namespace

const StepDialogState& stepDialogState() {
    return step;
}

unsigned toUnsigned32(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18) return 0;
    return static_cast<unsigned>(static_cast<uint32_t>(static_cast<int64_t>(value)));
}

void stepPanelInit(int panel, int kind, double current, double minStep, double maxStep, int precision,
                   const char* units, const char* heading, void (*apply)(double)) {
    step.kind = kind;
    step.current = current;
    step.minStep = minStep;
    step.maxStep = maxStep;
    step.apply = apply;
    copyText(step.units, units);
    copyText(step.heading, heading);

    for (int control : STEP_CONTROLS) SetCtrlAttribute(panel, control, ATTR_VISIBLE, 0);
    if (kind == STEP_KIND_INTEGER) {
        const unsigned lo = toUnsigned32(minStep);
        const unsigned hi = toUnsigned32(maxStep);
        show(panel, STEPPANEL_INTEGER_INTERVAL);
        show(panel, STEPPANEL_INTEGER_MINSTEP);
        show(panel, STEPPANEL_INTEGER_MAXSTEP);
        SetCtrlAttribute(panel, STEPPANEL_INTEGER_INTERVAL, ATTR_MIN_VALUE, static_cast<double>(lo));
        SetCtrlAttribute(panel, STEPPANEL_INTEGER_INTERVAL, ATTR_MAX_VALUE, static_cast<double>(hi));
        SetCtrlVal(panel, STEPPANEL_INTEGER_INTERVAL, toUnsigned32(current));
        SetCtrlVal(panel, STEPPANEL_INTEGER_MINSTEP, lo);
        SetCtrlVal(panel, STEPPANEL_INTEGER_MAXSTEP, hi);
    } else {
        for (int control : {STEPPANEL_DOUBLE_INTERVAL, STEPPANEL_DOUBLE_MINSTEP, STEPPANEL_DOUBLE_MAXSTEP}) {
            show(panel, control);
            SetCtrlAttribute(panel, control, ATTR_PRECISION, precision);
        }
        SetCtrlAttribute(panel, STEPPANEL_DOUBLE_INTERVAL, ATTR_MIN_VALUE, minStep);
        SetCtrlAttribute(panel, STEPPANEL_DOUBLE_INTERVAL, ATTR_MAX_VALUE, maxStep);
        SetCtrlVal(panel, STEPPANEL_DOUBLE_INTERVAL, current);
        SetCtrlVal(panel, STEPPANEL_DOUBLE_MINSTEP, minStep);
        SetCtrlVal(panel, STEPPANEL_DOUBLE_MAXSTEP, maxStep);
    }
    SetCtrlVal(panel, STEPPANEL_HEADING, step.heading);
    SetCtrlVal(panel, STEPPANEL_UNITS, step.units);
}

void stepPanelClose(int panel, int accepted) {
    if (accepted) {
        if (step.kind == STEP_KIND_INTEGER) {
            unsigned whole = 0;
            GetCtrlVal(panel, STEPPANEL_INTEGER_INTERVAL, &whole);
            step.result = static_cast<double>(whole);
        } else {
            GetCtrlVal(panel, STEPPANEL_DOUBLE_INTERVAL, &step.result);
        }
        if (step.apply) step.apply(step.result);
    }
    RemovePopup(panel);
}

int cmdStepOk(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) stepPanelClose(panel, 1);
    return 0;
}

int cmdStepCancel(int panel, int, int event, void*, int, int) {
    if (event == EVENT_COMMIT) stepPanelClose(panel, 0);
    return 0;
}

int cmdStepPanel(int panel, int event, void*, int, int) {
    if (event == EVENT_CLOSE) stepPanelClose(panel, 0);
    return 0;
}

void registerStepCallbacks() {
    RegisterCtrlCallback("cmdStepOk", cmdStepOk);
    RegisterCtrlCallback("cmdStepCancel", cmdStepCancel);
    RegisterPanelCallback("cmdStepPanel", cmdStepPanel);
    registerStateReset(resetStepDialog);
}
