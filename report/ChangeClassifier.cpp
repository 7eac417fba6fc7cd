// Class-level changes read off a matching: classes are grouped by the matcher's pairs and
// blocks and by member flow, and each group is named by its shape and its names.
#include "report/ChangeClassifier.h"

#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "graph/Vertex.h"
#include "report/DiagramView.h"
#include "util/NodeTable.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

namespace {
constexpr int kNone = -1;
/// Bound on the passes that send members home to their matched class (a pass without a
/// swap ends them sooner).
constexpr int kMaxTwinPasses = 8;

/// Union-find over the classes of both versions: old class i is slot i, new class j is
/// slot n1 + j. A group of slots is one entry of the report.
class ClassGroups {
public:
    explicit ClassGroups(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
    int find(int x) {
        while (parent(x) != x) {
            parent(x) = parent(parent(x));
            x = parent(x);
        }
        return x;
    }
    void unite(int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b) parent(std::max(a, b)) = std::min(a, b);
    }

private:
    std::vector<int> parent_;
    int& parent(int x) { return parent_[static_cast<size_t>(x)]; }
};

/// The classes of one entry, as class indices of each version.
struct Group {
    std::vector<int> olds;
    std::vector<int> news;
};

class Classifier {
public:
    Classifier(const Graph& g1, const Graph& g2, const NodeMatching& matching, int mode)
        : g1_(g1), g2_(g2), d1_(g1, mode), d2_(g2, mode), matching_(matching),
          n1_(static_cast<int>(d1_.classes.size())),
          groups_(d1_.classes.size() + d2_.classes.size()), matched1_(d1_.classes.size()),
          matched2_(d2_.classes.size()), partner1_(d1_.members.size(), kNone),
          partner2_(d2_.members.size(), kNone) {}

    ChangeReport run() {
        linkMatchedClasses();
        pairMembers();
        linkBlocks();
        linkByMemberFlow();
        ChangeReport report;
        collectGroups();
        for (const auto& entry : byRoot_)
            report.classes.push_back(classEntry(entry.first, entry.second));
        packageEntries(report);
        report.sort();
        return report;
    }

private:
    const Graph& g1_;
    const Graph& g2_;
    DiagramView d1_, d2_;
    const NodeMatching& matching_;
    int n1_;
    ClassGroups groups_;
    std::vector<bool> matched1_, matched2_;
    std::vector<int> partner1_, partner2_; ///< member index of the partner, or kNone
    int& partner1(int member) { return partner1_[static_cast<size_t>(member)]; }
    int& partner2(int member) { return partner2_[static_cast<size_t>(member)]; }
    std::map<int, Group> byRoot_;
    std::vector<Group> blocks_; ///< matched blocks of several classes, linked after step 2
    std::map<std::string, std::string> packagePartner_; ///< from matched package nodes

    static std::vector<int> lookup(const std::vector<int>& nodes, const std::map<int, int>& index) {
        std::vector<int> out;
        for (int n : nodes) {
            auto it = index.find(n);
            if (it != index.end()) out.push_back(it->second);
        }
        return out;
    }

    /// Step 1: every matched pair of classes is one group; blocks wait for their members.
    void linkMatchedClasses() {
        for (const auto& g : matching_.groups) {
            const std::vector<int> olds = lookup(g.first, d1_.classIndex);
            const std::vector<int> news = lookup(g.second, d2_.classIndex);
            notePackagePair(g.first, g.second);
            if (olds.empty() || news.empty()) continue;
            if (olds.size() == 1 && news.size() == 1)
                linkPair(olds.front(), news.front());
            else
                blocks_.push_back(Group{olds, news});
        }
    }

    void linkPair(int i, int j) {
        nodeEntry(matched1_, i) = true;
        nodeEntry(matched2_, j) = true;
        groups_.unite(i, n1_ + j);
    }

