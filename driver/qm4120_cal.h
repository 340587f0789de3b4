/* qm4120 calibration family: maintenance of the module's calibration data sets and board identity
 * records. Included by qm4120.h; do not include it on its own.
 *
 * Every operation qm4120_cal_<Group>_<Operation> takes the session first and returns the mapped status
 * of the instrument library (see qm4120.h). Each data set has a working copy, edited by the Adj, Set,
 * Data, Value and BandAdd operations, and a stored copy in the module's EEPROM:
 *   Commit(year, month 1-12, day, hour, minute, second) stores the working copy with that time stamp;
 *   Abort reloads the working copy from the stored one; Clear empties it.
 *
 * Band sets (RFDigAmpRef, DCIFShape, DigAmpIFShape, RFDCFreqRef, RFDCFreq, PowDet) hold bands of
 * frequency points. BandAdd(startHz, stopHz, points) appends a band, BandDescQuery(band) reads it back,
 * NBandsQuery counts them. BandPointData(band, point, value) and BandPointDataQuery move one point (dB;
 * dBm for the power detector); BandPointAdj(band, point, adjustment, commit) adds to a point and
 * BandPointSet sets it, storing at once when commit is 1; the IP forms act on the in-phase element of
 * the point. LoFrequencyQuery(band) gives the LO frequency the band was calibrated with (Hz).
 *
 * Value sets (IFDigAmpRef, IFDigAmp, IFDigGrpDel, Temp) hold one reference value (dB, seconds of group
 * delay, or deg C): Value and ValueQuery move it, Adj measures and adjusts the set in the module, AdjIP
 * and SetIP adjust or set one data element, MeasDataQuery gives the last measurement, and
 * IFDigGrpDel_Verify checks the stored group-delay correction against a fresh measurement.
 *
 * Common queries: Data(count, data) and DataQuery(count, data) move the whole set as `count` doubles
 * (DataElementsQuery gives the count where the set has one); DomainQuery gives the range the set covers
 * (Hz; dBm for PowDet; deg C for Temp); TempDiffQuery the module temperature now minus at calibration
 * (deg C); TimeStampQuery the date and time of the last commit as year (for example 2005), month, day,
 * hour, minute, second.
 *
 * Board identity records (Id_Control, Id_If, Id_Rf), one field per Value / ValueQuery pair:
 *   Modstate    uint32_t: MFG BOM in bits 0-15, software state in bits 16-31;
 *   FirstCal,   uint32_t packed date and time: bits 31-25 year - 1980, 24-21 month, 20-16 day,
 *   LastCal       15-11 hours, 10-5 minutes, 4-0 seconds / 2;
 *   Rework, CalScheme  uint16_t;
 *   TypeNo, Serial, BuildState, Info  text of at most 255 characters; queries fill QM4120_TEXT_SIZE bytes.
 * Value writes the working copy of one field; Commit stores the record; Abort drops uncommitted edits.
 */
#ifndef QM4120_CAL_H
#define QM4120_CAL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int32_t qm4120_cal_RFDigAmpRef_BandPointAdj(uint32_t vi, uint16_t band, uint16_t point, double adjustment,
                                            uint16_t commit);
int32_t qm4120_cal_RFDigAmpRef_Abort(uint32_t vi);
int32_t qm4120_cal_RFDigAmpRef_BandAdd(uint32_t vi, double startHz, double stopHz, uint32_t points);
int32_t qm4120_cal_RFDigAmpRef_BandDescQuery(uint32_t vi, uint16_t band, double* startHz, double* stopHz,
                                             uint32_t* points);
