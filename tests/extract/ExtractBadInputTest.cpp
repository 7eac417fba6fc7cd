// Bad input of the extraction: each case gives one clear line and the documented exit
// code; files that do not parse are named, skipped and counted while the rest is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExtractTestSupport.h"
#include "extract/CompareRun.h"
#include "extract/ExtractCommandLine.h"

namespace fs = std::filesystem;

namespace {

int extract(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    int rc = extractMain(args, o, e);
    out = o.str();
    err = e.str();
    return rc;
}

size_t lineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(ExtractTest, InputThatGivesNothingEndsWithCodeTwoAndOneLine) {
    const std::string diagram = work("out/d.txt").string();
    fs::create_directories(work("empty"));
    writeText(work("notes/readme.txt"), "no Java here\n");
    writeText(work("broken/A.java"), "package a;\nclass A { void f() {\n");
    writeText(work("broken/B.java"), "this is no Java at all ))) {{\n");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{work("missing").string(), "-o", diagram}, "Source folder not found"},
        {{work("empty").string(), "-o", diagram}, "No Java files"},
        {{work("notes").string(), "-o", diagram}, "No Java files"},
        {{shopTree("v1"), "-o", diagram, "--ctags", work("no-such-ctags").string()},
         "ctags not found"},
        {{shopTree("v1"), "-o", diagram, "--ctags", "true"}, "is not Universal Ctags"},
        {{work("broken").string(), "-o", diagram}, "No class could be extracted"},
    };
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(extract(c.args, out, err), kExitInputUnreadable) << c.args[0];
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
        EXPECT_EQ(lineCount(err), 1u) << err;
        EXPECT_FALSE(fs::exists(diagram)) << "nothing is written for " << c.args[0];
    }
}

TEST_F(ExtractTest, FilesThatDoNotParseAreNamedSkippedAndCounted) {
    fs::copy(shopTree("v1"), work("tree"), fs::copy_options::recursive);
    writeText(work("tree/com/shop/Unclosed.java"),
              "package com.shop;\npublic class Unclosed {\n  int x;\n");
    writeText(work("tree/com/shop/Junk.java"), "%%% not java %%%\n");
    // A dangling link cannot be read, even by root.
    fs::create_symlink(work("nowhere.java"), work("tree/com/shop/Gone.java"));
    // Declarations the parser misreads: a record taken for a method, a sealed interface
    // named after the class it permits.
    writeText(work("tree/com/shop/Point.java"),
              "package com.shop;\npublic record Point(int x, int y) {}\n");
    writeText(work("tree/com/shop/Shape.java"),
              "package com.shop;\npublic sealed interface Shape permits Circle {}\nfinal "
              "class Circle implements Shape {}\n");
    // A module declaration is no part of the diagram and no failure either.
    writeText(work("tree/module-info.java"), "module com.shop {\n}\n");
    std::ostringstream console;
    ExtractionSummary s =
        extractTree(work("tree").string(), "ctags", work("d.txt").string(), "", console);
    ASSERT_EQ(s.exitCode, kExitDone) << s.problem;
    EXPECT_EQ(s.javaFiles, 11);
    EXPECT_EQ(s.skippedFiles, 5);
    const std::string printed = console.str();
    EXPECT_NE(printed.find("Gone.java: cannot be read"), std::string::npos) << printed;
    EXPECT_NE(printed.find("Junk.java: no package or type declaration found"), std::string::npos)
        << printed;
    EXPECT_NE(
        printed.find(
            "Unclosed.java: syntax error: the class Unclosed declared at line 2 is never closed"),
        std::string::npos)
        << printed;
    EXPECT_NE(printed.find("Point.java: the record declared at line 2 is beyond this parser"),
              std::string::npos);
    EXPECT_NE(printed.find("Shape.java: the parser misread the type declared at line 2"),
              std::string::npos);
    // The other files give exactly the fixture's diagram.
    EXPECT_EQ(readText(work("d.txt").string()), readText(shopTree("v1.expected.txt")));
}

TEST_F(ExtractTest, UnwritableOutputEndsWithCodeThree) {
    writeText(work("file"), "x");
    std::string out, err;
    EXPECT_EQ(extract({shopTree("v1"), "-o", work("file/d.txt").string()}, out, err),
              kExitOutputNotWritten);
    EXPECT_NE(err.find("Cannot write the diagram"), std::string::npos) << err;
}

TEST(ExtractCommandLine, BadArgumentsEndWithCodeOneAndTheUsage) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"src"},
        {"src", "-o"},
        {"src", "-o", "d.txt", "--bogus"},
        {"src", "other", "-o", "d.txt"},
        {"--git", "repo", "-o", "d.txt"},
        {"src", "--git", "repo", "--rev", "HEAD", "-o", "d.txt"},
    };
    for (const auto& args : bad) {
        std::ostringstream out, err;
        EXPECT_EQ(extractMain(args, out, err), kExitUsage);
        EXPECT_NE(err.str().find("Usage: graphmat-extract"), std::string::npos);
    }
    ExtractSettings s;
    std::ostringstream err;
    ASSERT_EQ(
        parseExtractArguments({"--git", "r", "--rev", "v2", "-o", "d.txt", "-k", "k.txt"}, s, err),
        ExtractParse::Ok);
    EXPECT_EQ(s.gitRepo + "|" + s.gitRev + "|" + s.diagram + "|" + s.classes + "|" + s.ctags,
              "r|v2|d.txt|k.txt|ctags");
}

TEST(CompareCommandLine, BadArgumentsEndWithCodeOne) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"old"}, {"a", "b", "c"}, {"a", "b", "-o"}, {"a", "b", "--fast"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(compareMain(args, out, err), kExitUsage);
        EXPECT_NE(err.str().find("Usage: graphmat-compare"), std::string::npos);
    }
    CompareSettings s;
    std::ostringstream err;
    ASSERT_EQ(parseCompareArguments({"--git", "repo", "v1", "v2", "--html", "-o", "out"}, s, err),
              CompareParse::Ok);
    EXPECT_EQ(s.gitRepo + "|" + s.oldSide + "|" + s.newSide + "|" + s.outDir, "repo|v1|v2|out");
    EXPECT_TRUE(s.html);
}

} // namespace
