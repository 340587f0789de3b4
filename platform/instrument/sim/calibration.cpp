// Calibration data sets and board identity records: working and stored copies, commit with time stamps,
// and the measurements the module makes when a set is adjusted.

#include "calibration.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <tuple>

#include "status.h"

namespace qm::sim {

bool TimeStamp::operator<(const TimeStamp& o) const {
    return std::tie(year, month, day, hour, minute, second) <
           std::tie(o.year, o.month, o.day, o.hour, o.minute, o.second);
}

int32_t makeTimeStamp(int16_t year, int16_t month, int16_t day, int16_t hour, int16_t minute, int16_t second,
                      TimeStamp* out) {
    if (year < 1980 || year > 2107 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return ERR_INVALID_DATE;
    }
    *out =
        TimeStamp{static_cast<uint16_t>(year), static_cast<uint16_t>(month),  static_cast<uint16_t>(day),
                  static_cast<uint16_t>(hour), static_cast<uint16_t>(minute), static_cast<uint16_t>(second)};
    return OK;
}

TimeStamp localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return TimeStamp{static_cast<uint16_t>(local.tm_year + 1900), static_cast<uint16_t>(local.tm_mon + 1),
                     static_cast<uint16_t>(local.tm_mday),        static_cast<uint16_t>(local.tm_hour),
                     static_cast<uint16_t>(local.tm_min),         static_cast<uint16_t>(local.tm_sec)};
}

uint32_t packTimeStamp(const TimeStamp& t) {
    if (t.empty()) return 0;
    const uint32_t date =
        ((static_cast<uint32_t>(t.year - 1980) & 0x7F) << 9) | ((t.month & 0x0Fu) << 5) | (t.day & 0x1Fu);
    const uint32_t time = ((t.hour & 0x1Fu) << 11) | ((t.minute & 0x3Fu) << 5) | ((t.second / 2u) & 0x1Fu);
    return (date << 16) | time;
}

namespace {

template <class T>
int32_t put(T* p, T v) {
    if (!p) return ERR_NULL_POINTER;
    *p = v;
    return OK;
}

CalKind kindOf(CalGroup g) {
    switch (g) {
        case CalGroup::IFDigAmpRef:
        case CalGroup::IFDigAmp:
        case CalGroup::IFDigGrpDel:
        case CalGroup::Temp:
            return CalKind::Value;
        case CalGroup::IFDCFreq:
            return CalKind::Measurement;
        default:
            return CalKind::Band;
    }
}

// Sets measured against frequency at the IF rather than across the RF band.
bool ifDomain(CalGroup g) {
    return g == CalGroup::DCIFShape || g == CalGroup::DigAmpIFShape;
}

// Small smooth deviations a real board shows, so calibration tables are not all zeros.
double ripple(double x, double scale) {
    return scale * std::sin(2.0 * M_PI * x);
}

}  // namespace

double factoryIfPadErrorDb(int db) {
    return 0.01 * (db % 7) - 0.03;
}

CalSet::CalSet(CalGroup group, const CalContext& context, const TimeStamp& factoryStamp)
    : group_(group), kind_(kindOf(group)), context_(context) {
    Contents& c = working_;
    c.calTemperatureC = context.temperatureC - 1.5;  // calibrated on a slightly cooler bench
    if (kind_ == CalKind::Band) {
        int bands = 4;
        uint32_t points = 16;
        double lo = context.rfMinHz;
        double hi = context.rfMaxHz;
        if (ifDomain(group)) {
            bands = 1;
            points = 33;
            lo = context.ifHz - context.ifBandwidthHz / 2.0;
            hi = context.ifHz + context.ifBandwidthHz / 2.0;
        } else if (group == CalGroup::RFDCFreq) {
            bands = 8;
            points = 32;
        } else if (group == CalGroup::PowDet) {
            bands = 2;
            points = 17;
        }
        const double width = (hi - lo) / bands;
        for (int b = 0; b < bands; ++b) {
            Band band;
            band.startHz = lo + b * width;
            band.stopHz = lo + (b + 1) * width;
            for (uint32_t p = 0; p < points; ++p) {
                const double x = (b * points + p) / static_cast<double>(bands * points);
                band.points.push_back(ripple(x * 3.0, 0.25));
                band.inPhase.push_back(ripple(x * 2.0 + 0.1, 0.02));
            }
            c.bands.push_back(std::move(band));
        }
    } else if (kind_ == CalKind::Value) {
        lastMeasurement_ = measure();
        c.value = lastMeasurement_.front();
        c.elements.assign(lastMeasurement_.begin() + 1, lastMeasurement_.end());
    }
    store(factoryStamp);
}

