// Build-time generator for the panel resource files.
//
//   uirgen header <file.uir> <out-dir>     checks the file, writes <base>_uir.h and <base>_callbacks.txt
//   uirgen embed <out.cpp> <file.uir>...   writes the source that embeds the files in the program
//   uirgen callbacks <out.cpp> <file.uir>...  writes the source listing every callback name of the files
//
// A file that fails the checks stops the build: every problem is printed as file:panel:control: what.
// Outputs are rewritten only when their text changes, so an edit that does not change the constants
// does not recompile everything that includes the header.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "uir_model.h"

namespace {

bool readFile(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

bool writeIfChanged(const std::filesystem::path& path, const std::string& text) {
    std::string old;
    if (readFile(path, old) && old == text) return true;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    const std::filesystem::path temp = path.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out || !(out << text) || !out.flush()) {
            std::cerr << path.string() << ": cannot be written\n";
            return false;
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::cerr << path.string() << ": cannot be written: " << ec.message() << "\n";
        return false;
    }
    return true;
}

// Reads and checks one resource file; prints the problems found.
bool load(const std::filesystem::path& path, uir::Document& doc, std::string& text) {
    const std::string fileName = path.filename().string();
    if (!readFile(path, text)) {
        std::cerr << path.string() << ": cannot be read\n";
        return false;
    }
    std::vector<std::string> errors;
    if (uir::parseDocument(text, fileName, doc, errors)) return true;
    for (const std::string& e : errors) std::cerr << e << "\n";
    std::cerr << path.string() << ": " << errors.size() << " problem(s)\n";
    return false;
}

int header(const std::filesystem::path& file, const std::filesystem::path& outDir) {
    uir::Document doc;
    std::string text;
    if (!load(file, doc, text)) return 1;
    const std::string base = file.stem().string();
    std::string callbacks;
    for (const std::string& name : uir::callbacksOf(doc)) callbacks += name + "\n";
    bool ok = writeIfChanged(outDir / (base + "_uir.h"), uir::headerText(doc, base));
    ok = writeIfChanged(outDir / (base + "_callbacks.txt"), callbacks) && ok;
    return ok ? 0 : 1;
}

int embed(const std::filesystem::path& out, const std::vector<std::filesystem::path>& files) {
    std::vector<uir::EmbeddedFile> embedded;
    bool ok = true;
    for (const auto& file : files) {
        uir::Document doc;
        std::string text;
        ok = load(file, doc, text) && ok;
        embedded.push_back({file.filename().string(), text});
    }
    if (!ok) return 1;
    return writeIfChanged(out, uir::embeddedSourceText(embedded)) ? 0 : 1;
}

int callbacks(const std::filesystem::path& out, const std::vector<std::filesystem::path>& files) {
    std::vector<uir::Document> docs;
    bool ok = true;
    for (const auto& file : files) {
        uir::Document doc;
        std::string text;
        ok = load(file, doc, text) && ok;
        docs.push_back(std::move(doc));
    }
    if (!ok) return 1;
    return writeIfChanged(out, uir::callbackSourceText(uir::callbackUsesOf(docs))) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 3 && args[0] == "header") return header(args[1], args[2]);
        if (args.size() >= 2 && args[0] == "embed")
            return embed(args[1], std::vector<std::filesystem::path>(args.begin() + 2, args.end()));
        if (args.size() >= 2 && args[0] == "callbacks")
            return callbacks(args[1], std::vector<std::filesystem::path>(args.begin() + 2, args.end()));
    } catch (const std::exception& e) {
        std::cerr << "uirgen: " << e.what() << "\n";
        return 1;
    }
    std::cerr << "usage: uirgen header <file.uir> <out-dir>\n"
                 "       uirgen embed <out.cpp> <file.uir>...\n"
                 "       uirgen callbacks <out.cpp> <file.uir>...\n";
    return 2;
}
