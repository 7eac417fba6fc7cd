// The tunnel's histories: edge files of chosen classes, the reverse chains, the edges kept
// between classes that reach the last version, and the name and relation histories.
#include "tunnel/Tunnel.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "graph/Graph.h"
#include "tunnel/TunnelChains.h"
#include "util/Console.h"

namespace {

/// Label counts of codes 1 to 6 of an edge read as one number ("102000" for 1, 0, 2).
double edgeValue(Edge* e) {
    return static_cast<double>(std::strtoll(e->getLabel2(6).c_str(), nullptr, 10));
}

/// Most occurrences written on one line of the raw tunnel file; shorter lists are padded.
constexpr size_t kOccurrenceColumns = 7;

/// One history: entries "graph name__value", the value changing from entry to entry.
struct History {
    std::vector<std::string> entries;
    int lastStep = 0;

    void add(const std::string& graphName, const std::string& value) {
        if (!entries.empty()) {
            const std::string& previous = entries.back();
            if (previous.substr(previous.find("__") + 2) == value) return;
        }
        entries.push_back(graphName + "__" + value);
    }
};

void writeHistory(std::ostream& out, const History& h) {
    out << "," << h.lastStep << "," << h.entries.size();
    for (const std::string& entry : h.entries)
        out << "," << entry;
    out << "\n";
}

} // namespace

void Tunnel::writeClassEdgeFiles(const Chains& c) {
    for (int q : check) {
        if (q < 0 || static_cast<size_t>(q) >= m.size()) continue;
        std::ofstream out;
        if (!openResult(out, firstG->vertex(q)->label)) continue;
        for (int l = 0; l <= c.V; ++l) {
            const int node = valueAt(m, q, l);
            if (node < 0) break;
            Graph* g = version(l);
            const double* u = g->u;
            auto cr = [&](int n) {
                return u == nullptr ? 0 : static_cast<int>(u[n] * CR_multiplier);
            };
            auto end = [&](int n) {
                return std::to_string(n) + "," + g->vertex(n)->label + "," + std::to_string(cr(n));
            };
            for (Edge* e : g->vertex(node)->out)
                out << l + 1 << "," << end(node) << ",-->," << end(e->to) << "," << e->label
                    << "\n";
            for (Edge* e : g->vertex(node)->in)
                out << l + 1 << "," << end(node) << ",<--," << end(e->from) << "," << e->label
                    << "\n";
        }
    }
}

void Tunnel::buildReverseChains() {
    const size_t versions = gseries.size();
    _m.assign(versions, NodeInts());
    for (size_t k = 0; k < versions; ++k)
        _m[k].assign(static_cast<size_t>(gseries[k]->vertices), -1);
    for (size_t j = 0; j < _m[0].size(); ++j)
        _m[0][j] = static_cast<int>(j);
    for (size_t k = 1; k < versions; ++k) {
        const matching* mat = matchings[k - 1];
        const int entry = mseries[k - 1];
        if (!mat->holds(entry)) continue;
        // The last node of graph k - 1 mapped to o wins.
        const NodeInts& match = mat->matchList[static_cast<size_t>(entry)];
        for (size_t j = 0; j < match.size(); ++j)
            if (match[j] >= 0) _m[k][static_cast<size_t>(match[j])] = _m[k - 1][j];
    }
    console() << "\n Created Reverse Tunnel \n";
}

void Tunnel::writeRawTunnel() {
    std::ofstream out;
    openResult(out, "raw_tunnel_" + firstG->name + ".csv");
    writeThreads(out);
    console() << "\n Filed Tunnel \n";
    collectTunnelEdges();
    writeTunnelEdges(out);
}

void Tunnel::writeThreads(std::ostream& out) {
    const int V = static_cast<int>(matchings.size());
    tunnelled.clear();
    _tunnelled.assign(m.size(), -1);
    threads.assign(m.size(), 0);
    for (size_t q = 0; q < m.size(); ++q) {
        out << firstG->V[q]->label;
        int k = 1;
        for (; k <= V && m[q][k] >= 0; ++k)
            out << "," << version(k)->vertex(m[q][k])->label;
        out << "\n";
        threads[q] = k; // V + 1 when it reaches the last graph, else its first missing version
        if (k == V + 1) {
            _tunnelled[q] = static_cast<int>(tunnelled.size());
            tunnelled.push_back(static_cast<int>(q));
        }
    }
    tunnelSize = static_cast<int>(tunnelled.size());
    // The edge lines follow: end the count's line so that the first one stays whole.
    out << "\n\n tunnelSize," << tunnelSize << "\n";
}

