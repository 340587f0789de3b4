// The calibration family: every calibration and board-identity operation of the instrument library has
// one driver operation qm4120_cal_<Group>_<Operation>, generated from the library's operation table.
#include "qm4120.h"
#include "qm4120_pb_lib.h"

extern "C" {

// Only the calibration entries of the table are wanted here; the other kinds expand to nothing.
#define QM_OP(family, Name, params, args)
#define QM_SET(family, Name, T)
#define QM_GET(family, Name, T)
#define QM_SETCH(family, Name, T)
#define QM_GETCH(family, Name, T)
#define QM_ACT(family, Name)
#define QM_CAL(Group, Op, params, args)                      \
    int32_t qm4120_cal_##Group##_##Op params {               \
        return qm4120_dll_error(qm4120_cal##Group##Op args); \
    }
#define QM_CALID(Board, Op, params, args)                      \
    int32_t qm4120_cal_Id_##Board##_##Op params {              \
        return qm4120_dll_error(qm4120_calId##Board##Op args); \
    }
#include "qm4120_pb_ops.inc"

}  // extern "C"
