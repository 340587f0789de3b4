#include "capture_state.h"

#include <cstring>

#include "app_state.h"

CapturedData capturedData;

int32_t captureRepeatMode = 0;
int32_t captureDestination = CAPTURE_TO_MEMORY;
char captureFileName[CAPTURE_FILE_NAME_LEN] = "data.txt";
uint16_t captureRepeatActive = 0;
uint16_t captureStopRequested = 0;
uint16_t captureAbortRequested = 0;

void markCapturedDataEmpty() {
    // Assigning a fresh record gives the memory back, not just the length.
    capturedData = CapturedData{};
}

void resetCaptureState() {
    markCapturedDataEmpty();
    captureRepeatMode = 0;
    captureDestination = CAPTURE_TO_MEMORY;
    std::strcpy(captureFileName, "data.txt");
    captureRepeatActive = 0;
    captureStopRequested = 0;
    captureAbortRequested = 0;
}

void registerCaptureStateReset() {
    registerStateReset(resetCaptureState);
}
