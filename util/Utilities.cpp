// Text utilities: splitting, replacing, signature cutting, integer-set printing and the
// match-file reader.
#include "util/Utilities.h"

#include <algorithm>
#include <fstream>

#include "util/LineReader.h"

std::vector<std::string>* splitString(const std::string& text, const std::string& delim) {
    if (text.empty()) return nullptr;
    auto* items = new std::vector<std::string>();
    std::string::size_type start = 0;
    // An empty delimiter would match at every position without consuming anything.
    if (!delim.empty()) {
        std::string::size_type pos;
        while ((pos = text.find(delim, start)) != std::string::npos) {
            items->push_back(text.substr(start, pos - start));
            start = pos + delim.size();
        }
    }
    if (start < text.size()) items->push_back(text.substr(start));
    return items;
}

std::string replaceString(const std::string& str, const std::string& str1,
                          const std::string& str2) {
    if (str.empty() || str1.empty() || str.find(str1) == std::string::npos) return str;
    std::vector<std::string>* pieces = splitString(str, str1);
    std::string out;
    for (std::size_t i = 0; i < pieces->size(); ++i) {
        if (i > 0) out += str2;
        out += (*pieces)[i];
    }
    delete pieces;
    return out;
}

void FindAndReplace(std::string& tInput, const std::string& tFind, const std::string& tReplace) {
    if (tFind.empty()) return;
    std::string::size_type pos = 0;
    while ((pos = tInput.find(tFind, pos)) != std::string::npos) {
        tInput.replace(pos, tFind.size(), tReplace);
        pos += tReplace.size();
    }
}

std::vector<std::string>* treatSpecif(const std::string& str, int type) {
    if (str.empty()) return nullptr;
    std::vector<std::string>* items = splitString(str, type > 3 ? "@" : ",");
    for (std::string& item : *items) {
        std::string::size_type dot = item.rfind('.');
        if (dot != std::string::npos) item = item.substr(dot + 1);
    }
    return items;
}

std::string stringISet(const std::set<int>* istr) {
    std::string out;
    if (istr == nullptr) return out;
    for (int v : *istr) {
        if (!out.empty()) out += ",";
        out += std::to_string(v);
    }
    return out;
}

namespace {

// A quoted name item without its opening quote; an empty item stays empty.
std::string dropFirstChar(const std::string& s) {
    return s.empty() ? s : s.substr(1);
}

} // namespace

std::multimap<std::string, std::string>* readMatchFile(const std::string& filename) {
    auto* pairs = new std::multimap<std::string, std::string>();
    std::ifstream in(filename);
    if (!in) return pairs;
    LineReader lines(in, filename, "\",");
    while (lines.next())
        // A line without the separator has no second name: nothing to pair.
        if (lines.size() >= 2)
            pairs->emplace(dropFirstChar(lines.field(0)), dropFirstChar(lines.field(1)));
    return pairs;
}

bool compaire(const paire& p, const paire& q) {
    return p.val > q.val;
}

std::vector<paire> sort_paires(std::vector<paire> pairs) {
    std::sort(pairs.begin(), pairs.end(), compaire);
    return pairs;
}
