// The four reports of a matching run: the cost report (every node and edge with its edit
// cost), its filtered form, and the long and short difference reports between the diagrams.
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "match/Match.h"
#include "match/ResultText.h"
#include "util/Console.h"
#include "util/Utilities.h"

namespace {

/// Label code count passed to Edge::compare: every relation code from 1 to 9.
constexpr int kComparedLabels = 9;
/// Edge::compare result of two edges with the same relation counts.
constexpr int kPerfectEdgeMatch = 2;
constexpr int kPartialEdgeMatch = 1;

const char* const kMatchedBanner =
    "\n,,***********************************\n,,*Matched classes with different names*\n"
    ",,*********************************** \n";
const char* const kSameNameBanner =
    "\n,,************************************ \n,,*Non-Matched classes with same names*\n"
    ",,************************************\n";
const char* const kDeletedBanner = "\n,,***********************************\n,,*Deleted "
                                   "classes*\n,,*********************************** \n";
const char* const kInsertedBanner = "\n,,***********************************\n,,*Inserted "
                                    "classes*\n,,*********************************** \n";

/// The text after the last "." of a label (the whole label when it has none).
std::string afterLastDot(const std::string& label) {
    const size_t dot = label.rfind('.');
    return dot == std::string::npos ? label : label.substr(dot + 1);
}

/// Everything the report sections share while they are written.
struct ReportWriter {
    Match& m;
    int mode;
    std::ofstream costReport, filtered, diff, shortDiff;
    std::map<int, Vertex*> blocks1, blocks2;
    std::map<std::pair<int, int>, Edge*> edges1, edges2;
    /// Edit cost gathered per block, from its edges and then its own node cost.
    std::map<int, double> total1, total2;

    ReportWriter(Match& match, int costMode) : m(match), mode(costMode) {}

    std::string label(int number, bool left) { return vertexLabel(m, number, left); }
    double& total(int block, bool left) { return left ? total1[block] : total2[block]; }

    void open(const std::string& base);
    void writeHeader(double solutionCost);
    void gatherEdgeTotals();
    void writeMatchedRows();
    void writeMatchedDifferences();
    void writeSameNameSection();
    void writeDeletedSection();
    void writeInsertedSection();
    void writeEdgeRows();

