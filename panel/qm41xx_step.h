// The step-size dialog (STEPPANEL of "qm41xx_step.uir"): one small modal dialog that adjusts the step of
// a numeric entry, shared by the RF frequency, the input levels and the marker frequency. One opening at
// a time; the accepted step goes to the apply operation the opener handed in.
#ifndef QM_PANEL_QM41XX_STEP_H
#define QM_PANEL_QM41XX_STEP_H

constexpr int STEP_KIND_INTEGER = 0;   // whole steps: the INTEGER_ controls
constexpr int STEP_KIND_FLOATING = 1;  // fractional steps: the DOUBLE_ controls
constexpr int STEP_TEXT_MAX = 255;     // units and heading are cut to this many characters

struct StepDialogState {
    int kind = STEP_KIND_INTEGER;
    double current = 0.0;
    double minStep = 0.0;
    double maxStep = 0.0;
    double result = 0.0;  // the step accepted with OK
    char units[STEP_TEXT_MAX + 1] = {};
    char heading[STEP_TEXT_MAX + 1] = {};
    void (*apply)(double step) = nullptr;
};

// The dialog's state, for the openers that want the accepted step.
const StepDialogState& stepDialogState();

// Fills the dialog for one opening; the caller then shows it with InstallPopup.
void stepPanelInit(int panel, int kind, double current, double minStep, double maxStep, int precision,
                   const char* units, const char* heading, void (*apply)(double step));
// Ends the opening: with `accepted` the entered step becomes the result and is applied. Always removes
// the dialog.
void stepPanelClose(int panel, int accepted);

// Whole-number steps convert like the module's 32-bit unsigned words: truncated toward zero, wrapping
// outside 0 .. 2^32 - 1.
unsigned toUnsigned32(double value);

int cmdStepOk(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdStepCancel(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);
int cmdStepPanel(int panel, int event, void* callbackData, int eventData1, int eventData2);

void registerStepCallbacks();

#endif
