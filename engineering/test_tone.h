// The engineering panel's test-tone switch (TESTTONE): the module's internal test tone, added to the
// signal it digitizes, is bit 20 of register 0.
#ifndef QM_ENGINEERING_TEST_TONE_H
#define QM_ENGINEERING_TEST_TONE_H

int CmdTestTone(int panel, int control, int event, void* callbackData, int eventData1, int eventData2);

void registerTestToneCallback();

#endif