    /// Step 2b: a block of several classes becomes one group, less the classes that share no
    /// member with the other side of the block (the search can sweep a stranger into a
    /// block); a block whose classes keep their names on both sides is a set of pairs.
    void linkBlocks() {
        for (Group b : blocks_) {
            keepContributors(b);
            if (b.olds.empty() || b.news.empty()) continue;
            if (b.olds.size() == 1 && b.news.size() == 1) {
                linkPair(b.olds.front(), b.news.front());
            } else if (sameNames(b)) {
                for (size_t k = 0; k < b.olds.size(); k++)
                    linkPair(b.olds[k], b.news[k]);
            } else {
                for (int i : b.olds)
                    linkPair(i, b.news.front());
                for (int j : b.news)
                    linkPair(b.olds.front(), j);
            }
        }
    }

    /// Drops from b the classes with members none of which is paired across the block.
    void keepContributors(Group& b) const {
        const std::set<int> oldSet(b.olds.begin(), b.olds.end());
        const std::set<int> newSet(b.news.begin(), b.news.end());
        const auto contributes = [](const std::vector<int>& memberList,
                                    const std::vector<int>& partners, const DiagramView& other,
                                    const std::set<int>& otherSide) {
            if (memberList.empty()) return true; // no evidence against the search
            for (int m : memberList) {
                const int p = nodeEntry(partners, m);
                if (p != kNone && otherSide.count(other.member(p).owner) != 0) return true;
            }
            return false;
        };
        std::vector<int> olds, news;
        for (int i : b.olds)
            if (contributes(d1_.membersOfClass(i), partner1_, d2_, newSet)) olds.push_back(i);
        for (int j : b.news)
            if (contributes(d2_.membersOfClass(j), partner2_, d1_, oldSet)) news.push_back(j);
        b.olds = olds;
        b.news = news;
    }

    /// True when both sides of b name the same classes; then sorts both sides by name.
    bool sameNames(Group& b) const {
        if (b.olds.size() != b.news.size()) return false;
        const auto byName = [](const DiagramView& d) {
            return [&d](int x, int y) { return d.label(x) < d.label(y); };
        };
        std::sort(b.olds.begin(), b.olds.end(), byName(d1_));
        std::sort(b.news.begin(), b.news.end(), byName(d2_));
        for (size_t k = 0; k < b.olds.size(); k++)
            if (d1_.label(b.olds[k]) != d2_.label(b.news[k])) return false;
        return true;
    }

    void notePackagePair(const std::vector<int>& a, const std::vector<int>& b) {
        if (a.size() != 1 || b.size() != 1) return;
        if (a.front() < 0 || b.front() < 0 || a.front() >= static_cast<int>(g1_.V.size()) ||
            b.front() >= static_cast<int>(g2_.V.size()))
            return;
        const Vertex* p = g1_.vertex(a.front());
        const Vertex* q = g2_.vertex(b.front());
        if (p->type == kPackageType && q->type == kPackageType)
            packagePartner_[p->label] = q->label;
    }

    void pair(int a, int b) {
        partner1(a) = b;
        partner2(b) = a;
    }

    /// Pairs the unpaired members of a with those of b whose `key` (text or name) is equal,
    /// in list order.
    template <typename Key>
    void pairByKey(const std::vector<int>& a, const std::vector<int>& b, Key key) {
        std::multimap<std::string, int> free2;
        for (int y : b)
            if (partner2(y) == kNone) free2.emplace(key(d2_.member(y)), y);
        for (int x : a) {
            if (partner1(x) != kNone) continue;
            auto it = free2.find(key(d1_.member(x)));
            if (it == free2.end()) continue;
            pair(x, it->second);
            free2.erase(it);
        }
    }

