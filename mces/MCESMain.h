// Command line of the greedy edge-subgraph matcher: switches, usage text, and one run that
// appends its summary line to "results.csv".
#pragma once

#include <string>
#include <vector>

/// Values of the matcher's switches, with their defaults.
struct MCESSettings {
    std::string graph1; ///< -o: path of the first graph (arc-list format)
    std::string graph2; ///< -n: path of the second graph
    int algo = 1;       ///< -t: scoring algorithm
    float r_alpha = 0;  ///< -a: width of the candidate list
    int sisim = 0;      ///< -m: similarity code
    int _seed = 1;      ///< -s: seed of the random generator
};

/// Fills `settings` from the arguments (program name first). False when the usage text is
/// due: too few arguments, an unknown switch, or a switch without a value.
bool parseMCESArguments(const std::vector<std::string>& args, MCESSettings& settings);

/// The usage text: an empty line, "Legal switches:" and one line per switch.
std::string mcesUsageText();

/// The line echoing the settings before a run.
std::string mcesEcho(const MCESSettings& settings);

/// Reads both graphs, runs one greedy match and appends its summary line to `resultsPath`;
/// returns that line, or the empty text when a graph had no node (nothing is run).
std::string runMCES(const MCESSettings& settings, const std::string& resultsPath = "results.csv");

/// Prints the usage text on standard error and ends the program with status 1.
[[noreturn]] void use_MCES();

/// Entry of the command line: parse, then run (or print the usage and end with status 1).
/// Ends with status 2 when a graph reads as empty and 3 when "results.csv" was not written.
void mcesMain(int argc, char** argv);
