// The jsoup sources of ../shared/data against the diagrams another extractor made of them:
// class names, member labels and class relations agree, the diagrams read cleanly, and a
// comparison of the two releases finds the six renames of the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <set>

#include "ExtractTestSupport.h"
#include "extract/CompareRun.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "util/Console.h"

namespace fs = std::filesystem;

namespace {

const std::string kShared = GRAPHMAT_SHARED_DATA;

/// Class names and member labels ("Owner.name(T1,T2)" for methods) of a mode-12 file,
/// read independently of the extractor's own structures.
struct DiagramNames {
    std::multiset<std::string> classes;
    std::multiset<std::string> members;
};

DiagramNames namesOf(const std::string& path) {
    DiagramNames names;
    std::ifstream in(path);
    std::string line, owner;
    while (std::getline(in, line)) {
        if (line.size() < 2 || line[1] != ',' ||
            (line[0] != 'c' && line[0] != 'm' && line[0] != 'a'))
            continue;
        std::string text = line.substr(line.find(',', 2) + 1);
        if (line[0] == 'c') {
            std::replace(text.begin(), text.end(), '$', '.');
            owner = text;
            names.classes.insert(text);
            continue;
        }
        size_t nameEnd = line[0] == 'm' ? text.rfind('@') : text.size();
        size_t nameStart = text.rfind('@', nameEnd - 1) + 1;
        std::string label = owner + "." + text.substr(nameStart, nameEnd - nameStart);
        if (line[0] == 'm') label += text.substr(nameEnd + 1);
        names.members.insert(label);
    }
    return names;
}

double shareOf(const std::multiset<std::string>& mine,
               const std::multiset<std::string>& reference) {
    std::vector<std::string> common;
    std::set_intersection(mine.begin(), mine.end(), reference.begin(), reference.end(),
                          std::back_inserter(common));
    return reference.empty() ? 0 : static_cast<double>(common.size()) / reference.size();
}

class SharedSources : public ExtractTest {
protected:
    void SetUp() override {
        ExtractTest::SetUp();
        if (IsSkipped()) return;
        if (!fs::exists(kShared + "/sources/jsoup-1.12.1-src.tar.gz"))
            GTEST_SKIP() << "no ../shared/data";
    }
    /// Unpacks one release's sources and extracts its diagram; returns the diagram's path.
    std::string extracted(const std::string& version) {
        const fs::path tree = work("src-" + version);
        fs::create_directories(tree);
        const std::string archive = kShared + "/sources/jsoup-" + version + "-src.tar.gz";
        EXPECT_EQ(runProcess({"tar", "-xzf", archive, "-C", tree.string()}).exitCode, 0);
        const std::string diagram = work("jsoup-" + version + ".txt").string();
        std::ostringstream console;
        ExtractionSummary s = extractTree(tree.string(), "ctags", diagram, "", console);
        EXPECT_EQ(s.exitCode, kExitDone) << s.problem;
        EXPECT_EQ(s.skippedFiles, 0) << console.str();
        return diagram;
    }
};

TEST_F(SharedSources, ReleasesAgreeWithTheReferenceDiagrams) {
    for (const std::string version : {"1.12.1", "1.15.3"}) {
        const std::string diagram = extracted(version);
        DiagramNames mine = namesOf(diagram);
        DiagramNames reference = namesOf(kShared + "/jsoup/jsoup-" + version + ".txt");
        EXPECT_GE(shareOf(mine.classes, reference.classes), 0.99) << version;
        EXPECT_GE(shareOf(mine.members, reference.members), 0.97) << version;

        ConsoleCapture capture;
        auto g = std::make_unique<Graph>(kClassDiagramMode, diagram);
        std::string printed = capture.text();
        for (const char* report : {"Problem", "Isolated", "PARENTS", "Bad input"})
            EXPECT_EQ(printed.find(report), std::string::npos) << report << " reading " << version;
    }
}

TEST_F(SharedSources, CompareFindsTheSixRenamesOfTheReference) {
    const std::string referenceText = readText(kShared + "/jsoup/ref_1.12.1__1.15.3.csv");
    std::istringstream reference(referenceText);
    std::vector<std::pair<std::string, std::string>> renames;
    std::string line;
    while (std::getline(reference, line)) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');)
            f.push_back(field);
        if (f.size() == 5 && f[4] == "renamed") renames.push_back({f[2], f[3]});
    }
    ASSERT_EQ(renames.size(), 6u);

    CompareSettings s;
    s.oldSide = extracted("1.12.1");
    s.newSide = extracted("1.15.3");
    s.outDir = work("cmp").string();
    CompareSummary summary;
    std::ostringstream out, err;
    ASSERT_EQ(runCompare(s, summary, out, err), kExitDone) << err.str();
    for (const auto& r : renames)
        EXPECT_NE(std::find(summary.renamedClasses.begin(), summary.renamedClasses.end(), r),
                  summary.renamedClasses.end())
            << r.first << " -> " << r.second;
    // Every class the summary calls removed or added is absent from the reference's
    // correspondences (149 of the 150 old classes have a partner there).
    for (const std::string& removed : summary.removedClasses)
        EXPECT_EQ(referenceText.find("," + removed + ","), std::string::npos) << removed;
    EXPECT_EQ(summary.oldClasses - summary.removedClasses.size(), 149u);
}

} // namespace
