// Obvious matches between two class diagrams (nodes that can only correspond to each other)
// and the export of what is left to match. Used for experiments, not by the matching run.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graph/Kinds.h"
#include "match/Match.h"
#include "util/Console.h"
#include "util/Folders.h"
#include "util/LineReader.h"
#include "util/NodeTable.h"
#include "util/OutputRecord.h"
#include "util/Utilities.h"

namespace {

constexpr const char* kMylynDiagrams = "./datasets/cdiagrams/mylyn/";
constexpr const char* kEclipseDiagrams = "./datasets/cdiagrams/eclipse/";
/// Signature items written before the bracketed parameter list.
constexpr size_t kLeadingSpecItems = 3;

std::string afterLastDot(const std::string& text) {
    const size_t dot = text.rfind('.');
    return dot == std::string::npos ? text : text.substr(dot + 1);
}

/// Pairs each node of a with the single free node of b that has its short name, kind,
/// full label and signature; pairA / pairB receive the partners (-1 when none).
void pairObvious(const Graph* a, const Graph* b, std::vector<int>& pairA, std::vector<int>& pairB) {
    pairA.assign(static_cast<size_t>(a->vertices), kNoPartner);
    pairB.assign(static_cast<size_t>(b->vertices), kNoPartner);
    if (b->classes == nullptr) return;
    for (int i = 0; i < a->vertices; i++) {
        const Vertex* v = a->vertex(i);
        const auto range = b->classes->equal_range(afterLastDot(v->label));
        int found = -1;
        int count = 0;
        for (auto it = range.first; it != range.second; ++it) {
            const int j = it->second;
            if (j < 0 || j >= b->vertices || nodeEntry(pairB, j) != kNoPartner) continue;
            const Vertex* w = b->vertex(j);
            if (w->type != v->type || w->label != v->label || w->specif != v->specif) continue;
            found = j;
            count++;
        }
        if (count != 1) continue;
        nodeEntry(pairA, i) = found;
        nodeEntry(pairB, found) = i;
    }
}

/// New numbers (from 0, in order) of the unpaired nodes and of paired nodes with an
/// unpaired neighbour; -1 for the others.
std::vector<int> leftover(const Graph* g, const std::vector<int>& pairs, int& count) {
    std::vector<int> renumbered(pairs.size(), -1);
    count = 0;
    for (int n = 0; n < g->vertices; n++) {
        bool keep = nodeEntry(pairs, n) == kNoPartner;
        if (!keep && g->neighbors != nullptr)
            for (int m : g->neighbors[n])
                if (m >= 0 && m < g->vertices && nodeEntry(pairs, m) == kNoPartner) keep = true;
        if (keep) nodeEntry(renumbered, n) = count++;
    }
    return renumbered;
}

/// Owner of a member: the source of its entering containment arc; -1 when none.
int ownerOf(const Vertex* v) {
    for (const Edge* e : v->in)
        if (e != nullptr && e->label.find(kContainmentCode) != std::string::npos) return e->from;
    return -1;
}

std::string joined(const std::vector<std::string>& items, size_t from, size_t to,
                   const std::string& separator) {
    std::string text;
    for (size_t k = from; k < to && k < items.size(); k++)
        text += (k > from ? separator : "") + items[k];
    return text;
}

/// The node line of a leftover class or member; empty for other nodes.
std::string nodeLine(const Graph* g, const Vertex* v, const std::vector<int>& renumbered) {
    if (v->type == kClassType)
        return "c," + std::to_string(nodeEntry(renumbered, v->number)) + "," + v->label + "," +
               to_string(v->weight[0]) + "," + to_string(v->weight[1]);
    if (v->type != kMethodType && v->type != kAttributeType) return "";
    const int owner = ownerOf(v);
    if (owner < 0 || owner >= g->vertices || nodeEntry(renumbered, owner) < 0) return "";
    std::vector<std::string> items;
    if (std::vector<std::string>* split = splitString(v->specif, ",")) {
        items = *split;
        delete split;
    }
    std::string line = (v->type == kAttributeType ? "a," : "m,") +
                       std::to_string(nodeEntry(renumbered, owner)) + "," +
                       joined(items, 0, kLeadingSpecItems, "@");
    if (v->type == kMethodType)
        line += "@[" + joined(items, kLeadingSpecItems, items.size(), ",") + "]";
    return line;
}

/// Copies the relation lines of g's dataset file (its first line is a header) whose two ends
/// are left over, renumbered; reports relation lines that name no two nodes of g.
void copyLeftoverRelations(std::ostream& out, const Graph* g, const std::vector<int>& renumbered,
                           const std::string& path) {
    std::ifstream in(path);
    if (!in.is_open()) {
        LineReader::reportFile(path, "cannot be opened (expected the dataset file of " + g->name +
                                         "); no relation exported");
        return;
    }
    LineReader lines(in, path);
    lines.next();
    while (lines.next()) {
        if (lines.field(0) != "r") continue;
        int from = -1;
        int to = -1;
        if (!lines.require(3, "\"r,source,target[,label]\"") ||
            !lines.intField(1, from, "source") || !lines.intField(2, to, "target"))
            continue;
        if (from < 0 || to < 0 || from >= g->vertices || to >= g->vertices) {
            lines.report("relation end outside 0.." + std::to_string(g->vertices - 1) +
                         "; skipped");
            continue;
        }
        const int newFrom = nodeEntry(renumbered, from);
        const int newTo = nodeEntry(renumbered, to);
        if (newFrom < 0 || newTo < 0) continue;
        out << "r," << newFrom << "," << newTo;
        for (size_t k = 3; k < lines.size(); k++)
            out << "," << lines.field(k);
        out << "\n";
    }
}

/// Writes the leftover of g as a class-diagram file, with the relations of its dataset file
/// whose two ends are left over, renumbered.
void exportLeftover(const Graph* g, const std::vector<int>& renumbered,
                    const std::string& datasetDir) {
    const std::string path = std::string(kResultsFolder) + "_" + g->name + ".txt";
    std::ofstream out(path, std::ios::trunc);
    if (!out) {
        console() << "\n Cannot write the result file " << path << "\n";
        noteUnwrittenFile(path);
    }
    int classes = 0;
    for (int n = 0; n < g->vertices; n++)
        if (nodeEntry(renumbered, n) >= 0 && g->vertex(n)->type == kClassType) classes++;
    out << classes << ",0\n";
    for (int n = 0; n < g->vertices; n++) {
        if (nodeEntry(renumbered, n) < 0) continue;
        const std::string line = nodeLine(g, g->vertex(n), renumbered);
        if (!line.empty()) out << line << "\n";
    }
    copyLeftoverRelations(out, g, renumbered, datasetDir + g->name + ".txt");
}

std::string treatObvious(Graph* a, Graph* b, const std::string& datasetDir) {
    console() << "\n TREATMENT OF OBVIOUS \n";
    if (a == nullptr || b == nullptr) return "YES";
    std::vector<int> pairA;
    std::vector<int> pairB;
    pairObvious(a, b, pairA, pairB);
    int countA = 0;
    int countB = 0;
    const std::vector<int> leftA = leftover(a, pairA, countA);
    const std::vector<int> leftB = leftover(b, pairB, countB);
    console() << "\n leftover " << countA << "/" << a->vertices << "\t" << countB << "/"
              << b->vertices << "\n";
    std::error_code ignored;
    std::filesystem::create_directories(kResultsFolder, ignored);
    const std::string pairsPath =
        std::string(kResultsFolder) + "_" + a->name + "__" + b->name + ".csv";
    std::ofstream pairsOut(pairsPath, std::ios::trunc);
    if (!pairsOut) {
        console() << "\n Cannot write the result file " << pairsPath << "\n";
        noteUnwrittenFile(pairsPath);
    }
    for (int i = 0; i < a->vertices; i++) {
        const int j = nodeEntry(pairA, i);
        if (j < 0) continue;
        pairsOut << "ns," << i << "," << j << "," << a->vertex(i)->label << ","
                 << b->vertex(j)->label << "\n";
    }
    exportLeftover(a, leftA, datasetDir);
    exportLeftover(b, leftB, datasetDir);
    return "YES";
}

} // namespace

std::string Match::obviousMatch(Graph* a, Graph* b) {
    return treatObvious(a, b, kMylynDiagrams);
}

std::string Match::obviousMatch1(Graph* a, Graph* b) {
    return treatObvious(a, b, kEclipseDiagrams);
}
