// Classification of a stated matching between two small diagrams in which every kind of
// change is planted once; the expected entries follow from the planted changes alone.
#include "report/ChangeClassifier.h"
#include "report/DiagramView.h"

#include "graph/Kinds.h"
#include "tests/report/ReportTestSupport.h"

#include <algorithm>

namespace {

/// The matching the planted changes call for (see report_before.txt / report_after.txt):
/// same-named nodes are matched unless stated here.
NodeMatching plantedMatching(const Graph& g1, const Graph& g2) {
    MatchingByLabel m(g1, g2);
    const auto classPair = [&m](const std::string& a, const std::string& b,
                                const std::vector<std::string>& members) {
        m.pair(a, b);
        for (const std::string& name : members)
            m.pair(a + "." + name, b + "." + name);
    };
    classPair("app.core.OldName", "app.core.NewName", {"p", "q"});
    classPair("app.old.Mover", "app.fresh.Mover", {"r", "s"});
    classPair("app.core.Shift", "app.fresh.Shifted", {"t", "u"});
    // Half of Big's members went to the new class Part, which the matching leaves unmatched.
    m.pair("app.core.Big.b3", "app.core.Part.b3");
    m.pair("app.core.Big.b4", "app.core.Part.b4");
    // Guest's members joined Host; Guest itself is unmatched.
    m.pair("app.core.Guest.g1", "app.core.Host.g1");
    m.pair("app.core.Guest.g2", "app.core.Host.g2");
    // The search matched Whole to a block of two classes, and swept in Fresh, none of whose
    // members comes from Whole: Fresh stays an added class.
    m.block({"app.core.Whole"}, {"app.core.WholeA", "app.core.WholeB", "app.extra.Fresh"});
    // A block whose classes keep their names on both sides is two plain pairs.
    m.block({"app.core.Keep", "app.core.Grow"}, {"app.core.Grow", "app.core.Keep"});
    m.pair("app.core.Whole.w1", "app.core.WholeA.w1");
    m.pair("app.core.Whole.w2", "app.core.WholeB.w2");
    // Below the flow thresholds: Tiny has 1 member of Donor (fewer than 2), Wide 2 of 5.
    m.pair("app.core.Donor.d4", "app.core.Tiny.d4");
    m.pair("app.core.Donor.d5", "app.core.Wide.d5");
    m.pair("app.core.Donor.d6", "app.core.Wide.d6");
    // The search swapped two identical members between classes it matched to themselves.
    m.pair("app.core.TwinA.equals", "app.core.TwinB.equals");
    m.pair("app.core.TwinB.equals", "app.core.TwinA.equals");
    m.leaveUnmatched("app.old");
    return m.finish();
}

} // namespace

