// Helpers for the reader and report tests: fixture paths, a private working folder (the
// reading constructor looks for "config.txt" there and the reports write below it), and
// reading a graph while capturing what it prints.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "tests/TextCount.h"

inline std::string fixture(const std::string& file) {
    return std::string(GRAPHMAT_TEST_DATA) + "/" + file;
}

/// Runs a test inside a fresh empty folder and returns to the previous one afterwards, so
/// "config.txt" and report files never leak between tests.
class ScratchFolder : public testing::Test {
protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("graphmat_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                   std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

/// A graph read by the reading constructor with everything it printed.
struct ReadGraph {
    std::unique_ptr<Graph> g;
    std::string out;
};

inline ReadGraph readGraph(int mode, const std::string& path) {
    testing::internal::CaptureStdout();
    auto g = std::make_unique<Graph>(mode, path);
    return {std::move(g), testing::internal::GetCapturedStdout()};
}

inline ReadGraph readFixture(int mode, const std::string& file) {
    return readGraph(mode, fixture(file));
}

/// Writes a text file (relative paths land in the scratch folder).
inline void writeText(const std::string& path, const std::string& text) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent);
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Writes 16-bit words low byte first, the binary graph formats' encoding.
inline void writeWords(const std::string& path, const std::vector<unsigned>& words) {
    std::ofstream out(path, std::ios::binary);
    for (unsigned w : words) {
        out.put(static_cast<char>(w & 0xFF));
        out.put(static_cast<char>((w >> 8) & 0xFF));
    }
}

/// The label of the Edge from -> to, or "none".
inline std::string arcLabel(Graph& g, int from, int to) {
    Edge* e = g.getEdge(from, to);
    return e != nullptr ? e->label : "none";
}