    /// Step 2: member partners. Member nodes follow the matcher; members kept inside
    /// classes are paired by signature, then by name, within matched groups, and a member
    /// whose signature is unique among the unpaired ones follows it to another class.
    void pairMembers() {
        const auto byText = [](const DiagramView::Member& m) { return m.text; };
        const auto byName = [](const DiagramView::Member& m) { return m.name; };
        for (const auto& g : matching_.groups) {
            if (d1_.membersAreNodes && d2_.membersAreNodes) {
                pairMemberNodes(lookup(g.first, d1_.memberOfNode),
                                lookup(g.second, d2_.memberOfNode));
                continue;
            }
            std::vector<int> a, b;
            for (int i : lookup(g.first, d1_.classIndex))
                a.insert(a.end(), d1_.membersOfClass(i).begin(), d1_.membersOfClass(i).end());
            for (int j : lookup(g.second, d2_.classIndex))
                b.insert(b.end(), d2_.membersOfClass(j).begin(), d2_.membersOfClass(j).end());
            pairByKey(a, b, byText);
            pairByKey(a, b, byName);
        }
        if (d1_.membersAreNodes && d2_.membersAreNodes)
            preferTwinsInMatchedClasses();
        else
            pairUniqueLeftovers();
    }

    /// The search may pair a member with an identical one of another class while the twin
    /// of the same signature in the member's own matched class is paired elsewhere or not
    /// at all. The same signature in the matched class is the simpler story, so the pairs
    /// are swapped: the member and its twin, and their former partners with each other.
    void preferTwinsInMatchedClasses() {
        // A swap can send a former partner to a class that has a twin of its own, so passes
        // repeat while they change something; each swap brings one member home for good.
        for (int pass = 0; pass < kMaxTwinPasses && twinPass() > 0; pass++) {
        }
    }

    /// One pass over the matched groups; returns the number of swaps.
    int twinPass() {
        int swaps = 0;
        for (const auto& g : matching_.groups) {
            const std::vector<int> olds = lookup(g.first, d1_.classIndex);
            const std::vector<int> news = lookup(g.second, d2_.classIndex);
            if (olds.empty() || news.empty()) continue;
            const std::set<int> oldSet(olds.begin(), olds.end());
            const std::set<int> newSet(news.begin(), news.end());
            std::multimap<std::string, int> twins;
            for (int j : news)
                for (int k : d2_.membersOfClass(j))
                    twins.emplace(d2_.member(k).text, k);
            for (int i : olds)
                for (int m : d1_.membersOfClass(i)) {
                    const int y = partner1(m);
                    if (y != kNone && newSet.count(d2_.member(y).owner) != 0) continue;
                    const auto range = twins.equal_range(d1_.member(m).text);
                    for (auto it = range.first; it != range.second; ++it) {
                        const int x = it->second;
                        const int z = partner2(x);
                        if (z != kNone && oldSet.count(d1_.member(z).owner) != 0) continue;
                        swapPartners(m, y, x, z);
                        swaps++;
                        break;
                    }
                }
        }
        return swaps;
    }

    /// m (old) was paired with y, x (new) with z; afterwards m-x and z-y.
    void swapPartners(int m, int y, int x, int z) {
        if (y != kNone && partner2(y) == m) partner2(y) = kNone;
        if (z != kNone && partner1(z) == x) partner1(z) = kNone;
        pair(m, x);
        if (y != kNone && z != kNone) pair(z, y);
    }

    /// Members of one matched block pair: equal texts first, the rest in order; members of
    /// the larger side left over go with the first member of the other side.
    void pairMemberNodes(const std::vector<int>& a, const std::vector<int>& b) {
        if (a.empty() || b.empty()) return;
        pairByKey(a, b, [](const DiagramView::Member& m) { return m.text; });
        std::vector<int> restA, restB;
        for (int x : a)
            if (partner1(x) == kNone) restA.push_back(x);
        for (int y : b)
            if (partner2(y) == kNone) restB.push_back(y);
        for (size_t k = 0; k < restA.size() && k < restB.size(); k++)
            pair(restA[k], restB[k]);
        for (size_t k = restB.size(); k < restA.size(); k++)
            partner1(restA[k]) = b.front();
        for (size_t k = restA.size(); k < restB.size(); k++)
            partner2(restB[k]) = a.front();
    }

    /// Members still unpaired are paired across classes when their signature, then their
    /// name, occurs once among the unpaired members of each version.
    void pairUniqueLeftovers() {
        pairUniqueLeftovers([](const DiagramView::Member& m) { return m.text; });
        pairUniqueLeftovers([](const DiagramView::Member& m) { return m.name; });
    }