TEST(ChangeClassifier, EveryPlantedChangeIsNamedWithItsMemberCounts) {
    Graph g1(kClassDiagramMode, testData("report_before.txt"));
    Graph g2(kClassDiagramMode, testData("report_after.txt"));
    const ChangeReport r = classifyChanges(g1, g2, plantedMatching(g1, g2), 12);

    // Counts: same / changed / moved in / moved out / added / deleted.
    const std::vector<std::string> expected = {
        "unchanged app.core.Keep > app.core.Keep 2/0/0/0/0/0",
        // The twins are sent home: an identical member in the matched class is the same one.
        "unchanged app.core.TwinA > app.core.TwinA 2/0/0/0/0/0",
        "unchanged app.core.TwinB > app.core.TwinB 2/0/0/0/0/0",
        "modified app.core.Donor > app.core.Donor 3/0/0/3/0/0",
        "modified app.core.Grow > app.core.Grow 2/0/0/0/1/0",
        "renamed app.core.OldName > app.core.NewName 2/0/0/0/0/0",
        "moved app.old.Mover > app.fresh.Mover 2/0/0/0/0/0",
        "moved-renamed app.core.Shift > app.fresh.Shifted 2/0/0/0/0/0",
        // Part holds exactly half its members from Big: the share threshold is inclusive.
        "split app.core.Big > app.core.Big+app.core.Part 4/0/0/0/2/0",
        "split app.core.Whole > app.core.WholeA+app.core.WholeB 2/0/0/0/0/0",
        "merged app.core.Guest+app.core.Host > app.core.Host 4/0/0/0/0/0",
        "added  > app.core.Tiny 0/0/1/0/1/0",
        "added  > app.core.Wide 0/0/2/0/3/0",
        "added  > app.extra.Fresh 0/0/0/0/1/0",
        "deleted app.gone.Legacy >  0/0/0/0/0/1",
    };
    EXPECT_EQ(entryLines(r), expected);

    // The members behind Donor's counts, with the class each moved to.
    const ClassEntry& donor = r.classes[3];
    ASSERT_EQ(donor.members.size(), 3u);
    EXPECT_EQ(donor.members[0].kind, MemberChange::MovedOut);
    EXPECT_EQ(donor.members[0].before, "d4() : void");
    EXPECT_EQ(donor.members[0].otherClass, "app.core.Tiny");

    // The package of Mover lost its name to one that only version 2 has; app.old has no
    // matched node, so this is read from where its classes went.
    ASSERT_EQ(r.packages.size(), 3u);
    EXPECT_EQ(r.packages[0].kind, PackageChange::Renamed);
    EXPECT_EQ(r.packages[0].before + ">" + r.packages[0].after, "app.old>app.fresh");
    EXPECT_EQ(r.packages[1].kind, PackageChange::Added);
    EXPECT_EQ(r.packages[1].after, "app.extra");
    EXPECT_EQ(r.packages[2].kind, PackageChange::Deleted);
    EXPECT_EQ(r.packages[2].before, "app.gone");
}

TEST(ChangeClassifier, MutualMemberFlowBetweenUnmatchedClassesIsARename) {
    // The matcher missed OldName -> NewName at class level but matched all its members.
    Graph g1(kClassDiagramMode, testData("report_before.txt"));
    Graph g2(kClassDiagramMode, testData("report_after.txt"));
    MatchingByLabel m(g1, g2);
    m.pair("app.core.OldName.p", "app.core.NewName.p");
    m.pair("app.core.OldName.q", "app.core.NewName.q");
    m.leaveUnmatched("app.core.OldName");
    const ChangeReport r = classifyChanges(g1, g2, m.finish(), 12);
    const std::vector<std::string> lines = entryLines(r);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "renamed app.core.OldName > app.core.NewName 2/0/0/0/0/0"),
              lines.end());
}

TEST(ChangeClassifier, MembersKeptInsideClassesArePairedBySignatureThenName) {
    Graph g1(kMembersInClassesMode, testData("report_mode4_before.txt"));
    Graph g2(kMembersInClassesMode, testData("report_mode4_after.txt"));
    MatchingByLabel m(g1, g2);
    m.pair("lib.one.Old", "lib.two.Old");
    const ChangeReport r = classifyChanges(g1, g2, m.finish(), 4);
    // run() became run(int): same name, other signature. shared(int) is unique among the
    // unpaired members, so it follows to Keep.
    const std::vector<std::string> expected = {
        "modified lib.one.Keep > lib.one.Keep 1/1/1/0/0/0",
        "moved lib.one.Old > lib.two.Old 1/0/0/1/0/0",
        "added  > lib.one.Extra 0/0/0/0/1/0",
    };
    EXPECT_EQ(entryLines(r), expected);
    ASSERT_EQ(r.packages.size(), 1u);
    EXPECT_EQ(r.packages[0].after, "lib.two");
}

TEST(ChangeClassifier, PackagesByNamingConventionWhenTheDiagramNamesNone) {
    EXPECT_EQ(packageByConvention("org.jsoup.Connection.Base"), "org.jsoup");
    EXPECT_EQ(packageByConvention("a.b.c"), "a.b");
    EXPECT_EQ(packageByConvention("Main"), "");
    EXPECT_EQ(packageByConvention("Outer.Inner"), "");
}
