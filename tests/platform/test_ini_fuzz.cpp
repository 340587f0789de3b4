// Random and mutated input for the INI reader: it must never crash or hang, and whatever it accepts
// must write out and read back to the same content.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ini_document.h"
#include "qm41XX_utils.h"

namespace {

using qm::ini::Document;

const char* const SEEDS[] = {
    "[Directories]\nSettingsDir=/home/op/settings\n",
    "; comment\n[Rf]\nFreqHz=2000000000\nLevel = -10.5\n\n[Capture]\r\nCount=2048\r\nQuoted=\" x \"\r\n",
    "[A]\nk=\"\"\"\"\n[a]\nK=second\n#c\n[ B ]\nx=y=z\n",
};

// Pieces that steer mutations towards the reader's interesting cases.
const char* const TOKENS[] = {"[", "]",  "=",  "\n",           "\r\n", "\r",    ";",     "#",    "\"",
                              " ", "\t", "\0", "\xEF\xBB\xBF", "\xFF", "[S]\n", "k=v\n", "K=V\n"};

std::string mutate(std::string text, std::mt19937& rng) {
    std::uniform_int_distribution<int> op(0, 4);
    const int steps = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < steps; ++i) {
        const size_t pos = text.empty() ? 0 : rng() % (text.size() + 1);
        switch (op(rng)) {
            case 0:  // flip one byte
                if (!text.empty()) text[pos % text.size()] = static_cast<char>(rng() & 0xFF);
                break;
            case 1: {  // insert a token
                const std::string token = TOKENS[rng() % std::size(TOKENS)];
                text.insert(pos, token.empty() ? std::string(1, '\0') : token);
                break;
            }
            case 2:  // delete a run
                if (!text.empty()) text.erase(pos % text.size(), 1 + rng() % 8);
                break;
            case 3:  // repeat a run, sometimes into an over-long line
                if (!text.empty()) {
                    const size_t from = pos % text.size();
                    const std::string run = text.substr(from, 1 + rng() % 16);
                    const size_t times = (rng() % 10 == 0) ? 80 : 1 + rng() % 3;
                    std::string repeated;
                    for (size_t t = 0; t < times; ++t) repeated += run;
                    text.insert(from, repeated);
                }
                break;
            default:  // printable noise
                text.insert(pos, 1, static_cast<char>(' ' + rng() % 95));
                break;
        }
    }
    return text;
}

std::string randomBytes(std::mt19937& rng) {
    std::string text(rng() % 300, '\0');
    const bool printable = rng() % 2 == 0;
    for (char& c : text)
        c = printable ? static_cast<char>(' ' + rng() % 95) : static_cast<char>(rng() & 0xFF);
    if (printable) {
        for (size_t i = 0; i < text.size(); i += 1 + rng() % 30) text[i] = '\n';
    }
    return text;
}

TEST(IniFuzz, ReaderSurvivesAndAcceptedInputRoundTrips) {
    std::mt19937 rng(20240611u);
    int accepted = 0;
    int rejected = 0;
    for (int i = 0; i < 6000; ++i) {
        const std::string input =
            (i % 3 == 0) ? randomBytes(rng) : mutate(SEEDS[rng() % std::size(SEEDS)], rng);
        Document doc;
        const int32_t status = Document::parse(input, &doc);
        if (status < 0) {
            ++rejected;
            EXPECT_TRUE(doc.sections().empty());
            EXPECT_TRUE(status == QM41XXUTILS_ERR_FILE_CORRUPT || status == QM41XXUTILS_ERR_LINE_TOO_LONG ||
                        status == QM41XXUTILS_ERR_VALUE_TOO_LONG)
                << status;
            continue;
        }
        ++accepted;
        const std::string written = doc.serialise();
        Document again;
        ASSERT_EQ(Document::parse(written, &again), QM41XXUTILS_SUCCESS) << "input #" << i;
        ASSERT_EQ(again, doc) << "input #" << i;
        ASSERT_EQ(again.serialise(), written) << "input #" << i;
        // Every value the reader produced must also be accepted by the writer, so that loading a file
        // and saving its values again cannot fail on a value.
        Document rebuilt;
        for (const auto& section : doc.sections()) {
            for (const auto& entry : section.entries) {
                ASSERT_EQ(rebuilt.put("S", "k", entry.value), QM41XXUTILS_SUCCESS) << "input #" << i;
            }
        }
    }
    // Both roads must be exercised, or the fuzzer tests nothing.
    EXPECT_GT(accepted, 500);
    EXPECT_GT(rejected, 500);
}

}  // namespace
