// In-memory INI content: sections and keys in the order first written, looked up without regard to
// ASCII letter case. Parsing and writing text live here; files and handles do not.
#ifndef QM_SETTINGS_INI_DOCUMENT_H
#define QM_SETTINGS_INI_DOCUMENT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm::ini {

struct Entry {
    std::string key;
    std::string value;
    bool operator==(const Entry&) const = default;
};

struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> index;  // lower-case key -> position in entries

    bool operator==(const Section& other) const { return name == other.name && entries == other.entries; }
};

class Document {
  public:
    // Parses INI text. Returns 0, or a negative QM41XXUTILS_ERR_... status and leaves *out empty.
    static int32_t parse(std::string_view text, Document* out);

    // The text of the file: "[Section]" and "key=value" lines ending in "\n", a blank line between
    // sections. parse(serialise()) gives back an equal document.
    std::string serialise() const;

    // The value of key in section, or null when either is missing.
    const std::string* find(std::string_view section, std::string_view key) const;

    // Sets a value, creating the section and key at the end when they are new. Returns 0 or a negative
    // status (the document is unchanged then) when a name or the value cannot be stored.
    int32_t put(std::string_view section, std::string_view key, std::string_view value);

    void clear();
    const std::vector<Section>& sections() const { return sections_; }
    bool operator==(const Document& other) const { return sections_ == other.sections_; }

  private:
    static constexpr size_t NO_SECTION = static_cast<size_t>(-1);

    // Parses one line (line end removed); *current is the section that keys go to.
    int32_t parseLine(std::string_view raw, size_t* current);
    // Position of the section of that name, appended when new.
    size_t sectionIndex(std::string_view name);
    // Adds a key at the end of the section; an existing key keeps its place and gets the new value
    // only when `replace` is set (a file read keeps the first value of a repeated key).
    static void addEntry(Section& section, std::string_view key, std::string_view value, bool replace);

    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> index_;  // lower-case name -> position in sections_
};

}  // namespace qm::ini

#endif
