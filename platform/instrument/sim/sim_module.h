// One simulated module: every setting of an open instrument session, with the model's physics.
//
// The class declares one member per library operation, named like the exported function without its
// "qm4120_" prefix and without the session argument (qm4120_appSetRfFrequency(vi, hz) is
// appSetRfFrequency(hz)); exports.cpp forwards each exported function to its member under the module's
// lock. The members are defined by topic in the module_*.cpp files.
#ifndef QM4120_SIM_SIM_MODULE_H
#define QM4120_SIM_SIM_MODULE_H

#include <array>
#include <complex>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "calibration.h"
#include "clock.h"
#include "eeprom.h"
#include "model_table.h"
#include "scenario.h"

// Drops the session from a parameter or argument list: QM_DROP_VI(uint32_t vi, double v) -> (double v).
#define QM_DROP_VI(vi, ...) (__VA_ARGS__)

namespace qm::sim {

struct Channel {
    double rfHz = 2.0e9;
    double loOffsetHz = 0.0;  // signed: positive puts the LO above the RF frequency
    uint16_t frontEndMode = 0;
    double rfLevelDbm = 0.0;
    double ifLevelDbm = 0.0;
    int32_t rfAttenDb = 0;
    int32_t ifAttenDb = 0;
    // Pads last switched in directly; the two 10 dB pads make some attenuations in more than one way.
    uint16_t ifPadMask = 0;
};

enum FrontEndMode : uint16_t { FE_AUTO = 0, FE_AUTO_IF = 1, FE_MANUAL = 2 };
enum InputSource : uint16_t { INPUT_IF = 0, INPUT_RF = 1 };
enum FreqControl : uint16_t { HOLD_RF_LO = 0, HOLD_OFFSET_LO = 1, HOLD_RF_OFFSET = 2 };

// Routing signal numbers (sources and destinations share them).
constexpr int ROUTING_SIGNALS = 70;
constexpr uint32_t SIG_GND = 34;

constexpr int LIBRARY_REGISTERS = 64;
constexpr int HW_REGISTERS = 128;

struct FrontEndState {
    uint16_t inputSource = INPUT_RF;
    uint16_t levelUnit = 1;
    uint16_t freqControl = HOLD_RF_OFFSET;
    uint16_t ifFilterBypass = 0;
    uint16_t grpDelFilterEnable = 1;
    uint16_t autoFlatness = 1;
    uint16_t tempMeasurementAllowed = 1;
    double tempReferenceC = 0.0;  // temperature the level corrections were last optimised at
    uint16_t externalReference = 0;
    uint16_t ifPllMode = 0;
    uint16_t ifAuxRefEnable = 0;
    uint16_t dcOffsetFilter = 0;
    uint16_t phaseAmpCorrection = 1;
    uint16_t negatePhaseWord = 0;
    int32_t adcPhase = 0;
    uint16_t adcStandby = 0;
    uint16_t adcEnable = 1;
    uint16_t latch4125 = 0;
    double grpDelRateHz = 0.0;
    double grpDelBandwidthHz = 0.0;
    double grpDelCorrectionS = 0.0;  // the delay the FPGA's correction filter gives the I branch
    bool refLockLost = false;        // latched loss of lock since the last reading
};

struct AcquisitionState {
    uint16_t modulationMode = MOD_UMTS;
    std::array<uint32_t, 6> ratio{2, 1, 1, 0, 16, 2};  // by modulation mode
    uint16_t dataType = 1;                             // 0 IF, 1 I/Q
    uint16_t outputFormat = 0;                         // 0 16-bit, 1 32-bit words
    uint16_t ifDataPosition = 0;
    uint32_t numIfSamples = 2048;
    uint32_t numIqSamples = 2048;
    uint32_t maxIfSetting = 0;  // 0: the whole memory
    uint32_t maxIqSetting = 0;
    uint32_t fftLength = 2048;
    uint32_t sampleIncrementSetting = 0;  // 0: the format's own step
    uint16_t windowFunction = 4;
    uint32_t genericNumerator = 1;
    uint32_t genericDenominator = 1;
    uint16_t lvdsData = 1;
    uint16_t lvdsAux = 0;
    uint16_t lvdsMarker = 1;
    uint16_t captureMode = 0;
};

struct TriggerState {
    uint16_t source = 32;
    uint16_t swTriggerMode = 1;
    uint16_t type = 0;
    uint16_t polarity = 0;
    uint32_t preEdgeSamples = 0;
    uint32_t postGateSamples = 0;
    int32_t offsetDelay = 0;
    uint16_t intMode = 0;
    double intAbsThresholdDbm = -50.0;
    int32_t intRelThresholdDb = 3;
    double intAbsTimeConstUs = 0.1;
    double intRelSlowTimeConstUs = 0.9;
    double intRelFastTimeConstUs = 0.1;
    double timerPeriodUs = 1000.0;
    int32_t timerPhase = 0;
};

struct ListModeState {
    uint16_t addrSource = 0;
    uint16_t strobeNegEdge = 0;
    uint16_t counterStrobe = 0;
    uint16_t countStart = 0;
    uint16_t countStop = 0;
    double enteredS = 0.0;  // module clock when the counter last restarted
};

// A capture in progress or finished: where its samples come from and how far it got.
struct CaptureState {
    bool armed = false;        // a capture was started and not cleared
    bool fromArm = false;      // started by armTrigger and not yet transferred
    bool willTrigger = false;  // its trigger will come (a line that never fires leaves it waiting)
    bool triggered = false;
    bool complete = false;
    bool overload = false;         // the ADC clipped in the last capture
    uint32_t words = 0;            // words armed
    uint32_t samples = 0;          // samples the capture will hold when it runs to its end
    uint32_t captured = 0;         // samples it holds once complete (fewer when aborted)
    bool transferAborted = false;  // an abort ended a transfer that was waiting for its data
    uint32_t pendingWords = 0;     // words a data capture made ready for transfer
    uint32_t triggerCount = 0;
    uint32_t triggerSample = 0;
    double absSampleTimeS = 0.0;
    // Times on the module's clock, in seconds.
    double armedAtS = 0.0;
    double triggerAtS = 0.0;
    double completeAtS = 0.0;
    double firstSampleS = 0.0;  // when the first sample of the block was taken
};

class SimModule {
  public:
    // `eeprom` is what the chassis module's EEPROMs hold when the session opens.
    SimModule(uint32_t session, const ModelSpec& spec, uint16_t pciRev, bool failFirstFpgaCheck,
              const Scenario& scenario, EepromImage eeprom);

