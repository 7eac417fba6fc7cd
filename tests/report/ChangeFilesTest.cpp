// The change files end to end: a driver run writes them (golden CSV, same seed same bytes),
// they read back to the same report, and wrong files are refused with one clear line.
#include "report/ChangeFiles.h"
#include "report/ReportCommandLine.h"
#include "report/ReportPage.h"

#include "driver/MatchRun.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/support/Files.h"

namespace fs = std::filesystem;

namespace {

const std::string kExampleTag = "v1__v2__1__1__1__1__0.5__1";

MatchSettings exampleRun() {
    MatchSettings s;
    s.graph1 = examplePath("v1.txt");
    s.graph2 = examplePath("v2.txt");
    s.dwn = s.dwe = s.ew = s.asy = 1;
    s.lw = 0.5;
    return s;
}

int quietRun(const MatchSettings& s) {
    std::ostringstream quiet;
    return runMatch(s, quiet);
}

/// A report whose names hold markup, quotes, a comma and non-ASCII text.
ChangeReport awkwardReport() {
    ChangeReport r;
    r.run.graph1 = "old";
    r.run.graph2 = "new";
    ClassEntry e;
    e.kind = ClassChange::Renamed;
    e.before = {"p.A</script><img src=x onerror=alert(1)>"};
    e.after = {"p.B&\"quoted\",caf\xc3\xa9"};
    e.memberCounts = {1, 0, 0, 0, 1, 0};
    e.members = {MemberEntry{MemberChange::Added, "", "<!--x() : void", ""}};
    r.classes.push_back(e);
    return r;
}

} // namespace

using ChangeFiles = ScratchTest;

TEST_F(ChangeFiles, ADriverRunWritesTheGoldenReportAndTheSameBytesForTheSameSeed) {
    ASSERT_EQ(quietRun(exampleRun()), 0);
    const fs::path json = "results/" + kExampleTag + ".changes.json";
    const fs::path csv = "results/" + kExampleTag + ".changes.csv";
    // The example plants a rename, a move, a split and an added class (examples/run_demo.sh).
    EXPECT_EQ(readText(csv), readText(testData("report_example.changes.csv")));
    const std::string first = readText(json);
    ASSERT_NE(first.find("\"format\": \"graphmat-changes/1\""), std::string::npos);

    fs::remove_all("results");
    ASSERT_EQ(quietRun(exampleRun()), 0);
    EXPECT_EQ(readText(json), first);

    // Reading the file back and writing it again gives the same bytes.
    ChangeReport back;
    std::string error;
    ASSERT_TRUE(readChangeFile(json.string(), back, error)) << error;
    EXPECT_EQ(changesJson(back), first);
}

TEST_F(ChangeFiles, ARunWhoseChangeFilesCannotBeWrittenSaysSoAndEndsWithCode3) {
    writeText("results", "a file where the results folder should be");
    std::ostringstream out;
    const int rc = runMatch(exampleRun(), out);
    const std::string printed = out.str();
    EXPECT_EQ(rc, 3);
    EXPECT_NE(printed.find("\n Cannot write the change file ./results/" + kExampleTag +
                           ".changes.json\n"),
              std::string::npos);
}

TEST_F(ChangeFiles, AwkwardNamesSurviveTheRoundTripAndAreQuotedInTheCsv) {
    const ChangeReport r = awkwardReport();
    writeText("awkward.json", changesJson(r));
    ChangeReport back;
    std::string error;
    ASSERT_TRUE(readChangeFile("awkward.json", back, error)) << error;
    EXPECT_EQ(changesJson(back), changesJson(r));
    EXPECT_EQ(back.classes.at(0).after.at(0), r.classes[0].after[0]);
    EXPECT_NE(changesCsv(r).find(",\"p.B&\"\"quoted\"\",caf\xc3\xa9\","), std::string::npos);
}

