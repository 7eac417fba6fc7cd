// Entries of the fuzz targets: the input is written to a file in a scratch folder and read
// back by the readers of one family, with their console output discarded.
#include "tests/fuzz/FuzzEntries.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "graph/ClassAttribute.h"
#include "graph/ClassMethod.h"
#include "graph/Graph.h"
#include "graph/Kinds.h"
#include "util/Console.h"
#include "util/Utilities.h"

namespace {

/// Reader modes of each graph family; the input's first byte picks one.
const std::vector<int> kTextModes = {0, 3, 5, 6, 7, 10, 11};
const std::vector<int> kBinaryModes = {1, 2};
const std::vector<int> kDiagramModes = {4, 8, 9, 12};

const char* const kInputFile = "fuzz_input.txt";
const char* const kConfigFile = "config.txt";

std::filesystem::path& scratchFolder() {
    static std::filesystem::path folder;
    return folder;
}

void removeScratchFolder() {
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(scratchFolder(), ignored);
}

/// Enters the scratch folder, made on first use and removed at exit; the readers' relative
/// paths land there.
void enterScratchFolder() {
    if (!scratchFolder().empty()) {
        std::filesystem::current_path(scratchFolder());
        return;
    }
    scratchFolder() =
        std::filesystem::temp_directory_path() / ("graphmat_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratchFolder());
    std::filesystem::current_path(scratchFolder());
    std::atexit(removeScratchFolder);
}

void writeFile(const char* path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

/// Reads the rest of the input as a graph in the mode its first byte picks.
void readGraphInput(const std::vector<int>& modes, const uint8_t* data, size_t size) {
    if (size == 0) return;
    const int mode = modes[data[0] % modes.size()];
    std::remove(kConfigFile);
    if (mode == 7) {
        Graph g(kGraphTextMode, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
        return;
    }
    writeFile(kInputFile, data + 1, size - 1);
    Graph g(mode, kInputFile);
}

/// The input as "config.txt", read with a small arc list.
void readConfigInput(const uint8_t* data, size_t size) {
    writeFile(kConfigFile, data, size);
    Graph g(kGraphTextMode, "3,2\ne,0,1,1\ne,1,2,2\n");
}

/// The input as a method signature and as an attribute text, each written back when valid.
void readMemberInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ClassMethod method(text, false);
    if (method.valid) method.write();
    ClassAttribute attribute(text, false);
    if (attribute.valid) attribute.write();
}

void readMatchInput(const uint8_t* data, size_t size) {
    writeFile(kInputFile, data, size);
    delete readMatchFile(kInputFile);
}

} // namespace

const std::vector<FuzzFamily>& fuzzFamilies() {
    static const std::vector<FuzzFamily> all = {FuzzFamily::TextGraph,    FuzzFamily::BinaryGraph,
                                                FuzzFamily::ClassDiagram, FuzzFamily::Config,
                                                FuzzFamily::MemberText,   FuzzFamily::MatchFile};
    return all;
}

std::string fuzzFamilyName(FuzzFamily family) {
    switch (family) {
    case FuzzFamily::TextGraph:
        return "text-graph";
    case FuzzFamily::BinaryGraph:
        return "binary-graph";
    case FuzzFamily::ClassDiagram:
        return "class-diagram";
    case FuzzFamily::Config:
        return "config";
    case FuzzFamily::MemberText:
        return "member-text";
    case FuzzFamily::MatchFile:
        return "match-file";
    }
    return "";
}

void fuzzOneInput(FuzzFamily family, const uint8_t* data, size_t size) {
    // The caller's folder comes back afterwards: libFuzzer reads its corpus by relative paths.
    const std::filesystem::path callerFolder = std::filesystem::current_path();
    enterScratchFolder();
    ConsoleCapture quiet;
    switch (family) {
    case FuzzFamily::TextGraph:
        readGraphInput(kTextModes, data, size);
        break;
    case FuzzFamily::BinaryGraph:
        readGraphInput(kBinaryModes, data, size);
        break;
    case FuzzFamily::ClassDiagram:
        readGraphInput(kDiagramModes, data, size);
        break;
    case FuzzFamily::Config:
        readConfigInput(data, size);
        break;
    case FuzzFamily::MemberText:
        readMemberInput(data, size);
        break;
    case FuzzFamily::MatchFile:
        readMatchInput(data, size);
        break;
    }
    std::filesystem::current_path(callerFolder);
}
