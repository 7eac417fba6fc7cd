// Identifier similarity: word splitting at separators and case changes, longest common
// substring, name and word-set similarity, and the edit distances.
#include "util/Distance.h"
#include "util/Utilities.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Words = std::vector<std::string>;

// The words of an identifier; an empty list stands for the null result.
Words split(const std::string& id) {
    std::unique_ptr<Words> w(IdSplitter(id));
    return w ? *w : Words{};
}

} // namespace

TEST(IdSplitterTest, CutsAtCaseChanges) {
    EXPECT_EQ(split("getName"), (Words{"get", "Name"}));
    EXPECT_EQ(split("XMLParser"), (Words{"XML", "Parser"}));
    EXPECT_EQ(split("getXMLParser"), (Words{"get", "XML", "Parser"}));
    EXPECT_EQ(split("HTTPServer2"), (Words{"HTTP", "Server2"}));
    EXPECT_EQ(split("get2Name"), (Words{"get2", "Name"}));
}

TEST(IdSplitterTest, TrailingCapitals) {
    EXPECT_EQ(split("ID"), (Words{"ID"}));
    EXPECT_EQ(split("getX"), (Words{"getX"}));
    EXPECT_EQ(split("AbX"), (Words{"Ab", "X"}));
    EXPECT_EQ(split("getNameX"), (Words{"get", "Name", "X"}));
    EXPECT_EQ(split("getID"), (Words{"get", "ID"}));
    // A capital run followed by a single last letter stays one word.
    EXPECT_EQ(split("getIDs"), (Words{"get", "IDs"}));
}

TEST(IdSplitterTest, SeparatorsAndShortInputs) {
    EXPECT_EQ(split("my_var$x"), (Words{"my", "var", "x"}));
    EXPECT_EQ(split("a*b__c"), (Words{"a", "b", "c"}));
    EXPECT_EQ(split("_"), (Words{"_"}));
    EXPECT_EQ(split("a"), (Words{"a"}));
    EXPECT_EQ(IdSplitter(""), nullptr);
    EXPECT_EQ(IdSplitter("__$"), nullptr); // separators only: no word
}

TEST(IdSplitterTest, NonAsciiBytesAreNotCapitals) {
    EXPECT_EQ(split("caf\xc3\xa9Name"), (Words{"caf\xc3\xa9", "Name"}));
}

TEST(LcsTest, LongestContiguousCommonRun) {
    EXPECT_EQ(LCS("abcde", "xbcdy"), 3);
    EXPECT_EQ(LCS("abc", "abc"), 3);
    EXPECT_EQ(LCS("abc", "ABC"), 0); // case-sensitive
    EXPECT_EQ(LCS("ab", "b"), 1);
    EXPECT_EQ(LCS("", "abc"), 0);
    EXPECT_EQ(LCS("axbxcx", "abc"), 1); // common letters that are not contiguous
}

TEST(IdSimTest, WorkedValues) {
    EXPECT_DOUBLE_EQ(IdSim("getName", "getName"), 1.0);
    // One side is a single word: "name" lies inside "getname".
    EXPECT_DOUBLE_EQ(IdSim("name", "getName"), 2.0 * 4 / 11);
    EXPECT_DOUBLE_EQ(IdSim("Foo", "Bar"), 0.0);
    EXPECT_DOUBLE_EQ(IdSim("NAME", "name"), 1.0);
}

TEST(IdSimTest, WordPairingCreditsContainedWords) {
    // Words get|XML|Parser against parse|XML: "xml" pairs with "xml" (3) and "parser"
    // contains "parse" (5), so 2 * 8 / (12 + 8).
    EXPECT_DOUBLE_EQ(IdSim("getXMLParser", "parseXML"), 0.8);
    // Word order does not matter: get|Name against name|Get pairs both words fully.
    EXPECT_DOUBLE_EQ(IdSim("getName", "nameGet"), 1.0);
}

