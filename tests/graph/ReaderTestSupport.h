// Helpers for the reader and report tests: fixture paths, reading a graph while capturing
// what it prints, binary inputs and arc labels. Tests run in a scratch folder, where the
// reading constructor looks for "config.txt" and the reports write.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"
#include "tests/support/TextCount.h"
#include "util/Console.h"

/// A graph read by the reading constructor with everything it printed.
struct ReadGraph {
    std::unique_ptr<Graph> g;
    std::string out;
};

inline ReadGraph readGraph(int mode, const std::string& path) {
    ConsoleCapture capture;
    auto g = std::make_unique<Graph>(mode, path);
    return {std::move(g), capture.text()};
}

inline ReadGraph readFixture(int mode, const std::string& file) {
    return readGraph(mode, testData(file));
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