    std::mutex& mutex() { return mutex_; }
    const ModelSpec& spec() const { return *spec_; }
    uint32_t session() const { return session_; }
    void setScenario(const Scenario& scenario) { scenario_ = scenario; }

    // Every operation of the table except the calibration sets and identity records, which are reached
    // through calOperation() and identityOperation().
#define QM_CAL(Group, Op, params, args)
#define QM_CALID(Board, Op, params, args)
#define QM_OP(family, Name, params, args) int32_t family##Name QM_DROP_VI params;
#include "../qm4120_pb_ops.inc"

    int32_t fpgaListConfigs(uint16_t* ids, char* names, uint16_t* count);
    int32_t controlDataCapture(uint16_t mode, uint32_t words);
    // Delivers the words once the capture holds them; until then sets *waitS to the time left and
    // delivers nothing (noWait delivers at once, for a clock that cannot be waited on).
    int32_t controlDataAcquire(uint16_t mode, uint32_t words, void* buffer, double* waitS, bool noWait);
    int32_t fftPerform(uint32_t n, double* re, double* im);
    int32_t fftPerformN(uint32_t n, uint16_t averages, double* area);
    int32_t fftGetPowerAtIfFrequency(double frequencyHz, uint16_t averages, uint32_t n, double* area,
                                     double* power);

    const CalSet& cal(CalGroup group) const {
        return eeprom_.cal[static_cast<int>(group)];
    }
    // Runs one operation of a calibration set or an identity record (op(set) / op(record)); when it
    // stored the set or record, the chassis's EEPROMs get it too, so later sessions find it.
    template <class Op>
    int32_t calOperation(CalGroup group, Op&& op) {
        CalSet& set = eeprom_.cal[static_cast<int>(group)];
        const uint32_t before = set.storeCount();
        const int32_t status = op(set);
        if (set.storeCount() != before) eeprom::saveCal(*spec_, group, set);
        return status;
    }
    template <class Op>
    int32_t identityOperation(Board board, Op&& op) {
        IdRecord& record = eeprom_.id[static_cast<int>(board)];
        const uint32_t before = record.storeCount();
        const int32_t status = op(record);
        if (record.storeCount() != before) eeprom::saveIdentity(*spec_, board, record);
        return status;
    }

    // The module's hardware register window as the bus sees it.
    uint32_t hardwareRead(uint32_t index);
    void hardwareWrite(uint32_t index, uint32_t value);

  private:
    // Frequency plan (module_frequency.cpp).
    enum class Held { Rf, Lo, Offset };
    int32_t setRf(int channel, double hz);
    int32_t setOffset(int channel, double hz);
    int32_t setLo(int channel, double hz);
    int32_t placeFrequencies(Channel& c, double rf, double offset, Held moved);
    double roundFrequency(double hz) const;
    double loHz(const Channel& c) const {
        return c.rfHz + c.loOffsetHz;
    }
    double ifHz() const;

