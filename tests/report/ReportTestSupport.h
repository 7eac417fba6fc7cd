// Shared scaffolding of the change report tests: fixture paths, matchings stated by label,
// and one-line summaries of class entries.
#pragma once

#include "graph/Graph.h"
#include "report/ChangeReport.h"
#include "report/NodeMatching.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

/// A matching written as the test means it: explicit pairs and blocks by label, then every
/// other node paired with the node of the other graph that has the same label.
class MatchingByLabel {
public:
    MatchingByLabel(const Graph& g1, const Graph& g2) : g1_(g1), g2_(g2) {}

    void block(const std::vector<std::string>& a, const std::vector<std::string>& b) {
        std::vector<int> na, nb;
        for (const std::string& l : a)
            na.push_back(take(g1_, l, used1_));
        for (const std::string& l : b)
            nb.push_back(take(g2_, l, used2_));
        m_.groups.emplace_back(na, nb);
    }
    void pair(const std::string& a, const std::string& b) { block({a}, {b}); }
    void leaveUnmatched(const std::string& a) { take(g1_, a, used1_); }

    NodeMatching finish() {
        for (const Vertex* v : g1_.V) {
            if (used1_.count(v->number) != 0) continue;
            for (const Vertex* w : g2_.V)
                if (w->label == v->label && used2_.count(w->number) == 0) {
                    used2_.insert(w->number);
                    m_.groups.push_back({{v->number}, {w->number}});
                    break;
                }
        }
        return m_;
    }

private:
    static int take(const Graph& g, const std::string& label, std::set<int>& used) {
        for (const Vertex* v : g.V)
            if (v->label == label && used.count(v->number) == 0) {
                used.insert(v->number);
                return v->number;
            }
        ADD_FAILURE() << "no node labelled " << label;
        return -1;
    }
    const Graph& g1_;
    const Graph& g2_;
    std::set<int> used1_, used2_;
    NodeMatching m_;
};

/// "kind before1+before2 > after1 counts" with the six member counts joined by "/".
inline std::string entryLine(const ClassEntry& e) {
    std::string line = std::string(changeWord(e.kind)) + " ";
    for (size_t i = 0; i < e.before.size(); i++)
        line += (i ? "+" : "") + e.before[i];
    line += " > ";
    for (size_t i = 0; i < e.after.size(); i++)
        line += (i ? "+" : "") + e.after[i];
    line += " ";
    for (size_t k = 0; k < e.memberCounts.size(); k++)
        line += (k ? "/" : "") + std::to_string(e.memberCounts[k]);
    return line;
}

inline std::vector<std::string> entryLines(const ChangeReport& r) {
    std::vector<std::string> out;
    for (const ClassEntry& e : r.classes)
        out.push_back(entryLine(e));
    return out;
}
