// The one place where driver statuses reach the operator.
#ifndef QM_APP_ERR4120_H
#define QM_APP_ERR4120_H

#include <cstdint>

// Shows the modal popup "4120 Driver Error" with the driver's text for `status` (looked up with the
// session in force). 0 does nothing; warnings are shown as well as errors. Returns when the operator has
// dismissed the popup; the caller carries on whatever the status was.
void err4120(int32_t status);

#endif