    // Front end (module_frontend.cpp).
    int32_t setFrontEndMode(int channel, uint16_t mode);
    int32_t setRfLevel(int channel, double dbm, bool resolve);
    int32_t setIfLevel(int channel, double dbm, bool resolve);
    int32_t setRfAtten(int channel, int32_t db, bool direct);
    int32_t setIfAtten(int channel, int32_t db, bool direct);
    void resolveAttenuation(Channel& c, bool rf, bool ifStage);
    void resolveAllChannels();
    double downConverterGainDb(double rfHz) const;
    double digitizerCorrection(const Channel& c) const;
    double downConverterCorrection(const Channel& c) const;
    bool referenceLocked() const;
    // Board temperature now (deg C): the model's bench temperature plus the slow warm-up since the
    // session opened.
    double temperatureNowC() const;
    // Input power that really drives the ADC to full scale on an input, from the board's own gains.
    double trueFullScaleDbm(const Channel& c, uint16_t input) const;

    // Acquisition (module_acquisition.cpp).
    uint32_t sampleStep() const;
    uint32_t hardwareMaxIq() const;
    uint32_t maxIf() const;
    uint32_t maxIq() const;
    int32_t setSampleCount(uint32_t* field, uint32_t value, uint32_t step, uint32_t maximum);
    bool wideFormatAllowed(uint16_t mode, uint32_t ratio) const;
    int32_t enforceFormat();
    double genericHz() const;
    uint32_t genericMaxRatio() const;
    bool decimationLimits(uint16_t mode, uint32_t* minimum, uint32_t* maximum) const;
    int32_t setRatio(uint16_t mode, uint32_t ratio);
    double undecimatedHz() const;
    double decimatedHz() const;

    // List mode and triggers (module_trigger.cpp).
    uint16_t listAddress() const;
    // The channel whose set-up the front end uses: the one set by hand, or in list mode the list address.
    uint16_t inUseChannel() const {
        return listAddress();
    }
    uint32_t listAddressChanges() const;
    int32_t setTimerPeriod(double us);
    int32_t timerClocks() const;  // ADC clocks in one timer period

    // Routing (module_routing.cpp).
    void defaultRouting();
    void applyScenario(uint16_t scenario, bool on);

    // Capture (capture.cpp).
    void updateCapture();
    void startCapture(uint32_t words, uint32_t samples, bool immediate);
    double captureRateHz() const;
    uint32_t wordsPerSample() const;
    double nextTimerTick(double now) const;
    // When a trigger source or routed signal next fires at or after `now` (module clock, seconds), or
    // infinity when it never does (module_trigger.cpp).
    double triggerSourceFiresAt(uint16_t source, double now) const;
    double signalFiresAt(uint32_t signal, double now, int depth) const;
    double levelTriggerFiresAt(double now) const;
    bool toneOnAt(double t) const;
    void generate(uint32_t words, void* buffer);

    void setDefaults();

    static int32_t badChannel(uint16_t channel) {
        return channel >= CHANNEL_COUNT;
    }

    std::mutex mutex_;
    const ModelSpec* spec_;
    uint32_t session_;
    uint16_t pciRev_;
    uint16_t fpgaConfig_ = 1;
    bool failNextFpgaCheck_;
    bool fpgaLoaded_ = true;
    Scenario scenario_;

    std::array<Channel, CHANNEL_COUNT> channels_{};
    uint16_t activeChannel_ = 0;
    FrontEndState fe_;
    AcquisitionState acq_;
    TriggerState trig_;
    ListModeState list_;
    CaptureState capture_;

    std::array<uint32_t, ROUTING_SIGNALS> routingSource_{};
    std::array<uint16_t, ROUTING_SIGNALS> routingEnable_{};
    std::vector<uint16_t> scenarios_;

    std::array<uint32_t, LIBRARY_REGISTERS> libraryRegisters_{};
    std::array<uint32_t, HW_REGISTERS> hardwareRegisters_{};

    // This session's copy of the EEPROMs: working copies are its own, stores are written through.
    EepromImage eeprom_;

    // The RF amplitude table as the factory measured the board: what the down-converter really deviates
    // by, whatever the EEPROM holds now.
    CalSet factoryRfAmpRef_ = factoryEeprom(*spec_).cal[static_cast<int>(CalGroup::RFDigAmpRef)];

    double openedAtS_ = clock::now();
    uint64_t captureSerial_ = 0;
    std::vector<std::complex<double>> lastSamples_;  // start of the last capture, for the module's FFT
};

// Library register holding the test-tone switch, and the bit.
constexpr uint16_t REG_ACQ_CONTROL = 0;
constexpr uint16_t TEST_TONE_BIT = 20;
// Library registers sit at this offset in the FPGA's register numbering.
constexpr uint32_t HW_REGISTER_BASE = 0x20;

}  // namespace qm::sim

#endif
