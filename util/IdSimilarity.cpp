// Identifier similarity: splitting names into words at separators and case changes, the
// longest common substring, and word-pairing similarities of names and of word sets.
#include "assign/Hungarian.h"
#include "util/Utilities.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace {

using Words = std::vector<std::string>;

bool isUpper(char c) {
    return std::isupper(static_cast<unsigned char>(c)) != 0;
}

std::string lowerCopy(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// First position at or after `from` holding an upper-case letter, or w.size().
std::size_t nextUpper(const std::string& w, std::size_t from) {
    while (from < w.size() && !isUpper(w[from]))
        ++from;
    return from;
}

// Ends a part at `i`: when the scan reached the end the rest from `p` is the last word (a
// final upper-case letter after a lower one stands alone, "AbX" -> "Ab", "X"); otherwise the
// word runs up to the upper-case letter at `i`. Returns true when the part is finished.
bool closeWord(const std::string& w, std::size_t& p, std::size_t& i, Words& out) {
    std::size_t len = w.size();
    if (i >= len) {
        std::string rest = w.substr(p);
        if (rest.size() >= 2 && isUpper(rest.back()) && !isUpper(rest[rest.size() - 2])) {
            out.push_back(rest.substr(0, rest.size() - 1));
            out.push_back(rest.substr(rest.size() - 1));
        } else {
            out.push_back(rest);
        }
        return true;
    }
    out.push_back(w.substr(p, i - p));
    p = i;
    return false;
}

// Cuts one blank-free part of two or more characters into words at case changes. Every
// branch either finishes the part or moves the word start forward, so the scan ends.
void splitPart(const std::string& w, Words& out) {
    const std::size_t len = w.size();
    std::size_t p = 0;
    std::size_t i = 0;
    for (;;) {
        if (!isUpper(w[i])) {
            std::size_t j = nextUpper(w, i);
            if (j >= len - 1) {
                out.push_back(w.substr(p));
                return;
            }
            out.push_back(w.substr(p, j - p));
            p = i = j;
            continue;
        }
        std::size_t runEnd = i;
        while (runEnd < len && isUpper(w[runEnd]))
            ++runEnd;
        const std::size_t run = runEnd - i;
        const bool lowerFollowsInside = runEnd < len - 1;
        if (run == 1 && lowerFollowsInside) {
            i = nextUpper(w, runEnd); // "Name" in "NameX": extend over the lower-case tail
        } else if (run >= 2 && lowerFollowsInside) {
            // The run's last capital starts the next word: "XMLParser" -> "XML", "Parser".
            out.push_back(w.substr(p, runEnd - 1 - p));
            p = i = runEnd - 1;
            continue;
        } else {
            i = len; // the run reaches the end or leaves only one character after it
        }
        if (closeWord(w, p, i, out)) return;
    }
}

// Total credited length of the best pairing of rows with columns, where a cell holds
// `base` minus the credit of that pair.
double pairedCredit(const std::vector<std::vector<double>>& cells, int rows, int cols,
                    double base) {
    std::vector<const double*> view;
    for (const auto& row : cells)
        view.push_back(row.data());
    Hungarian solver;
    solver.solve(view.data(), rows, cols);
    double credit = 0;
    for (int r = 0; r < rows; ++r)
        if (solver.results[r] != -1) credit += base - cells[r][solver.results[r]];
    return credit;
}

// Whole-name similarity used when one side is a single word: containment after lower-casing.
double containmentSim(const std::string& str1, const std::string& str2) {
    std::string a = lowerCopy(str1);
    std::string b = lowerCopy(str2);
    if (a == b) return 1;
    const std::string& shorter = a.size() <= b.size() ? a : b;
    const std::string& longer = a.size() <= b.size() ? b : a;
    if (longer.find(shorter) == std::string::npos) return 0;
    return 2.0 * shorter.size() / (a.size() + b.size());
}

// Length of text two words share: their length when equal, else their common substring.
int commonLength(const std::string& a, const std::string& b) {
    return a == b ? static_cast<int>(a.size()) : LCS(a, b);
}

// Best common length of any pair when one set has a single word; a pair covering a whole
// word cannot be beaten and ends the search.
int bestSinglePair(const std::set<std::string>& set1, const std::set<std::string>& set2) {
    int best = 0;
    for (const std::string& a : set1) {
        for (const std::string& b : set2) {
            int common = commonLength(a, b);
            if (common == static_cast<int>(a.size()) || common == static_cast<int>(b.size()))
                return common;
            best = std::max(best, common);
        }
    }
    return best;
}

std::size_t totalLength(const std::set<std::string>& words) {
    std::size_t total = 0;
    for (const std::string& w : words)
        total += w.size();
    return total;
}

} // namespace

