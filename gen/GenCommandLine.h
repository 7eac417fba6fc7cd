// Command line of the benchmark generators: one settings struct per subcommand (random,
// mutate, noise), parsed through a table of named switches that also drives the usage text.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

/// Settings of `random`: one generated pair.
struct RandomSettings {
    /// Generating form: "full", "edges" (edge labels only), "legacy" (labelled) or "plain".
    std::string form = "full";
    int n = 0;          ///< number of common nodes
    double e = 0;       ///< expected arcs per node (full and edges forms)
    double p = 0;       ///< arc probability (legacy and plain forms)
    double q = 0;       ///< probability that both graphs agree on a node or an arc
    int nl = 1;         ///< number of node labels (full form)
    double nld = 1;     ///< decay ratio of the node labels (full form)
    int el = 1;         ///< number of arc labels
    double eld = 1;     ///< decay ratio of the arc labels
    double pd = 0;      ///< percentage of extra nodes in graph 1
    double pi = 0;      ///< percentage of extra nodes in graph 2
    std::string out;    ///< file name prefix of the pair
    int seed = 1;       ///< seed of the generator
    int undirected = 0; ///< 1: every arc is drawn for both directions
};

/// Settings of `mutate`: one mutated copy of a graph file.
struct MutateSettings {
    std::string graph;    ///< input graph file
    int mode = 0;         ///< reader mode of the input graph
    double delNodes = 0;  ///< probability of deleting each node
    double addNodes = 0;  ///< probability of adding a node, per input node
    double edgeNoise = 0; ///< probability of disturbing each ordered pair
    int seed = 1;         ///< seed of the generator
    std::string out;      ///< prefix of the mutated graph and of the edit record
};

/// Settings of `noise`: one original graph and its noisy copy under "./benchmark/".
struct NoiseSettings {
    int id = 0;      ///< number of the pair, used in the file names
    int nodes = 0;   ///< number of nodes
    int epsilon = 0; ///< noise amplitude: labels fall by at most 2 * epsilon
    int seed = 1;    ///< seed of the generator
};

/// How parsing ended.
enum class GenParse {
    Ok,
    Help,  ///< usage was asked for
    Error, ///< missing, unknown or invalid switch or value; a message has been written
};

/// Memory a generator request may need; larger requests are refused before allocating.
constexpr double kGeneratorMemoryLimit = 2048.0 * 1024 * 1024;

/// False, after one line on err, when mutating a graph of `vertices` nodes (growing by the
/// share `addNodes`) needs more than kGeneratorMemoryLimit.
bool mutationFits(int vertices, double addNodes, std::ostream& err);

/// Parsers of the switches that follow the subcommand name. Messages and usage go to err.
GenParse parseRandom(const std::vector<std::string>& args, RandomSettings& s, std::ostream& err);
GenParse parseMutate(const std::vector<std::string>& args, MutateSettings& s, std::ostream& err);
GenParse parseNoise(const std::vector<std::string>& args, NoiseSettings& s, std::ostream& err);

/// Usage texts of the subcommands and of the program.
void usageRandom(std::ostream& err);
void usageMutate(std::ostream& err);
void usageNoise(std::ostream& err);
void usageGen(std::ostream& err);

/// Runs a parsed subcommand; returns the process exit code (0 when every file was written).
int runRandom(const RandomSettings& s, std::ostream& out);
int runMutate(const MutateSettings& s, std::ostream& out);
int runNoise(const NoiseSettings& s, std::ostream& out);

/// The whole command line: subcommand, parse, run. Returns the process exit code.
int genMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
