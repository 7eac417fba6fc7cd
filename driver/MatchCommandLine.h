// Command line of the matcher: the run settings, the switch table that parses and
// echoes them, and the usage text.
#pragma once

#include "graph/Kinds.h"

#include <iosfwd>
#include <string>
#include <vector>

/// Settings of one matching run, one member per switch.
struct MatchSettings {
    std::string graph1;     ///< -o: path of graph 1
    std::string graph2;     ///< -n: path of graph 2
    std::string sim_graphs; ///< -m: similarity file; non-empty selects the assignment matching
    int seed = 1;           ///< -s: random seed, also handed to the matcher
    double dwn = 0;         ///< -d: node drop weight
    double dwe = 0;         ///< -g: edge drop weight
    double ew = 0;          ///< -e: edge weight
    double asy = 0;         ///< -y: asymmetry
    double lw = 0;          ///< -c: label weight
    int graph_type = kClassDiagramMode; ///< -h: reader mode of both graphs
    double initMode = 1.0;              ///< -i: start of the tabu search
    int alg = 7;                        ///< -l: algorithm of the seeding MCES matcher
    int discrim = 80;                   ///< -r: similarity code of the seeding MCES matcher
    int umldiff = 0;                    ///< -u: 1 selects diff mode
    int effort = 1; ///< -k: independent searches, seeds seed .. seed + effort - 1
    int direct = 1; ///< fixed: sense of the assignment matching
};

/// How parsing ended.
enum class ParseStatus {
    Ok,
    TooFewArguments,  ///< fewer than three arguments after the program name
    MissingValue,     ///< a switch was the last argument
    MissingGraphs,    ///< -o or -n was not given
    BadValue,         ///< a value is no number, out of range, or not an allowed weight or mode
    IgnoredArguments, ///< arguments remained after parsing stopped
};

struct ParseResult {
    MatchSettings settings;
    ParseStatus status = ParseStatus::Ok;
};

/// Parses the arguments after the program name. Writes the start banner and the echo of
/// every switch to `out`, the usage text and the argument-count message to `err`.
ParseResult parseMatchArguments(const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err);

/// Writes the usage text: five fixed lines (scripts look for them), then every switch with
/// its meaning and default, from the table that drives parsing.
void usage(std::ostream& err);

/// True when the first argument is --version, which is answered before any switch is
/// parsed (its second character matches no switch, so it never clashes with one).
bool isVersionRequest(const std::vector<std::string>& args);

/// Reader modes `-h` accepts: 0 to 12.
constexpr int kLowestReaderMode = kNodeListMode;
constexpr int kHighestReaderMode = kClassDiagramMode;