std::vector<double> CalSet::measure() const {
    // First entry: the set's reference value; the rest: its data elements.
    std::vector<double> m;
    switch (group_) {
        case CalGroup::IFDigAmpRef:
            m = {FACTORY_DIG_REF_DB};
            break;
        case CalGroup::IFDigAmp:
            m.push_back(0.08);
            for (int db = 0; db <= 35; ++db) m.push_back(factoryIfPadErrorDb(db));  // per IF attenuation step
            break;
        case CalGroup::IFDigGrpDel: {
            // The delay of the Q branch behind the I branch, which the correction filter takes out,
            // and the ripple of the IF filter's group delay across its band.
            m.push_back(context_.iqSkewS);
            for (int i = 0; i < 16; ++i) m.push_back(ripple(i / 16.0, 2e-9));
            break;
        }
        case CalGroup::Temp:
            m = {context_.temperatureC};
            break;
        case CalGroup::IFDCFreq:
            for (int i = 0; i < 16; ++i) m.push_back(ripple(i / 16.0, 0.4));
            break;
        default:
            break;
    }
    return m;
}

void CalSet::store(const TimeStamp& stamp) {
    working_.stamp = stamp;
    stored_ = working_;
    ++storeCount_;
}

CalSet CalSet::committedCopy() const {
    CalSet copy = *this;
    copy.working_ = stored_;
    copy.lastMeasurement_.clear();  // a measurement belongs to the session that made it
    return copy;
}

uint32_t CalSet::elementCount(const Contents& c) const {
    if (kind_ == CalKind::Value) return static_cast<uint32_t>(1 + c.elements.size());
    uint32_t n = 0;
    for (const Band& b : c.bands) n += static_cast<uint32_t>(b.points.size());
    return n;
}

void CalSet::blank() {
    working_ = Contents{};
    stored_ = Contents{};
    ++storeCount_;
}

int32_t CalSet::pointRef(uint16_t band, uint16_t point, bool inPhase, double** ref) {
    if (kind_ != CalKind::Band) return ERR_NOT_SUPPORTED;
    if (band >= working_.bands.size()) return ERR_CAL_BAND;
    Band& b = working_.bands[band];
    if (point >= b.points.size()) return ERR_CAL_POINT;
    *ref = inPhase ? &b.inPhase[point] : &b.points[point];
    return OK;
}

int32_t CalSet::BandPointAdj(uint16_t band, uint16_t point, double adjustment, uint16_t commit) {
    double* ref = nullptr;
    if (int32_t st = pointRef(band, point, false, &ref); st != OK) return st;
    *ref += adjustment;
    if (commit) store(localTimeNow());
    return OK;
}

int32_t CalSet::BandPointAdjIP(uint16_t band, uint16_t point, double adjustment, uint16_t commit) {
    double* ref = nullptr;
    if (int32_t st = pointRef(band, point, true, &ref); st != OK) return st;
    *ref += adjustment;
    if (commit) store(localTimeNow());
    return OK;
}

int32_t CalSet::BandPointSet(uint16_t band, uint16_t point, double value, uint16_t commit) {
    double* ref = nullptr;
    if (int32_t st = pointRef(band, point, false, &ref); st != OK) return st;
    *ref = value;
    if (commit) store(localTimeNow());
    return OK;
}

int32_t CalSet::BandPointSetIP(uint16_t band, uint16_t point, double value, uint16_t commit) {
    double* ref = nullptr;
    if (int32_t st = pointRef(band, point, true, &ref); st != OK) return st;
    *ref = value;
    if (commit) store(localTimeNow());
    return OK;
}

int32_t CalSet::Abort() {
    working_ = stored_;
    return OK;
}

int32_t CalSet::BandAdd(double startHz, double stopHz, uint32_t points) {
    if (kind_ != CalKind::Band) return ERR_NOT_SUPPORTED;
    if (!(startHz < stopHz) || points < 1 || points > 1024) return ERR_PARAMETER;
    if (working_.bands.size() >= 32) return ERR_CAL_BAND;
    Band b;
    b.startHz = startHz;
    b.stopHz = stopHz;
    b.points.assign(points, 0.0);
    b.inPhase.assign(points, 0.0);
    working_.bands.push_back(std::move(b));
    return OK;
}

