// The generator's checks: a hand-edited resource file with a slip in it must be refused, and the message
// must name the file, panel and control so that the person can find it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uir_model.h"

namespace {

std::string withControl(const std::string& control, const std::string& extra = "") {
    return R"({"file": "t.uir", "panels": [{"name": "P", "top": 0, "left": 0, "width": 200, "height": 100,
               "controls": [{"name": "OK", "kind": "button", "label": "OK", "top": 0, "left": 0, "width": 50,
               "height": 20}, )" +
           control + "]}]" + extra + "}";
}

std::vector<std::string> errorsOf(const std::string& text, const std::string& file = "t.uir") {
    uir::Document doc;
    std::vector<std::string> errors;
    bool ok = uir::parseDocument(text, file, doc, errors);
    EXPECT_EQ(ok, errors.empty());
    // The JSON read once and then checked at each level, again and again, reports what reading the text
    // each time does.
    const uir::ParsedText parsed(text);
    for (uir::Checks level : {uir::Checks::Usable, uir::Checks::Files, uir::Checks::Usable}) {
        uir::Document fromText, fromParsed;
        std::vector<std::string> textErrors, parsedErrors;
        uir::parseDocument(text, file, fromText, textErrors, level);
        uir::parseDocument(parsed, file, fromParsed, parsedErrors, level);
        EXPECT_EQ(parsedErrors, textErrors);
        EXPECT_EQ(fromParsed.panels.size(), fromText.panels.size());
    }
    return errors;
}

TEST(UirChecks, AWellFormedFileGivesItsCallbacksAndHeader) {
    const std::string text = withControl(
        R"({"name": "LEVEL", "kind": "numeric", "dataType": "double", "top": 30, "left": 0, "width": 60,
            "height": 22, "value": 1.5, "min": -10, "max": 10, "callback": "cmdLevel", "bgColor": "0xD9C0C0"})",
        R"(, "menuBars": [{"name": "BAR", "menus": [{"name": "M", "label": "__Menu", "items": [
             {"name": "A", "label": "A", "callback": "cmdA"}, {"separator": true},
             {"name": "S", "label": "Sub", "submenu": [{"name": "X", "label": "X", "callback": "cmdA"}]}]}]}])");
    uir::Document doc;
    std::vector<std::string> errors;
    ASSERT_TRUE(uir::parseDocument(text, "t.uir", doc, errors)) << (errors.empty() ? "" : errors[0]);
    EXPECT_EQ(uir::callbacksOf(doc), (std::vector<std::string>{"cmdA", "cmdLevel"}));
    const std::string header = uir::headerText(doc, "t");
    EXPECT_NE(header.find("constexpr int P_LEVEL = 3;"), std::string::npos);
    EXPECT_NE(header.find("#ifndef QM_RESOURCES_T_UIR_H"), std::string::npos);
}

TEST(UirChecks, SlipsInAControlAreNamedByFilePanelAndControl) {
    struct Case {
        const char* control;
        const char* message;
    };
    const Case cases[] = {
        {R"({"name": "X", "kind": "knob", "top": 30, "left": 0, "width": 9, "height": 9})", "unknown kind"},
        {R"({"name": "X", "kind": "button", "top": 30, "left": 0, "width": 9, "height": 9, "colour": 1})",
         "unknown key \"colour\""},
        {R"({"name": "X", "kind": "button", "top": 30, "left": 0, "width": 9, "height": 9, "items": []})",
         "unknown key \"items\""},
        {R"({"name": "X", "kind": "led", "top": 30, "left": 0, "width": 9, "height": 9, "onColor": "0xGG0000"})",
         "is not a colour"},
        {R"({"name": "X", "kind": "led", "top": 30, "left": 0, "width": 9, "height": 9, "offColor": 16777216})",
         "is not a colour"},
        {R"({"name": "X", "kind": "ring", "top": 30, "left": 0, "width": 9, "height": 9,
             "items": [{"label": "a"}]})",
         "needs \"label\" and \"value\""},
        {R"({"name": "X", "kind": "ring", "dataType": "ushort", "top": 30, "left": 0, "width": 9, "height": 9,
             "items": [{"label": "a", "value": -1}]})",
         "does not suit data type ushort"},
        {R"({"name": "X", "kind": "ring", "top": 30, "left": 0, "width": 9, "height": 9, "value": 3,
             "items": [{"label": "a", "value": 1}, {"label": "b", "value": 2}]})",
         "is not one of the items"},
        {R"({"name": "X", "kind": "ring", "top": 30, "left": 0, "width": 9, "height": 9,
             "items": [{"label": "a", "value": 1}, {"label": "b", "value": 1}]})",
         "repeats value 1"},
        {R"({"name": "X", "kind": "numeric", "top": 30, "left": 0, "width": 9, "height": 9, "value": 20,
             "max": 10})",
         "outside min..max"},
        {R"({"name": "X", "kind": "textMsg", "dataType": "int", "top": 30, "left": 0, "width": 9, "height": 9})",
         "data type must be string"},
        {R"({"name": "X", "kind": "grid", "top": 30, "left": 0, "width": 9, "height": 9, "rows": 3, "cols": 2,
             "colWidths": [10]})",
         "colWidths"},
        {R"({"name": "X", "kind": "button", "top": 30, "left": 0, "width": 0, "height": 9})",
         "width must be > 0"},
        {R"({"name": "X", "kind": "button", "top": 30, "left": 0, "width": 9})", "missing \"height\""},
        {R"({"name": "X", "kind": "button", "top": 30, "left": 0, "width": 9, "height": 9, "callback": "cmd X"})",
         "not a valid identifier"},
        {R"({"name": "X", "kind": "button", "top": 30, "left": 0, "width": 9, "height": 9, "top": 40})",
         "key \"top\" given twice"},
        {R"({"name": "OK", "kind": "button", "top": 30, "left": 0, "width": 9, "height": 9})",
         "control name used twice"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> errors = errorsOf(withControl(c.control));
        ASSERT_FALSE(errors.empty()) << c.message;
        const std::string place =
            std::string("t.uir:P:") +
            (std::string(c.message).find("used twice") != std::string::npos ? "OK" : "X");
        EXPECT_EQ(errors[0].rfind(place, 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
    }
}

TEST(UirChecks, DocumentAndMenuSlipsAreRefused) {
    // A document that passes but for its extra part.
    const std::string frame =
        R"({"name": "B", "kind": "frame", "top": 0, "left": 0, "width": 9, "height": 9})";
    const std::string menuBar =
        R"(, "menuBars": [{"name": "BAR", "menus": [{"name": "M", "label": "M", "items": [)";
    const std::pair<std::string, std::string> cases[] = {
        {"{\"file\": \"t.uir\", \"panels\": [", "not valid JSON"},
        {"{\"file\": \"t.uir\", \"panels\": [], \"x\": 1e999}", "not valid JSON"},
        {"[]", "must be a JSON object"},
        {withControl(frame, ", \"extra\": 1"), "unknown key \"extra\""},
        {withControl(frame, menuBar + R"({"separator": true, "name": "S"}]}]}])"),
         "t.uir:BAR:M_#0: a separator takes no other key"},
        {withControl(frame,
                     menuBar + R"({"name": "S", "label": "S", "callback": "cmdS", "submenu": []}]}]}])"),
         "t.uir:BAR:M_S: an item that opens a submenu takes no callback"},
        {withControl(frame, menuBar + R"({"name": "A", "label": "A"}, {"name": "A", "label": "A"}]}]}])"),
         "t.uir:BAR:M_A: item name used twice"},
    };
    for (const auto& [text, message] : cases) {
        const std::vector<std::string> errors = errorsOf(text);
        ASSERT_FALSE(errors.empty()) << message;
        EXPECT_NE(errors[0].find(message), std::string::npos) << errors[0];
    }
    // The document must say which file it is.
    const std::vector<std::string> errors = errorsOf(withControl(frame), "other.uir");
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0], "other.uir: \"file\" says \"t.uir\"");
}

