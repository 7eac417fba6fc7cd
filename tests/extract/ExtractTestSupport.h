// Helpers of the extraction tests: fixture trees, a private folder per test, and a check
// that Universal Ctags can run here.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "extract/ExtractRun.h"
#include "extract/Subprocess.h"
#include "tests/support/Files.h"

/// The two-version Java tree written for these tests.
inline std::string shopTree(const std::string& version) {
    return std::string(GRAPHMAT_TEST_DATA) + "/java_shop/" + version;
}

inline bool ctagsAvailable() {
    return runProcess({"ctags", "--version"}).exitCode == 0;
}

/// A test that works in a temporary folder of its own and needs ctags.
class ExtractTest : public testing::Test {
protected:
    void SetUp() override {
        if (!ctagsAvailable()) GTEST_SKIP() << "Universal Ctags is not installed";
        ASSERT_FALSE(folder_.path().empty());
    }
    std::filesystem::path work(const std::string& name) const {
        return std::filesystem::path(folder_.path()) / name;
    }

private:
    TemporaryFolder folder_;
};