double CalSet::storedBandValueAt(double hz) const {
    const std::vector<Band>& bands = stored_.bands;
    if (bands.empty()) return 0.0;
    const Band* band = &bands.front();
    if (hz >= bands.back().startHz) band = &bands.back();
    for (const Band& b : bands) {
        if (hz >= b.startHz && hz <= b.stopHz) {
            band = &b;
            break;
        }
    }
    const std::vector<double>& p = band->points;
    if (p.empty()) return 0.0;
    if (p.size() == 1 || band->stopHz <= band->startHz) return p.front();
    const double position =
        (hz - band->startHz) / (band->stopHz - band->startHz) * static_cast<double>(p.size() - 1);
    if (position <= 0.0) return p.front();
    if (position >= static_cast<double>(p.size() - 1)) return p.back();
    const size_t i = static_cast<size_t>(position);
    const double t = position - static_cast<double>(i);
    return p[i] + t * (p[i + 1] - p[i]);
}

int32_t CalSet::BandDescQuery(uint16_t band, double* startHz, double* stopHz, uint32_t* points) {
    if (!startHz || !stopHz || !points) return ERR_NULL_POINTER;
    if (kind_ != CalKind::Band) return ERR_NOT_SUPPORTED;
    if (band >= working_.bands.size()) return ERR_CAL_BAND;
    const Band& b = working_.bands[band];
    *startHz = b.startHz;
    *stopHz = b.stopHz;
    *points = static_cast<uint32_t>(b.points.size());
    return OK;
}

int32_t CalSet::BandPointData(uint16_t band, uint16_t point, double value) {
    double* ref = nullptr;
    if (int32_t st = pointRef(band, point, false, &ref); st != OK) return st;
    *ref = value;
    return OK;
}

int32_t CalSet::BandPointDataQuery(uint16_t band, uint16_t point, double* value) {
    if (!value) return ERR_NULL_POINTER;
    double* ref = nullptr;
    if (int32_t st = pointRef(band, point, false, &ref); st != OK) return st;
    *value = *ref;
    return OK;
}

int32_t CalSet::Clear() {
    const double temperature = working_.calTemperatureC;
    const TimeStamp stamp = working_.stamp;
    working_ = Contents{};
    working_.calTemperatureC = temperature;
    working_.stamp = stamp;
    return OK;
}

int32_t CalSet::Commit(int16_t year, int16_t month, int16_t day, int16_t hour, int16_t minute,
                       int16_t second) {
    TimeStamp t;
    if (int32_t st = makeTimeStamp(year, month, day, hour, minute, second, &t); st != OK) return st;
    working_.calTemperatureC = context_.temperatureC;
    store(t);
    return OK;
}

int32_t CalSet::Data(uint32_t count, const double* data) {
    if (kind_ == CalKind::Measurement) return ERR_NOT_SUPPORTED;
    if (!data && count > 0) return ERR_NULL_POINTER;
    if (count != elementCount(working_)) return ERR_PARAMETER;
    if (kind_ == CalKind::Value) {
        working_.value = data[0];
        working_.elements.assign(data + 1, data + count);
        return OK;
    }
    uint32_t i = 0;
    for (Band& b : working_.bands) {
        for (double& p : b.points) p = data[i++];
    }
    return OK;
}

int32_t CalSet::DataQuery(uint32_t count, double* data) {
    if (kind_ == CalKind::Measurement) return ERR_NOT_SUPPORTED;
    const uint32_t n = elementCount(working_);
    if (!data && n > 0) return ERR_NULL_POINTER;
    if (count < n) return ERR_BUFFER_TOO_SMALL;
    if (kind_ == CalKind::Value) {
        data[0] = working_.value;
        for (size_t i = 0; i < working_.elements.size(); ++i) data[i + 1] = working_.elements[i];
        return OK;
    }
    uint32_t i = 0;
    for (const Band& b : working_.bands) {
        for (double p : b.points) data[i++] = p;
    }
    return OK;
}

int32_t CalSet::DomainQuery(double* minimum, double* maximum) {
    if (!minimum || !maximum) return ERR_NULL_POINTER;
    switch (group_) {
        case CalGroup::PowDet:
            *minimum = -60.0;
            *maximum = 20.0;
            return OK;
        case CalGroup::Temp:
            *minimum = 0.0;
            *maximum = 70.0;
            return OK;
        case CalGroup::IFDigAmpRef:
        case CalGroup::IFDigAmp:
        case CalGroup::IFDigGrpDel:
        case CalGroup::IFDCFreq:
        case CalGroup::DCIFShape:
        case CalGroup::DigAmpIFShape:
            *minimum = context_.ifHz - context_.ifBandwidthHz / 2.0;
            *maximum = context_.ifHz + context_.ifBandwidthHz / 2.0;
            return OK;
        default:
            *minimum = context_.rfMinHz;
            *maximum = context_.rfMaxHz;
            return OK;
    }
}