// What the run-time tolerates in a resource written by a program, and what it still refuses, against the
// stricter rules for the resource files; and the values it reads for a control the file leaves half blank.
TEST(UirChecks, UsableDocumentsNeedOnlyWhatAPanelCannotDoWithout) {
    struct Case {
        const char* control;
        bool usable;  // the files are refused in every case
    };
    const Case cases[] = {
        {R"({"name": "X", "kind": "numeric"})", true},  // no position or size
        {R"({"name": "X", "kind": "numeric", "colour": 1, "top": 1, "top": 2})", true},
        {R"({"name": "x-1", "kind": "ring", "items": [{"label": "a"}]})", true},
        {R"({"name": "X", "kind": "numeric", "value": 20, "max": 10})", true},
        {R"({"name": "X", "kind": "numeric", "min": 5, "max": 1})", false},
        // Limits are held in the control's type: -30 as ushort would wrap above the max.
        {R"({"name": "X", "kind": "numeric", "dataType": "ushort", "min": -30, "max": 20})", false},
        {R"({"name": "X", "kind": "button", "dataType": "short", "min": -30, "max": 32767.6})", false},
        {R"({"name": "X", "kind": "button", "min": -30, "max": 20})", true},
        {R"({"name": "X", "kind": "dial"})", false},
        {R"({"kind": "numeric"})", false},
        {R"({"name": "X", "kind": "led", "dataType": "string"})", false},
        {R"({"name": "X", "kind": "ring", "items": [{"label": "a", "value": "text"}]})", false},
        {R"({"name": "X", "kind": "string", "value": 3})", false},
        {R"({"name": "X", "kind": "grid", "rows": 0, "cols": 2})", false},
        {R"({"name": "X", "kind": "numeric", "textColor": "red"})", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        const std::string text =
            R"({"panels": [{"name": "P", "controls": [)" + std::string(c.control) + "]}]}";
        uir::Document doc;
        std::vector<std::string> errors;
        EXPECT_FALSE(uir::parseDocument(text, "t.uir", doc, errors));
        uir::Document usable;
        std::vector<std::string> problems;
        EXPECT_EQ(uir::parseDocument(text, "t.uir", usable, problems, uir::Checks::Usable), c.usable)
            << (problems.empty() ? "" : problems[0]);
    }

    uir::Document doc;
    std::vector<std::string> problems;
    ASSERT_TRUE(uir::parseDocument(
        R"({"panels": [{"name": "P", "controls": [{"name": "N", "kind": "numeric", "value": 2.5},
            {"name": "S", "kind": "led", "value": true, "onColor": "0x00FF00"}, {"name": "G", "kind": "grid"}]}]})",
        "t.uir", doc, problems, uir::Checks::Usable));
    const auto& controls = doc.panels.at(0).controls;
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0].dataType, "double");
    EXPECT_EQ(controls[0].precision, 2);
    EXPECT_EQ(controls[0].value, uir::Value(2.5));
    EXPECT_FALSE(controls[0].has("min"));
    EXPECT_EQ(controls[1].value, uir::Value(true));
    EXPECT_EQ(controls[1].onColor, 0x00FF00);
    EXPECT_TRUE(controls[1].has("onColor"));
    EXPECT_EQ(std::make_pair(controls[2].rows, controls[2].cols), std::make_pair(2, 2));
    EXPECT_EQ(doc.file, "t.uir");
}

}  // namespace