TEST(IdSimTest, EmptyOrWordlessIdentifiersGiveZero) {
    EXPECT_EQ(IdSim("", "getName"), 0.0);
    EXPECT_EQ(IdSim("getName", ""), 0.0);
    EXPECT_EQ(IdSim("", ""), 0.0);
    EXPECT_EQ(IdSim("__", "x"), 0.0);
}

TEST(SimSetTest, SingleWordSide) {
    std::set<std::string> a{"get", "name"};
    std::set<std::string> b{"name"};
    EXPECT_DOUBLE_EQ(simSet(&a, &b), 2.0 * 4 / 11);
    // "ab" is wholly inside "xabc": the search stops there, 2 * 2 / (2 + 6).
    std::set<std::string> c{"ab"};
    std::set<std::string> d{"xabc", "zz"};
    EXPECT_DOUBLE_EQ(simSet(&c, &d), 0.5);
    // No word is covered: the longest common run wins, 2 * 3 / (4 + 8).
    std::set<std::string> e{"abcx"};
    std::set<std::string> f{"abyy", "zbcx"};
    EXPECT_DOUBLE_EQ(simSet(&e, &f), 0.5);
}

TEST(SimSetTest, SeveralWordsArePairedOneToOne) {
    // get-set share "et" (2), name-names share "name" (4): 2 * 6 / (7 + 8).
    std::set<std::string> a{"get", "name"};
    std::set<std::string> b{"names", "set"};
    EXPECT_DOUBLE_EQ(simSet(&a, &b), 0.8);
    // Both words of the first set would like "name"; only one may have it.
    std::set<std::string> c{"name", "named"};
    std::set<std::string> d{"name", "zz"};
    EXPECT_DOUBLE_EQ(simSet(&c, &d), 2.0 * 4 / (9 + 6));
}

TEST(SimSetTest, EmptyAndMissingSetsGiveZero) {
    std::set<std::string> empty;
    std::set<std::string> two{"get", "name"};
    EXPECT_EQ(simSet(&empty, &two), 0.0);
    EXPECT_EQ(simSet(&two, &empty), 0.0);
    EXPECT_EQ(simSet(&empty, &empty), 0.0);
    EXPECT_EQ(simSet(nullptr, &two), 0.0);
}

TEST(DistanceTest, LevenshteinValues) {
    EXPECT_EQ(Distance::LD("flaw", "lawn"), 2);
    EXPECT_EQ(Distance::LD("kitten", "sitting"), 3);
    EXPECT_EQ(Distance::LD("", "abc"), 3);
    EXPECT_EQ(Distance::LD("abc", ""), 3);
    EXPECT_EQ(Distance::LD("same", "same"), 0);
    EXPECT_EQ(Distance::LD(nullptr, "ab"), 2);
}

TEST(DistanceTest, NormalisedByTheLongerString) {
    EXPECT_FLOAT_EQ(Distance::NLD("flaw", "lawn"), 0.5f);
    EXPECT_FLOAT_EQ(Distance::WNLD("flaw", "lawn"), 0.5f);
    EXPECT_FLOAT_EQ(Distance::NLD("kitten", "sitting"), 3.0f / 7);
    EXPECT_EQ(Distance::NLD("", ""), 0.0f);
    EXPECT_EQ(Distance::NLD("", "ab"), 1.0f);
}

TEST(DistanceTest, TableCellsAreRowMajorOverTheFirstString) {
    // Three rows of |s| + 1 = 4 cells: cell (col 2, row 1) is at offset 1 * 4 + 2.
    int table[12] = {};
    Distance::PutAt(table, 2, 1, 3, 42);
    EXPECT_EQ(table[6], 42);
    EXPECT_EQ(Distance::GetAt(table, 2, 1, 3), 42);
    EXPECT_EQ(Distance::GetCellPointer(table, 3, 2, 3), table + 11);
}