int32_t CalSet::NBandsQuery(uint16_t* bands) {
    if (kind_ != CalKind::Band) return ERR_NOT_SUPPORTED;
    return put(bands, static_cast<uint16_t>(working_.bands.size()));
}

int32_t CalSet::TempDiffQuery(double* degrees) {
    return put(degrees, context_.temperatureC - stored_.calTemperatureC);
}

int32_t CalSet::TimeStampQuery(uint16_t* year, uint16_t* month, uint16_t* day, uint16_t* hour,
                               uint16_t* minute, uint16_t* second) {
    if (!year || !month || !day || !hour || !minute || !second) return ERR_NULL_POINTER;
    const TimeStamp& t = stored_.stamp;
    *year = t.year;
    *month = t.month;
    *day = t.day;
    *hour = t.hour;
    *minute = t.minute;
    *second = t.second;
    return OK;
}

int32_t CalSet::LoFrequencyQuery(uint16_t band, double* loHz) {
    if (!loHz) return ERR_NULL_POINTER;
    if (kind_ != CalKind::Band) return ERR_NOT_SUPPORTED;
    if (band >= working_.bands.size()) return ERR_CAL_BAND;
    const Band& b = working_.bands[band];
    // IF-shape sets are measured with the LO parked at the middle of the RF band, LO above.
    const double rf =
        ifDomain(group_) ? (context_.rfMinHz + context_.rfMaxHz) / 2.0 : (b.startHz + b.stopHz) / 2.0;
    *loHz = rf + context_.ifHz;
    return OK;
}

int32_t CalSet::DataElementsQuery(uint32_t* count) {
    if (kind_ == CalKind::Measurement) return put(count, static_cast<uint32_t>(measure().size()));
    return put(count, elementCount(working_));
}

int32_t CalSet::Init() {
    if (kind_ != CalKind::Band) return ERR_NOT_SUPPORTED;
    const double temperature = working_.calTemperatureC;
    working_ = Contents{};
    working_.calTemperatureC = temperature;
    for (int b = 0; b < 2; ++b) {
        Band band;
        band.startHz = b == 0 ? context_.rfMinHz : (context_.rfMinHz + context_.rfMaxHz) / 2.0;
        band.stopHz = b == 0 ? (context_.rfMinHz + context_.rfMaxHz) / 2.0 : context_.rfMaxHz;
        band.points.assign(17, 0.0);
        band.inPhase.assign(17, 0.0);
        working_.bands.push_back(std::move(band));
    }
    return OK;
}

int32_t CalSet::Adj() {
    if (kind_ != CalKind::Value) return ERR_NOT_SUPPORTED;
    lastMeasurement_ = measure();
    working_.value = lastMeasurement_.front();
    working_.elements.assign(lastMeasurement_.begin() + 1, lastMeasurement_.end());
    return OK;
}

int32_t CalSet::AdjIP(uint32_t element, double adjustment) {
    if (kind_ != CalKind::Value) return ERR_NOT_SUPPORTED;
    if (element >= working_.elements.size()) return ERR_CAL_POINT;
    working_.elements[element] += adjustment;
    return OK;
}

int32_t CalSet::SetIP(uint32_t element, double value) {
    if (kind_ != CalKind::Value) return ERR_NOT_SUPPORTED;
    if (element >= working_.elements.size()) return ERR_CAL_POINT;
    working_.elements[element] = value;
    return OK;
}

int32_t CalSet::Value(double value) {
    if (kind_ != CalKind::Value) return ERR_NOT_SUPPORTED;
    working_.value = value;
    return OK;
}

int32_t CalSet::ValueQuery(double* value) {
    if (kind_ != CalKind::Value) return ERR_NOT_SUPPORTED;
    return put(value, working_.value);
}

int32_t CalSet::MeasDataQuery(uint32_t count, double* data) {
    if (kind_ == CalKind::Band) return ERR_NOT_SUPPORTED;
    if (lastMeasurement_.empty()) lastMeasurement_ = measure();
    if (!data) return ERR_NULL_POINTER;
    if (count < lastMeasurement_.size()) return ERR_BUFFER_TOO_SMALL;
    for (size_t i = 0; i < lastMeasurement_.size(); ++i) data[i] = lastMeasurement_[i];
    return OK;
}

int32_t CalSet::Verify() {
    if (kind_ != CalKind::Value) return ERR_NOT_SUPPORTED;
    lastMeasurement_ = measure();
    const double fresh = lastMeasurement_.front();
    // The stored correction passes while it is within 5 % of what the module measures now.
    if (std::fabs(stored_.value - fresh) > 0.05 * std::fabs(fresh)) return ERR_CAL_VERIFY;
    return OK;
}

