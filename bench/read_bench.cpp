// Times reading and ranking class diagrams: every file named on the command line, or every
// diagram of ../shared/data when none is named ("*.k.txt" in mode 4, other "*.txt" in mode 12;
// "--mode M" first reads every named file in mode M). A file that gives no node is reported
// on standard error instead of a row, and the program then ends with code 2.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "util/Clock.h"
#include "util/Console.h"
#include "util/ExitCodes.h"
#include "util/NumberText.h"

namespace {

const char* const kDefaultData = "../shared/data";

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int modeFor(const std::string& path) {
    return endsWith(path, ".k.txt") ? 4 : 12;
}

std::vector<std::string> defaultFiles() {
    std::vector<std::string> files;
    if (!std::filesystem::is_directory(kDefaultData)) return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kDefaultData)) {
        std::string file = entry.path().filename().string();
        if (entry.is_regular_file() && endsWith(file, ".txt"))
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files(argv + 1, argv + argc);
    int forcedMode = -1;
    if (!files.empty() && files[0] == "--mode") {
        if (files.size() < 2 || !parseWholeInt(files[1], forcedMode) || forcedMode < 0 ||
            forcedMode > 12) {
            std::cerr << "usage: graphmat-bench-read [--mode 0..12] [graph files]\n";
            return kExitUsage;
        }
        files.erase(files.begin(), files.begin() + 2);
    }
    if (files.empty()) files = defaultFiles();
    if (files.empty()) {
        std::cerr << "No graph files given and none found in " << kDefaultData << "\n";
        return kExitInputUnreadable;
    }
    std::cout << "file,mode,nodes,edge objects,reader lines,read and rank ms\n";
    int unread = 0;
    for (const std::string& path : files) {
        int mode = forcedMode >= 0 ? forcedMode : modeFor(path);
        // The graph's own progress text is counted, not shown.
        auto sink = std::make_unique<ConsoleCapture>();
        long start = cpuMillis();
        Graph g(mode, path);
        long elapsed = cpuMillis() - start;
        const std::string printed = sink->text();
        sink.reset();
        long lines = std::count(printed.begin(), printed.end(), '\n');
        if (g.vertices == 0) {
            // A row of zeros would pass a missing or foreign file for an empty diagram.
            std::cerr << path << ": no node read (missing, empty or not a graph of mode " << mode
                      << ")\n";
            unread++;
            continue;
        }
        std::cout << path << "," << mode << "," << g.vertices << "," << g.edges << "," << lines
                  << "," << elapsed << "\n";
    }
    return unread > 0 ? kExitInputUnreadable : 0;
}
