// graphmat-compare end to end on the fixture's two versions, given as folders, as diagram
// files and as two revisions of a git repository.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExtractTestSupport.h"
#include "extract/CompareRun.h"
#include "extract/ExtractCommandLine.h"

namespace fs = std::filesystem;

namespace {

using Renames = std::vector<std::pair<std::string, std::string>>;

/// The fixture's changes that keep a class under another name: one rename, one move.
const Renames kFixtureRenames = {
    {"com.shop.pay.PaymentGateway", "com.shop.pay.PaymentProcessor"},
    {"com.shop.util.PriceFormatter", "com.shop.service.PriceFormatter"}};

bool git(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"git", "-c", "user.name=graphmat", "-c",
                                     "user.email=graphmat@localhost"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProcess(argv).exitCode == 0;
}

TEST_F(ExtractTest, CompareFindsTheRenamedAndTheMovedClass) {
    CompareSettings s;
    s.oldSide = shopTree("v1");
    s.newSide = shopTree("v2");
    s.outDir = work("cmp").string();
    s.html = true;
    CompareSummary summary;
    std::ostringstream out, err;
    ASSERT_EQ(runCompare(s, summary, out, err), kExitDone) << err.str();
    EXPECT_EQ(summary.renamedClasses, kFixtureRenames);
    EXPECT_EQ(summary.addedClasses, std::vector<std::string>{"com.shop.service.Discount"});
    EXPECT_TRUE(summary.removedClasses.empty());
    EXPECT_EQ(summary.oldClasses, 9);
    EXPECT_EQ(summary.newClasses, 10);
    EXPECT_EQ(summary.runTag, "v1__v2__1__1__1__1__0.5__1");
    EXPECT_TRUE(fs::exists(work("cmp/results/v1__v2__1__1__1__1__0.5__1.csv")));
    // The extracted diagrams are kept beside the results.
    EXPECT_EQ(readText(work("cmp/v1.txt").string()), readText(shopTree("v1.expected.txt")));
    const std::string printed = out.str();
    for (const char* stage : {"[extract] ", "[read] ", "[match] ", "[report] "})
        EXPECT_NE(printed.find(stage), std::string::npos) << stage << " in:\n" << printed;
    // Without a change report or a renderer the page is plainly said to be missing.
    if (summary.page.empty()) {
        EXPECT_NE(printed.find("no page: "), std::string::npos) << printed;
    }

    // The same two versions given as diagram files give the same pairs.
    CompareSettings files = s;
    files.oldSide = shopTree("v1.expected.txt");
    files.newSide = shopTree("v2.expected.txt");
    files.outDir = work("cmp-files").string();
    files.html = false;
    CompareSummary fromFiles;
    ASSERT_EQ(runCompare(files, fromFiles, out, err), kExitDone) << err.str();
    EXPECT_EQ(fromFiles.renamedClasses, kFixtureRenames);
}

TEST_F(ExtractTest, GitRevisionsAreExtractedWithoutTouchingTheWorkingTree) {
    const fs::path repo = work("repo");
    fs::copy(shopTree("v1"), repo, fs::copy_options::recursive);
    ASSERT_TRUE(git({"init", "-q", repo.string()}));
    ASSERT_TRUE(git({"-C", repo.string(), "add", "-A"}));
    ASSERT_TRUE(git({"-C", repo.string(), "commit", "-q", "-m", "v1"}));
    fs::remove_all(repo / "com");
    fs::remove(repo / "Main.java");
    fs::copy(shopTree("v2"), repo, fs::copy_options::recursive);
    ASSERT_TRUE(git({"-C", repo.string(), "add", "-A"}));
    ASSERT_TRUE(git({"-C", repo.string(), "commit", "-q", "-m", "v2"}));
    writeText(repo / "Uncommitted.java", "class Uncommitted {}\n");

    std::ostringstream out, err;
    ASSERT_EQ(
        extractMain({"--git", repo.string(), "--rev", "HEAD~1", "-o", work("old.txt").string()},
                    out, err),
        kExitDone)
        << err.str();
    EXPECT_EQ(readText(work("old.txt").string()), readText(shopTree("v1.expected.txt")));
    EXPECT_TRUE(fs::exists(repo / "Uncommitted.java"));

    CompareSettings s;
    s.gitRepo = repo.string();
    s.oldSide = "HEAD~1";
    s.newSide = "HEAD";
    s.outDir = work("cmp").string();
    CompareSummary summary;
    ASSERT_EQ(runCompare(s, summary, out, err), kExitDone) << err.str();
    EXPECT_EQ(summary.renamedClasses, kFixtureRenames);

    s.newSide = "no-such-revision";
    std::ostringstream err2;
    EXPECT_EQ(runCompare(s, summary, out, err2), kExitInputUnreadable);
    EXPECT_NE(err2.str().find("git archive no-such-revision failed"), std::string::npos)
        << err2.str();
}

TEST_F(ExtractTest, CompareOfAMissingVersionEndsWithCodeTwo) {
    CompareSettings s;
    s.oldSide = shopTree("v1");
    s.newSide = work("missing").string();
    s.outDir = work("cmp").string();
    CompareSummary summary;
    std::ostringstream out, err;
    EXPECT_EQ(runCompare(s, summary, out, err), kExitInputUnreadable);
    EXPECT_NE(err.str().find("not found: "), std::string::npos) << err.str();
}

} // namespace
