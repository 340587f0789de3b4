// C interface of the settings utility: INI instances by handle.

#include "qm41XX_utils.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <unordered_map>

#include "ini_document.h"
#include "ini_file.h"
#include "qm_faults.h"

namespace {

using qm::ini::Document;

struct Instance {
    std::mutex lock;
    std::string path;
    Document doc;
    bool autoSave = true;
    bool dirty = false;
};

struct Registry {
    std::mutex lock;
    std::unordered_map<uint32_t, std::shared_ptr<Instance>> instances;
    uint32_t nextHandle = 1;  // never reused, so a stale handle cannot reach a newer instance
};

Registry& registry() {
    static Registry r;
    return r;
}

std::shared_ptr<Instance> lookup(uint32_t handle) {
    Registry& r = registry();
    std::lock_guard<std::mutex> g(r.lock);
    auto it = r.instances.find(handle);
    return it == r.instances.end() ? nullptr : it->second;
}

#define QM_FAULT_RETURN(name)                    \
    do {                                         \
        int32_t faultStatus_ = 0;                \
        if (qm_fault_hit(name, &faultStatus_)) { \
            return faultStatus_;                 \
        }                                        \
    } while (0)

// Runs an operation, turning an out-of-memory failure into a status: nothing leaves the library as an
// exception.
template <typename F>
int32_t guarded(F&& f) {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return QM41XXUTILS_ERR_NO_MEMORY;
    } catch (...) {
        return QM41XXUTILS_ERR_INVALID_ARG;
    }
}

// Applies a change to a copy of the content and saves it when automatic saving is on; the instance
// takes the new content only once it is on disk, so a failed save changes nothing.
template <typename Change>
int32_t modify(uint32_t handle, Change&& change) {
    std::shared_ptr<Instance> inst = lookup(handle);
    if (!inst) return QM41XXUTILS_ERR_INVALID_HANDLE;
    std::lock_guard<std::mutex> g(inst->lock);
    Document next = inst->doc;
    const int32_t status = change(next);
    if (status < 0) return status;
    if (inst->autoSave) {
        const int32_t saved = qm::ini::replaceFile(inst->path, next.serialise());
        if (saved < 0) return saved;
    } else {
        inst->dirty = true;
    }
    inst->doc = std::move(next);
    return QM41XXUTILS_SUCCESS;
}

int32_t putText(uint32_t handle, const char* section, const char* key, std::string_view value) {
    if (!section || !key) return QM41XXUTILS_ERR_INVALID_ARG;
    return modify(handle, [&](Document& doc) { return doc.put(section, key, value); });
}

// Copies the stored text of a key; the caller parses it.
int32_t getText(uint32_t handle, const char* section, const char* key, std::string* out) {
    if (!section || !key) return QM41XXUTILS_ERR_INVALID_ARG;
    std::shared_ptr<Instance> inst = lookup(handle);
    if (!inst) return QM41XXUTILS_ERR_INVALID_HANDLE;
    std::lock_guard<std::mutex> g(inst->lock);
    const std::string* value = inst->doc.find(section, key);
    if (!value) return QM41XXUTILS_ERR_NOT_FOUND;
    *out = *value;
    return QM41XXUTILS_SUCCESS;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    if (!s.empty() && s.front() == '+' && s.size() > 1 && s[1] != '-') s.remove_prefix(1);
    return s;
}

// Parses the whole text as one number of type T; trailing characters make it not a number.
template <typename T>
int32_t parseNumber(const std::string& text, T* value) {
    const std::string_view s = trimmed(text);
    T parsed{};
    std::from_chars_result r{};
    if constexpr (std::is_floating_point_v<T>) {
        r = std::from_chars(s.data(), s.data() + s.size(), parsed, std::chars_format::general);
    } else {
        r = std::from_chars(s.data(), s.data() + s.size(), parsed, 10);
    }
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) return QM41XXUTILS_ERR_BAD_NUMBER;
    *value = parsed;
    return QM41XXUTILS_SUCCESS;
}

template <typename T>
int32_t getNumber(uint32_t handle, const char* section, const char* key, T* value) {
    if (!value) return QM41XXUTILS_ERR_INVALID_ARG;
    std::string text;
    const int32_t status = getText(handle, section, key, &text);
    return status < 0 ? status : parseNumber(text, value);
}

