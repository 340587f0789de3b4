#include <gtest/gtest.h>

#include <string>

#include "ini_document.h"
#include "qm41XX_utils.h"

namespace {

using qm::ini::Document;

Document parsed(const std::string& text) {
    Document doc;
    EXPECT_EQ(Document::parse(text, &doc), QM41XXUTILS_SUCCESS) << text;
    return doc;
}

std::string get(const Document& doc, const char* section, const char* key) {
    const std::string* v = doc.find(section, key);
    return v ? *v : "<missing>";
}

TEST(IniDocument, ReadsOrdinaryFiles) {
    const Document doc = parsed(
        "; written by hand\n"
        "[Directories]\r\n"
        "SettingsDir = /home/op/settings \r\n"
        "\n"
        "# another comment\n"
        "  [ Capture ]  \n"
        "Count=2048\n"
        "Empty=\n"
        "Quoted=\"  padded  \"\n"
        "Path=C:\\data;x=y\n"
        "count=ignored, the first value counts\n"
        "[directories]\n"
        "Extra=1");
    EXPECT_EQ(get(doc, "Directories", "SettingsDir"), "/home/op/settings");
    EXPECT_EQ(get(doc, "DIRECTORIES", "settingsdir"), "/home/op/settings");
    EXPECT_EQ(get(doc, "Capture", "Count"), "2048");
    EXPECT_EQ(get(doc, "Capture", "Empty"), "");
    EXPECT_EQ(get(doc, "Capture", "Quoted"), "  padded  ");
    EXPECT_EQ(get(doc, "Capture", "Path"), "C:\\data;x=y");
    EXPECT_EQ(get(doc, "Directories", "Extra"), "1");
    EXPECT_EQ(get(doc, "Capture", "Missing"), "<missing>");
    EXPECT_EQ(get(doc, "Nowhere", "Count"), "<missing>");
    ASSERT_EQ(doc.sections().size(), 2u);  // the repeated section joined the first
    EXPECT_EQ(doc.sections()[0].entries.size(), 2u);
    EXPECT_EQ(parsed("\xEF\xBB\xBF[A]\nk=v\n").sections()[0].name, "A");
    EXPECT_TRUE(parsed("").sections().empty());
}

TEST(IniDocument, RejectsWhatIsNotIni) {
    const struct {
        std::string text;
        int32_t status;
    } cases[] = {
        {"key=value before any section\n", QM41XXUTILS_ERR_FILE_CORRUPT},
        {"[A]\njust words\n", QM41XXUTILS_ERR_FILE_CORRUPT},
        {"[A\nk=v\n", QM41XXUTILS_ERR_FILE_CORRUPT},
        {"[]\n", QM41XXUTILS_ERR_FILE_CORRUPT},
        {"[A]\n=value\n", QM41XXUTILS_ERR_FILE_CORRUPT},
        {std::string("[A]\nk=v\0w\n", 10), QM41XXUTILS_ERR_FILE_CORRUPT},
        {"[A]\nk=\x01\x02\n", QM41XXUTILS_ERR_FILE_CORRUPT},
        {"[A]\nk=a\rb\n", QM41XXUTILS_ERR_FILE_CORRUPT},
        {"\x7F"
         "ELF\x02\x01\x01",
         QM41XXUTILS_ERR_FILE_CORRUPT},
        {"[A]\nk=" + std::string(1023, 'v') + "\n", QM41XXUTILS_ERR_LINE_TOO_LONG},
        {"[" + std::string(256, 's') + "]\n", QM41XXUTILS_ERR_VALUE_TOO_LONG},
    };
    for (const auto& c : cases) {
        Document doc = parsed("[Old]\nk=v\n");
        EXPECT_EQ(Document::parse(c.text, &doc), c.status) << c.text.substr(0, 40);
        EXPECT_TRUE(doc.sections().empty());
    }
    // Exactly at the limit is still a line.
    const std::string longest = "[A]\nk=" + std::string(1022, 'v') + "\r\n";
    EXPECT_EQ(get(parsed(longest), "A", "k").size(), 1022u);
}

TEST(IniDocument, WritesInFirstWrittenOrder) {
    Document doc;
    EXPECT_EQ(doc.put("Rf", "FreqHz", "2000000000"), 0);
    EXPECT_EQ(doc.put("Capture", "Count", "2048"), 0);
    EXPECT_EQ(doc.put("Rf", "LevelDbm", "-10"), 0);
    EXPECT_EQ(doc.put("rf", "freqhz", "1e9"), 0);  // replaces in place, keeps the name first written
    EXPECT_EQ(doc.serialise(),
              "[Rf]\nFreqHz=1e9\nLevelDbm=-10\n"
              "\n[Capture]\nCount=2048\n");
    EXPECT_EQ(parsed(doc.serialise()), doc);
}

TEST(IniDocument, ValuesSurviveAWriteAndARead) {
    const std::string values[] = {"",
                                  " lead",
                                  "trail\t",
                                  "\"quoted\"",
                                  "\"",
                                  "\"\"",
                                  "a\tb",
                                  "x = y ; z",
                                  "[not a section]",
                                  "\xC3\xA9t\xC3\xA9",
                                  std::string(1024 - 4 - 2 - 1, 'q') + " "};
    Document doc;
    for (size_t i = 0; i < std::size(values); ++i) {
        ASSERT_EQ(doc.put("S", "k" + std::to_string(i), values[i]), 0) << i;
    }
    const Document back = parsed(doc.serialise());
    for (size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(get(back, "S", ("k" + std::to_string(i)).c_str()), values[i]) << i;
    }
}

TEST(IniDocument, RefusesNamesAndValuesThatWouldNotReadBack) {
    Document doc;
    const char* const invalid[][3] = {{"", "k", "v"},   {"A]", "k", "v"},  {" A", "k", "v"},
                                      {"A", "", "v"},   {"A", "k=1", "v"}, {"A", ";k", "v"},
                                      {"A", "[k", "v"}, {"A", "k ", "v"},  {"A", "k", "two\nlines"}};
    for (const auto& c : invalid)
        EXPECT_EQ(doc.put(c[0], c[1], c[2]), QM41XXUTILS_ERR_INVALID_ARG)
            << c[0] << "/" << c[1] << "/" << c[2];
    EXPECT_EQ(doc.put("A", "k", std::string(1025, 'v')), QM41XXUTILS_ERR_VALUE_TOO_LONG);
    EXPECT_EQ(doc.put("A", "k", std::string(1023, 'v')), QM41XXUTILS_ERR_LINE_TOO_LONG);
    EXPECT_EQ(doc.put(std::string(256, 's'), "k", "v"), QM41XXUTILS_ERR_VALUE_TOO_LONG);
    EXPECT_TRUE(doc.sections().empty());  // nothing half-added
    EXPECT_EQ(doc.put("A", "k", std::string(1022, 'v')), 0);
}

}  // namespace