std::vector<std::string>* IdSplitter(const std::string& str) {
    if (str.empty()) return nullptr;
    if (str.size() == 1) return new Words{str};
    std::string copy = str;
    for (const char* sep : {"$", "_", "*"})
        FindAndReplace(copy, sep, " ");
    std::unique_ptr<Words> parts(splitString(copy, " "));
    auto* words = new Words();
    if (parts) {
        for (const std::string& part : *parts) {
            if (part.size() == 1)
                words->push_back(part);
            else if (part.size() > 1)
                splitPart(part, *words);
        }
    }
    if (words->empty()) {
        delete words;
        return nullptr;
    }
    return words;
}

int LCS(const std::string& s1, const std::string& s2) {
    if (s1.empty() || s2.empty()) return 0;
    std::vector<int> prev(s2.size(), 0);
    std::vector<int> curr(s2.size(), 0);
    int best = 0;
    for (std::size_t i = 0; i < s1.size(); ++i) {
        for (std::size_t j = 0; j < s2.size(); ++j) {
            if (s1[i] != s2[j])
                curr[j] = 0;
            else
                curr[j] = (i == 0 || j == 0) ? 1 : prev[j - 1] + 1;
            best = std::max(best, curr[j]);
        }
        std::swap(prev, curr);
    }
    return best;
}

double IdSim(std::string str1, std::string str2) {
    std::unique_ptr<Words> words1(IdSplitter(str1));
    std::unique_ptr<Words> words2(IdSplitter(str2));
    if (!words1 || !words2) return 0;
    const int spl1 = static_cast<int>(words1->size());
    const int spl2 = static_cast<int>(words2->size());
    if (std::min(spl1, spl2) == 1) return containmentSim(str1, str2);

    const double base = static_cast<double>(std::max(str1.size(), str2.size()));
    std::vector<std::vector<double>> cells(spl1, std::vector<double>(spl2, base));
    for (int i = 0; i < spl1; ++i) {
        std::string a = lowerCopy((*words1)[i]);
        for (int j = 0; j < spl2; ++j) {
            std::string b = lowerCopy((*words2)[j]);
            if (a == b)
                cells[i][j] -= a.size();
            else if (a.find(b) != std::string::npos)
                cells[i][j] -= b.size();
            else if (b.find(a) != std::string::npos)
                cells[i][j] -= a.size();
        }
    }
    double optimum = pairedCredit(cells, spl1, spl2, base);
    return 2 * optimum / (str1.size() + str2.size());
}

double simSet(const std::set<std::string>* set1, const std::set<std::string>* set2) {
    if (set1 == nullptr || set2 == nullptr) return 0;
    const std::size_t len1 = totalLength(*set1);
    const std::size_t len2 = totalLength(*set2);
    // Nothing to compare: no characters on either side.
    if (len1 + len2 == 0) return 0;
    if (std::min(set1->size(), set2->size()) == 1)
        return 2.0 * bestSinglePair(*set1, *set2) / (len1 + len2);

    const double base = static_cast<double>(std::max(len1, len2));
    const int rows = static_cast<int>(set1->size());
    const int cols = static_cast<int>(set2->size());
    std::vector<std::vector<double>> cells(rows, std::vector<double>(cols, base));
    int i = 0;
    for (const std::string& a : *set1) {
        int j = 0;
        for (const std::string& b : *set2)
            cells[i][j++] -= commonLength(a, b);
        ++i;
    }
    double optimum = pairedCredit(cells, rows, cols, base);
    return 2 * optimum / (len1 + len2);
}
