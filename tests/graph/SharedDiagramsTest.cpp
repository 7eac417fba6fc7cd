// Integration check on the real class diagrams of the shared data folder: every version
// reads in mode 12 (and its class-only variant in mode 4) without order, missing-node or
// isolated-member reports, and with the node count of its header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/graph/ReaderTestSupport.h"

namespace {

std::vector<std::filesystem::path> diagramFiles(bool classOnly) {
    std::vector<std::filesystem::path> files;
    std::filesystem::path root(GRAPHMAT_SHARED_DATA);
    if (!std::filesystem::is_directory(root)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string file = entry.path().filename().string();
        if (!entry.is_regular_file() || file.size() < 4 || file.substr(file.size() - 4) != ".txt")
            continue;
        bool isClassOnly = file.size() > 6 && file.substr(file.size() - 6) == ".k.txt";
        if (isClassOnly == classOnly) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

int headerNodes(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return std::atoi(line.c_str());
}

void checkDiagrams(int mode, bool classOnly) {
    std::vector<std::filesystem::path> files = diagramFiles(classOnly);
    if (files.empty()) GTEST_SKIP() << "no shared class diagrams in " << GRAPHMAT_SHARED_DATA;
    for (const auto& file : files) {
        ReadGraph r = readGraph(mode, file.string());
        SCOPED_TRACE(file.string());
        EXPECT_EQ(r.g->vertices, headerNodes(file));
        EXPECT_GT(r.g->edges, 0);
        EXPECT_EQ(r.out.find("Order Problem"), std::string::npos);
        EXPECT_EQ(r.out.find("Node does not exist"), std::string::npos);
        EXPECT_EQ(r.out.find("Isolated"), std::string::npos);
        EXPECT_EQ(r.out.find("Bad input"), std::string::npos);
        EXPECT_NE(r.g->u, nullptr);
    }
}

} // namespace

using SharedDiagrams = ScratchTest;

TEST_F(SharedDiagrams, FullDiagramsReadInModeTwelve) {
    checkDiagrams(12, false);
}

TEST_F(SharedDiagrams, ClassDiagramsReadInModeFour) {
    checkDiagrams(4, true);
}
