// Evaluation of a matching against a reference: a cost report scored with a gold file, nodes
// found from their qualified signatures, and the reference pairs the matching missed.
#include "match/EvalFigures.h"
#include "match/Match.h"
#include "match/ResultText.h"

#include "graph/Kinds.h"
#include "graph/ReaderLines.h"
#include "util/Console.h"
#include "util/Folders.h"
#include "util/Utilities.h"

#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

namespace {

/// Reader mode of those graphs: classes with their members inside.
constexpr int kDatasetMode = kMembersInClassesMode;
/// A run tag holds the two version names and five weights before the seed.
constexpr size_t kTagFieldsBeforeSeed = 7;
constexpr int kWeightTexts = 5;
/// Signature items before this position are modifiers, return type and name.
constexpr size_t kFirstParameterItem = 3;
/// Longest run of digits read as a node number (keeps the value inside an int).
constexpr size_t kMaxNumberDigits = 9;

/// Gold pairs by node numbers: confirmed ('y'), and rejected between equal names ('n').
struct Gold {
    std::map<int, int> confirm;
    std::map<int, int> rejected;
};

double ratio(double numerator, double denominator) {
    return denominator == 0 ? 0 : numerator / denominator;
}

double harmonic(double p, double r) {
    return p + r == 0 ? 0 : 2 * p * r / (p + r);
}

/// Splits "number_name" at its first "_"; false when the number part is not a node number.
bool splitNode(const std::string& field, int& number, std::string& name) {
    const size_t cut = field.find('_');
    const std::string digits = field.substr(0, cut);
    name = cut == std::string::npos ? std::string() : field.substr(cut + 1);
    if (digits.empty() || digits.size() > kMaxNumberDigits ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    number = std::stoi(digits);
    return true;
}

bool readable(const std::string& path) {
    return std::ifstream(path).is_open();
}

/// Nodes of a whose full label names a node of b filed under the same short name.
int sameNameClasses(const Graph& a, const Graph& b) {
    if (b.classes == nullptr) return 0;
    int count = 0;
    for (const Vertex* v : a.V) {
        auto range = b.classes->equal_range(shortName(v->label));
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second >= 0 && it->second < b.vertices &&
                b.vertex(it->second)->label == v->label) {
                ++count;
                break;
            }
        }
    }
    return count;
}

/// Reads the gold file; numbers are checked against the graph orders n1 and n2.
bool readGold(const std::string& path, int n1, int n2, Gold& gold) {
    std::ifstream in(path);
    if (!in.is_open()) {
        console() << "\n Gold File Not Found\n";
        LineReader::reportFile(path, "cannot be opened (expected gold pairs "
                                     "\"number_name,number_name,y|n\")");
        return false;
    }
    console() << "\nFile Found\n";
    LineReader lines(in, path);
    while (lines.next()) {
        if (lines.blank() || !lines.require(3, "\"number_name,number_name,verdict\"")) continue;
        int a = 0, b = 0;
        std::string nameA, nameB;
        if (!splitNode(lines.field(0), a, nameA) || !splitNode(lines.field(1), b, nameB)) {
            lines.report("expected node fields \"number_name\"");
            continue;
        }
        if (a >= n1 || b >= n2) {
            lines.report("node number outside the graph");
            continue;
        }
        const std::string verdict = lines.field(2);
        if (!verdict.empty() && verdict[0] == 'y') {
            gold.confirm[a] = b;
            console() << "\n C\t" << a << ":" << b;
        } else if (!verdict.empty() && verdict[0] == 'n') {
            // A rejection only matters where a same-name match would be counted good.
            if (nameA != nameB) continue;
            gold.rejected[a] = b;
            console() << "\n I\t" << a << ":" << b;
        } else {
            lines.report("expected a verdict starting with 'y' or 'n'");
        }
    }
    return true;
}

bool holds(const std::map<int, int>& pairs, int x, int y) {
    auto it = pairs.find(x);
    return it != pairs.end() && it->second == y;
}

