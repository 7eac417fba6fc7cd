// Shared helpers of the generator tests: a scratch working folder and small file readers.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "graph/Edge.h"
#include "graph/Graph.h"

/// Moves the working directory into a fresh temporary folder for the lifetime of the object:
/// the generators write relative paths ("./benchmark/", "logs/", "bat.txt").
class ScratchFolder {
public:
    ScratchFolder() : previous(std::filesystem::current_path()) {
        std::random_device seed;
        folder = std::filesystem::temp_directory_path() /
                 ("graphmat-gen-test-" + std::to_string(seed()));
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path previous;
    std::filesystem::path folder;
};

inline std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t comma = line.find(','); comma != std::string::npos; comma = line.find(',', start)) {
        parts.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(line.substr(start));
    return parts;
}

/// Label text of the arc from -> to, empty when there is none.
inline std::string arcLabel(Graph& g, int from, int to) {
    Edge* e = g.getEdge(from, to);
    return e != nullptr ? e->label : std::string();
}
