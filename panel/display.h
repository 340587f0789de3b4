// Graph display of the main panel: the views of the last capture (FFT spectrum, IF or I/Q time series,
// I/Q polar plot, numeric list of the samples), their scaling controls and the FFT trace that the markers
// and the trace file read.
//
// Exactly one graph view is shown at a time; the numeric list can sit beside it. The graphs are made
// afresh whenever the view changes, so a new view is empty until the next capture is displayed.
#ifndef QM_PANEL_DISPLAY_H
#define QM_PANEL_DISPLAY_H

#include <cstdint>
#include <vector>

#include "capture_state.h"

// Views of setupView.
constexpr int VIEW_FFT = 1;
constexpr int VIEW_IF_TIME_SERIES = 2;
constexpr int VIEW_IQ_TIME_SERIES = 3;
constexpr int VIEW_IQ_POLAR = 5;

// I/Q time-series layouts.
constexpr int IQ_GRAPHS_SEPARATE = 1;
constexpr int IQ_GRAPHS_OVERLAID = 2;

// The transform never runs over more points than the work arrays hold.
constexpr uint32_t FFT_WORK_SIZE = 32768;

// Status reported when a trace or sample buffer cannot be had.
constexpr int32_t DISPLAY_ERROR_ALLOC = static_cast<int32_t>(0xBFFF003Cu);

struct DisplayView {
    int fftViewOn = 1;
    int timeSeriesViewOn = 0;  // the check of View Time Series
    int ifTimeSeriesViewOn = 0;
    int iqTimeSeriesViewOn = 0;
    int iqPolarViewOn = 0;
    int numericViewOn = 0;
    int timeSeriesIqGraphMode = IQ_GRAPHS_SEPARATE;
    int timeSeriesXAxisStart = 0;  // sample range shown by the time series
    int timeSeriesXAxisStop = 2047;
    int timeSeriesYAutoscale = 1;
    int timeSeriesYAxisMin = -50000;
    int timeSeriesYAxisMax = 50000;
    int iqPolarAutoscale = 1;
    int iqPolarIAxisRange = 50;
    int iqPolarQAxisRange = 50;
    double fftTopOfScreenDbm = 0.0;
    double fftDbPerDivision = 10.0;
    int fftFullSpan = 0;  // 0: only the centre of the spectrum, where the IF filter is flat
    int fftGraticuleVisible = 1;
    int timeSeriesGraticuleVisible = 1;
    int iqPolarGraticuleVisible = 1;

    // Controls made at run time on the main panel; 0 when absent.
    int fftGraph = 0;
    int timeSeriesGraph = 0;  // IF, or I and Q overlaid
    int iGraph = 0;
    int qGraph = 0;
    int polarGraph = 0;
    int numericList = 0;
    int waterfallGraph = 0;  // under the FFT graph while the waterfall is on
};

extern DisplayView displayView;

// The FFT trace of the last display: fftTracePoints points, frequencies in MHz and levels in dBm. An
// empty fftTraceLevelDbm means no trace exists yet.
extern uint32_t fftTracePoints;
extern std::vector<double> fftTraceFreqMHz;
extern std::vector<double> fftTraceLevelDbm;
extern double fftStartFreqMHz;  // X-axis limits of the spectrum as shown
extern double fftStopFreqMHz;

// Discards every graph and makes those of `view` (VIEW_...), with the view flags, menu checks, menu
// dimming and the scaling controls that belong to it.
void setupView(int view);
// Sets up again the view that is on (FFT, IF time series, I/Q time series, polar, first wins).
void refreshCurrentView();
// Empties the numeric list and every graph that exists.
void clearAllPlots();

// Windows the first fftLength samples of the record into the transform's work arrays; for I/Q data it
// also de-interleaves the captured words into the record's I and Q buffers.
void prepareFftInput(CapturedData& record = capturedData);
// Draws the record into every view that is on (and the numeric list when shown).
void displayCapturedData(CapturedData& record = capturedData);

// After the sample data type changed (0 IF, 1 I/Q): an open time-series or polar view becomes the one
// for the new type, View IQ Polar is offered only for I/Q data, the numeric list's title follows, and
// the last capture is shown again when it holds data of the new type.
void viewsFollowSampleDataType(int dataType);

// Start-up: the FFT view, the default checks and scaling.
void initDisplayControls();
void registerDisplayCallbacks();

// Internals shared by the display's own files.
void applyTimeSeriesYScaling();
void applyPolarScaling();
void setTimeSeriesXAxis();
int instrumentSampleDataType();  // 0 IF, 1 I/Q; from the instrument, else from DATA_TYPE
// Makes (show 1) or discards the numeric list, titled for dataType (0 IF, 1 I/Q).
void showNumericListControl(int show, int dataType);
// Fills the trace from the work arrays (IF or I/Q) and plots it on the FFT graph. rfHz is the tuned RF
// frequency the I/Q spectrum of the RF input is centred on. Returns 0 or DISPLAY_ERROR_ALLOC.
int32_t computeIfSpectrum(const CapturedData& record);
int32_t computeIqSpectrum(const CapturedData& record, double rfHz);
void plotFftTrace();
// The part of the trace the last plotFftTrace drew: `count` points from `first` (0 and 0 before any).
void plottedTraceRange(uint32_t* first, uint32_t* count);
// Top of the FFT graph's plot area in dBm, and its height in dB (ten divisions).
double fftTopDbm();
double fftRangeDb();
// The transform's work arrays (real and imaginary parts, FFT_WORK_SIZE each).
double* fftWorkReal();
double* fftWorkImaginary();

#endif