/// Counts the "ns" rows of a cost report against the gold pairs.
bool readResult(const std::string& path, const Gold& gold, EvalFigures& f) {
    std::ifstream in(path);
    if (!in.is_open()) {
        console() << "\n File Not Found\n";
        LineReader::reportFile(path, "cannot be opened (expected a cost report of a matching run)");
        return false;
    }
    LineReader lines(in, path);
    while (lines.next()) {
        if (lines.field(0) != "ns") continue;
        if (!lines.require(5, "\"ns,node 1,node 2,label 1,label 2,...\"")) continue;
        int x = 0, y = 0;
        if (!lines.intField(1, x, "node number of graph 1") ||
            !lines.intField(2, y, "node number of graph 2"))
            continue;
        ++f.matches;
        if (lines.field(3) == lines.field(4)) {
            if (holds(gold.rejected, x, y)) {
                ++f.badSame;
            } else {
                ++f.good;
                ++f.same;
            }
        } else if (holds(gold.confirm, x, y)) {
            ++f.good;
        }
    }
    return true;
}

/// Parameter list of a candidate node: for a method the signature items from the fourth on,
/// joined by "," (each cut to its simple name when `simple`); empty for other nodes.
std::string parameterList(const Vertex* v, bool simple) {
    if (v->type != kMethodType) return std::string();
    std::unique_ptr<std::vector<std::string>> items(splitString(v->specif, ","));
    std::string list;
    for (size_t i = kFirstParameterItem; items != nullptr && i < items->size(); ++i) {
        std::string item = (*items)[i];
        if (simple) item = shortName(item);
        list += (i > kFirstParameterItem ? "," : "") + item;
    }
    return list;
}

/// Walks the containment tree from node 0 along the dotted name of `sign`; see
/// getVertexFromSignature. `simple` cuts candidate parameter types; `trace` prints each step.
Vertex* findBySignature(const std::string& sign, Graph* g, bool simple, bool trace) {
    const size_t open = sign.find('(');
    const std::string name = sign.substr(0, open);
    std::string wanted;
    if (open != std::string::npos) {
        const size_t close = sign.rfind(')');
        wanted = close != std::string::npos && close > open
                     ? sign.substr(open + 1, close - open - 1)
                     : sign.substr(open + 1);
    }
    console() << "\n" << name << "[" << wanted << "]";
    std::unique_ptr<std::vector<std::string>> items(splitString(name, "."));
    if (g == nullptr || g->vertices == 0 || items == nullptr || items->empty()) {
        console() << "\n <<-----------FAIL-------------->> \n";
        return nullptr;
    }
    Vertex* current = g->V[0];
    std::string sought = (*items)[0];
    for (size_t level = 0; level < items->size(); ++level) {
        const bool last = level + 1 == items->size();
        if (trace)
            console() << "\n"
                      << level << "(" << current->label << ") --> " << sought << " __ "
                      << items->size();
        Vertex* next = nullptr;
        for (const Edge* e : current->out) {
            if (e->label.find(kContainmentCode) == std::string::npos) continue;
            if (e->to < 0 || e->to >= g->vertices) continue;
            Vertex* target = g->vertex(e->to);
            if (target->label != sought) continue;
            if (!last) {
                next = target;
                break;
            }
            // Overloaded methods share the label; the parameter list tells them apart.
            const std::string have = parameterList(target, simple);
            if (trace) console() << "\n\t" << wanted << " ___ " << have;
            if (have == wanted) {
                console() << "\n <<<<<<<<<<<<<<<<<<<<<<<<<<<SUCCESS>>>>>>>>>>>>>>>>>>>>>>>> \n";
                return target;
            }
        }
        if (next == nullptr) break;
        current = next;
        sought += "." + (*items)[level + 1];
    }
    console() << "\n <<-----------FAIL-------------->> \n";
    return nullptr;
}

/// Splits a pair string "\"sig1__sig2\"" into its two signatures; false when malformed.
bool splitPair(const std::string& pair, std::string& first, std::string& second) {
    const size_t cut = pair.find("__");
    if (cut == std::string::npos || cut < 1 || pair.size() < cut + 3) return false;
    first = pair.substr(1, cut - 1);
    second = pair.substr(cut + 2, pair.size() - cut - 3);
    return true;
}

