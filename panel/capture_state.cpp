#include "capture_state.h"

#include "app_state.h"

CapturedData capturedData;

int32_t captureRepeatMode = 0;
uint16_t captureRepeatActive = 0;
uint16_t captureStopRequested = 0;
uint16_t captureAbortRequested = 0;

void markCapturedDataEmpty() {
    // Swapping with empty vectors gives the memory back, not just the length.
    capturedData = CapturedData{};
}

void registerCaptureStateReset() {
    registerStateReset([] {
        markCapturedDataEmpty();
        captureRepeatMode = 0;
        captureRepeatActive = 0;
        captureStopRequested = 0;
        captureAbortRequested = 0;
    });
}