int32_t qm4120_cal_RFDigAmpRef_BandPointData(uint32_t vi, uint16_t band, uint16_t point, double value);
int32_t qm4120_cal_RFDigAmpRef_BandPointDataQuery(uint32_t vi, uint16_t band, uint16_t point, double* value);
int32_t qm4120_cal_RFDigAmpRef_Clear(uint32_t vi);
int32_t qm4120_cal_RFDigAmpRef_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                      int16_t minute, int16_t second);
int32_t qm4120_cal_RFDigAmpRef_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_RFDigAmpRef_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_RFDigAmpRef_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_RFDigAmpRef_NBandsQuery(uint32_t vi, uint16_t* bands);
int32_t qm4120_cal_RFDigAmpRef_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_RFDigAmpRef_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                              uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_cal_RFDigAmpRef_LoFrequencyQuery(uint32_t vi, uint16_t band, double* loHz);

int32_t qm4120_cal_DCIFShape_BandPointAdj(uint32_t vi, uint16_t band, uint16_t point, double adjustment,
                                          uint16_t commit);
int32_t qm4120_cal_DCIFShape_Abort(uint32_t vi);
int32_t qm4120_cal_DCIFShape_BandAdd(uint32_t vi, double startHz, double stopHz, uint32_t points);
int32_t qm4120_cal_DCIFShape_BandDescQuery(uint32_t vi, uint16_t band, double* startHz, double* stopHz,
                                           uint32_t* points);
int32_t qm4120_cal_DCIFShape_BandPointData(uint32_t vi, uint16_t band, uint16_t point, double value);
int32_t qm4120_cal_DCIFShape_BandPointDataQuery(uint32_t vi, uint16_t band, uint16_t point, double* value);
int32_t qm4120_cal_DCIFShape_Clear(uint32_t vi);
int32_t qm4120_cal_DCIFShape_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                    int16_t minute, int16_t second);
int32_t qm4120_cal_DCIFShape_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_DCIFShape_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_DCIFShape_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_DCIFShape_NBandsQuery(uint32_t vi, uint16_t* bands);
int32_t qm4120_cal_DCIFShape_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_DCIFShape_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                            uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_cal_DCIFShape_LoFrequencyQuery(uint32_t vi, uint16_t band, double* loHz);

int32_t qm4120_cal_DigAmpIFShape_BandPointAdj(uint32_t vi, uint16_t band, uint16_t point, double adjustment,
                                              uint16_t commit);
int32_t qm4120_cal_DigAmpIFShape_Abort(uint32_t vi);
int32_t qm4120_cal_DigAmpIFShape_BandAdd(uint32_t vi, double startHz, double stopHz, uint32_t points);
int32_t qm4120_cal_DigAmpIFShape_BandDescQuery(uint32_t vi, uint16_t band, double* startHz, double* stopHz,
                                               uint32_t* points);
int32_t qm4120_cal_DigAmpIFShape_BandPointData(uint32_t vi, uint16_t band, uint16_t point, double value);
int32_t qm4120_cal_DigAmpIFShape_BandPointDataQuery(uint32_t vi, uint16_t band, uint16_t point,
                                                    double* value);
int32_t qm4120_cal_DigAmpIFShape_Clear(uint32_t vi);
int32_t qm4120_cal_DigAmpIFShape_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                        int16_t minute, int16_t second);
int32_t qm4120_cal_DigAmpIFShape_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_DigAmpIFShape_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_DigAmpIFShape_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_DigAmpIFShape_NBandsQuery(uint32_t vi, uint16_t* bands);
int32_t qm4120_cal_DigAmpIFShape_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_DigAmpIFShape_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                                uint16_t* hour, uint16_t* minute, uint16_t* second);

int32_t qm4120_cal_RFDCFreqRef_BandPointSet(uint32_t vi, uint16_t band, uint16_t point, double value,
                                            uint16_t commit);
int32_t qm4120_cal_RFDCFreqRef_Abort(uint32_t vi);
int32_t qm4120_cal_RFDCFreqRef_BandAdd(uint32_t vi, double startHz, double stopHz, uint32_t points);
int32_t qm4120_cal_RFDCFreqRef_BandDescQuery(uint32_t vi, uint16_t band, double* startHz, double* stopHz,
                                             uint32_t* points);
