// Result files of the matcher that list entities and pairs (the raw files), the member lists
// of merged blocks, and reading or printing a matching outside a run.
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "graph/Kinds.h"
#include "match/Match.h"
#include "match/ResultText.h"
#include "util/Console.h"
#include "util/LineReader.h"
#include "util/OutputRecord.h"
#include "util/Utilities.h"

namespace {

/// Category words by node kind.
const char* const kCategoryWords[] = {"Package", "Class",    "Method", "Field",
                                      "Entity",  "LifeLine", "Message"};
constexpr int kCategoryCount = 7;
/// Signature items before this position are modifiers, return type and name; the rest are
/// the parameters of a method.
constexpr size_t kFirstParameterItem = 3;

/// Members of block `number` on one side, one entry per node "n_label_specif___".
std::string memberList(Match& m, int number, bool left) {
    const Vertex* block = m.getVertex(number, left);
    const Graph* g = left ? m.g1 : m.g2;
    if (block == nullptr || block->nodes == nullptr || g == nullptr) return std::string();
    std::string out;
    for (int n : *block->nodes) {
        if (n < 0 || n >= g->vertices) continue;
        const Vertex* v = g->vertex(n);
        out +=
            std::to_string(n) + "_" + v->label + "_" + replaceString(v->specif, ",", ";") + "___";
    }
    return out;
}

/// Member vertices of a block in ascending number order.
std::vector<const Vertex*> members(Match& m, const Vertex* block, bool left) {
    const Graph* g = left ? m.g1 : m.g2;
    if (block == nullptr || g == nullptr) return {};
    return blockMembers(block, g);
}

/// One raw entity list: a header and one quoted entity per node in number order.
void writeEntityList(const Graph* g) {
    std::ofstream out;
    openResultFile(out, std::string(kResultsFolder) + "raw_" + g->name + ".csv");
    out << "\"class\",\"category\"\n";
    for (const Vertex* v : g->V)
        out << entityName(v) << ",\"" << categoryWord(v->type) << "\"\n";
}

/// Block size, 1 for a vertex without a member set.
size_t memberCount(const Vertex* v) {
    return v->nodes != nullptr ? v->nodes->size() : 1;
}

} // namespace

std::vector<const Vertex*> blockMembers(const Vertex* block, const Graph* g) {
    std::vector<const Vertex*> out;
    if (block->nodes == nullptr) {
        if (block->number < g->vertices) out.push_back(block);
        return out;
    }
    for (int n : *block->nodes)
        if (n >= 0 && n < g->vertices) out.push_back(g->vertex(n));
    return out;
}

// -------------------------------------------------------------------------------------
// Shared texts
// -------------------------------------------------------------------------------------

std::string categoryWord(int type) {
    if (type >= 0 && type < kCategoryCount) return kCategoryWords[type];
    return std::to_string(type);
}

std::string displayName(const Vertex* v) {
    if (v == nullptr) return std::string();
    if (v->type <= kClassType) return v->label;
    return v->label + "_" + replaceString(v->specif, ",", ";");
}

std::string entityName(const Vertex* v) {
    if (v == nullptr) return "\"\"";
    std::string name = v->label;
    if (v->type == kMethodType) {
        std::vector<std::string>* items = splitString(v->specif, ",");
        std::string parameters;
        for (size_t i = kFirstParameterItem; items != nullptr && i < items->size(); i++) {
            if (i > kFirstParameterItem) parameters += ",";
            parameters += (*items)[i];
        }
        delete items;
        name += "(" + parameters + ")";
    }
    FindAndReplace(name, "$", ".");
    return "\"" + name + "\"";
}

std::string runTag(const Match& m) {
    const std::string name1 = m.g1 != nullptr ? m.g1->name : std::string();
    const std::string name2 = m.g2 != nullptr ? m.g2->name : std::string();
    std::string tag = name1 + "__" + name2;
    if (m.costs != nullptr)
        for (double weight : {m.costs->dropWeightN, m.costs->dropWeightE, m.costs->edgeWeight,
                              m.costs->asymmetry, m.costs->_lw})
            tag += "__" + to_string(weight);
    return tag + "__" + to_string(m.randomSeed);
}

std::string vertexLabel(Match& m, int number, bool left) {
    const Vertex* v = m.getVertex(number, left);
    return v != nullptr ? v->label : std::string();
}

void openResultFile(std::ofstream& out, const std::string& path) {
    std::error_code ignored;
    std::filesystem::create_directories(kResultsFolder, ignored);
    out.open(path, std::ios::out | std::ios::trunc);
    if (out.is_open()) return;
    console() << "\n Cannot write the result file " << path << "\n";
    noteUnwrittenFile(path);
}