void Tunnel::collectTunnelEdges() {
    tunnelEdges.assign(tunnelled.size(), {});
    for (size_t k = 0; k < gseries.size(); ++k)
        for (Edge* e : gseries[k]->E) {
            if (e == nullptr) {
                console() << "\n !!!!!!!!! \n";
                continue;
            }
            const int a0 = _m[k][e->from], b0 = _m[k][e->to];
            if (a0 < 0 || b0 < 0) continue;
            const int a = _tunnelled[a0], b = _tunnelled[b0];
            if (a < 0 || b < 0) continue;
            std::vector<occurrence>& list = tunnelEdges[a][b];
            const double value = edgeValue(e);
            auto it = std::find_if(list.begin(), list.end(),
                                   [&](const occurrence& o) { return o.value == value; });
            if (it != list.end())
                ++it->count;
            else
                list.push_back({value, 1});
        }
}

void Tunnel::writeTunnelEdges(std::ostream& out) {
    const int versions = static_cast<int>(gseries.size());
    int perfect = 0, original = 0;
    std::map<int, int> countStats, sizeStats;
    for (size_t a = 0; a < tunnelEdges.size(); ++a)
        for (const auto& cell : tunnelEdges[a]) {
            const std::vector<occurrence>& list = cell.second;
            // One value held in every version: the edge went through unchanged.
            if (list.size() == 1 && list[0].count == versions) {
                ++perfect;
                continue;
            }
            const int from = tunnelled[a], to = tunnelled[cell.first];
            out << firstG->vertex(from)->label << "," << firstG->vertex(to)->label;
            int largest = 0, sum = 0;
            for (const occurrence& o : list) {
                out << "," << o.value << "\\" << o.count;
                largest = std::max(largest, static_cast<int>(o.count));
                sum += o.count;
                ++countStats[o.count];
            }
            for (size_t pad = list.size(); pad < kOccurrenceColumns; ++pad)
                out << ",";
            out << "," << largest << "," << sum << "\n";
            if (firstG->getEdge(from, to) != nullptr) ++original;
            ++sizeStats[static_cast<int>(list.size())];
        }

    for (const auto& s : countStats) {
        out << "\n labelStats," << s.first << "," << s.second;
        console() << "\n labelStats," << s.first << "," << s.second;
    }
    out << "\n\n Original Edges in the tunnel : " << perfect + original << "\n\n";
    out << "\n\n Perfect Edge Matching : " << perfect << "\n\n";
    for (const auto& s : sizeStats)
        if (s.first >= 2) out << "\n multilabelStats," << s.first << "," << s.second;
    out << "\n\n Threads \n\n";
    for (size_t q = 0; q < threads.size(); ++q)
        out << q << "," << threads[q] << "\n";
    out << "\n\n Costs in tunnel \n\n";
    for (int q : tunnelled)
        out << q << "," << _cost[q] << "\n";
}

void Tunnel::writeHistories() {
    const size_t V = matchings.size();
    console() << "\n ---Quick Facts--- \n";
    std::ofstream nodesOut;
    if (openResult(nodesOut, "ctunnel_" + firstG->name + ".csv")) {
        for (size_t q = 0; q < m.size(); ++q) {
            console() << "\n Node:" << q;
            History h;
            h.add(firstG->name, firstG->V[q]->label);
            for (size_t k = 1; k <= V && m[q][k] >= 0; ++k) {
                h.add(gseries[k]->name, gseries[k]->vertex(m[q][k])->label);
                h.lastStep = static_cast<int>(k);
            }
            nodesOut << q << "," << firstG->V[q]->label;
            writeHistory(nodesOut, h);
        }
        console() << "\n Node data written";
    }
    std::ofstream edgesOut;
    if (!openResult(edgesOut, "rtunnel_" + firstG->name + ".csv")) return;
    for (size_t i = 0; i < firstG->E.size(); ++i) {
        Edge* e = firstG->E[i];
        if (e == nullptr) continue;
        console() << "\n Edge:" << i;
        History h;
        h.add(firstG->name, e->getLabel2(6));
        const size_t f = static_cast<size_t>(e->from), t = static_cast<size_t>(e->to);
        for (size_t k = 1; k <= V && m[f][k] >= 0 && m[t][k] >= 0; ++k) {
            Edge* later = gseries[k]->getEdge(m[f][k], m[t][k]);
            if (later == nullptr) continue;
            h.add(gseries[k]->name, later->getLabel2(6));
            h.lastStep = static_cast<int>(k);
        }
        edgesOut << e->from << "," << firstG->V[f]->label << "," << e->to << ","
                 << firstG->V[t]->label;
        writeHistory(edgesOut, h);
    }
    console() << "\n Edge data written";
}
