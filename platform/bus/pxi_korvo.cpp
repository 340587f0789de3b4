// Simulated PXI chassis behind the VISA-style bus interface: one module of each known model, sessions
// opened through resource managers, and a register window per session.

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "pxi_korvo.h"
#include "pxi_korvo_sim.h"
#include "qm_faults.h"

namespace {

// The models that sit in the simulated chassis, one module each.
constexpr uint16_t CHASSIS_MODELS[] = {0x4120, 0x4A20, 0x4B20, 0x4125};

// First handle handed out. Starting well above zero keeps small integers, which callers sometimes pass
// by mistake, from naming a live session.
constexpr uint32_t FIRST_HANDLE = 0x00010001u;

struct Object {
    bool isManager = false;
    uint32_t manager = 0;  // owning resource manager (sessions)
    uint16_t modelCode = 0;
    std::string resource;
    std::map<uint32_t, uint32_t> memory;  // default register window, by byte offset
};

struct Chassis {
    std::mutex lock;
    std::unordered_map<uint32_t, std::unique_ptr<Object>> objects;
    uint32_t nextHandle = FIRST_HANDLE;
    KorvoSimReadHandler readHandler = nullptr;
    KorvoSimWriteHandler writeHandler = nullptr;

    // Handles only grow; should the 32-bit range ever run out, the chassis refuses new handles rather
    // than hand out one that may still be held by someone.
    bool allocate(uint32_t* handle) {
        if (nextHandle == 0) return false;
        *handle = nextHandle++;
        return true;
    }

    Object* find(uint32_t handle) {
        auto it = objects.find(handle);
        return it == objects.end() ? nullptr : it->second.get();
    }
};

Chassis& chassis() {
    static Chassis c;
    return c;
}

#define QM_FAULT_RETURN(name)                    \
    do {                                         \
        int32_t faultStatus_ = 0;                \
        if (qm_fault_hit(name, &faultStatus_)) { \
            return faultStatus_;                 \
        }                                        \
    } while (0)

// Parses "0x" + four hexadecimal digits (either case) into a model code.
bool parseResource(const char* text, uint16_t* code) {
    if (!text || std::strlen(text) != 6) return false;
    if (text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
    uint32_t value = 0;
    for (int i = 2; i < 6; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c)) return false;
        const uint32_t digit = std::isdigit(c) ? c - '0' : (std::tolower(c) - 'a' + 10);
        value = value * 16 + digit;
    }
    *code = static_cast<uint16_t>(value);
    return true;
}

bool inChassis(uint16_t code) {
    for (uint16_t model : CHASSIS_MODELS) {
        if (model == code) return true;
    }
    return false;
}

// What a register access needs to know about its session, copied out under the lock so that the
// access itself (possibly a handler of the simulated module) runs without it.
struct Target {
    int32_t status = VI_SUCCESS;
    uint16_t modelCode = 0;
    KorvoSimReadHandler readHandler = nullptr;
    KorvoSimWriteHandler writeHandler = nullptr;
};

Target registerTarget(Chassis& c, uint32_t vi, uint16_t space) {
    Target t;
    Object* obj = c.find(vi);
    if (!obj) {
        t.status = VI_ERROR_INV_OBJECT;
    } else if (obj->isManager) {
        t.status = VI_ERROR_NSUP_OPER;
    } else if (space != VI_PXI_BAR0_SPACE) {
        t.status = VI_ERROR_INV_SPACE;
    } else {
        t.modelCode = obj->modelCode;
        t.readHandler = c.readHandler;
        t.writeHandler = c.writeHandler;
    }
    return t;
}

int32_t writeBlock(uint32_t vi, uint16_t space, uint32_t offset, uint32_t count, const uint32_t* words) {
    Chassis& c = chassis();
    KorvoSimWriteHandler handler = nullptr;
    uint16_t model = 0;
    {
        std::lock_guard<std::mutex> g(c.lock);
        Target t = registerTarget(c, vi, space);
        if (t.status != VI_SUCCESS) return t.status;
        if (count == 0) return VI_SUCCESS;
        if (!words) return VI_ERROR_USER_BUF;
        if (!t.writeHandler) {
            // A block that would run past the end of the 32-bit window is refused as a whole rather than
            // wrapping round to offset 0.
            if ((static_cast<uint64_t>(count) - 1) * 4 > UINT32_MAX - offset) return VI_ERROR_INV_OFFSET;
            Object* obj = c.find(vi);
            for (uint32_t i = 0; i < count; ++i) obj->memory[offset + 4 * i] = words[i];
            return VI_SUCCESS;
        }
        handler = t.writeHandler;
        model = t.modelCode;
    }
    return handler(vi, model, offset, count, words);
}

}  // namespace

extern "C" int32_t korvo_viOpenDefaultRM(uint32_t* rm) {
    QM_FAULT_RETURN("korvo_viOpenDefaultRM");
    if (!rm) return VI_ERROR_USER_BUF;
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    uint32_t handle = 0;
    if (!c.allocate(&handle)) return VI_ERROR_ALLOC;
    auto obj = std::make_unique<Object>();
    obj->isManager = true;
    c.objects.emplace(handle, std::move(obj));
    *rm = handle;
    return VI_SUCCESS;
}

