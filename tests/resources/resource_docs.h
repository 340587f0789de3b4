// The embedded resource files, parsed once for the resource tests.
#ifndef QM_TESTS_RESOURCES_RESOURCE_DOCS_H
#define QM_TESTS_RESOURCES_RESOURCE_DOCS_H

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "embedded_resources.h"
#include "uir_model.h"

inline const std::vector<std::string>& resourceFileNames() {
    static const std::vector<std::string> names = {"qm4120_sfp.uir",  "qm4120_eng.uir",  "qm4120_chan.uir",
                                                   "qm41xx_boot.uir", "qm41xx_step.uir", "qm41xx_cal_id.uir"};
    return names;
}

// Parsed documents by file name; a file that does not parse is absent (and the test that looks for it
// fails).
inline const std::map<std::string, uir::Document>& resourceDocs() {
    static const std::map<std::string, uir::Document> docs = [] {
        std::map<std::string, uir::Document> out;
        for (const std::string& name : resourceFileNames()) {
            uir::Document doc;
            std::vector<std::string> errors;
            if (uir::parseDocument(qm::embeddedResource(name), name, doc, errors)) out.emplace(name, doc);
        }
        return out;
    }();
    return docs;
}

inline const uir::Panel* findPanel(const std::string& file, const std::string& panel) {
    auto doc = resourceDocs().find(file);
    if (doc == resourceDocs().end()) return nullptr;
    for (const uir::Panel& p : doc->second.panels)
        if (p.name == panel) return &p;
    return nullptr;
}

#endif
