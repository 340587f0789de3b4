#include "ini_document.h"

#include "qm41XX_utils.h"

namespace qm::ini {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// A value is quoted when reading it back unquoted would change it: blanks at either end are trimmed by
// the reader, and a value wrapped in quotes would lose them.
bool needsQuotes(std::string_view value) {
    if (value.empty()) return false;
    if (isBlank(value.front()) || isBlank(value.back())) return true;
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

size_t encodedSize(std::string_view value) {
    return value.size() + (needsQuotes(value) ? 2 : 0);
}

// Names the writer accepts are exactly those that survive a write and a read unchanged.
int32_t checkName(std::string_view name) {
    if (name.empty()) return QM41XXUTILS_ERR_INVALID_ARG;
    if (name.size() > QM41XXUTILS_MAX_NAME) return QM41XXUTILS_ERR_VALUE_TOO_LONG;
    if (isBlank(name.front()) || isBlank(name.back())) return QM41XXUTILS_ERR_INVALID_ARG;
    for (char c : name) {
        if (isControl(static_cast<unsigned char>(c))) return QM41XXUTILS_ERR_INVALID_ARG;
    }
    return QM41XXUTILS_SUCCESS;
}

int32_t checkSectionName(std::string_view name) {
    const int32_t status = checkName(name);
    if (status < 0) return status;
    return name.find(']') == std::string_view::npos ? QM41XXUTILS_SUCCESS : QM41XXUTILS_ERR_INVALID_ARG;
}

int32_t checkKey(std::string_view key) {
    const int32_t status = checkName(key);
    if (status < 0) return status;
    if (key.find('=') != std::string_view::npos) return QM41XXUTILS_ERR_INVALID_ARG;
    if (key.front() == '[' || key.front() == ';' || key.front() == '#') return QM41XXUTILS_ERR_INVALID_ARG;
    return QM41XXUTILS_SUCCESS;
}

int32_t checkValue(std::string_view key, std::string_view value) {
    if (value.size() > QM41XXUTILS_MAX_VALUE) return QM41XXUTILS_ERR_VALUE_TOO_LONG;
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (isControl(u) && c != '\t') return QM41XXUTILS_ERR_INVALID_ARG;
    }
    if (key.size() + 1 + encodedSize(value) > QM41XXUTILS_MAX_LINE) return QM41XXUTILS_ERR_LINE_TOO_LONG;
    return QM41XXUTILS_SUCCESS;
}

}  // namespace

int32_t Document::parse(std::string_view text, Document* out) {
    Document doc;
    // A byte-order mark from an editor that saved the file as UTF-8 is not part of the first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t current = NO_SECTION;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const int32_t status = doc.parseLine(line, &current);
        if (status < 0) {
            out->clear();
            return status;
        }
    }
    *out = std::move(doc);
    return QM41XXUTILS_SUCCESS;
}

int32_t Document::parseLine(std::string_view raw, size_t* current) {
    if (raw.size() > QM41XXUTILS_MAX_LINE) return QM41XXUTILS_ERR_LINE_TOO_LONG;
    for (char c : raw) {
        // Tab is the one control character a text line may hold; anything else means a binary file.
        if (isControl(static_cast<unsigned char>(c)) && c != '\t') return QM41XXUTILS_ERR_FILE_CORRUPT;
    }
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#') return QM41XXUTILS_SUCCESS;
    if (line.front() == '[') {
        if (line.size() < 2 || line.back() != ']') return QM41XXUTILS_ERR_FILE_CORRUPT;
        const std::string_view name = trim(line.substr(1, line.size() - 2));
        if (name.empty()) return QM41XXUTILS_ERR_FILE_CORRUPT;
        if (name.size() > QM41XXUTILS_MAX_NAME) return QM41XXUTILS_ERR_VALUE_TOO_LONG;
        *current = sectionIndex(name);
        return QM41XXUTILS_SUCCESS;
    }
    const size_t eq = line.find('=');
    // Keys before the first section have nowhere to go; such a file is not one of ours.
    if (eq == std::string_view::npos || *current == NO_SECTION) return QM41XXUTILS_ERR_FILE_CORRUPT;
    const std::string_view key = trim(line.substr(0, eq));
    std::string_view value = trim(line.substr(eq + 1));
    if (key.empty()) return QM41XXUTILS_ERR_FILE_CORRUPT;
    if (key.size() > QM41XXUTILS_MAX_NAME) return QM41XXUTILS_ERR_VALUE_TOO_LONG;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    addEntry(sections_[*current], key, value, false);
    return QM41XXUTILS_SUCCESS;
}

std::string Document::serialise() const {
    std::string text;
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        if (i > 0) text += '\n';
        text += '[';
        text += section.name;
        text += "]\n";
        for (const Entry& entry : section.entries) {
            text += entry.key;
            text += '=';
            if (needsQuotes(entry.value)) {
                text += '"';
                text += entry.value;
                text += '"';
            } else {
                text += entry.value;
            }
            text += '\n';
        }
    }
    return text;
}

const std::string* Document::find(std::string_view section, std::string_view key) const {
    auto s = index_.find(lower(section));
    if (s == index_.end()) return nullptr;
    const Section& sec = sections_[s->second];
    auto k = sec.index.find(lower(key));
    return k == sec.index.end() ? nullptr : &sec.entries[k->second].value;
}

int32_t Document::put(std::string_view section, std::string_view key, std::string_view value) {
    int32_t status = checkSectionName(section);
    if (status >= 0) status = checkKey(key);
    if (status >= 0) status = checkValue(key, value);
    if (status < 0) return status;
    addEntry(sections_[sectionIndex(section)], key, value, true);
    return QM41XXUTILS_SUCCESS;
}

void Document::clear() {
    sections_.clear();
    index_.clear();
}

size_t Document::sectionIndex(std::string_view name) {
    std::string lowered = lower(name);
    auto it = index_.find(lowered);
    if (it != index_.end()) return it->second;
    index_.emplace(std::move(lowered), sections_.size());
    sections_.push_back(Section{std::string(name), {}, {}});
    return sections_.size() - 1;
}

void Document::addEntry(Section& section, std::string_view key, std::string_view value, bool replace) {
    std::string lowered = lower(key);
    auto it = section.index.find(lowered);
    if (it != section.index.end()) {
        if (replace) section.entries[it->second].value = std::string(value);
        return;
    }
    section.index.emplace(std::move(lowered), section.entries.size());
    section.entries.push_back(Entry{std::string(key), std::string(value)});
}

}  // namespace qm::ini