    template <typename Key> void pairUniqueLeftovers(Key key) {
        std::map<std::string, std::vector<int>> free1, free2;
        for (size_t x = 0; x < partner1_.size(); x++)
            if (partner1_[x] == kNone) free1[key(d1_.members[x])].push_back(static_cast<int>(x));
        for (size_t y = 0; y < partner2_.size(); y++)
            if (partner2_[y] == kNone) free2[key(d2_.members[y])].push_back(static_cast<int>(y));
        for (const auto& entry : free1) {
            auto it = free2.find(entry.first);
            if (entry.second.size() == 1 && it != free2.end() && it->second.size() == 1)
                pair(entry.second.front(), it->second.front());
        }
    }

    /// The class of `other` that holds the partners of most of `memberList`, when they are
    /// enough to tie the two classes; kNone otherwise.
    static int flowSource(const std::vector<int>& memberList, const std::vector<int>& partners,
                          const DiagramView& other) {
        std::map<int, int> count;
        for (int m : memberList) {
            const int p = nodeEntry(partners, m);
            if (p != kNone) count[other.member(p).owner]++;
        }
        int best = kNone;
        int bestCount = 0;
        for (const auto& c : count) // ascending class index: ties go to the first class
            if (c.second > bestCount) {
                best = c.first;
                bestCount = c.second;
            }
        const double needed = kMinFlowShare * static_cast<double>(memberList.size());
        if (bestCount < kMinFlowMembers || static_cast<double>(bestCount) < needed) return kNone;
        return best;
    }

    /// Step 3: an unmatched class whose members mostly went to (or came from) one class
    /// joins that class's group.
    void linkByMemberFlow() {
        std::vector<std::pair<int, int>> links;
        for (size_t j = 0; j < matched2_.size(); j++) {
            if (matched2_[j]) continue;
            const int c = flowSource(d2_.membersOf[j], partner2_, d1_);
            if (c != kNone) links.emplace_back(c, n1_ + static_cast<int>(j));
        }
        for (size_t i = 0; i < matched1_.size(); i++) {
            if (matched1_[i]) continue;
            const int c = flowSource(d1_.membersOf[i], partner1_, d2_);
            if (c != kNone) links.emplace_back(static_cast<int>(i), n1_ + c);
        }
        for (const auto& l : links)
            groups_.unite(l.first, l.second);
    }

    void collectGroups() {
        for (int i = 0; i < n1_; i++)
            byRoot_[groups_.find(i)].olds.push_back(i);
        for (int j = 0; j < static_cast<int>(d2_.classes.size()); j++)
            byRoot_[groups_.find(n1_ + j)].news.push_back(j);
    }

    void addMember(ClassEntry& e, MemberChange kind, const std::string& before,
                   const std::string& after, const std::string& other) {
        e.memberCounts[static_cast<size_t>(kind)]++;
        if (kind != MemberChange::Same)
            e.members.push_back(MemberEntry{kind, before, after, other});
    }

    /// Member counts and lists of the group with root `root`.
    void memberChanges(int root, const Group& g, ClassEntry& e) {
        for (int j : g.news)
            for (int k : d2_.membersOfClass(j)) {
                const std::string& text = d2_.member(k).text;
                const int p = partner2(k);
                if (p == kNone) {
                    addMember(e, MemberChange::Added, "", text, "");
                    continue;
                }
                const DiagramView::Member& old = d1_.member(p);
                if (groups_.find(old.owner) != root)
                    addMember(e, MemberChange::MovedIn, old.text, text, d1_.label(old.owner));
                else
                    addMember(e, old.text == text ? MemberChange::Same : MemberChange::Changed,
                              old.text, text, "");
            }
        for (int i : g.olds)
            for (int k : d1_.membersOfClass(i)) {
                const std::string& text = d1_.member(k).text;
                const int p = partner1(k);
                if (p == kNone) {
                    addMember(e, MemberChange::Deleted, text, "", "");
                    continue;
                }
                const int owner = d2_.member(p).owner;
                if (groups_.find(n1_ + owner) != root)
                    addMember(e, MemberChange::MovedOut, text, d2_.member(p).text,
                              d2_.label(owner));
            }
        std::sort(e.members.begin(), e.members.end(),
                  [](const MemberEntry& a, const MemberEntry& b) {
                      return std::tie(a.kind, a.before, a.after, a.otherClass) <
                             std::tie(b.kind, b.before, b.after, b.otherClass);
                  });
    }