/// "--label--> other" lines for every relation of a node; `prefix` starts each line.
void writeRelations(std::ostream& out, Match& m, const Vertex* v, bool left,
                    const std::string& prefix) {
    const Graph* g = left ? m.g1 : m.g2;
    for (const Edge* e : v->edges) {
        const bool leaving = e->from == v->number;
        const int other = leaving ? e->to : e->from;
        const std::string otherName =
            other == v->number ? "self"
                               : (other >= 0 && other < g->vertices ? g->vertex(other)->label : "");
        out << prefix << (leaving ? "--" : "<--") << e->label << (leaving ? "--> " : "-- ")
            << otherName;
        if (m.partnerOf(other, left) != Match::kNoPartner) out << "{M}";
        out << "\n";
    }
}

} // namespace

// -------------------------------------------------------------------------------------
// Figures
// -------------------------------------------------------------------------------------

std::string evalResultPath(const std::string& file) {
    return std::string(kResultsFolder) + file;
}

std::string evalGoldPath(const std::string& name1, const std::string& name2) {
    return std::string(kResultsFolder) + "_" + name1 + "__" + name2 + ".csv";
}

std::string evalGraphPath(const std::string& dataset, const std::string& name) {
    return std::string(kDatasetsFolder) + dataset + "/" + name + ".txt";
}

void computeFigures(EvalFigures& f) {
    f.allPrecision = ratio(f.good, f.matches);
    f.allRecall = ratio(f.good, f.totalGood);
    f.allF1 = harmonic(f.allPrecision, f.allRecall);
    f.diffPrecision = ratio(f.good - f.same, f.matches - f.same - f.badSame);
    f.diffRecall = ratio(f.good - f.same, f.confirmed);
    f.diffF1 = harmonic(f.diffPrecision, f.diffRecall);
}

std::string evalRow(const EvalFigures& f) {
    std::ostringstream row;
    row << "\n"
        << f.name1 << "," << f.name2 << "," << f.vertices1 << "," << f.edges1 << "," << f.vertices2
        << "," << f.edges2;
    for (const std::string& w : f.weights)
        row << "," << w;
    row << "," << f.badSame << "," << f.same << "," << f.good << "," << f.matches << ","
        << (f.good - f.same) << "," << (f.matches - f.same) << "," << f.totalGood << ","
        << f.confirmed << "," << f.rejected << "," << f.allPrecision << "," << f.allRecall << ","
        << f.allF1 << "," << f.diffPrecision << "," << f.diffRecall << "," << f.diffF1;
    return row.str();
}

// -------------------------------------------------------------------------------------
// Scoring a cost report
// -------------------------------------------------------------------------------------

EvalFigures Match::evalFigures(std::string file, std::string dataset) {
    EvalFigures figures;
    std::unique_ptr<std::vector<std::string>> parts(splitString(file, "__"));
    if (parts == nullptr || parts->size() < kTagFieldsBeforeSeed) {
        LineReader::reportFile(file, "expected a result file name "
                                     "<version 1>__<version 2>__<five weights>__<seed>.csv");
        return figures;
    }
    figures.name1 = (*parts)[0];
    figures.name2 = (*parts)[1];
    for (int w = 0; w < kWeightTexts; ++w)
        figures.weights[w] = (*parts)[2 + static_cast<size_t>(w)];
    const std::string path1 = evalGraphPath(dataset, figures.name1);
    const std::string path2 = evalGraphPath(dataset, figures.name2);
    console() << "\n" << path1 << "," << path2;
    for (const std::string& w : figures.weights)
        console() << "," << w;

    figures.graphsRead = true;
    for (const std::string& path : {path1, path2})
        if (!readable(path)) {
            LineReader::reportFile(
                path, "cannot be opened (expected a version graph, class lines \"c,number,name\")");
            figures.graphsRead = false;
        }
    const auto version1 = std::make_unique<Graph>(kDatasetMode, path1);
    const auto version2 = std::make_unique<Graph>(kDatasetMode, path2);
    figures.vertices1 = version1->vertices;
    figures.edges1 = version1->edges;
    figures.vertices2 = version2->vertices;
    figures.edges2 = version2->edges;
    figures.sameNameClasses = sameNameClasses(*version1, *version2);
    console() << "\nSame Name Classes : " << figures.sameNameClasses << "\n";

    // Without the graphs no number can be checked against their orders.
    const int limit = std::numeric_limits<int>::max();
    Gold gold;
    figures.goldRead = readGold(evalGoldPath(figures.name1, figures.name2),
                                figures.graphsRead ? figures.vertices1 : limit,
                                figures.graphsRead ? figures.vertices2 : limit, gold);
    figures.confirmed = static_cast<int>(gold.confirm.size());
    figures.rejected = static_cast<int>(gold.rejected.size());
    figures.totalGood = figures.sameNameClasses + figures.confirmed - figures.rejected;
    figures.resultRead = readResult(evalResultPath(file), gold, figures);
    computeFigures(figures);
    return figures;
}

