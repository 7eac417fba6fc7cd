// Files for the tests: paths of the test data and the examples, whole-file reading of result
// files compared byte for byte, and inputs written on the spot.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

/// A file of the tests' own data folder (tests/data).
inline std::string testData(const std::string& file) {
    return std::string(GRAPHMAT_TEST_DATA) + "/" + file;
}

/// A file of the example pair's folder (examples/).
inline std::string examplePath(const std::string& file) {
    return std::string(GRAPHMAT_TEST_DATA) + "/../../examples/" + file;
}

/// The whole content of a file, byte for byte; empty when it cannot be read.
inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// The lines of a file without their "\n"; none when it cannot be read.
inline std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

/// Writes a file byte for byte, creating its folder when missing.
inline void writeText(const std::filesystem::path& path, const std::string& text) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}
