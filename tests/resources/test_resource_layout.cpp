// A geometry every front end can draw: no control on top of another, none outside its panel.
#include "resource_docs.h"

namespace {

bool overlap(const uir::Rect& a, const uir::Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool contains(const uir::Rect& outer, const uir::Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

bool isContainer(const uir::Control& c) {
    return c.kind == "frame" || c.kind == "tab";
}

TEST(ResourceLayout, ControlsLieInsideTheirPanelAndNeverOnTopOfEachOther) {
    ASSERT_EQ(resourceDocs().size(), resourceFileNames().size());
    for (const auto& [file, doc] : resourceDocs()) {
        for (const uir::Panel& p : doc.panels) {
            const uir::Rect panelArea{0, 0, p.rect.width, p.rect.height};
            for (size_t i = 0; i < p.controls.size(); ++i) {
                const uir::Control& a = p.controls[i];
                EXPECT_TRUE(contains(panelArea, a.rect)) << file << ":" << p.name << ":" << a.name;
                for (size_t j = i + 1; j < p.controls.size(); ++j) {
                    const uir::Control& b = p.controls[j];
                    if (!overlap(a.rect, b.rect)) continue;
                    const bool nested = (isContainer(a) && contains(a.rect, b.rect)) ||
                                        (isContainer(b) && contains(b.rect, a.rect));
                    EXPECT_TRUE(nested) << file << ":" << p.name << ": " << a.name << " overlaps " << b.name;
                }
            }
        }
    }
}

}  // namespace
