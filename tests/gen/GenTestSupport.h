// Shared helpers of the generator tests: the shared scratch folder and file readers, and
// splitting a written line into its fields.
#pragma once

#include <string>
#include <vector>

#include "graph/Edge.h"
#include "graph/Graph.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"

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
