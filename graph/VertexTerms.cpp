// The identifier-term sets of a vertex: words of its short name, of its owner's name and of
// its member signature, which the matcher's node similarity compares.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "graph/Kinds.h"
#include "graph/Vertex.h"
#include "util/Utilities.h"

namespace {

std::string lowered(std::string word) {
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return word;
}

/// The lower-cased words of an identifier, each prefixed with `prefix`, added to `into`.
void addWords(std::set<std::string>* into, const std::string& identifier,
              const std::string& prefix) {
    std::vector<std::string>* words = IdSplitter(identifier);
    if (words == nullptr) return;
    for (const std::string& w : *words)
        into->insert(prefix + lowered(w));
    delete words;
}

/// Text after the last "." (all of it when there is none).
std::string afterLastDot(const std::string& text) {
    const size_t dot = text.rfind('.');
    return dot == std::string::npos ? text : text.substr(dot + 1);
}

/// Signature items as position-tagged words ("2-string"); numeric kinds count as one.
std::set<std::string>* specTerms(const std::string& specif, int type) {
    auto* terms = new std::set<std::string>();
    std::vector<std::string>* items = treatSpecif(specif, type);
    if (items == nullptr) return terms;
    for (size_t p = 0; p < items->size(); p++) {
        const std::string tag = std::to_string(p) + "-";
        std::string item = (*items)[p];
        if (item.empty() || item == " ") {
            terms->insert(tag + item);
            continue;
        }
        item = afterLastDot(item);
        // Positions 0 and 2 name the member; the others are types, where the numeric
        // kinds are treated as interchangeable.
        if (p != 0 && p != 2 && (item == "int" || item == "float" || item == "short"))
            item = "double";
        addWords(terms, item, tag);
    }
    delete items;
    return terms;
}

} // namespace

void Vertex::settify() {
    if (nodes == nullptr) nodes = new std::set<int>();
    nodes->insert(number);

    std::string shortName = label;
    std::string path;
    const size_t dot = label.rfind('.');
    if (label != "." && dot != std::string::npos) {
        shortName = label.substr(dot + 1);
        path = label.substr(0, dot);
    }

    // Rebuilt from scratch so that a second call gives the same sets.
    delete nTerms;
    delete nPaths;
    delete nSpecs;
    nTerms = nPaths = nSpecs = nullptr;

    if (!shortName.empty()) {
        nTerms = new std::set<std::string>();
        addWords(nTerms, shortName, "");
    }
    if (type == kMethodType || type == kAttributeType) {
        const size_t ownerDot = path.rfind('.');
        const std::string owner = ownerDot == std::string::npos ? "" : path.substr(ownerDot + 1);
        if (!owner.empty()) {
            nPaths = new std::set<std::string>();
            addWords(nPaths, owner, "");
        }
    }
    if (type != kPackageType && type != kClassType && !specif.empty())
        nSpecs = specTerms(specif, type);
}