// Numbers are written with the C locale's conventions whatever the process locale is, so a file saved
// on one desktop reads back on any other.
template <typename T>
int32_t putNumber(uint32_t handle, const char* section, const char* key, T value) {
    char text[64];
    std::to_chars_result r{};
    if constexpr (std::is_floating_point_v<T>) {
        r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    } else {
        r = std::to_chars(text, text + sizeof text, value);
    }
    if (r.ec != std::errc()) return QM41XXUTILS_ERR_INVALID_ARG;
    return putText(handle, section, key, std::string_view(text, static_cast<size_t>(r.ptr - text)));
}

}  // namespace

extern "C" const char* qm41XXutils_ErrorText(int32_t status) {
    switch (status) {
        case QM41XXUTILS_SUCCESS:
            return "Success";
        case QM41XXUTILS_WARN_TRUNCATED:
            return "The text was longer than the buffer and has been shortened";
        case QM41XXUTILS_ERR_INVALID_ARG:
            return "Invalid argument: a missing text or a name or value that cannot be stored";
        case QM41XXUTILS_ERR_INVALID_HANDLE:
            return "Invalid INI instance handle";
        case QM41XXUTILS_ERR_FILE_READ:
            return "The INI file cannot be read";
        case QM41XXUTILS_ERR_FILE_CORRUPT:
            return "The INI file is damaged or is not an INI file";
        case QM41XXUTILS_ERR_LINE_TOO_LONG:
            return "A line of the INI file is longer than 1024 bytes";
        case QM41XXUTILS_ERR_VALUE_TOO_LONG:
            return "A value is longer than 1024 bytes, or a name longer than 255";
        case QM41XXUTILS_ERR_NOT_FOUND:
            return "Section or key not found";
        case QM41XXUTILS_ERR_FILE_WRITE:
            return "The INI file cannot be written; the previous file is unchanged";
        case QM41XXUTILS_ERR_BAD_NUMBER:
            return "The value is not a number of the requested type";
        case QM41XXUTILS_ERR_FILE_TOO_LARGE:
            return "The INI file is larger than 16 MiB";
        case QM41XXUTILS_ERR_NO_MEMORY:
            return "Out of memory";
        default:
            return "Unknown status";
    }
}

extern "C" int32_t qm41XXutils_IniCreate(const char* path, uint32_t* handle) {
    if (handle) *handle = 0;
    QM_FAULT_RETURN("qm41XXutils_IniCreate");
    if (!path || !*path || !handle) return QM41XXUTILS_ERR_INVALID_ARG;
    return guarded([&] {
        auto inst = std::make_shared<Instance>();
        inst->path = path;
        std::string text;
        bool missing = false;
        int32_t status = qm::ini::readFile(inst->path, &text, &missing);
        if (status < 0) return status;
        status = Document::parse(text, &inst->doc);
        if (status < 0) return status;
        Registry& r = registry();
        std::lock_guard<std::mutex> g(r.lock);
        if (r.nextHandle == 0) return QM41XXUTILS_ERR_NO_MEMORY;  // every handle has been used once
        const uint32_t h = r.nextHandle++;
        r.instances.emplace(h, std::move(inst));
        *handle = h;
        return QM41XXUTILS_SUCCESS;
    });
}

extern "C" int32_t qm41XXutils_IniDelete(uint32_t handle) {
    QM_FAULT_RETURN("qm41XXutils_IniDelete");
    Registry& r = registry();
    std::shared_ptr<Instance> inst;
    {
        std::lock_guard<std::mutex> g(r.lock);
        auto it = r.instances.find(handle);
        if (it == r.instances.end()) return QM41XXUTILS_ERR_INVALID_HANDLE;
        inst = std::move(it->second);
        r.instances.erase(it);
    }
    // The content is released here, outside the registry lock; a call still running on another
    // thread keeps its own reference until it returns.
    return QM41XXUTILS_SUCCESS;
}

extern "C" int32_t qm41XXutils_IniDeleteAllSections(uint32_t handle) {
    QM_FAULT_RETURN("qm41XXutils_IniDeleteAllSections");
    return guarded([&] {
        return modify(handle, [](Document& doc) {
            doc.clear();
            return QM41XXUTILS_SUCCESS;
        });
    });
}