int32_t qm4120_cal_RFDCFreqRef_BandPointData(uint32_t vi, uint16_t band, uint16_t point, double value);
int32_t qm4120_cal_RFDCFreqRef_BandPointDataQuery(uint32_t vi, uint16_t band, uint16_t point, double* value);
int32_t qm4120_cal_RFDCFreqRef_Clear(uint32_t vi);
int32_t qm4120_cal_RFDCFreqRef_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                      int16_t minute, int16_t second);
int32_t qm4120_cal_RFDCFreqRef_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_RFDCFreqRef_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_RFDCFreqRef_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_RFDCFreqRef_NBandsQuery(uint32_t vi, uint16_t* bands);
int32_t qm4120_cal_RFDCFreqRef_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_RFDCFreqRef_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                              uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_cal_RFDCFreqRef_LoFrequencyQuery(uint32_t vi, uint16_t band, double* loHz);

int32_t qm4120_cal_RFDCFreq_BandPointAdj(uint32_t vi, uint16_t band, uint16_t point, double adjustment,
                                         uint16_t commit);
int32_t qm4120_cal_RFDCFreq_BandPointAdjIP(uint32_t vi, uint16_t band, uint16_t point, double adjustment,
                                           uint16_t commit);
int32_t qm4120_cal_RFDCFreq_BandPointSetIP(uint32_t vi, uint16_t band, uint16_t point, double value,
                                           uint16_t commit);
int32_t qm4120_cal_RFDCFreq_Abort(uint32_t vi);
int32_t qm4120_cal_RFDCFreq_BandAdd(uint32_t vi, double startHz, double stopHz, uint32_t points);
int32_t qm4120_cal_RFDCFreq_BandDescQuery(uint32_t vi, uint16_t band, double* startHz, double* stopHz,
                                          uint32_t* points);
int32_t qm4120_cal_RFDCFreq_BandPointData(uint32_t vi, uint16_t band, uint16_t point, double value);
int32_t qm4120_cal_RFDCFreq_BandPointDataQuery(uint32_t vi, uint16_t band, uint16_t point, double* value);
int32_t qm4120_cal_RFDCFreq_Clear(uint32_t vi);
int32_t qm4120_cal_RFDCFreq_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                   int16_t minute, int16_t second);
int32_t qm4120_cal_RFDCFreq_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_RFDCFreq_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_RFDCFreq_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_RFDCFreq_NBandsQuery(uint32_t vi, uint16_t* bands);
int32_t qm4120_cal_RFDCFreq_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_RFDCFreq_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                           uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_cal_RFDCFreq_DataElementsQuery(uint32_t vi, uint32_t* count);
int32_t qm4120_cal_RFDCFreq_LoFrequencyQuery(uint32_t vi, uint16_t band, double* loHz);

int32_t qm4120_cal_PowDet_Init(uint32_t vi);
int32_t qm4120_cal_PowDet_BandPointAdj(uint32_t vi, uint16_t band, uint16_t point, double adjustment,
                                       uint16_t commit);
int32_t qm4120_cal_PowDet_Abort(uint32_t vi);
int32_t qm4120_cal_PowDet_BandAdd(uint32_t vi, double startHz, double stopHz, uint32_t points);
int32_t qm4120_cal_PowDet_BandDescQuery(uint32_t vi, uint16_t band, double* startHz, double* stopHz,
                                        uint32_t* points);
int32_t qm4120_cal_PowDet_BandPointData(uint32_t vi, uint16_t band, uint16_t point, double value);
int32_t qm4120_cal_PowDet_BandPointDataQuery(uint32_t vi, uint16_t band, uint16_t point, double* value);
int32_t qm4120_cal_PowDet_Clear(uint32_t vi);
int32_t qm4120_cal_PowDet_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                 int16_t minute, int16_t second);
int32_t qm4120_cal_PowDet_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_PowDet_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_PowDet_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_PowDet_NBandsQuery(uint32_t vi, uint16_t* bands);
int32_t qm4120_cal_PowDet_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_PowDet_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                         uint16_t* hour, uint16_t* minute, uint16_t* second);

