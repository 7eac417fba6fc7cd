// Text utilities: splitting and replacing (including termination on awkward patterns),
// number/text conversion, signature cutting, set printing, match files and pair ordering.
#include "util/Utilities.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

namespace {

using Words = std::vector<std::string>;

// Takes ownership of a returned list so a failing test does not leak it.
std::unique_ptr<Words> own(Words* w) {
    return std::unique_ptr<Words>(w);
}

} // namespace

TEST(SplitStringTest, KeepsInnerAndLeadingEmptyItemsButNotATrailingOne) {
    EXPECT_EQ(*own(splitString("a,,b", ",")), (Words{"a", "", "b"}));
    EXPECT_EQ(*own(splitString(",a", ",")), (Words{"", "a"}));
    EXPECT_EQ(*own(splitString("a,", ",")), (Words{"a"}));
    EXPECT_EQ(*own(splitString("abc", ",")), (Words{"abc"}));
    EXPECT_EQ(splitString("", ","), nullptr);
}

TEST(SplitStringTest, MultiCharacterAndEmptyDelimiters) {
    EXPECT_EQ(*own(splitString("\"a\",\"b\",3", "\",")), (Words{"\"a", "\"b", "3"}));
    // An empty delimiter must not loop: the text comes back whole.
    EXPECT_EQ(*own(splitString("abc", "")), (Words{"abc"}));
    // Only the delimiter: one empty item before it, nothing after.
    EXPECT_EQ(*own(splitString(",", ",")), (Words{""}));
}

TEST(ReplaceTest, ReplaceStringDropsATrailingPattern) {
    EXPECT_EQ(replaceString("x,y,", ",", ";"), "x;y");
    EXPECT_EQ(replaceString(",x", ",", ";"), ";x");
    EXPECT_EQ(replaceString("xy", ",", ";"), "xy");
    EXPECT_EQ(replaceString("", ",", ";"), "");
    EXPECT_EQ(replaceString("abc", "", ";"), "abc");
    EXPECT_EQ(replaceString("a.b", ".", "..."), "a...b");
}

TEST(ReplaceTest, FindAndReplaceTerminatesWhenTheReplacementHoldsThePattern) {
    std::string s = "aaa";
    FindAndReplace(s, "a", "aa");
    EXPECT_EQ(s, "aaaaaa");
    s = "a_b_c";
    FindAndReplace(s, "_", "");
    EXPECT_EQ(s, "abc");
    s = "abc";
    FindAndReplace(s, "", "x");
    EXPECT_EQ(s, "abc");
    s = "xxxx";
    FindAndReplace(s, "xx", "x");
    EXPECT_EQ(s, "xx");
}

TEST(ConversionTest, FromStringReadsALeadingValue) {
    int i = -1;
    EXPECT_TRUE(from_string("12abc", i));
    EXPECT_EQ(i, 12);
    EXPECT_FALSE(from_string("abc", i));
    EXPECT_FALSE(from_string("", i));
    double d = 0;
    EXPECT_TRUE(from_string(" -2.5e1x", d));
    EXPECT_DOUBLE_EQ(d, -25.0);
    // Decimal even with a leading zero.
    EXPECT_TRUE(from_string("010", i));
    EXPECT_EQ(i, 10);
}

TEST(ConversionTest, ToStringUsesSixSignificantDigits) {
    EXPECT_EQ(to_string(0.1), "0.1");
    EXPECT_EQ(to_string(1234567.0), "1.23457e+06");
    EXPECT_EQ(to_string(0.5f), "0.5");
    EXPECT_EQ(to_string(-42), "-42");
    EXPECT_EQ(to_string(static_cast<short>(7)), "7");
    // The standard library's overload stays reachable and unchanged.
    EXPECT_EQ(std::to_string(0.1), "0.100000");
}

TEST(TreatSpecifTest, CutsQualifiedNamesAtTheRightSeparator) {
    EXPECT_EQ(*own(treatSpecif("util.text.Label,int", 2)), (Words{"Label", "int"}));
    EXPECT_EQ(*own(treatSpecif("a.B@c,d.E", 4)), (Words{"B", "E"}));
    EXPECT_EQ(*own(treatSpecif("trailing.", 1)), (Words{""}));
    EXPECT_EQ(treatSpecif("", 2), nullptr);
}

TEST(StringISetTest, AscendingCommaList) {
    std::set<int> s{9, 1, 4};
    EXPECT_EQ(stringISet(&s), "1,4,9");
    std::set<int> empty;
    EXPECT_EQ(stringISet(&empty), "");
    EXPECT_EQ(stringISet(nullptr), "");
}

TEST(ReadMatchFileTest, ReadsPairsAndSkipsLinesWithoutTheSeparator) {
    const std::string path = "util_match_file.csv";
    {
        std::ofstream out(path);
        out << "\"first\",\"second\",cost\r\n"
            << "\"A\",\"B\",1\n"
            << "\n"
            << "no separator here\n"
            << "\",\"X\",2\n"
            << "\"A\",\"C\",3\n";
    }
    std::unique_ptr<std::multimap<std::string, std::string>> pairs(readMatchFile(path));
    std::remove(path.c_str());
    ASSERT_EQ(pairs->size(), 4u);
    EXPECT_EQ(pairs->count("first"), 1u);
    EXPECT_EQ(pairs->find("first")->second, "second");
    EXPECT_EQ(pairs->count("A"), 2u);
    EXPECT_EQ(pairs->count(""), 1u); // an empty first item is read as an empty name
    EXPECT_EQ(pairs->find("")->second, "X");
}

TEST(ReadMatchFileTest, MissingFileGivesAnEmptyMap) {
    std::unique_ptr<std::multimap<std::string, std::string>> pairs(
        readMatchFile("no/such/file.csv"));
    ASSERT_NE(pairs, nullptr);
    EXPECT_TRUE(pairs->empty());
}

TEST(PaireTest, SortPairesGivesDescendingScoresAndLeavesTheInputAlone) {
    std::vector<paire> in{{0, 0, 0.2}, {1, 1, 0.9}, {2, 2, 0.5}};
    std::vector<paire> out = sort_paires(in);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].val, 0.9);
    EXPECT_EQ(out[1].val, 0.5);
    EXPECT_EQ(out[2].val, 0.2);
    EXPECT_EQ(out[0].x1, 1u);
    EXPECT_EQ(in[0].val, 0.2);
    EXPECT_TRUE(compaire(in[1], in[0]));
    EXPECT_FALSE(compaire(in[0], in[0]));
}
