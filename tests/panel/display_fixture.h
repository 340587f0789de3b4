// The program started headless with one simulated module booted, and a capture of the module's signal
// taken into capturedData (capture_record.h), prepared and displayed.
#ifndef QM_TESTS_PANEL_DISPLAY_FIXTURE_H
#define QM_TESTS_PANEL_DISPLAY_FIXTURE_H

#include <cmath>
#include <complex>
#include <vector>

#include "app_fixture.h"
#include "capture_record.h"
#include "capture_state.h"
#include "display.h"
#include "qm4120_sfp_uir.h"

class DisplayFixture : public AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        runMonitor = false;
        ASSERT_EQ(startApp(), 0);
        ASSERT_NE(bootModule(0x4A20), 0u);
        panel = state().mainPanel;
        vi = state().sessionHandle;
    }

    // Captures one block of the module's current set-up into capturedData and displays it.
    void captureAndDisplay() {
        ASSERT_EQ(captureRecord(vi), 0);
        prepareFftInput(capturedData);
        displayCapturedData(capturedData);
    }

    const ui::Control& control(int id) const { return *ui::findControl(panel, id); }
    // The plots of a graph made at run time.
    const std::map<int, ui::Plot>& plotsOf(int graph) const {
        return ui::findControl(panel, graph)->graph->plots;
    }

    int panel = 0;
    uint32_t vi = 0;
};

// The 5-term window from its published coefficients, periodic over n points.
inline std::vector<double> fiveTermWindow(int n) {
    const double a[] = {1.0, 1.455872, 0.538431, 0.086186, 0.0037};
    std::vector<double> w(n);
    for (int i = 0; i < n; ++i) {
        const double t = 2 * M_PI * i / n;
        w[i] = a[0] - a[1] * std::cos(t) + a[2] * std::cos(2 * t) - a[3] * std::cos(3 * t) +
               a[4] * std::cos(4 * t);
    }
    return w;
}

// What the 5-term window shows of a tone `bins` away from a bin's centre, in dB relative to on the bin.
inline double scallopDb(double bins, int n) {
    const std::vector<double> w = fiveTermWindow(n);
    std::complex<double> at = 0.0;
    double centre = 0.0;
    for (int i = 0; i < n; ++i) {
        at += w[i] * std::polar(1.0, -2.0 * M_PI * bins * i / n);
        centre += w[i];
    }
    return 20 * std::log10(std::abs(at) / centre);
}

#endif
