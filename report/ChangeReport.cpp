// Names of the change kinds and the ordering of a change report's entries.
#include "report/ChangeReport.h"

#include <algorithm>
#include <tuple>

namespace {

const char* const kClassWords[kClassChangeCount] = {"unchanged", "modified",      "renamed",
                                                    "moved",     "moved-renamed", "split",
                                                    "merged",    "added",         "deleted"};
const char* const kMemberWords[kMemberChangeCount] = {"same",      "changed", "moved-in",
                                                      "moved-out", "added",   "deleted"};
const char* const kPackageWords[kPackageChangeCount] = {"renamed", "added", "deleted"};

template <typename Kind, int N>
bool fromWord(const char* const (&words)[N], const std::string& word, Kind& kind) {
    for (int i = 0; i < N; i++)
        if (word == words[i]) {
            kind = static_cast<Kind>(i);
            return true;
        }
    return false;
}

} // namespace

const char* changeWord(ClassChange kind) {
    return kClassWords[static_cast<int>(kind)];
}
bool changeFromWord(const std::string& word, ClassChange& kind) {
    return fromWord(kClassWords, word, kind);
}
const char* memberWord(MemberChange kind) {
    return kMemberWords[static_cast<int>(kind)];
}
bool memberFromWord(const std::string& word, MemberChange& kind) {
    return fromWord(kMemberWords, word, kind);
}
const char* packageWord(PackageChange kind) {
    return kPackageWords[static_cast<int>(kind)];
}
bool packageFromWord(const std::string& word, PackageChange& kind) {
    return fromWord(kPackageWords, word, kind);
}

const std::string& ClassEntry::name() const {
    static const std::string none;
    if (!before.empty()) return before.front();
    return after.empty() ? none : after.front();
}

std::array<int, kClassChangeCount> ChangeReport::classCounts() const {
    std::array<int, kClassChangeCount> counts{};
    for (const ClassEntry& e : classes)
        counts[static_cast<size_t>(e.kind)]++;
    return counts;
}

std::array<int, kPackageChangeCount> ChangeReport::packageCounts() const {
    std::array<int, kPackageChangeCount> counts{};
    for (const PackageEntry& p : packages)
        counts[static_cast<size_t>(p.kind)]++;
    return counts;
}

void ChangeReport::sort() {
    // The full lists break ties between entries of one name, so the order never depends on
    // the order the classifier met them in.
    std::sort(classes.begin(), classes.end(), [](const ClassEntry& a, const ClassEntry& b) {
        return std::tie(a.kind, a.name(), a.before, a.after) <
               std::tie(b.kind, b.name(), b.before, b.after);
    });
    std::sort(packages.begin(), packages.end(), [](const PackageEntry& a, const PackageEntry& b) {
        const std::string& na = a.before.empty() ? a.after : a.before;
        const std::string& nb = b.before.empty() ? b.after : b.before;
        return std::tie(a.kind, na, a.after) < std::tie(b.kind, nb, b.after);
    });
}