int32_t qm4120_cal_IFDigAmpRef_Adj(uint32_t vi);
int32_t qm4120_cal_IFDigAmpRef_Abort(uint32_t vi);
int32_t qm4120_cal_IFDigAmpRef_Value(uint32_t vi, double value);
int32_t qm4120_cal_IFDigAmpRef_ValueQuery(uint32_t vi, double* value);
int32_t qm4120_cal_IFDigAmpRef_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                      int16_t minute, int16_t second);
int32_t qm4120_cal_IFDigAmpRef_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_IFDigAmpRef_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_IFDigAmpRef_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_IFDigAmpRef_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_IFDigAmpRef_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                              uint16_t* hour, uint16_t* minute, uint16_t* second);

int32_t qm4120_cal_IFDigAmp_MeasDataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_IFDigAmp_Adj(uint32_t vi);
int32_t qm4120_cal_IFDigAmp_AdjIP(uint32_t vi, uint32_t element, double adjustment);
int32_t qm4120_cal_IFDigAmp_SetIP(uint32_t vi, uint32_t element, double value);
int32_t qm4120_cal_IFDigAmp_Abort(uint32_t vi);
int32_t qm4120_cal_IFDigAmp_Value(uint32_t vi, double value);
int32_t qm4120_cal_IFDigAmp_ValueQuery(uint32_t vi, double* value);
int32_t qm4120_cal_IFDigAmp_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                   int16_t minute, int16_t second);
int32_t qm4120_cal_IFDigAmp_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_IFDigAmp_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_IFDigAmp_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_IFDigAmp_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_IFDigAmp_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                           uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_cal_IFDigAmp_DataElementsQuery(uint32_t vi, uint32_t* count);

int32_t qm4120_cal_IFDigGrpDel_MeasDataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_IFDigGrpDel_Adj(uint32_t vi);
int32_t qm4120_cal_IFDigGrpDel_Abort(uint32_t vi);
int32_t qm4120_cal_IFDigGrpDel_Value(uint32_t vi, double value);
int32_t qm4120_cal_IFDigGrpDel_ValueQuery(uint32_t vi, double* value);
int32_t qm4120_cal_IFDigGrpDel_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                      int16_t minute, int16_t second);
int32_t qm4120_cal_IFDigGrpDel_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_IFDigGrpDel_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_IFDigGrpDel_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_IFDigGrpDel_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_IFDigGrpDel_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                              uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_cal_IFDigGrpDel_DataElementsQuery(uint32_t vi, uint32_t* count);
int32_t qm4120_cal_IFDigGrpDel_Verify(uint32_t vi);

int32_t qm4120_cal_IFDCFreq_MeasDataQuery(uint32_t vi, uint32_t count, double* data);

int32_t qm4120_cal_Temp_Adj(uint32_t vi);
int32_t qm4120_cal_Temp_Abort(uint32_t vi);
int32_t qm4120_cal_Temp_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                               int16_t minute, int16_t second);
int32_t qm4120_cal_Temp_Data(uint32_t vi, uint32_t count, const double* data);
int32_t qm4120_cal_Temp_DataQuery(uint32_t vi, uint32_t count, double* data);
int32_t qm4120_cal_Temp_DomainQuery(uint32_t vi, double* minimum, double* maximum);
int32_t qm4120_cal_Temp_TempDiffQuery(uint32_t vi, double* degrees);
int32_t qm4120_cal_Temp_TimeStampQuery(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                       uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_cal_Temp_Value(uint32_t vi, double value);
int32_t qm4120_cal_Temp_ValueQuery(uint32_t vi, double* value);

int32_t qm4120_cal_Id_Control_Abort(uint32_t vi);
int32_t qm4120_cal_Id_Control_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                     int16_t minute, int16_t second);
int32_t qm4120_cal_Id_Control_ModstateValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_Control_ModstateValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_Control_FirstCalValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_Control_FirstCalValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_Control_LastCalValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_Control_LastCalValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_Control_TypeNoValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Control_TypeNoValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_Control_SerialValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Control_SerialValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_Control_BuildStateValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Control_BuildStateValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_Control_ReworkValue(uint32_t vi, uint16_t value);
int32_t qm4120_cal_Id_Control_ReworkValueQuery(uint32_t vi, uint16_t* value);
int32_t qm4120_cal_Id_Control_CalSchemeValue(uint32_t vi, uint16_t value);
int32_t qm4120_cal_Id_Control_CalSchemeValueQuery(uint32_t vi, uint16_t* value);
int32_t qm4120_cal_Id_Control_InfoValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Control_InfoValueQuery(uint32_t vi, char* value);

