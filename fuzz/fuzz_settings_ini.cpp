// The settings library's INI reader: any text either parses or is refused with a status, and whatever it
// accepts writes out and reads back to the same document, with every key found under its own section.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "ini_document.h"
#include "qm41XX_utils.h"

using qm::ini::Document;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Document doc;
    const int32_t status = Document::parse(text, &doc);
    if (status < 0) {
        FUZZ_CHECK(doc.sections().empty());
        return 0;
    }
    FUZZ_CHECK(status == QM41XXUTILS_SUCCESS);

    const std::string written = doc.serialise();
    Document again;
    FUZZ_CHECK(Document::parse(written, &again) == QM41XXUTILS_SUCCESS);
    FUZZ_CHECK(again == doc);
    FUZZ_CHECK(again.serialise() == written);

    for (const auto& section : again.sections()) {
        FUZZ_CHECK(!section.name.empty() && section.name.size() <= QM41XXUTILS_MAX_NAME);
        for (const auto& entry : section.entries) {
            const std::string* found = doc.find(section.name, entry.key);
            FUZZ_CHECK(found != nullptr && *found == entry.value);
            // What the writer accepts is stored as given and found again under the same names.
            const std::string changed = " " + entry.value + "\"";
            if (doc.put(section.name, entry.key, changed) == QM41XXUTILS_SUCCESS) {
                found = doc.find(section.name, entry.key);
                FUZZ_CHECK(found != nullptr && *found == changed);
            }
        }
    }
    // ... and survives a write and a read as well.
    FUZZ_CHECK(Document::parse(doc.serialise(), &again) == QM41XXUTILS_SUCCESS);
    FUZZ_CHECK(again == doc);
    return 0;
}
