// Replays every input of the fuzz corpus through its family's readers in the ordinary
// build: the seeds and every input that once failed stay checked by each test run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/FuzzEntries.h"
#include "tests/support/Files.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(GRAPHMAT_TEST_DATA) / ".." / "fuzz" / "corpus";

std::vector<uint8_t> bytesOf(const fs::path& file) {
    const std::string text = readText(file);
    return std::vector<uint8_t>(text.begin(), text.end());
}

} // namespace

TEST(FuzzCorpus, EveryFamilyReplaysItsInputsWithoutFailing) {
    for (FuzzFamily family : fuzzFamilies()) {
        const fs::path folder = kCorpus / fuzzFamilyName(family);
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        std::vector<fs::path> inputs;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
        EXPECT_FALSE(inputs.empty()) << folder;
        for (const fs::path& input : inputs) {
            SCOPED_TRACE(input.string());
            const std::vector<uint8_t> bytes = bytesOf(input);
            fuzzOneInput(family, bytes.data(), bytes.size());
        }
    }
}