// ---- Board identity records ----

IdRecord::IdRecord(Board board, uint16_t modelCode, const TimeStamp& factoryStamp) {
    static const char* const BOARD_NAMES[] = {"Control", "IF", "RF"};
    const int index = static_cast<int>(board);
    char text[64];
    std::snprintf(text, sizeof text, "%04X%02d/%03d", modelCode, 10 * (index + 1), index + 1);
    working_.typeNo = text;
    std::snprintf(text, sizeof text, "%06u/%03d", 4170u + 37u * static_cast<unsigned>(index), 12 + index);
    working_.serial = text;
    working_.buildState = "PM3";
    working_.info = std::string(BOARD_NAMES[index]) + " board";
    working_.modstate = (2u << 16) | static_cast<uint32_t>(5 + index);
    TimeStamp first = factoryStamp;
    first.year = static_cast<uint16_t>(first.year - 1);
    working_.firstCal = packTimeStamp(first);
    working_.lastCal = packTimeStamp(factoryStamp);
    working_.rework = static_cast<uint16_t>(index);
    working_.calScheme = 2;
    stored_ = working_;
}

void IdRecord::blank() {
    working_ = Fields{};
    stored_ = Fields{};
    ++storeCount_;
}

IdRecord IdRecord::committedCopy() const {
    IdRecord copy = *this;
    copy.working_ = stored_;
    return copy;
}

int32_t IdRecord::setText(std::string& field, const char* value) {
    if (!value) return ERR_NULL_POINTER;
    if (std::strlen(value) > 255) return ERR_TEXT_TOO_LONG;
    field = value;
    return OK;
}

int32_t IdRecord::getText(const std::string& field, char* value) {
    if (!value) return ERR_NULL_POINTER;
    std::snprintf(value, 256, "%s", field.c_str());
    return OK;
}

int32_t IdRecord::Abort() {
    working_ = stored_;
    return OK;
}

int32_t IdRecord::Commit(int16_t year, int16_t month, int16_t day, int16_t hour, int16_t minute,
                         int16_t second) {
    TimeStamp t;
    if (int32_t st = makeTimeStamp(year, month, day, hour, minute, second, &t); st != OK) return st;
    // Committing a record is a calibration event of its board: it becomes the last one, and the first
    // one too on a board that never had one.
    working_.lastCal = packTimeStamp(t);
    if (working_.firstCal == 0) working_.firstCal = working_.lastCal;
    stored_ = working_;
    ++storeCount_;
    return OK;
}

int32_t IdRecord::ModstateValue(uint32_t value) {
    working_.modstate = value;
    return OK;
}
int32_t IdRecord::ModstateValueQuery(uint32_t* value) {
    return put(value, working_.modstate);
}
int32_t IdRecord::FirstCalValue(uint32_t value) {
    working_.firstCal = value;
    return OK;
}
int32_t IdRecord::FirstCalValueQuery(uint32_t* value) {
    return put(value, working_.firstCal);
}
int32_t IdRecord::LastCalValue(uint32_t value) {
    working_.lastCal = value;
    return OK;
}
int32_t IdRecord::LastCalValueQuery(uint32_t* value) {
    return put(value, working_.lastCal);
}
int32_t IdRecord::TypeNoValue(const char* value) {
    return setText(working_.typeNo, value);
}
int32_t IdRecord::TypeNoValueQuery(char* value) {
    return getText(working_.typeNo, value);
}
int32_t IdRecord::SerialValue(const char* value) {
    return setText(working_.serial, value);
}
int32_t IdRecord::SerialValueQuery(char* value) {
    return getText(working_.serial, value);
}
int32_t IdRecord::BuildStateValue(const char* value) {
    return setText(working_.buildState, value);
}
int32_t IdRecord::BuildStateValueQuery(char* value) {
    return getText(working_.buildState, value);
}
int32_t IdRecord::ReworkValue(uint16_t value) {
    working_.rework = value;
    return OK;
}
int32_t IdRecord::ReworkValueQuery(uint16_t* value) {
    return put(value, working_.rework);
}
int32_t IdRecord::CalSchemeValue(uint16_t value) {
    working_.calScheme = value;
    return OK;
}
int32_t IdRecord::CalSchemeValueQuery(uint16_t* value) {
    return put(value, working_.calScheme);
}
int32_t IdRecord::InfoValue(const char* value) {
    return setText(working_.info, value);
}
int32_t IdRecord::InfoValueQuery(char* value) {
    return getText(working_.info, value);
}

}  // namespace qm::sim