    /// Relation lines of a matched block: each edge with "(M)" / "[M]" when the partner side
    /// holds the corresponding edge with the same label.
    void writeMarkedRelations(Vertex* v, int partner, bool left);
    /// Relation lines "-label->end" / "<-label-start" of a block, with a prefix for graph 2.
    void writeShortRelations(Vertex* v, bool left);
    /// Whether the block pair (i, j) belongs to the same-name section.
    bool sameNameReported(int i, int j, const std::string& name1, const std::string& name2);
};

void ReportWriter::open(const std::string& base) {
    openResultFile(costReport, base);
    openResultFile(filtered, base + ".csv");
    openResultFile(diff, base + ".csv.csv");
    openResultFile(shortDiff, base + ".csv.csv.csv");
}

void ReportWriter::writeHeader(double solutionCost) {
    const Cost* c = m.costs;
    const double dropProduct = c->renameToken * c->edgeWeight * c->dropWeightE;
    for (std::ofstream* out : {&costReport, &filtered, &diff, &shortDiff}) {
        *out << "\nCost:" << solutionCost << " SameLabels:" << m.nb_matched << "("
             << m.nb_matched_isolated << ")"
             << "/" << m.numberOfMatchs << "(" << m.nb_matched_isolated + m.nb_unmatched_isolated
             << ")"
             << " |V1|=" << m.g1->V.size() << " |E1|=" << m.g1->E.size()
             << " |V2|=" << m.g2->V.size() << " |E2|=" << m.g2->E.size() << "\n";
        *out << "Penalties : cnd=" << c->classDeletion << " cni=" << c->classInsertion
             << " cns=" << c->renameToken << " ced=" << dropProduct << " cei=" << dropProduct
             << " cess=" << c->renameToken * c->edgeWeight << " lw=" << c->_lw << " aw=" << c->_aw
             << " mw=" << c->_mw << "\n";
    }
    const char* nodesTitle = "\n\n NODES, #class1, #class2, class1, class2, ,,, raw cost, overall "
                             "cost1, overall cost2\n\n";
    costReport << nodesTitle;
    filtered << nodesTitle;
}

void ReportWriter::gatherEdgeTotals() {
    for (const auto& [ends, e1] : edges1) {
        const auto [from, to] = ends;
        const int p = m.getM12(from);
        const int q = m.getM12(to);
        double c;
        if (p == Match::kNoPartner || q == Match::kNoPartner) {
            c = m.costs->ced(mode, e1, m.getNodes1(from), m.getNodes1(to));
        } else {
            Edge* e2 = m.getEdge2(p, q);
            c = m.costs->raw_ces(m.cost_mode, e1, e2, m.getENodes1(e1), m.getENodes2(e2));
        }
        total1[from] += c;
        if (to != from) total1[to] += c;
    }
    for (const auto& [ends, e2] : edges2) {
        const auto [from, to] = ends;
        const int p = m.getM21(from);
        const int q = m.getM21(to);
        double c = 0;
        if (p == Match::kNoPartner || q == Match::kNoPartner)
            c = m.costs->cei(mode, e2, m.getNodes2(from), m.getNodes2(to));
        else if (m.getEdge1(p, q) == nullptr)
            c = m.costs->raw_ces(m.cost_mode, nullptr, e2, 0, m.getENodes2(e2));
        total2[from] += c;
        if (to != from) total2[to] += c;
    }
}

/// Similarity, raw substitution cost and move delta of one matched block pair.
struct MatchedPair {
    int x, y;
    double sim, raw, delta;
};

void ReportWriter::writeMatchedRows() {
    for (const auto& [x, vx] : blocks1) {
        const int y = m.getM12(x);
        Vertex* vy = m.getVertex2(y);
        if (vy == nullptr) continue;
        const float sim = m.storedLikeness(mode, vx, vy);
        const double raw = m.costs->raw_cns(mode, vx, vy, sim);
        total1[x] += raw;
        const double delta = m.computeDelta(m.cost_mode, vx, vy);
        std::string row = "ns," + std::to_string(x) + "," + std::to_string(y) + "," + vx->label +
                          "," + vy->label + ",,,," + to_string(raw) + "," + to_string(total1[x]) +
                          "," + to_string(total2[y]) + "," + to_string(delta) + "\n";
        costReport << row;
        if (total1[x] != 0 || total2[y] != 0) filtered << row;
    }
}

void ReportWriter::writeMarkedRelations(Vertex* v, int partner, bool left) {
    std::vector<Edge*>* edges = m.getVEdges(v, left);
    const std::string prefix = left ? "" : ",";
    const int self = v->number;
    for (size_t k = 0; edges != nullptr && k < edges->size(); k++) {
        Edge* e = (*edges)[k];
        const bool outgoing = e->from == self;
        const int other = outgoing ? e->to : e->from;
        const std::string otherLabel = label(other, left);
        if (outgoing)
            diff << prefix << "--" << e->label << "--> " << (e->to == self ? "self" : otherLabel);
        else
            diff << prefix << "<--" << e->label << "-- " << (e->from == self ? "self" : otherLabel);
        const int n = m.partnerOf(other, left);
        if (n != Match::kNoPartner) {
            Edge* counterpart =
                outgoing ? m.getEdgeSide(partner, n, !left) : m.getEdgeSide(n, partner, !left);
            if (counterpart != nullptr && counterpart->label == e->label)
                diff << (otherLabel == label(n, !left) ? "(M)" : "[M]");
        }
        diff << "\n";
    }
    delete edges;
}

void ReportWriter::writeShortRelations(Vertex* v, bool left) {
    std::vector<Edge*>* edges = m.getVEdges(v, left);
    const std::string prefix = left ? "" : ",";
    for (size_t k = 0; edges != nullptr && k < edges->size(); k++) {
        Edge* e = (*edges)[k];
        if (e->from == v->number)
            diff << prefix << "-" << e->label << "->" << label(e->to, left) << "\n";
        else
            diff << prefix << "<-" << e->label << "-" << label(e->from, left) << "\n";
    }
    delete edges;
}

void ReportWriter::writeMatchedDifferences() {
    diff << kMatchedBanner;
    shortDiff << kMatchedBanner;
    console() << kMatchedBanner;
    int diff_match = 0;
    for (const auto& [x, vx] : blocks1) {
        const int y = m.getM12(x);
        Vertex* vy = m.getVertex2(y);
        if (vy == nullptr || displayName(vx) == displayName(vy)) continue;
        diff_match++;
        diff << "\n,," << diff_match << "-----";
        const float sim = m.storedLikeness(mode, vx, vy);
        const double raw = m.costs->raw_cns(mode, vx, vy, sim);
        const double delta = m.computeDelta(m.cost_mode, vx, vy);
        const std::string line = "\n" + std::to_string(x) + "_" + displayName(vx) + "," +
                                 std::to_string(y) + "_" + displayName(vy) + "," + to_string(sim) +
                                 "," + to_string(raw) + "," + to_string(total1[x]) + "," +
                                 to_string(total2[y]) + "," + to_string(delta) + "\n";
        diff << line;
        shortDiff << line;
        diff << "||Relations(1)||\n";
        writeMarkedRelations(vx, y, true);
        diff << ",||Relations(2)||\n";
        writeMarkedRelations(vy, x, false);
    }
}

bool ReportWriter::sameNameReported(int i, int j, const std::string& name1,
                                    const std::string& name2) {
    const int bs = m.getM12(i);
    const int bt = m.getM21(j);
    if (name1 != name2 || bs == j) return false;
    const std::string& label1 = m.getVertex1(i)->label;
    const std::string& label2 = m.getVertex2(j)->label;
    if (label1 == label2) {
        // Equal full labels: skipped when either side is matched to a node of that same label.
        if (bs != Match::kNoPartner && label1 == label(bs, false)) return false;
        if (bt != Match::kNoPartner && label2 == label(bt, true)) return false;
        return true;
    }
    if (bs != Match::kNoPartner) {
        const std::string partner =
            bs < m.order(false) ? afterLastDot(label(bs, false)) : label(bs, false);
        if (partner == name1) return false;
    }
    if (bt != Match::kNoPartner) {
        const std::string partner =
            bt < m.order(true) ? afterLastDot(label(bt, true)) : label(bt, true);
        if (partner == name2) return false;
    }
    return true;
}

void ReportWriter::writeSameNameSection() {
    diff << kSameNameBanner;
    shortDiff << kSameNameBanner;
    // Only pairs with equal compared names can be reported: index graph 2's blocks by name,
    // keeping them in ascending block order, instead of comparing every pair.
    auto comparedName = [this](int number, bool left) {
        const std::string text = label(number, left);
        return number >= m.order(left) ? afterLastDot(text) : text;
    };
    std::map<std::string, std::vector<int>> byName;
    for (const auto& entry : blocks2)
        byName[comparedName(entry.first, false)].push_back(entry.first);
    int same_unmatch = 0;
    for (const auto& [i, vi] : blocks1) {
        const std::string name1 = comparedName(i, true);
        auto found = byName.find(name1);
        if (found == byName.end()) continue;
        for (int j : found->second) {
            if (!sameNameReported(i, j, name1, name1)) continue;
            Vertex* vj = blocks2[j];
            const int bs = m.getM12(i);
            const int bt = m.getM21(j);
            same_unmatch++;
            diff << "\n,," << same_unmatch << "-----";
            std::string line = "\n" + std::to_string(i) + "_" + vi->label;
            if (bs != Match::kNoPartner)
                line += "(" + std::to_string(bs) + "_" + label(bs, false) + ")";
            line += "," + std::to_string(j) + "_" + vj->label;
            if (bt != Match::kNoPartner)
                line += "(" + std::to_string(bt) + "_" + label(bt, true) + ")";
            diff << line;
            shortDiff << line;
            diff << "\n||Relations(1)||\n";
            writeShortRelations(vi, true);
            diff << ",||Relations(2)||\n";
            writeShortRelations(vj, false);
        }
    }
}

void ReportWriter::writeDeletedSection() {
    diff << kDeletedBanner;
    shortDiff << kDeletedBanner;
    int delCount = 0;
    for (const auto& [x, vx] : blocks1) {
        if (m.getM12(x) != Match::kNoPartner) continue;
        const double raw = m.costs->cnd(mode, vx);
        total1[x] += raw;
        costReport << "nd," << vx->label << ",,,,,,," << raw << "," << total1[x] << ",\n";
        delCount++;
        diff << "\n,,d" << delCount << "-----";
        diff << displayName(vx) << "\n";
        shortDiff << displayName(vx) << "\n";
        diff << "||Relations||\n";
        writeShortRelations(vx, true);
    }
}

void ReportWriter::writeInsertedSection() {
    diff << kInsertedBanner;
    shortDiff << kInsertedBanner;
    int insCount = 0;
    // A node of graph 2 is inserted when it has no partner in the matching being reported.
    for (int j = 0; j < m.order(false); j++) {
        if (m.M21[j] != Match::kNoPartner) continue;
        Vertex* vj = m.g2->vertex(j);
        costReport << "ni," << j << "," << vj->label << ",,,,,," << 0 << ",," << total2[j] << ",\n";
        insCount++;
        diff << "\n,,i" << insCount << "-----";
        diff << displayName(vj) << "\n";
        shortDiff << displayName(vj) << "\n";
        diff << "||Relations||\n";
        writeShortRelations(vj, false);
    }
    diff.close();
    shortDiff.close();
}

void ReportWriter::writeEdgeRows() {
    const char* edgesTitle = "\n\n EDGES, src1, dest1, label1, src2, dest2, label2,, raw cost \n\n";
    costReport << edgesTitle;
    filtered << edgesTitle;
    m.matchedEdges = 0;
    m.perfectMatchedEdges = 0;
    for (const auto& [ends, e1] : edges1) {
        const auto [from, to] = ends;
        const int p = m.getM12(from);
        const int q = m.getM12(to);
        const std::string start = "," + label(from, true) + "," + label(to, true) + "," + e1->label;
        if (p == Match::kNoPartner || q == Match::kNoPartner) {
            const std::string row = "ed" + start + ",,,,," + std::to_string(1) + "\n";
            costReport << row;
            filtered << row;
            continue;
        }
        Edge* e2 = m.getEdge2(p, q);
        const int comparison = e1->compare(e2, kComparedLabels);
        if (comparison == kPartialEdgeMatch || comparison == kPerfectEdgeMatch) m.matchedEdges++;
        if (comparison == kPerfectEdgeMatch) m.perfectMatchedEdges++;
        const int raw = comparison == kPerfectEdgeMatch ? 0 : 1;
        std::string row = "es1" + start + ",";
        if (e2 != nullptr)
            row += label(e2->from, false) + "," + label(e2->to, false) + "," + e2->label + ",,";
        else
            row += ",,,,";
        row += std::to_string(raw) + "\n";
        costReport << row;
        if (raw != 0) filtered << row;
    }
    for (const auto& [ends, e2] : edges2) {
        const auto [from, to] = ends;
        const int p = m.getM21(from);
        const int q = m.getM21(to);
        const std::string rest = ",,,," + label(from, false) + "," + label(to, false) + "," +
                                 e2->label + ",," + std::to_string(0) + "\n";
        std::string row;
        if (p == Match::kNoPartner || q == Match::kNoPartner)
            row = "ei" + rest;
        else if (m.getEdge1(p, q) == nullptr)
            row = "es1" + rest;
        costReport << row;
        filtered << row;
    }
}

} // namespace

void Match::output(int mode) {
    if (g1 == nullptr || g2 == nullptr || costs == nullptr || M12 == nullptr) return;
    rawPrint();
    const double solutionCost = cost(cost_mode);
    bestCost = currentCost = solutionCost;

    ReportWriter w(*this, mode);
    for (Vertex* v : distinctBlocks(true))
        w.blocks1[v->number] = v;
    for (Vertex* v : distinctBlocks(false))
        w.blocks2[v->number] = v;
    w.edges1 = blockEdges(true);
    w.edges2 = blockEdges(false);
    for (const auto& entry : w.blocks1)
        w.total1[entry.first] = 0;
    for (const auto& entry : w.blocks2)
        w.total2[entry.first] = 0;

    w.open(std::string(kResultsFolder) + runTag(*this) + ".csv");
    w.writeHeader(solutionCost);
    w.gatherEdgeTotals();
    w.writeMatchedRows();
    w.writeMatchedDifferences();
    w.writeSameNameSection();
    w.writeDeletedSection();
    w.writeInsertedSection();
    w.writeEdgeRows();
}