extern "C" int32_t qm41XXutils_IniGetString(uint32_t handle, const char* section, const char* key, char* buf,
                                            int32_t bufSize) {
    QM_FAULT_RETURN("qm41XXutils_IniGetString");
    if (!buf || bufSize < 1) return QM41XXUTILS_ERR_INVALID_ARG;
    buf[0] = '\0';
    return guarded([&] {
        std::string text;
        const int32_t status = getText(handle, section, key, &text);
        if (status < 0) return status;
        const size_t room = static_cast<size_t>(bufSize) - 1;
        const size_t n = text.size() < room ? text.size() : room;
        std::memcpy(buf, text.data(), n);
        buf[n] = '\0';
        return text.size() > room ? QM41XXUTILS_WARN_TRUNCATED : QM41XXUTILS_SUCCESS;
    });
}

extern "C" int32_t qm41XXutils_IniPutString(uint32_t handle, const char* section, const char* key,
                                            const char* value) {
    QM_FAULT_RETURN("qm41XXutils_IniPutString");
    if (!value) return QM41XXUTILS_ERR_INVALID_ARG;
    return guarded([&] { return putText(handle, section, key, value); });
}

extern "C" int32_t qm41XXutils_IniGetInt(uint32_t handle, const char* section, const char* key,
                                         int32_t* value) {
    QM_FAULT_RETURN("qm41XXutils_IniGetInt");
    return guarded([&] { return getNumber(handle, section, key, value); });
}

extern "C" int32_t qm41XXutils_IniPutInt(uint32_t handle, const char* section, const char* key,
                                         int32_t value) {
    QM_FAULT_RETURN("qm41XXutils_IniPutInt");
    return guarded([&] { return putNumber(handle, section, key, value); });
}

extern "C" int32_t qm41XXutils_IniGetUInt(uint32_t handle, const char* section, const char* key,
                                          uint32_t* value) {
    QM_FAULT_RETURN("qm41XXutils_IniGetUInt");
    return guarded([&] { return getNumber(handle, section, key, value); });
}

extern "C" int32_t qm41XXutils_IniPutUInt(uint32_t handle, const char* section, const char* key,
                                          uint32_t value) {
    QM_FAULT_RETURN("qm41XXutils_IniPutUInt");
    return guarded([&] { return putNumber(handle, section, key, value); });
}

extern "C" int32_t qm41XXutils_IniGetDouble(uint32_t handle, const char* section, const char* key,
                                            double* value) {
    QM_FAULT_RETURN("qm41XXutils_IniGetDouble");
    return guarded([&] { return getNumber(handle, section, key, value); });
}

extern "C" int32_t qm41XXutils_IniPutDouble(uint32_t handle, const char* section, const char* key,
                                            double value) {
    QM_FAULT_RETURN("qm41XXutils_IniPutDouble");
    return guarded([&] { return putNumber(handle, section, key, value); });
}

extern "C" int32_t qm41XXutils_IniSetAutoSave(uint32_t handle, int32_t enabled) {
    QM_FAULT_RETURN("qm41XXutils_IniSetAutoSave");
    return guarded([&] {
        std::shared_ptr<Instance> inst = lookup(handle);
        if (!inst) return QM41XXUTILS_ERR_INVALID_HANDLE;
        std::lock_guard<std::mutex> g(inst->lock);
        inst->autoSave = enabled != 0;
        if (inst->autoSave && inst->dirty) {
            const int32_t status = qm::ini::replaceFile(inst->path, inst->doc.serialise());
            if (status < 0) return status;
            inst->dirty = false;
        }
        return QM41XXUTILS_SUCCESS;
    });
}

extern "C" int32_t qm41XXutils_IniSave(uint32_t handle) {
    QM_FAULT_RETURN("qm41XXutils_IniSave");
    return guarded([&] {
        std::shared_ptr<Instance> inst = lookup(handle);
        if (!inst) return QM41XXUTILS_ERR_INVALID_HANDLE;
        std::lock_guard<std::mutex> g(inst->lock);
        const int32_t status = qm::ini::replaceFile(inst->path, inst->doc.serialise());
        if (status < 0) return status;
        inst->dirty = false;
        return QM41XXUTILS_SUCCESS;
    });
}
