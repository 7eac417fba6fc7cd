// Command line of the greedy edge-subgraph matcher: one switch table drives parsing, usage
// and echo; a run reads two arc-list graphs and appends one summary line.
#include "mces/MCESMain.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "graph/Graph.h"
#include "mces/MCES.h"
#include "util/Clock.h"
#include "util/Console.h"
#include "util/ExitCodes.h"
#include "util/OutputRecord.h"
#include "util/Random.h"
#include "util/Version.h"

namespace {

/// Graph reader mode of the arc-list format this command line reads.
constexpr int kArcListMode = 6;
/// Fewer arguments than this (program name included) cannot name two graphs.
constexpr std::size_t kMinArguments = 5;
struct MCESSwitch {
    char letter;
    const char* usage;
    void (*apply)(MCESSettings&, const std::string&);
    std::string (*show)(const MCESSettings&);
};

template <typename T> std::string text(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

const MCESSwitch kSwitches[] = {
    {'o', "-o path of graph 1", [](MCESSettings& s, const std::string& v) { s.graph1 = v; },
     [](const MCESSettings& s) { return s.graph1; }},
    {'n', "-n path of graph 2", [](MCESSettings& s, const std::string& v) { s.graph2 = v; },
     [](const MCESSettings& s) { return s.graph2; }},
    {'t', "-t type of algorithm",
     [](MCESSettings& s, const std::string& v) { s.algo = std::atoi(v.c_str()); },
     [](const MCESSettings& s) { return text(s.algo); }},
    {'a', "-a randomisation alpha",
     [](MCESSettings& s, const std::string& v) {
         s.r_alpha = static_cast<float>(std::atof(v.c_str()));
     },
     [](const MCESSettings& s) { return text(s.r_alpha); }},
    {'m', "-m type of similarity",
     [](MCESSettings& s, const std::string& v) { s.sisim = std::atoi(v.c_str()); },
     [](const MCESSettings& s) { return text(s.sisim); }},
    {'s', "-s random seed",
     [](MCESSettings& s, const std::string& v) { s._seed = std::atoi(v.c_str()); },
     [](const MCESSettings& s) { return text(s._seed); }},
};

/// Order in which the echo line names the switches.
constexpr char kEchoOrder[] = {'o', 'n', 's', 't', 'a', 'm'};

const MCESSwitch* findSwitch(char letter) {
    for (const MCESSwitch& sw : kSwitches)
        if (sw.letter == letter) return &sw;
    return nullptr;
}

} // namespace

bool parseMCESArguments(const std::vector<std::string>& args, MCESSettings& settings) {
    if (args.size() < kMinArguments) return false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') continue;
        const MCESSwitch* sw = arg.size() > 1 ? findSwitch(arg[1]) : nullptr;
        // A switch as the last argument has no value: refused like an unknown one.
        if (sw == nullptr || i + 1 >= args.size()) return false;
        sw->apply(settings, args[i + 1]);
        ++i;
    }
    return true;
}

std::string mcesUsageText() {
    std::string usage = "\nLegal switches:\n";
    for (const MCESSwitch& sw : kSwitches)
        usage += std::string(sw.usage) + "\n";
    return usage;
}

std::string mcesEcho(const MCESSettings& settings) {
    std::string line;
    for (char letter : kEchoOrder) {
        const MCESSwitch* sw = findSwitch(letter);
        line += (line.empty() ? "-" : " -") + std::string(1, letter) + " " + sw->show(settings);
    }
    return line + "\n";
}

std::string runMCES(const MCESSettings& settings, const std::string& resultsPath) {
    seedRandom(static_cast<unsigned>(settings._seed));
    console() << mcesEcho(settings);
    const long start = cpuMillis();
    Graph G1(kArcListMode, settings.graph1);
    Graph G2(kArcListMode, settings.graph2);
    // A graph without a node cannot be matched: the run stops without a results line.
    for (const Graph* g : {&G1, &G2})
        if (g->vertices == 0) {
            console() << "\n Error: no node read from "
                      << (g == &G1 ? settings.graph1 : settings.graph2) << "; nothing is written\n";
            return std::string();
        }
    auto matcher = std::make_unique<MCES>(settings.algo, settings.sisim, &G1, &G2, settings.r_alpha,
                                          settings._seed, 0.0, true);
    const long length = cpuMillis() - start;

    std::ostringstream line;
    line << "0,MCES," << matcher->r_alpha << "," << matcher->seed << "," << matcher->won << ","
         << length / 1000.0 << "," << G1.name << "," << matcher->idAlgo << ","
         << matcher->similarity << "\n";
    std::ofstream results(resultsPath, std::ios::app);
    if (results)
        results << line.str();
    else {
        console() << "\n Cannot append to " << resultsPath << "\n";
        noteUnwrittenFile(resultsPath);
    }

    // The driver is the last reader of the results the matcher leaves behind.
    matcher->releaseResults();
    return line.str();
}

void use_MCES() {
    std::cerr << mcesUsageText();
    std::exit(1);
}

void mcesMain(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    if (args.size() >= 2 && args[1] == "--version") {
        console() << versionLine("graphmat-mces") << "\n";
        return;
    }
    MCESSettings settings;
    if (!parseMCESArguments(args, settings)) use_MCES();
    if (runMCES(settings).empty()) std::exit(kExitInputUnreadable);
    if (unwrittenFiles() > 0) std::exit(kExitOutputNotWritten);
}
