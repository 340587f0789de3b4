// The signal the simulated module sees at its inputs, and which outside events happen around it.
#ifndef QM4120_SIM_SCENARIO_H
#define QM4120_SIM_SCENARIO_H

#include <string>

namespace qm::sim {

struct Scenario {
    // The tone: at toneOffsetHz from the tuned RF frequency (RF input) or from the IF centre (IF input),
    // or, when toneAbsoluteHz is non-zero, at that fixed frequency on whichever input is selected.
    double toneOffsetHz = 100e3;
    double toneAbsoluteHz = 0.0;
    double toneLevelDbm = -20.0;
    // Input-referred noise density.
    double noiseDbmPerHz = -150.0;
    // An external 10 MHz reference (and an auxiliary reference) is connected.
    bool referencePresent = true;
    bool auxReferencePresent = false;
    // The tone comes in bursts: on for burstOnMs, then off for burstOffMs, over and over from the moment
    // the module was opened. A zero off time (the default) means a steady tone.
    double burstOnMs = 0.0;
    double burstOffMs = 0.0;
    // Trigger lines driven from outside the module (PXI lines and the front SMB whose outputs are not
    // enabled, PXI_STAR, LVDS lines set to input) fire this long after the trigger is armed; a negative
    // delay means nothing outside drives them.
    double lineTriggerDelayMs = 20.0;
    // Triggered captures end after this many samples, as when a gate closes early; 0 means no limit.
    double captureLimitSamples = 0.0;
    // How long a gate trigger's gate stays open once it opens; 0 means open for the whole block.
    double gateOpenMs = 0.0;
    // List mode: the channel number on the external address lines (read with the External address
    // source), and the period of the external list strobe (steps the counter when its strobe source is
    // External); 0 means the strobe line never fires.
    double listAddressLines = 0.0;
    double listStrobePeriodUs = 0.0;
    // A hopping source: the tone steps by hopStepHz for each block the module captures, through hopCount
    // places (the first at the tone's own frequency), then starts again. A count of 1 keeps it still.
    double hopStepHz = 0.0;
    double hopCount = 1.0;
};

// Parses "key=value" entries separated by commas, semicolons or line breaks (keys: tone_offset,
// tone_frequency, tone_level, noise, ref, aux_ref, burst_on_ms, burst_off_ms, line_trigger_ms,
// capture_limit, gate_ms, list_address, list_strobe_us, hop_step, hop_count). Returns false and leaves *out
// unchanged on a malformed text; unknown keys are malformed.
bool parseScenario(const std::string& text, Scenario* out);

// The scenario from QM4120_SIM_SIGNAL, or from the file named by QM4120_SIM_SIGNAL_FILE; the default
// scenario when neither is set or the text is malformed.
Scenario scenarioFromEnvironment();

}  // namespace qm::sim

#endif
