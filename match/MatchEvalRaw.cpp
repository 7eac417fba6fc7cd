// The raw result files in their comparison form (unquoted names, simple parameter types),
// and the five-section comparison of the matched pairs with a reference difference file.
#include "match/Match.h"
#include "match/ResultText.h"

#include "graph/Kinds.h"
#include "graph/ReaderLines.h"
#include "util/Utilities.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {
constexpr size_t kFirstParameterItem = 3;
/// Folder of the reference difference files.
constexpr const char* kReferenceFolder = "./results/uml/";

/// A node's name in the comparison: its label, for a method followed by its parameter types
/// cut to their simple names in parentheses, every "$" written "."; never quoted.
std::string plainEntityName(const Vertex* v) {
    std::string name = v->label;
    if (v->type == kMethodType) {
        std::unique_ptr<std::vector<std::string>> items(splitString(v->specif, ","));
        std::string parameters;
        for (size_t i = kFirstParameterItem; items != nullptr && i < items->size(); ++i)
            parameters += (i > kFirstParameterItem ? "," : "") + shortName((*items)[i]);
        name += "(" + parameters + ")";
    }
    FindAndReplace(name, "$", ".");
    return name;
}

std::string pairString(const std::string& first, const std::string& second) {
    return "\"" + first + "__" + second + "\"";
}

/// The text without surrounding blanks and double quotes.
std::string bare(const std::string& text) {
    const size_t from = text.find_first_not_of(" \t\"");
    if (from == std::string::npos) return std::string();
    const size_t to = text.find_last_not_of(" \t\"");
    return text.substr(from, to - from + 1);
}

void writeEntityList(const Graph* g) {
    std::ofstream out;
    openResultFile(out, std::string(kResultsFolder) + "raw_" + g->name + ".csv");
    out << "\"class\",\"category\"\n";
    for (const Vertex* v : g->V)
        out << plainEntityName(v) << ",\"" << categoryWord(v->type) << "\"\n";
}

/// The reference difference file: names of each version and whole pairs.
struct Reference {
    std::set<std::string> names1, names2, pairs;
};

bool readReference(const std::string& path, Reference& ref) {
    std::ifstream in(path);
    if (!in.is_open()) {
        LineReader::reportFile(path,
                               "cannot be opened (expected reference pairs \"name1__name2\"); "
                               "no comparison written");
        return false;
    }
    LineReader lines(in, path);
    while (lines.next()) {
        const std::string& line = lines.line();
        const size_t cut = line.find("__");
        const std::string side1 = bare(line.substr(0, cut));
        const std::string side2 =
            cut == std::string::npos ? std::string() : bare(line.substr(cut + 2));
        if (!side1.empty()) ref.names1.insert(side1);
        if (!side2.empty()) ref.names2.insert(side2);
        if (!side1.empty() && !side2.empty()) ref.pairs.insert(pairString(side1, side2));
    }
    return true;
}

/// First and second name of an own pair string.
std::pair<std::string, std::string> sides(const std::string& pair) {
    const size_t cut = pair.find("__");
    return {bare(pair.substr(0, cut)), bare(pair.substr(cut + 2))};
}

/// Writes the pair file and the merge file of the matching; returns the pair strings of the
/// pairs whose names differ, in block order, each once.
std::vector<std::string> writePairFiles(Match& m, const std::string& pairPath) {
    std::ofstream pairFile;
    std::ofstream merges;
    openResultFile(pairFile, pairPath);
    openResultFile(merges, pairPath + "_MERGES.csv");
    pairFile << "\"class1\",\"class2\",\"category\"\n";
    std::vector<std::string> own;
    std::set<std::string> seen;
    for (Vertex* vx : m.distinctBlocks(true)) {
        Vertex* vy = m.getVertex2(m.getM12(vx->number));
        if (vy == nullptr) continue;
        const std::string category = categoryWord(vx->type);
        const auto members1 = blockMembers(vx, m.g1);
        const auto members2 = blockMembers(vy, m.g2);
        for (const Vertex* a : members1)
            for (const Vertex* b : members2) {
                const std::string name1 = plainEntityName(a);
                const std::string name2 = plainEntityName(b);
                if (name1 == name2) continue;
                pairFile << "\"" << name1 << "\",\"" << name2 << "\",\"" << category << "\"\n";
                if (seen.insert(pairString(name1, name2)).second)
                    own.push_back(pairString(name1, name2));
            }
        if (members1.size() * members2.size() > 1)
            merges << "\"" << m.writeVertex1(vx->number) << "\",\"" << m.writeVertex2(vy->number)
                   << "\"," << category << "," << static_cast<float>(m.intSim(m.cost_mode, vx, vy))
                   << "\n";
    }
    return own;
}

} // namespace

void Match::rawPrint2() {
    if (g1 == nullptr || g2 == nullptr || M12 == nullptr) return;
    writeEntityList(g1);
    writeEntityList(g2);
    const std::string tag = runTag(*this);
    const std::string pairPath = std::string(kResultsFolder) + "raw_" + tag + ".csv";
    const std::vector<std::string> own = writePairFiles(*this, pairPath);
    const std::set<std::string> ownSet(own.begin(), own.end());

    Reference ref;
    if (!readReference(std::string(kReferenceFolder) + "uml_" + g1->name + "_" + g2->name + ".csv",
                       ref))
        return;
    // The weights and seed part of the run tag, from its first "__" after the two names.
    const std::string parameters = tag.substr(g1->name.size() + 2 + g2->name.size());

    std::ofstream out;
    openResultFile(out, pairPath + "_umldiff.csv");
    out << "\n\n M1 inter M2 \n\n";
    for (const std::string& p : own)
        if (ref.pairs.count(p) != 0) out << p << "\n";

    // Own pairs outside the reference that involve a name the reference knows of.
    out << "\n\n M1 - M2 \n\n";
    std::set<std::string> known;
    for (const std::string& p : own) {
        if (ref.pairs.count(p) != 0) continue;
        const auto [name1, name2] = sides(p);
        if (ref.names1.count(name1) == 0 && ref.names2.count(name2) == 0) continue;
        known.insert(p);
        out << "," << p << "\n";
    }

    out << "\n\n M2 - M1 \n\n";
    std::set<std::string> missed;
    for (const std::string& p : ref.pairs)
        if (ownSet.count(p) == 0) missed.insert(p);
    std::unique_ptr<std::set<std::string>> alternatives(
        checkAlternatives(&missed, g2->name + "__" + g1->name + parameters + ".csv"));
    for (const std::string& p : *alternatives)
        out << "," << p << "\n";

    out << "\n\n M1 - M2 (not in their files) \n\n";
    delete checkAlternatives(&known, g1->name + "__" + g2->name + parameters + ".csv");
    for (const std::string& p : own)
        if (ref.pairs.count(p) == 0 && known.count(p) == 0) out << "," << p << "\n";

    out << "\n\n M2 - M1 (not in my graph) \n\n";
    for (const std::string& p : missed)
        if (alternatives->count(p) == 0) out << "," << p << "\n";
}