TEST_F(ChangeFiles, WrongFilesAreRefusedWithOneLineSayingWhy) {
    writeText("broken.json", "{\n \"format\": \"graphmat-changes/1\",\n \"run\": [1,,]\n}\n");
    writeText("future.json", "{\"format\": \"graphmat-changes/2\"}");
    writeText("other.json", "[1, 2, 3]");
    std::string wrongType = changesJson(awkwardReport());
    wrongType.replace(wrongType.find("\"seed\": 1"), 9, "\"seed\": \"one\"");
    writeText("wrongtype.json", wrongType);
    std::string unknownKind = changesJson(awkwardReport());
    unknownKind.replace(unknownKind.find("\"kind\": \"renamed\""), 17, "\"kind\": \"teleported\"");
    writeText("unknown.json", unknownKind);
    std::string hugeCount = changesJson(awkwardReport());
    hugeCount.replace(hugeCount.find("\"same\": 1"), 9, "\"same\": 1e300");
    writeText("huge.json", hugeCount);
    writeText("overflow.json", "{\"format\": \"graphmat-changes/1\", \"x\": 1e999}");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"missing.json", "missing.json: cannot open the change file"},
        {"broken.json", "broken.json: not a JSON file (line 3, column 12)"},
        {"future.json", "future.json: change file format \"graphmat-changes/2\", expected "
                        "\"graphmat-changes/1\""},
        {"other.json", "other.json: not a change file (no \"format\" field)"},
        {"wrongtype.json", "wrongtype.json: expected run \"seed\" to be a number"},
        {"unknown.json", "unknown.json: unknown class change \"teleported\""},
        {"huge.json", "huge.json: expected class entry 1 members \"same\" to be a whole number"},
        {"overflow.json",
         "overflow.json: not a JSON file this reader can hold (a number out of range)"},
    };
    for (const auto& c : cases) {
        ChangeReport r;
        std::string error;
        EXPECT_FALSE(readChangeFile(c.first, r, error)) << c.first;
        EXPECT_EQ(error, c.second);

        // The command line says the same in one line, exits with 1 and writes no page.
        ReportSettings s;
        s.inputs = {"awkward_ok.json", c.first};
        writeText("awkward_ok.json", changesJson(awkwardReport()));
        std::ostringstream out, err;
        EXPECT_EQ(runReport(s, out, err), 1);
        EXPECT_EQ(err.str(), "graphmat-report: " + c.second + "\n");
        EXPECT_FALSE(fs::exists(kDefaultPage));
    }
}

TEST_F(ChangeFiles, ThePageEmbedsTheDataSoNoNameCanBreakOutOfItsScript) {
    const std::string page = reportPage({awkwardReport()});
    // The template's own two script elements are the only ones that close.
    size_t closes = 0;
    for (size_t at = page.find("</script>"); at != std::string::npos;
         at = page.find("</script>", at + 1))
        closes++;
    EXPECT_EQ(closes, 2u);
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(page.find("<!--x"), std::string::npos);
    EXPECT_NE(page.find("p.A\\u003c/script\\u003e\\u003cimg"), std::string::npos);
    EXPECT_NE(page.find("p.B\\u0026\\\"quoted\\\",caf\\u00e9"), std::string::npos);
    for (unsigned char c : page)
        ASSERT_LT(c, 0x80) << "the page is plain ASCII";
    // No network: nothing in the page names another location.
    EXPECT_EQ(page.find("http"), std::string::npos);
    EXPECT_EQ(page.find("<script src"), std::string::npos);
    EXPECT_EQ(page.find("<link"), std::string::npos);
}

TEST_F(ChangeFiles, TheCommandLineWritesThePageWhereToldAndSummarisesOnRequest) {
    writeText("a.json", changesJson(awkwardReport()));
    ReportSettings s;
    std::ostringstream err;
    EXPECT_EQ(
        parseReportArguments({"a.json", "a.json", "-o", "out/deep/page.html", "--text"}, s, err),
        ReportParse::Ok);
    ASSERT_EQ(s.inputs.size(), 2u);
    std::ostringstream out;
    ASSERT_EQ(runReport(s, out, err), 0);
    EXPECT_TRUE(fs::exists("out/deep/page.html"));
    EXPECT_NE(
        out.str().find("  renamed: p.A</script><img src=x onerror=alert(1)> -> p.B&\"quoted\","
                       "caf\xc3\xa9  (1 same, 1 added)\n"),
        std::string::npos);

    ReportSettings bad;
    EXPECT_EQ(parseReportArguments({"a.json", "-x"}, bad, err), ReportParse::Bad);
    EXPECT_EQ(parseReportArguments({"a.json", "-o"}, bad, err), ReportParse::Bad);
    ReportSettings none;
    EXPECT_EQ(parseReportArguments({"--text"}, none, err), ReportParse::Bad);
}
