#include "call_sites.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

// The folders of the program's logic, and the headers whose operations count as calls into the driver or
// an outside library.
const char* const LOGIC_FOLDERS[] = {"app",   "boot",        "channels", "routing",
                                     "panel", "engineering", "info",     "common"};
const char* const INTERFACE_HEADERS[] = {
    "driver/qm4120.h",
    "driver/qm4120_cal.h",
    "driver/qm4120_capture.h",
    "driver/qm4120_fft.h",
    "platform/instrument/qm4120_pb_lib.h",
    "platform/bus/include/pxi_korvo.h",
    "platform/settings/include/qm41XX_utils.h",
};

const char* const LIBRARY_TABLE = "platform/instrument/qm4120_pb_ops.inc";

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Blanks comments and the contents of string and character literals, keeping line breaks so that line
// numbers stay true.
std::string codeOnly(const std::string& text) {
    std::string out = text;
    enum { Code, Line, Block, String, Char } state = Code;
    for (size_t i = 0; i < out.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        switch (state) {
            case Code:
                if (c == '/' && next == '/')
                    state = Line;
                else if (c == '/' && next == '*')
                    state = Block;
                else if (c == '"')
                    state = String;
                else if (c == '\'')
                    state = Char;
                if (state == Line || state == Block) out[i] = ' ';
                break;
            case Line:
                if (c == '\n')
                    state = Code;
                else
                    out[i] = ' ';
                break;
            case Block:
                if (c == '*' && next == '/') {
                    out[i] = out[i + 1] = ' ';
                    ++i;
                    state = Code;
                } else if (c != '\n') {
                    out[i] = ' ';
                }
                break;
            case String:
            case Char:
                if (c == '\\') {
                    out[i] = ' ';
                    if (i + 1 < out.size()) out[++i] = ' ';
                } else if (c == (state == String ? '"' : '\'')) {
                    state = Code;
                } else if (c != '\n') {
                    out[i] = ' ';
                }
                break;
        }
    }
    return out;
}

std::vector<std::string> logicFolders(const std::string& sourceDir) {
    static const std::regex LIBRARY(R"(qm_logic_library\(\s*[A-Za-z0-9_]+\s+([A-Za-z0-9_]+))");
    // CMake comments run from '#' to the end of the line.
    const std::string text = std::regex_replace(
        readFile(std::filesystem::path(sourceDir) / "app/CMakeLists.txt"), std::regex("#[^\n]*"), "");
    std::vector<std::string> folders{"common"};
    for (std::sregex_iterator it(text.begin(), text.end(), LIBRARY), end; it != end; ++it)
        if ((*it)[1].str() != "dir") folders.push_back((*it)[1].str());
    return folders;
}

}  // namespace

std::set<std::string> declaredOperations(const std::string& sourceDir) {
    // A declaration: a return type, an optional pointer mark, the name and its opening parenthesis.
    static const std::regex DECLARATION(
        R"((?:^|\n)\s*(?:const\s+)?[A-Za-z_][A-Za-z0-9_]*\s*\**\s+\**([A-Za-z_][A-Za-z0-9_]*)\s*\()");
    std::set<std::string> operations;
    for (const char* header : INTERFACE_HEADERS) {
        const std::string text = codeOnly(readFile(std::filesystem::path(sourceDir) / header));
        for (std::sregex_iterator it(text.begin(), text.end(), DECLARATION), end; it != end; ++it)
            operations.insert((*it)[1].str());
    }
    // The instrument library declares its operations through one table: QM_OP(family, Name, ...).
    static const std::regex LIBRARY_ENTRY(R"(QM_OP\(\s*([A-Za-z]+)\s*,\s*([A-Za-z0-9_]+))");
    const std::string table = codeOnly(readFile(std::filesystem::path(sourceDir) / LIBRARY_TABLE));
    for (std::sregex_iterator it(table.begin(), table.end(), LIBRARY_ENTRY), end; it != end; ++it)
        operations.insert("qm4120_" + (*it)[1].str() + (*it)[2].str());
    return operations;
}

std::vector<CallSite> findCallSites(const std::string& sourceDir, const std::set<std::string>& operations) {
    static const std::regex IDENTIFIER(R"([A-Za-z_][A-Za-z0-9_]*)");
    std::vector<CallSite> sites;
    for (const std::string& folder : logicFolders(sourceDir)) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::path(sourceDir) / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".cpp" || ext == ".h") files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const auto& path : files) {
            const std::string text = codeOnly(readFile(path));
            const std::string file = folder + "/" + path.filename().string();
            for (std::sregex_iterator it(text.begin(), text.end(), IDENTIFIER), end; it != end; ++it) {
                const std::string name = it->str();
                if (!operations.count(name)) continue;
                const auto at = text.begin() + it->position();
                // A member or a declaration's name in another scope is no call of the library's operation.
                if (it->position() > 0 && (at[-1] == '.' || at[-1] == ':' || at[-1] == '>')) continue;
                const int line = 1 + static_cast<int>(std::count(text.begin(), at, '\n'));
                sites.push_back({file, line, name});
            }
            // Names a macro pastes together from its parameters ("qm4120_cal_Id_##Board##_Commit") stand for
            // every declared operation they can make.
            static const std::regex DEFINE(R"(#\s*define\s+[A-Za-z_][A-Za-z0-9_]*\(([^)]*)\))");
            static const std::regex PASTED(R"([A-Za-z0-9_]+(?:\s*##\s*[A-Za-z0-9_]+)+)");
            std::set<std::string> parameters;
            for (std::sregex_iterator d(text.begin(), text.end(), DEFINE), end; d != end; ++d) {
                std::stringstream list((*d)[1].str());
                for (std::string p; std::getline(list, p, ',');)
                    parameters.insert(std::regex_replace(p, std::regex(R"(\s+)"), ""));
            }
            for (std::sregex_iterator it(text.begin(), text.end(), PASTED), end; it != end; ++it) {
                std::string pattern;
                std::stringstream pieces(std::regex_replace(it->str(), std::regex(R"(\s*##\s*)"), "#"));
                for (std::string piece; std::getline(pieces, piece, '#');)
                    pattern += parameters.count(piece) ? "[A-Za-z0-9]+" : piece;
                const std::regex made(pattern);
                const auto at = text.begin() + it->position();
                const int line = 1 + static_cast<int>(std::count(text.begin(), at, '\n'));
                for (const std::string& op : operations)
                    if (std::regex_match(op, made)) sites.push_back({file, line, op});
            }
        }
    }
    return sites;
}
