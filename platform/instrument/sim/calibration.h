// Calibration data sets and board identity records held in the module's EEPROMs. Each has a working
// copy that edits change and a stored copy that Commit writes (with its time stamp) and Abort restores.
#ifndef QM4120_SIM_CALIBRATION_H
#define QM4120_SIM_CALIBRATION_H

#include <cstdint>
#include <string>
#include <vector>

namespace qm::sim {

struct TimeStamp {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;

    bool operator<(const TimeStamp& o) const;
    bool empty() const { return year == 0; }
};

// Checks a commit date (year 1980 to 2107, the range the EEPROM's packed dates hold) and converts it.
int32_t makeTimeStamp(int16_t year, int16_t month, int16_t day, int16_t hour, int16_t minute, int16_t second,
                      TimeStamp* out);
TimeStamp localTimeNow();

// Packed EEPROM date and time: bits 31-25 year - 1980, 24-21 month, 20-16 day, 15-11 hours, 10-5 minutes,
// 4-0 seconds / 2.
uint32_t packTimeStamp(const TimeStamp& t);

// The digitizer's own deviations from nominal, as the factory calibration measured them: its reference
// level, and the error of each IF attenuation step (dB).
constexpr double FACTORY_DIG_REF_DB = 0.12;
double factoryIfPadErrorDb(int db);

enum class CalKind { Band, Value, Measurement };

enum class CalGroup {
    RFDigAmpRef,
    DCIFShape,
    DigAmpIFShape,
    RFDCFreqRef,
    RFDCFreq,
    PowDet,
    IFDigAmpRef,
    IFDigAmp,
    IFDigGrpDel,
    IFDCFreq,
    Temp,
    Count
};

// What a calibration set needs to know about the module it sits in.
struct CalContext {
    double rfMinHz;
    double rfMaxHz;
    double ifHz;
    double ifBandwidthHz;
    double temperatureC;
    double iqSkewS;  // what the group-delay adjustment finds between the I and Q branches
};

class CalSet {
  public:
    CalSet() = default;
    CalSet(CalGroup group, const CalContext& context, const TimeStamp& factoryStamp);

    // Operations of the library's cal<Group><Op> family (the session is the caller's).
    int32_t BandPointAdj(uint16_t band, uint16_t point, double adjustment, uint16_t commit);
    int32_t BandPointAdjIP(uint16_t band, uint16_t point, double adjustment, uint16_t commit);
    int32_t BandPointSet(uint16_t band, uint16_t point, double value, uint16_t commit);
    int32_t BandPointSetIP(uint16_t band, uint16_t point, double value, uint16_t commit);
    int32_t Abort();
    int32_t BandAdd(double startHz, double stopHz, uint32_t points);
    int32_t BandDescQuery(uint16_t band, double* startHz, double* stopHz, uint32_t* points);
    int32_t BandPointData(uint16_t band, uint16_t point, double value);
    int32_t BandPointDataQuery(uint16_t band, uint16_t point, double* value);
    int32_t Clear();
    int32_t Commit(int16_t year, int16_t month, int16_t day, int16_t hour, int16_t minute, int16_t second);
    int32_t Data(uint32_t count, const double* data);
    int32_t DataQuery(uint32_t count, double* data);
    int32_t DomainQuery(double* minimum, double* maximum);
    int32_t NBandsQuery(uint16_t* bands);
    int32_t TempDiffQuery(double* degrees);
    int32_t TimeStampQuery(uint16_t* year, uint16_t* month, uint16_t* day, uint16_t* hour, uint16_t* minute,
                           uint16_t* second);
    int32_t LoFrequencyQuery(uint16_t band, double* loHz);
    int32_t DataElementsQuery(uint32_t* count);
    int32_t Init();
    int32_t Adj();
    int32_t AdjIP(uint32_t element, double adjustment);
    int32_t SetIP(uint32_t element, double value);
    int32_t Value(double value);
    int32_t ValueQuery(double* value);
    int32_t MeasDataQuery(uint32_t count, double* data);
    int32_t Verify();

    // Counts the writes of the stored copy, so a caller can tell that an operation reached the EEPROM.
    uint32_t storeCount() const { return storeCount_; }
    // The set as a freshly opened session finds it: the working copy equals the stored one.
    CalSet committedCopy() const;

    const TimeStamp& stamp() const { return stored_.stamp; }
    double storedValue() const { return stored_.value; }
    double storedElement(size_t i) const { return i < stored_.elements.size() ? stored_.elements[i] : 0.0; }
    // The stored band table at `hz`: linear between the points of the band that holds it (its points
    // spread evenly from its start to its stop), the nearest end point beyond the table, 0 without bands.
    double storedBandValueAt(double hz) const;
    // Erases both copies, as blanking the EEPROMs does.
    void blank();
    void setTemperature(double celsius) { context_.temperatureC = celsius; }

  private:
    struct Band {
        double startHz = 0.0;
        double stopHz = 0.0;
        std::vector<double> points;   // magnitude corrections (dB), or delays (s)
        std::vector<double> inPhase;  // in-phase data element of each point
    };
    struct Contents {
        std::vector<Band> bands;
        double value = 0.0;
        std::vector<double> elements;
        double calTemperatureC = 0.0;
        TimeStamp stamp;
    };

    int32_t pointRef(uint16_t band, uint16_t point, bool inPhase, double** ref);
    void store(const TimeStamp& stamp);
    uint32_t elementCount(const Contents& c) const;
    std::vector<double> measure() const;

    CalGroup group_ = CalGroup::RFDigAmpRef;
    CalKind kind_ = CalKind::Band;
    CalContext context_{};
    Contents working_;
    Contents stored_;
    std::vector<double> lastMeasurement_;
    uint32_t storeCount_ = 0;
};

enum class Board { Control, If, Rf, Count };

class IdRecord {
  public:
    IdRecord() = default;
    IdRecord(Board board, uint16_t modelCode, const TimeStamp& factoryStamp);

    int32_t Abort();
    int32_t Commit(int16_t year, int16_t month, int16_t day, int16_t hour, int16_t minute, int16_t second);
    int32_t ModstateValue(uint32_t value);
    int32_t ModstateValueQuery(uint32_t* value);
    int32_t FirstCalValue(uint32_t value);
    int32_t FirstCalValueQuery(uint32_t* value);
    int32_t LastCalValue(uint32_t value);
    int32_t LastCalValueQuery(uint32_t* value);
    int32_t TypeNoValue(const char* value);
    int32_t TypeNoValueQuery(char* value);
    int32_t SerialValue(const char* value);
    int32_t SerialValueQuery(char* value);
    int32_t BuildStateValue(const char* value);
    int32_t BuildStateValueQuery(char* value);
    int32_t ReworkValue(uint16_t value);
    int32_t ReworkValueQuery(uint16_t* value);
    int32_t CalSchemeValue(uint16_t value);
    int32_t CalSchemeValueQuery(uint16_t* value);
    int32_t InfoValue(const char* value);
    int32_t InfoValueQuery(char* value);

    void blank();
    uint32_t storeCount() const { return storeCount_; }
    IdRecord committedCopy() const;

  private:
    struct Fields {
        uint32_t modstate = 0;
        uint32_t firstCal = 0;
        uint32_t lastCal = 0;
        uint16_t rework = 0;
        uint16_t calScheme = 0;
        std::string typeNo;
        std::string serial;
        std::string buildState;
        std::string info;
    };
    static int32_t setText(std::string& field, const char* value);
    static int32_t getText(const std::string& field, char* value);

    Fields working_;
    Fields stored_;
    uint32_t storeCount_ = 0;
};

}  // namespace qm::sim

#endif
