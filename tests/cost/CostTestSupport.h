// Builders of small vertices and arcs for the cost-model tests.
#pragma once

#include <initializer_list>
#include <memory>
#include <utility>

#include "graph/Edge.h"
#include "graph/GraphLimits.h"
#include "graph/Vertex.h"

/// A numbered vertex of the given kind; `blockSize` > 1 makes it a merged block.
inline std::unique_ptr<Vertex> makeVertex(short type, int blockSize = 1) {
    auto v = std::make_unique<Vertex>(0);
    v->type = type;
    for (int i = 1; i < blockSize; ++i)
        v->nodes->insert(100 + i);
    return v;
}

/// An arc of the given kind holding `count` relations of each listed label class.
inline std::unique_ptr<Edge> makeEdge(int type, std::initializer_list<std::pair<int, int>> counts) {
    auto e = std::make_unique<Edge>(0, 1);
    e->type = type;
    e->labels = new short[kLabelCodes]();
    for (const auto& entry : counts) {
        e->labels[entry.first] = static_cast<short>(entry.second);
        for (int i = 0; i < entry.second && i < 20; ++i)
            e->label += char('0' + entry.first);
    }
    return e;
}
