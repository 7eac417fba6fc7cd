// The change report of one matching run: what happened to each class, its members and the
// packages between the two versions, with the run's settings and costs.
#pragma once

#include <array>
#include <string>
#include <vector>

/// What happened to a class (or a group of classes) between the two versions. The order is
/// the order of the entries in the change files.
enum class ClassChange {
    Unchanged,
    Modified,
    Renamed,
    Moved,
    MovedRenamed,
    Split,
    Merged,
    Added,
    Deleted,
};
constexpr int kClassChangeCount = 9;

/// "unchanged", "modified", "renamed", "moved", "moved-renamed", "split", "merged", "added",
/// "deleted".
const char* changeWord(ClassChange kind);
/// The kind named by `word`; false when no kind has that name.
bool changeFromWord(const std::string& word, ClassChange& kind);

/// What happened to one member, seen from the class entry that lists it. The order is the
/// order of the member lists.
enum class MemberChange {
    Same,     ///< matched to a member of the entry's other side with the same signature
    Changed,  ///< matched within the entry, signature (name, types) differs
    MovedIn,  ///< new member matched to a member of a class outside the entry
    MovedOut, ///< old member matched to a member of a class outside the entry
    Added,    ///< new member without a partner
    Deleted,  ///< old member without a partner
};
constexpr int kMemberChangeCount = 6;

/// "same", "changed", "moved-in", "moved-out", "added", "deleted".
const char* memberWord(MemberChange kind);
bool memberFromWord(const std::string& word, MemberChange& kind);

/// One member that is not the same in both versions.
struct MemberEntry {
    MemberChange kind = MemberChange::Same;
    std::string before; ///< member text in version 1 ("name(T1,T2) : R", "name : T"), or empty
    std::string after;  ///< member text in version 2, or empty
    /// For moved members, the class on the other side of the move; empty otherwise.
    std::string otherClass;
};

/// One entry of the report: the classes of version 1 (`before`) that became the classes of
/// version 2 (`after`). Either list is empty for an added or deleted class.
struct ClassEntry {
    ClassChange kind = ClassChange::Unchanged;
    std::vector<std::string> before; ///< qualified names, ascending
    std::vector<std::string> after;  ///< qualified names, ascending
    /// Member counts by MemberChange, same included.
    std::array<int, kMemberChangeCount> memberCounts{};
    /// Members whose kind is not Same, in kind then text order.
    std::vector<MemberEntry> members;

    /// The name the entry is sorted and shown by: the first before name, else the first after.
    const std::string& name() const;
};

/// What happened to a package.
enum class PackageChange { Renamed, Added, Deleted };
constexpr int kPackageChangeCount = 3;

/// "renamed", "added", "deleted".
const char* packageWord(PackageChange kind);
bool packageFromWord(const std::string& word, PackageChange& kind);

struct PackageEntry {
    PackageChange kind = PackageChange::Added;
    std::string before; ///< empty for an added package
    std::string after;  ///< empty for a deleted package
};

/// The run that produced a report: its inputs, settings and costs.
struct RunInfo {
    std::string graph1; ///< name of graph 1 (file name without folder and extension)
    std::string graph2;
    std::string tag; ///< run tag of the result files
    int mode = 12;   ///< reader mode of both graphs
    int seed = 1;
    double dwn = 0, dwe = 0, ew = 0, asy = 0, lw = 0; ///< the five cost weights
    std::string start;                                ///< "tabu" or "assignment"
    double initMode = 1;                              ///< start of the tabu search
    int alg = 7;                                      ///< algorithm of the seeding matcher
    int discrim = 80;                                 ///< similarity code of the seeding matcher
    std::string simGraphs; ///< similarity file of the assignment start, or empty
    double noMatchingCost = 0;
    double matchingCost = 0;
};

/// Everything one change file holds.
struct ChangeReport {
    RunInfo run;
    std::vector<ClassEntry> classes;    ///< sorted by kind, then name
    std::vector<PackageEntry> packages; ///< sorted by kind, then name

    /// Number of class entries of each kind, indexed by ClassChange.
    std::array<int, kClassChangeCount> classCounts() const;
    /// Number of package entries of each kind, indexed by PackageChange.
    std::array<int, kPackageChangeCount> packageCounts() const;
    /// Puts the entries in file order.
    void sort();
};
