// Diff mode's comparison of two matchings, and the member and relation change counts that
// the version tunnel takes for every matched class and relation.
#include "util/DiagramDiff.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Edge.h"
#include "graph/ReportFile.h"
#include "graph/Vertex.h"
#include "util/LineReader.h"
#include "util/Utilities.h"

namespace {

using Pairs = std::multimap<std::string, std::string>;

/// Separator between the first two quoted fields of a class list or a pair file.
const std::string kFieldSeparator = "\",";

/// Reads the class names of one class list into `names`.
void readClassList(const std::string& path, std::set<std::string>& names) {
    std::ifstream in(path);
    if (!in.is_open()) {
        LineReader::reportFile(path, "cannot be opened (expected a class list)");
        return;
    }
    LineReader lines(in, path);
    while (lines.next()) {
        const std::string& line = lines.line();
        if (line.empty()) continue;
        if (line[0] != '"') {
            lines.report("expected a double-quoted class name first");
            continue;
        }
        // Without a separator the whole line less its opening quote is the name.
        names.insert(line.substr(1, line.find(kFieldSeparator) - 1));
    }
}

/// Reports a pair file that cannot be opened and its lines without two quoted names; the
/// pairs themselves are read by readMatchFile, which skips such lines.
void checkPairFile(const std::string& path) {
    std::ifstream in(path);
    if (!in.is_open()) {
        LineReader::reportFile(path, "cannot be opened (expected a match file)");
        return;
    }
    LineReader lines(in, path);
    while (lines.next())
        if (!lines.line().empty() && lines.line().find(kFieldSeparator) == std::string::npos)
            lines.report("expected two double-quoted names separated by a comma");
}

Pairs reversed(const Pairs& pairs) {
    Pairs out;
    for (const auto& p : pairs)
        out.emplace(p.second, p.first);
    return out;
}

/// True when one of the values `pairs` holds under `key` is in `known`; each one found is
/// handed to `found`.
template <typename F>
bool anyPartnerIn(const Pairs& pairs, const std::string& key, const std::set<std::string>& known,
                  F found) {
    bool any = false;
    auto range = pairs.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
        if (known.count(it->second) == 0) continue;
        any = true;
        found(it->second);
    }
    return any;
}

void writeSection(std::ofstream& out, const char* heading, const std::set<std::string>& keys,
                  const char* prefix) {
    out << heading;
    for (const std::string& key : keys)
        out << prefix << "\"" << key << "\"\n";
}

/// Scores a pair of methods left over after the exact pairing: 0.5 for the same name, 0.2
/// for the same return type, 0.3 for the same parameters; below 0.5 the pair is ruled out.
double methodLikeness(const ClassMethod& a, const ClassMethod& b) {
    double sim = 0;
    if (a.name == b.name) sim += 0.5;
    if (a.output == b.output) sim += 0.2;
    if (a.inputs == b.inputs) sim += 0.3;
    return sim < 0.5 ? -1 : sim;
}

} // namespace

std::set<std::string>* getDiagramsIntersection(const std::string& filename,
                                               const std::string& _filename) {
    std::set<std::string> entities;
    std::set<std::string> _entities;
    readClassList(filename, entities);
    readClassList(_filename, _entities);
    auto* both = new std::set<std::string>();
    for (const std::string& name : entities)
        if (_entities.count(name) != 0) both->insert(both->end(), name);
    return both;
}

std::set<std::string> matchingKeys(const std::set<std::string>& diagram1,
                                   const std::set<std::string>& diagram2, const Pairs& m12) {
    const Pairs m21 = reversed(m12);
    std::set<std::string> keys;
    for (const std::string& a : diagram1) {
        if (!anyPartnerIn(m12, a, diagram2,
                          [&](const std::string& b) { keys.insert(a + "__" + b); }))
            keys.insert(a + "__");
    }
    for (const std::string& b : diagram2) {
        if (!anyPartnerIn(m21, b, diagram1, [](const std::string&) {})) keys.insert("__" + b);
    }
    return keys;
}

MatchingComparison compareMatchings(const std::set<std::string>& diagM,
                                    const std::set<std::string>& _diagM) {
    MatchingComparison c;
    for (const std::string& key : diagM)
        (_diagM.count(key) != 0 ? c.both : c.onlyFirst).insert(key);
    for (const std::string& key : _diagM)
        if (c.both.count(key) == 0) c.onlySecond.insert(key);
    return c;
}