    ClassChange pairKind(int i, int j, const ClassEntry& e) const {
        const auto ii = static_cast<size_t>(i);
        const auto jj = static_cast<size_t>(j);
        if (d1_.labels[ii] == d2_.labels[jj]) {
            const int same = e.memberCounts[static_cast<size_t>(MemberChange::Same)];
            const int all = std::accumulate(e.memberCounts.begin(), e.memberCounts.end(), 0);
            return same == all ? ClassChange::Unchanged : ClassChange::Modified;
        }
        if (d1_.packageOf[ii] == d2_.packageOf[jj]) return ClassChange::Renamed;
        if (d1_.localName(i) == d2_.localName(j)) return ClassChange::Moved;
        return ClassChange::MovedRenamed;
    }

    ClassEntry classEntry(int root, const Group& g) {
        ClassEntry e;
        for (int i : g.olds)
            e.before.push_back(d1_.label(i));
        for (int j : g.news)
            e.after.push_back(d2_.label(j));
        std::sort(e.before.begin(), e.before.end());
        std::sort(e.after.begin(), e.after.end());
        memberChanges(root, g, e);
        if (g.olds.empty())
            e.kind = ClassChange::Added;
        else if (g.news.empty())
            e.kind = ClassChange::Deleted;
        else if (g.olds.size() == 1 && g.news.size() == 1)
            e.kind = pairKind(g.olds.front(), g.news.front(), e);
        else
            e.kind = g.olds.size() < g.news.size() ? ClassChange::Split : ClassChange::Merged;
        return e;
    }

    /// A package of version 1 only is renamed to the package of version 2 only that
    /// received most of its classes (or, without classes, the package node it was matched
    /// to); the others are deleted or added.
    void packageEntries(ChangeReport& report) {
        std::set<std::string> only1, only2;
        std::set_difference(d1_.packages.begin(), d1_.packages.end(), d2_.packages.begin(),
                            d2_.packages.end(), std::inserter(only1, only1.end()));
        std::set_difference(d2_.packages.begin(), d2_.packages.end(), d1_.packages.begin(),
                            d1_.packages.end(), std::inserter(only2, only2.end()));
        std::set<std::string> taken;
        for (const std::string& p : only1) {
            std::map<std::string, int> flow;
            for (int i = 0; i < n1_; i++) {
                if (d1_.package(i) != p) continue;
                for (int j : byRoot_[groups_.find(i)].news) {
                    const std::string& q = d2_.package(j);
                    if (only2.count(q) != 0 && taken.count(q) == 0) flow[q]++;
                }
            }
            std::string target;
            int best = 0;
            for (const auto& f : flow)
                if (f.second > best) {
                    best = f.second;
                    target = f.first;
                }
            auto partner = packagePartner_.find(p);
            if (target.empty() && partner != packagePartner_.end() &&
                only2.count(partner->second) != 0 && taken.count(partner->second) == 0)
                target = partner->second;
            if (target.empty()) {
                report.packages.push_back(PackageEntry{PackageChange::Deleted, p, ""});
                continue;
            }
            taken.insert(target);
            report.packages.push_back(PackageEntry{PackageChange::Renamed, p, target});
        }
        for (const std::string& q : only2)
            if (taken.count(q) == 0)
                report.packages.push_back(PackageEntry{PackageChange::Added, "", q});
    }
};

} // namespace

ChangeReport classifyChanges(const Graph& g1, const Graph& g2, const NodeMatching& matching,
                             int mode) {
    return Classifier(g1, g2, matching, mode).run();
}
