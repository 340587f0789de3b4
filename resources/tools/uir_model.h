// Reading and checking panel resource files (the JSON of docs/resource-format.md), and the constants,
// callback lists and embedded text generated from them. The one reader of the files: the build-time
// generator uirgen, the run-time's LoadPanel and the resource tests all use it; it has no user-interface
// dependency.
#ifndef QM_RESOURCES_UIR_MODEL_H
#define QM_RESOURCES_UIR_MODEL_H

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace uir {

struct Rect {
    int top = 0;
    int left = 0;
    int width = 0;
    int height = 0;
};

// A value as the file writes it: absent, a number, a text, or true/false (switches and LEDs).
using Value = std::variant<std::monostate, double, std::string, bool>;

// A ring or list box item; a value the file leaves out is absent here too.
struct Item {
    std::string label;
    Value value;
};

// Fields the file does not give hold the defaults of the format document; `given` tells which keys the
// file gives, for readers (the run-time) whose defaults depend on the kind of control.
struct Control {
    std::string name;      // constant suffix, "RF_FREQ"
    std::string kind;      // "numeric", "ring", ...
    std::string dataType;  // as given, else "string" for text kinds, "double" for numerics, "int" otherwise
    std::string label;
    std::string callback;
    std::string toolTip;
    Rect rect;
    bool visible = true;
    bool dimmed = false;
    bool labelVisible = true;
    Value value;
    double min = 0, max = 0, inc = 1;
    int precision = 0;
    std::string rangeCheck = "coerce";  // "coerce", "ignore"
    std::string format = "decimal";     // "decimal", "hex", "scientific"
    std::string mode = "normal";        // "normal", "hot", "indicator", "validate"
    int textColor = 0, bgColor = 0, onColor = 0, offColor = 0;
    std::string onText, offText;
    double onValue = 1, offValue = 0;
    std::vector<Item> items;
    int rows = 0, cols = 0;
    std::vector<int> colWidths;
    std::string xName, yName;
    std::vector<std::string> pages;
    std::string image;
    std::set<std::string, std::less<>> given;

    bool has(std::string_view key) const { return given.find(key) != given.end(); }
};

struct Panel {
    std::string name;  // "MAINPANEL"
    std::string title;
    std::string callback;
    std::string menuBar;
    Rect rect;
    bool closeBox = true;
    bool sizable = false;
    int bgColor = 0xD4D0C8;
    std::vector<Control> controls;
    std::set<std::string, std::less<>> given;

    bool has(std::string_view key) const { return given.find(key) != given.end(); }
};

struct MenuItem {
    bool separator = false;
    std::string name;
    std::string label;
    std::string callback;
    bool checked = false;
    bool dimmed = false;
    bool hasSubmenu = false;
    std::vector<MenuItem> submenu;
};

struct Menu {
    std::string name;
    std::string label;
    bool dimmed = false;
    std::vector<MenuItem> items;
};

struct MenuBar {
    std::string name;
    std::vector<Menu> menus;
};

struct Document {
    std::string file;
    std::vector<Panel> panels;
    std::vector<MenuBar> menuBars;
};

// One generated constant: "MAINPANEL_RF_FREQ" = 5, with a short note for the header.
struct Constant {
    std::string name;
    int value = 0;
    std::string note;
};

// How much a read insists on. `Files` is what the build applies to the resource files: besides what makes
// a document unusable (text where a number belongs, an unknown kind, min above max, a missing menu bar)
// it rejects what a person editing by hand gets wrong: missing positions, unknown or repeated keys, names
// that are not identifiers or used twice, items without values, values that do not suit the data type.
// `Usable` reports only the first sort, so that a resource written by a program (a test) may leave out
// what has a sensible default.
enum class Checks { Files, Usable };

// Parses and checks one resource file. Every problem found is appended to `errors` as
// "<file>:<panel or menu bar>:<control or item path>: <what>"; the result is true when there was none.
// `fileName` is the bare file name ("qm4120_sfp.uir"); the document's "file" key must equal it.
bool parseDocument(std::string_view text, std::string_view fileName, Document& doc,
                   std::vector<std::string>& errors, Checks checks = Checks::Files);

// A file's text read as JSON once, so that a document can be read from it with each level of checks
// without reading the text again.
class ParsedText {
  public:
    explicit ParsedText(std::string_view text);
    ~ParsedText();
    ParsedText(const ParsedText&) = delete;
    ParsedText& operator=(const ParsedText&) = delete;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend bool parseDocument(const ParsedText& parsed, std::string_view fileName, Document& doc,
                              std::vector<std::string>& errors, Checks checks);
};
bool parseDocument(const ParsedText& parsed, std::string_view fileName, Document& doc,
                   std::vector<std::string>& errors, Checks checks = Checks::Files);

// Constants in the order of the format document: panels from 1, controls of each panel from 2, menu bars
// from 1, menus and items of each bar from 2 depth first (separators take no number).
std::vector<Constant> constantsOf(const Document& doc);

// Every callback name the file uses (panels, controls, menu items), sorted, each once.
std::vector<std::string> callbacksOf(const Document& doc);

// Text of the generated header for the file with base name `base` ("qm4120_sfp" gives
// qm4120_sfp_uir.h).
std::string headerText(const Document& doc, std::string_view base);

// Text of the generated C++ source that embeds the files: pairs of bare file name and file text.
struct EmbeddedFile {
    std::string name;
    std::string text;
};
std::string embeddedSourceText(const std::vector<EmbeddedFile>& files);

// One callback name with what it is bound to and the first file (in the order given) that names it.
enum class CallbackKind { Control, Panel, MenuItem };
struct CallbackUse {
    std::string name;
    CallbackKind kind = CallbackKind::Control;
    std::string file;
};

// Callback uses of all the files, sorted by name and then kind, each (name, kind) once.
std::vector<CallbackUse> callbackUsesOf(const std::vector<Document>& docs);

// Text of the generated C++ source that defines qm::resourceCallbacks() (resources/resource_callbacks.h).
std::string callbackSourceText(const std::vector<CallbackUse>& uses);

}  // namespace uir

#endif