void csvDiff(const std::string& filename1, const std::string& filename2,
             const std::string& _filename1, const std::string& _filename2,
             const std::string& filename12, const std::string& _filename12) {
    std::unique_ptr<std::set<std::string>> diagram1(getDiagramsIntersection(filename1, _filename1));
    std::unique_ptr<std::set<std::string>> diagram2(getDiagramsIntersection(filename2, _filename2));
    checkPairFile(filename12);
    checkPairFile(_filename12);
    std::unique_ptr<Pairs> m12(readMatchFile(filename12));
    std::unique_ptr<Pairs> _m12(readMatchFile(_filename12));

    const MatchingComparison c = compareMatchings(matchingKeys(*diagram1, *diagram2, *m12),
                                                  matchingKeys(*diagram1, *diagram2, *_m12));
    std::ofstream out;
    if (!openReport(out, filename12 + "_diff.csv", std::ios::out | std::ios::trunc)) return;
    writeSection(out, "\n\n M1 inter M2 \n\n", c.both, "");
    writeSection(out, "\n\n M1 - M2 \n\n", c.onlyFirst, ",");
    writeSection(out, "\n\n M2 - M1 \n\n", c.onlySecond, ",");
}

CategoryCounts classDiff(Vertex* v1, Vertex* v2) {
    // A member of v2 pairs with one member of v1 at most, so that no count of kept members
    // exceeds the members there are (deleted and added counts stay non-negative).
    int sameAtt = 0;
    std::set<ClassAttribute*> attTaken;
    for (const auto& a1 : v1->attributes) {
        if (a1.second == nullptr) continue;
        auto range = v2->attributes.equal_range(a1.first);
        for (auto a2 = range.first; a2 != range.second; ++a2) {
            if (a2->second == nullptr || attTaken.count(a2->second) != 0 ||
                a1.second->compare(*a2->second) != 1)
                continue;
            attTaken.insert(a2->second);
            ++sameAtt;
            break;
        }
    }

    // Exact method pairs first.
    std::map<ClassMethod*, ClassMethod*> met12;
    std::map<ClassMethod*, ClassMethod*> met21;
    for (const auto& m1 : v1->methods) {
        if (m1.second == nullptr) continue;
        auto range = v2->methods.equal_range(m1.first);
        for (auto m2 = range.first; m2 != range.second; ++m2) {
            if (m2->second == nullptr || met21.count(m2->second) != 0 ||
                m1.second->compare(*m2->second) != 1)
                continue;
            met12[m1.second] = m2->second;
            met21[m2->second] = m1.second;
            break;
        }
    }

    std::vector<ClassMethod*> methods1;
    std::vector<ClassMethod*> methods2;
    for (const auto& m1 : v1->methods)
        if (m1.second != nullptr && met12.count(m1.second) == 0) methods1.push_back(m1.second);
    for (const auto& m2 : v2->methods)
        if (m2.second != nullptr && met21.count(m2.second) == 0) methods2.push_back(m2.second);

    int renMet = 0;
    int modMet = 0;
    if (!methods1.empty() && !methods2.empty()) {
        const size_t n1 = methods1.size();
        const size_t n2 = methods2.size();
        std::vector<std::vector<double>> sim(n1, std::vector<double>(n2));
        std::vector<double> best1(n1, -1);
        std::vector<double> best2(n2, -1);
        for (size_t i = 0; i < n1; ++i)
            for (size_t j = 0; j < n2; ++j) {
                sim[i][j] = methodLikeness(*methods1[i], *methods2[j]);
                best1[i] = std::max(best1[i], sim[i][j]);
                best2[j] = std::max(best2[j], sim[i][j]);
            }
        // The maxima stay those of the full table: a pair is taken only when it is the best
        // of its row and of its column before any pairing.
        for (size_t i = 0; i < n1; ++i)
            for (size_t j = 0; j < n2; ++j) {
                if (sim[i][j] < 0.5 || sim[i][j] < best1[i] || sim[i][j] < best2[j]) continue;
                for (size_t k = 0; k < n1; ++k)
                    sim[k][j] = -1;
                for (size_t k = 0; k < n2; ++k)
                    sim[i][k] = -1;
                ++(methods1[i]->name != methods2[j]->name ? renMet : modMet);
                break;
            }
    }
    return {{"sameAtt", sameAtt},
            {"sameMet", static_cast<int>(met12.size())},
            {"renMet", renMet},
            {"modMet", modMet}};
}

CategoryCounts relDiff(Edge* e, Edge* _e) {
    int labels1[4] = {0, 0, 0, 0};
    int labels2[4] = {0, 0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        if (e != nullptr && e->labels != nullptr) labels1[k] = e->labels[k];
        if (_e != nullptr && _e->labels != nullptr) labels2[k] = _e->labels[k];
    }
    // Relations of codes 1 to 3 common to both edges cancel out.
    for (int k = 1; k < 4; ++k) {
        int common = 10000;
        if (labels1[k] < common) common = labels1[k];
        if (labels2[k] < common) common = labels2[k];
        labels1[k] -= common;
        labels2[k] -= common;
    }
    return {{"addRel", labels2[1] + labels2[2] + labels2[3]},
            {"delRel", labels1[1] + labels1[2] + labels1[3]}};
}