extern "C" int32_t korvo_viOpen(uint32_t rm, const char* resource, uint32_t mode, uint32_t timeout,
                                uint32_t* session) {
    (void)mode;
    (void)timeout;
    QM_FAULT_RETURN("korvo_viOpen");
    if (!session) return VI_ERROR_USER_BUF;
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    Object* manager = c.find(rm);
    if (!manager || !manager->isManager) return VI_ERROR_INV_OBJECT;
    uint16_t code = 0;
    if (!parseResource(resource, &code)) return VI_ERROR_INV_RSRC_NAME;
    if (!inChassis(code)) return VI_ERROR_RSRC_NFOUND;
    uint32_t handle = 0;
    if (!c.allocate(&handle)) return VI_ERROR_ALLOC;
    auto obj = std::make_unique<Object>();
    obj->manager = rm;
    obj->modelCode = code;
    obj->resource = resource;
    c.objects.emplace(handle, std::move(obj));
    *session = handle;
    return VI_SUCCESS;
}

extern "C" int32_t korvo_viClose(uint32_t vi) {
    QM_FAULT_RETURN("korvo_viClose");
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    Object* obj = c.find(vi);
    if (!obj) return VI_ERROR_INV_OBJECT;
    if (obj->isManager) {
        for (auto it = c.objects.begin(); it != c.objects.end();) {
            if (!it->second->isManager && it->second->manager == vi) {
                it = c.objects.erase(it);
            } else {
                ++it;
            }
        }
    }
    c.objects.erase(vi);
    return VI_SUCCESS;
}

extern "C" int32_t korvo_viGetAttribute(uint32_t vi, uint32_t attr, void* value) {
    QM_FAULT_RETURN("korvo_viGetAttribute");
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    Object* obj = c.find(vi);
    if (!obj) return VI_ERROR_INV_OBJECT;
    if (!value) return VI_ERROR_USER_BUF;
    switch (attr) {
        case VI_ATTR_RM_SESSION: {
            const uint32_t owner = obj->isManager ? vi : obj->manager;
            std::memcpy(value, &owner, sizeof owner);
            return VI_SUCCESS;
        }
        case VI_ATTR_MODEL_CODE:
            if (obj->isManager) return VI_ERROR_NSUP_ATTR;
            std::memcpy(value, &obj->modelCode, sizeof obj->modelCode);
            return VI_SUCCESS;
        case VI_ATTR_RSRC_NAME:
            if (obj->isManager) return VI_ERROR_NSUP_ATTR;
            std::snprintf(static_cast<char*>(value), 256, "%s", obj->resource.c_str());
            return VI_SUCCESS;
        default:
            return VI_ERROR_NSUP_ATTR;
    }
}

extern "C" int32_t korvo_viIn32(uint32_t vi, uint16_t space, uint32_t offset, uint32_t* value) {
    QM_FAULT_RETURN("korvo_viIn32");
    Chassis& c = chassis();
    KorvoSimReadHandler handler = nullptr;
    uint16_t model = 0;
    {
        std::lock_guard<std::mutex> g(c.lock);
        Target t = registerTarget(c, vi, space);
        if (t.status != VI_SUCCESS) return t.status;
        if (!value) return VI_ERROR_USER_BUF;
        if (!t.readHandler) {
            const Object* obj = c.find(vi);
            auto it = obj->memory.find(offset);
            *value = it == obj->memory.end() ? 0u : it->second;
            return VI_SUCCESS;
        }
        handler = t.readHandler;
        model = t.modelCode;
    }
    return handler(vi, model, offset, value);
}

extern "C" int32_t korvo_viOut32(uint32_t vi, uint16_t space, uint32_t offset, uint32_t value) {
    QM_FAULT_RETURN("korvo_viOut32");
    return writeBlock(vi, space, offset, 1, &value);
}

extern "C" int32_t korvo_viMoveOut32(uint32_t vi, uint16_t space, uint32_t offset, uint32_t count,
                                     const uint32_t* words) {
    QM_FAULT_RETURN("korvo_viMoveOut32");
    return writeBlock(vi, space, offset, count, words);
}

extern "C" void korvo_simSetRegisterHandler(KorvoSimReadHandler handlerRead,
                                            KorvoSimWriteHandler handlerWrite) {
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    c.readHandler = handlerRead;
    c.writeHandler = handlerWrite;
}

extern "C" int32_t korvo_simModelCode(uint32_t session, uint16_t* code) {
    QM_FAULT_RETURN("korvo_simModelCode");
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    Object* obj = c.find(session);
    if (!obj || obj->isManager) return VI_ERROR_INV_OBJECT;
    if (!code) return VI_ERROR_USER_BUF;
    *code = obj->modelCode;
    return VI_SUCCESS;
}

extern "C" int32_t korvo_simOpenSessionCount(void) {
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    return static_cast<int32_t>(c.objects.size());
}

extern "C" void korvo_simResetAll(void) {
    Chassis& c = chassis();
    std::lock_guard<std::mutex> g(c.lock);
    c.objects.clear();
}