bool appendEvalRow(const EvalFigures& f) {
    const std::string row = evalRow(f);
    console() << row;
    std::ofstream out(kEvalResultsFile, std::ios::app);
    if (out.is_open()) out << row;
    out.close();
    if (!out) {
        console() << "\n Cannot append to " << kEvalResultsFile << "\n";
        return false;
    }
    return true;
}

void Match::evalSolution(std::string file, std::string dataset) {
    const EvalFigures figures = evalFigures(file, dataset);
    // Figures from a missing input would look like a result; none is written.
    if (!figures.complete()) {
        console() << "\n No row appended to " << kEvalResultsFile
                  << ": an input could not be read\n";
        return;
    }
    appendEvalRow(figures);
}

// -------------------------------------------------------------------------------------
// Signatures
// -------------------------------------------------------------------------------------

Vertex* Match::getVertexFromSignature(std::string sign, Graph* g) {
    return findBySignature(sign, g, false, false);
}

Vertex* Match::getVertexFromSignature2(std::string sign, Graph* g) {
    return findBySignature(sign, g, true, true);
}

std::set<std::string>* Match::checkAlternatives(std::set<std::string>* altmatch,
                                                std::string source) {
    auto* result = new std::set<std::string>();
    std::ofstream out;
    openResultFile(out, std::string(kResultsFolder) + "alternatives_" + source + ".csv");
    console() << "\n Check ...";
    if (altmatch == nullptr) return result;
    if (!altmatch->empty()) console() << "Alternatives\n";
    int counter = 0;
    for (const std::string& pair : *altmatch) {
        std::string sign1, sign2;
        if (!splitPair(pair, sign1, sign2)) {
            console() << "\n Bad input in the alternatives of " << source
                      << ": expected \"signature__signature\" [" << pair << "]";
            continue;
        }
        console() << "\n" << sign1 << "\t" << sign2;
        Vertex* v1 = getVertexFromSignature2(sign1, g1);
        Vertex* v2 = getVertexFromSignature2(sign2, g2);
        if (v1 == nullptr || v2 == nullptr) continue;
        const int i = v1->number;
        const int j = v2->number;
        // Nodes outside the relevant ones never had their word sets built.
        if (v1->nTerms == nullptr || v2->nTerms == nullptr) keepBlockWords();
        if (v1->nTerms == nullptr) v1->settify();
        if (v2->nTerms == nullptr) v2->settify();
        const float similarity = storedLikeness(cost_mode, v1, v2);
        const double raw = costs != nullptr ? costs->raw_cns(cost_mode, v1, v2, similarity) : 0;
        if (displayName(v1) == displayName(v2)) continue;
        result->insert(pair);
        ++counter;
        out << "\n,," << counter << "-----";
        out << "\n"
            << i << "_" << displayName(v1) << "," << j << "_" << displayName(v2) << ","
            << similarity << "," << raw << "\n";
        out << "||Relations(1)||\n";
        writeRelations(out, *this, v1, true, "");
        out << ",||Relations(2)||\n";
        writeRelations(out, *this, v2, false, ",");
    }
    return result;
}
