// Panel resource files: the build's checker (uirgen reads every file with the strict checks, then
// generates constants and headers from it) and the run-time's LoadPanel, which builds panels and menu
// bars from a file read with the lenient checks. Any text is refused with errors or a status, never a
// crash; what is accepted gives panels that load and discard cleanly.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "model.h"
#include "uir_model.h"
#include "userint.h"

namespace {

constexpr const char* FILE_NAME = "fuzz.uir";
constexpr size_t MAX_PANELS_LOADED = 8;

int noCtrl(int, int, int, void*, int, int) {
    return 0;
}
int noPanel(int, int, void*, int, int) {
    return 0;
}
void noMenu(int, int, void*, int) {}

// As the program does before it loads its panels: every callback name the file uses is bound.
void bindCallbacks(const uir::Document& doc) {
    for (const uir::CallbackUse& use : uir::callbackUsesOf({doc})) {
        switch (use.kind) {
            case uir::CallbackKind::Control:
                RegisterCtrlCallback(use.name.c_str(), noCtrl);
                break;
            case uir::CallbackKind::Panel:
                RegisterPanelCallback(use.name.c_str(), noPanel);
                break;
            case uir::CallbackKind::MenuItem:
                RegisterMenuCallback(use.name.c_str(), noMenu);
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Both levels of checks read the document from one reading of the JSON; LoadPanel reads the text on
    // its own.
    const uir::ParsedText parsed(text);

    uir::Document strict;
    std::vector<std::string> errors;
    const bool checked = uir::parseDocument(parsed, FILE_NAME, strict, errors, uir::Checks::Files);
    if (checked) {
        FUZZ_CHECK(errors.empty());
        (void)uir::constantsOf(strict);
        (void)uir::callbacksOf(strict);
        FUZZ_CHECK(!uir::headerText(strict, "fuzz").empty());
    } else {
        FUZZ_CHECK(!errors.empty());
    }

    uir::Document usable;
    errors.clear();
    const bool loadable = uir::parseDocument(parsed, FILE_NAME, usable, errors, uir::Checks::Usable);
    // The lenient checks are a part of the strict ones.
    if (checked) FUZZ_CHECK(loadable);

    if (loadable) bindCallbacks(usable);
    ui::setResourceOverride(FILE_NAME, &text);
    const size_t panels = loadable ? usable.panels.size() : 1;
    for (size_t i = 1; i <= panels && i <= MAX_PANELS_LOADED; ++i) {
        const int handle = LoadPanel(0, FILE_NAME, static_cast<int>(i));
        // A file the checks accept loads at run time, every panel of it; one they refuse does not.
        FUZZ_CHECK((handle > 0) == loadable);
        if (handle > 0) FUZZ_CHECK(DiscardPanel(handle) == 0);
    }
    ui::resetRuntime();
    return 0;
}
