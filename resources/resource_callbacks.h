// Every callback name the panel resource files give, generated from the files at build time, so that the
// program can check (or bind) each name before a LoadPanel would fail for want of it.
#ifndef QM_RESOURCES_RESOURCE_CALLBACKS_H
#define QM_RESOURCES_RESOURCE_CALLBACKS_H

#include <span>
#include <string_view>

namespace qm {

struct ResourceCallback {
    // What the name is registered as: RegisterCtrlCallback, RegisterPanelCallback, RegisterMenuCallback.
    enum class Kind { Control, Panel, MenuItem };
    std::string_view name;
    Kind kind;
    std::string_view file;  // the first resource file naming it ("qm4120_sfp.uir")
};

// Sorted by name and then kind; each (name, kind) once, even when several files use it.
std::span<const ResourceCallback> resourceCallbacks();

}  // namespace qm

#endif