int32_t qm4120_cal_Id_If_Abort(uint32_t vi);
int32_t qm4120_cal_Id_If_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                int16_t minute, int16_t second);
int32_t qm4120_cal_Id_If_ModstateValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_If_ModstateValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_If_FirstCalValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_If_FirstCalValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_If_LastCalValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_If_LastCalValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_If_TypeNoValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_If_TypeNoValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_If_SerialValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_If_SerialValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_If_BuildStateValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_If_BuildStateValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_If_ReworkValue(uint32_t vi, uint16_t value);
int32_t qm4120_cal_Id_If_ReworkValueQuery(uint32_t vi, uint16_t* value);
int32_t qm4120_cal_Id_If_CalSchemeValue(uint32_t vi, uint16_t value);
int32_t qm4120_cal_Id_If_CalSchemeValueQuery(uint32_t vi, uint16_t* value);
int32_t qm4120_cal_Id_If_InfoValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_If_InfoValueQuery(uint32_t vi, char* value);

int32_t qm4120_cal_Id_Rf_Abort(uint32_t vi);
int32_t qm4120_cal_Id_Rf_Commit(uint32_t vi, int16_t year, int16_t month, int16_t day, int16_t hour,
                                int16_t minute, int16_t second);
int32_t qm4120_cal_Id_Rf_ModstateValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_Rf_ModstateValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_Rf_FirstCalValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_Rf_FirstCalValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_Rf_LastCalValue(uint32_t vi, uint32_t value);
int32_t qm4120_cal_Id_Rf_LastCalValueQuery(uint32_t vi, uint32_t* value);
int32_t qm4120_cal_Id_Rf_TypeNoValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Rf_TypeNoValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_Rf_SerialValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Rf_SerialValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_Rf_BuildStateValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Rf_BuildStateValueQuery(uint32_t vi, char* value);
int32_t qm4120_cal_Id_Rf_ReworkValue(uint32_t vi, uint16_t value);
int32_t qm4120_cal_Id_Rf_ReworkValueQuery(uint32_t vi, uint16_t* value);
int32_t qm4120_cal_Id_Rf_CalSchemeValue(uint32_t vi, uint16_t value);
int32_t qm4120_cal_Id_Rf_CalSchemeValueQuery(uint32_t vi, uint16_t* value);
int32_t qm4120_cal_Id_Rf_InfoValue(uint32_t vi, const char* value);
int32_t qm4120_cal_Id_Rf_InfoValueQuery(uint32_t vi, char* value);

/* First and last index of the module's attenuation calibration tables. */
int32_t qm4120_cal_GetAttenIndexConstraints(uint32_t vi, int32_t* minimum, int32_t* maximum);

/* Date and time of the last commit of each data set (the same as <Group>_TimeStampQuery). */
int32_t qm4120_getCalRFDigAmpRefTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                          uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalDCIFShapeTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                        uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalDigAmpIFShapeTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                            uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalRFDCFreqRefTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                          uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalRFDCFreqTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                       uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalIFDigAmpRefTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                          uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalIFDigAmpTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                       uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalIFDigGrpDelTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                          uint16_t* hour, uint16_t* minute, uint16_t* second);
int32_t qm4120_getCalTempTimeStamp(uint32_t vi, uint16_t* year, uint16_t* month, uint16_t* day,
                                   uint16_t* hour, uint16_t* minute, uint16_t* second);

#ifdef __cplusplus
}
#endif

#endif