// -------------------------------------------------------------------------------------
// Raw files
// -------------------------------------------------------------------------------------

std::string Match::writeVertex1(int x) {
    return memberList(*this, x, true);
}

std::string Match::writeVertex2(int y) {
    return memberList(*this, y, false);
}

void Match::rawPrint() {
    if (g1 == nullptr || g2 == nullptr || M12 == nullptr) return;
    writeEntityList(g1);
    writeEntityList(g2);

    const std::string pairPath = std::string(kResultsFolder) + "raw_" + runTag(*this) + ".csv";
    std::ofstream pairs;
    std::ofstream merges;
    openResultFile(pairs, pairPath);
    openResultFile(merges, pairPath + "_MERGES.csv");
    pairs << "\"class1\",\"class2\",\"category\"\n";
    for (Vertex* vx : distinctBlocks(true)) {
        Vertex* vy = getVertex2(getM12(vx->number));
        if (vy == nullptr) continue;
        const std::string category = categoryWord(vx->type);
        for (const Vertex* a : members(*this, vx, true))
            for (const Vertex* b : members(*this, vy, false)) {
                const std::string name1 = entityName(a);
                const std::string name2 = entityName(b);
                if (name1 != name2) pairs << name1 << "," << name2 << "," << category << "\n";
            }
        if (memberCount(vx) * memberCount(vy) > 1)
            merges << "\"" << writeVertex1(vx->number) << "\",\"" << writeVertex2(vy->number)
                   << "\"," << category << "," << static_cast<float>(intSim(cost_mode, vx, vy))
                   << "\n";
    }
}

// -------------------------------------------------------------------------------------
// A matching read back from a log
// -------------------------------------------------------------------------------------

double Match::getLog(std::string log) {
    const int n1 = order(true);
    const int n2 = order(false);
    if (M12 == nullptr || M21 == nullptr) return 0;
    delete[] log_matching;
    log_matching = new int[n1 > 0 ? n1 : 1];
    for (int x = 0; x < n1; x++)
        log_matching[x] = kNoPartner;

    std::ifstream in(log);
    const bool opened = in.is_open();
    LineReader lines(in, log);
    while (opened && lines.next()) {
        // Other operations of an edit path are not pairs: they are passed over.
        if (lines.field(0) != "n") continue;
        int x = -1;
        int y = kNoPartner;
        const bool read = lines.size() >= 3 && from_string(lines.field(1), x) &&
                          (lines.field(2) == "-1" || from_string(lines.field(2), y));
        if (!read || x < 0 || x >= n1 || y < kNoPartner || y >= n2)
            lines.report("expected n,<node of graph 1>,<node of graph 2 or -1>");
        else
            log_matching[x] = lines.field(2) == "-1" ? kNoPartner : y;
    }
    if (lines.reports() > 0) console() << "\n";

    // The logged pairs are priced as a plain one-to-one matching.
    for (int x = 0; x < n1; x++) {
        M12[x] = kNoPartner;
        blocks1[x] = x;
    }
    for (int y = 0; y < n2; y++) {
        M21[y] = kNoPartner;
        blocks2[y] = y;
    }
    if (!opened) return 0;
    for (int x = 0; x < n1; x++) {
        const int y = log_matching[x];
        if (y == kNoPartner) continue;
        if (M21[y] != kNoPartner) {
            LineReader::reportFile(log, "node " + std::to_string(y) +
                                            " of graph 2 is logged twice; node " +
                                            std::to_string(x) + " is left unmatched");
            console() << "\n";
            continue;
        }
        M12[x] = y;
        M21[y] = x;
    }
    const double result = cost(cost_mode);
    for (int x = 0; x < n1; x++)
        M12[x] = kNoPartner;
    for (int y = 0; y < n2; y++)
        M21[y] = kNoPartner;
    return result;
}

// -------------------------------------------------------------------------------------
// The move table on the console
// -------------------------------------------------------------------------------------

void Match::printGammaMatrix() {
    if (M == nullptr) return;
    // One line per first-graph vertex with evaluated moves: its number, then "y:delta:tabu"
    // for every evaluated partner. Plain nodes come first, a blank line, then the blocks.
    const int n1 = order(true);
    bool blockRows = false;
    console() << "\n";
    for (const auto& row : M->mat) {
        if (!blockRows && static_cast<int>(row.first) >= n1) {
            blockRows = true;
            console() << "\n";
        }
        console() << row.first;
        for (const auto& entry : row.second)
            console() << "\t" << entry.first << ":" << entry.second.delta << ":"
                      << entry.second.tabu;
        console() << "\n";
    }
    console() << "\n";
}
