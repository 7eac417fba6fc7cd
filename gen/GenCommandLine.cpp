// Command line of the benchmark generators: the switch tables of the three subcommands, the
// table-driven parser and the usage texts built from the same tables.
#include "gen/GenCommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <limits>
#include <ostream>
#include <sstream>

namespace {

/// Forms of `random` as bits, so a switch can name the forms it applies to.
constexpr unsigned kFull = 1;
constexpr unsigned kEdges = 2;
constexpr unsigned kLegacy = 4;
constexpr unsigned kPlain = 8;
constexpr unsigned kAllForms = kFull | kEdges | kLegacy | kPlain;
/// Subcommands without forms use this single bit.
constexpr unsigned kOnly = 1;

/// Largest arc label the graph readers accept as a relation code.
constexpr int kMaxArcLabels = 9;

/// Largest noise amplitude: labels lie in 0..100, so any amplitude from 50 on can lower
/// every label to 0; the bound keeps 2 * epsilon far inside the int range.
constexpr int kMaxEpsilon = 1000000;

/// Bytes per cell of the n x n tables, and per generated arc, used to price a request
/// before anything is allocated (measured on this build, rounded up).
constexpr double kRandomCellBytes = 4;    // one int per ordered pair, per graph
constexpr double kNoisePairBytes = 560;   // two text cells and about two arcs per pair
constexpr double kMutationPairBytes = 64; // two text cells per ordered pair
constexpr double kArcBytes = 250;         // one arc with its adjacency entries
constexpr double kMegabyte = 1024.0 * 1024.0;

/// Text of a byte count in megabytes.
std::string megabytes(double bytes) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(0) << std::ceil(bytes / kMegabyte) << " MB";
    return text.str();
}

/// False, after one line naming the need and the limit, when a request needs more memory
/// than kGeneratorMemoryLimit.
bool withinMemoryLimit(double bytes, const std::string& command, const std::string& what,
                       std::ostream& err) {
    if (bytes <= kGeneratorMemoryLimit) return true;
    err << "graphmat-gen " << command << ": this request needs about " << megabytes(bytes) << " ("
        << what << "); the limit is " << megabytes(kGeneratorMemoryLimit) << "\n";
    return false;
}

/// One named switch: where its value goes, which forms take it and which need it.
template <typename S> struct Switch {
    const char* name;
    const char* value;
    const char* meaning;
    unsigned applies;
    unsigned required;
    int S::*intField = nullptr;
    double S::*realField = nullptr;
    std::string S::*textField = nullptr;
};

template <typename S>
Switch<S> intSwitch(const char* name, const char* value, const char* meaning, int S::*field,
                    unsigned applies, unsigned required) {
    Switch<S> sw{name, value, meaning, applies, required};
    sw.intField = field;
    return sw;
}

template <typename S>
Switch<S> realSwitch(const char* name, const char* value, const char* meaning, double S::*field,
                     unsigned applies, unsigned required) {
    Switch<S> sw{name, value, meaning, applies, required};
    sw.realField = field;
    return sw;
}

template <typename S>
Switch<S> textSwitch(const char* name, const char* value, const char* meaning,
                     std::string S::*field, unsigned applies, unsigned required) {
    Switch<S> sw{name, value, meaning, applies, required};
    sw.textField = field;
    return sw;
}

const std::vector<Switch<RandomSettings>>& randomTable() {
    using R = RandomSettings;
    static const std::vector<Switch<R>> table = {
        textSwitch<R>("form", "F",
                      "generating form: full, edges (arc labels only), legacy "
                      "(labelled, no extra nodes) or plain (unlabelled)",
                      &R::form, kAllForms, 0),
        intSwitch<R>("n", "N", "number of common nodes", &R::n, kAllForms, kAllForms),
        realSwitch<R>("e", "E", "expected number of arcs per node (arc probability E/N)", &R::e,
                      kFull | kEdges, kFull | kEdges),
        realSwitch<R>("p", "P", "probability of an arc between two nodes", &R::p, kLegacy | kPlain,
                      kLegacy | kPlain),
        realSwitch<R>("q", "Q", "probability that both graphs agree on a node or an arc, 0..1",
                      &R::q, kAllForms, kAllForms),
        intSwitch<R>("nl", "K", "number of node labels", &R::nl, kFull, 0),
        realSwitch<R>("nld", "R", "decay ratio of the node labels (1 = uniform)", &R::nld, kFull,
                      0),
        intSwitch<R>("el", "K", "number of arc labels, 1..9", &R::el, kFull | kEdges | kLegacy, 0),
        realSwitch<R>("eld", "R", "decay ratio of the arc labels (1 = uniform)", &R::eld,
                      kFull | kEdges | kLegacy, 0),
        realSwitch<R>("pd", "PCT", "percentage of extra nodes in graph 1", &R::pd, kFull | kEdges,
                      0),
        realSwitch<R>("pi", "PCT", "percentage of extra nodes in graph 2", &R::pi, kFull | kEdges,
                      0),
        textSwitch<R>("out", "PREFIX", "file name prefix of the pair (folders are created)",
                      &R::out, kAllForms, kAllForms),
        intSwitch<R>("seed", "S", "seed of the generator", &R::seed, kAllForms, 0),
        intSwitch<R>("undirected", "0|1", "1: every arc is drawn for both directions",
                     &R::undirected, kFull | kEdges, 0),
    };
    return table;
}

const std::vector<Switch<MutateSettings>>& mutateTable() {
    using M = MutateSettings;
    static const std::vector<Switch<M>> table = {
        textSwitch<M>("graph", "FILE", "input graph file", &M::graph, kOnly, kOnly),
        intSwitch<M>("mode", "M", "reader mode of the input graph", &M::mode, kOnly, 0),
        realSwitch<M>("del", "P", "probability of deleting each node, 0..1", &M::delNodes, kOnly,
                      0),
        realSwitch<M>("add", "P", "probability of adding a node, per input node, 0..1",
                      &M::addNodes, kOnly, 0),
        realSwitch<M>("edge-noise", "P", "probability of disturbing each ordered pair, 0..1",
                      &M::edgeNoise, kOnly, 0),
        intSwitch<M>("seed", "S", "seed of the generator", &M::seed, kOnly, 0),
        textSwitch<M>("out", "PREFIX",
                      "writes PREFIX_mutated.txt (mode-0 graph) and "
                      "PREFIX_edits.csv (record of changes)",
                      &M::out, kOnly, kOnly),
    };
    return table;
}

const std::vector<Switch<NoiseSettings>>& noiseTable() {
    using N = NoiseSettings;
    static const std::vector<Switch<N>> table = {
        intSwitch<N>("id", "NUM", "number of the pair, used in the file names", &N::id, kOnly,
                     kOnly),
        intSwitch<N>("nodes", "N", "number of nodes", &N::nodes, kOnly, kOnly),
        intSwitch<N>("epsilon", "EPS", "noise amplitude: labels fall by at most 2*EPS", &N::epsilon,
                     kOnly, kOnly),
        intSwitch<N>("seed", "S", "seed of the generator", &N::seed, kOnly, 0),
    };
    return table;
}

/// Whole-text integer: no blanks, no trailing characters, within int.
bool parseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || end == text.c_str() ||
        parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(parsed);
    return true;
}

/// Whole-text finite real number.
bool parseReal(const std::string& text, double& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || end == text.c_str() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

template <typename S> std::string defaultText(const Switch<S>& sw) {
    static const S defaults{};
    std::ostringstream text;
    if (sw.intField != nullptr)
        text << defaults.*sw.intField;
    else if (sw.realField != nullptr)
        text << defaults.*sw.realField;
    else
        text << defaults.*sw.textField;
    return text.str();
}

template <typename S>
void writeUsage(const std::vector<Switch<S>>& table, const std::string& command,
                const std::string& purpose, std::ostream& err,
                const std::vector<std::pair<unsigned, std::string>>& formNames) {
    err << "usage: graphmat-gen " << command << " --SWITCH VALUE ...\n" << purpose << "\n";
    for (const Switch<S>& sw : table) {
        std::string head = std::string("  --") + sw.name + " " + sw.value;
        err << std::left << std::setw(22) << head << " " << sw.meaning;
        if (sw.required != 0)
            err << " (required)";
        else
            err << " (default " << defaultText(sw) << ")";
        if (!formNames.empty() && sw.applies != kAllForms) {
            err << " [forms:";
            for (const auto& form : formNames)
                if (sw.applies & form.first) err << " " << form.second;
            err << "]";
        }
        err << "\n";
    }
    err << std::left << std::setw(22) << "  --help"
        << " this text\n";
}

/// Parses "--name value" pairs into s. `given` receives the names seen.
template <typename S>
GenParse parseTable(const std::vector<Switch<S>>& table, const std::string& command,
                    const std::vector<std::string>& args, S& s, std::vector<std::string>& given,
                    std::ostream& err) {
    for (size_t i = 0; i < args.size(); i++) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") return GenParse::Help;
        const Switch<S>* found = nullptr;
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0)
            for (const Switch<S>& sw : table)
                if (arg.substr(2) == sw.name) found = &sw;
        if (found == nullptr) {
            err << "graphmat-gen " << command << ": unknown argument '" << arg << "'\n";
            return GenParse::Error;
        }
        if (i + 1 >= args.size()) {
            err << "graphmat-gen " << command << ": " << arg << " needs a value\n";
            return GenParse::Error;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (found->intField != nullptr)
            ok = parseInt(value, s.*found->intField);
        else if (found->realField != nullptr)
            ok = parseReal(value, s.*found->realField);
        else
            s.*found->textField = value;
        if (!ok) {
            err << "graphmat-gen " << command << ": " << arg << " expects "
                << (found->intField != nullptr ? "an integer" : "a number") << ", got '" << value
                << "'\n";
            return GenParse::Error;
        }
        given.push_back(found->name);
    }
    return GenParse::Ok;
}

/// Every given switch must apply to the form, every switch the form requires must be given.
template <typename S>
bool checkPresence(const std::vector<Switch<S>>& table, const std::string& command, unsigned form,
                   const std::string& formName, const std::vector<std::string>& given,
                   std::ostream& err) {
    for (const Switch<S>& sw : table) {
        bool seen = false;
        for (const std::string& name : given)
            seen = seen || name == sw.name;
        if (seen && !(sw.applies & form)) {
            err << "graphmat-gen " << command << ": --" << sw.name << " does not apply to the form "
                << formName << "\n";
            return false;
        }
        if (!seen && (sw.required & form)) {
            err << "graphmat-gen " << command << ": missing --" << sw.name << " " << sw.value
                << "\n";
            return false;
        }
    }
    return true;
}

bool inUnit(double value) {
    return value >= 0 && value <= 1;
}

/// Returns false after writing `message` when the condition fails.
bool require(bool condition, const std::string& command, const std::string& message,
             std::ostream& err) {
    if (!condition) err << "graphmat-gen " << command << ": " << message << "\n";
    return condition;
}

const std::vector<std::pair<unsigned, std::string>>& randomForms() {
    static const std::vector<std::pair<unsigned, std::string>> forms = {
        {kFull, "full"}, {kEdges, "edges"}, {kLegacy, "legacy"}, {kPlain, "plain"}};
    return forms;
}

double randomBytesNeeded(const RandomSettings& s) {
    const double n1 = s.n + s.n * s.pd / 100;
    const double n2 = s.n + s.n * s.pi / 100;
    const bool byProbability = s.form == "legacy" || s.form == "plain";
    const double arcs = byProbability ? s.p * (n1 * n1 + n2 * n2) : s.e * (n1 + n2);
    return kRandomCellBytes * (n1 * n1 + n2 * n2) + kArcBytes * arcs;
}

bool validRandom(const RandomSettings& s, std::ostream& err) {
    const std::string cmd = "random";
    return require(s.n >= 1, cmd, "--n must be at least 1", err) &&
           require(s.e <= s.n - 1, cmd, "--e must not pass N - 1 (a node has at most N - 1 arcs)",
                   err) &&
           require(inUnit(s.q), cmd, "--q must lie in 0..1", err) &&
           require(s.e >= 0, cmd, "--e must not be negative", err) &&
           require(inUnit(s.p), cmd, "--p must lie in 0..1", err) &&
           require(s.nl >= 1, cmd, "--nl must be at least 1", err) &&
           require(s.el >= 1 && s.el <= kMaxArcLabels, cmd, "--el must lie in 1..9", err) &&
           require(!(s.nl == 1 && s.nld != 1), cmd, "a single node label needs --nld 1", err) &&
           require(!(s.el == 1 && s.eld != 1), cmd, "a single arc label needs --eld 1", err) &&
           require(s.nld > 0 && s.eld > 0, cmd, "decay ratios must be positive", err) &&
           require(s.pd >= 0 && s.pi >= 0, cmd, "--pd and --pi must not be negative", err) &&
           require(s.undirected == 0 || s.undirected == 1, cmd, "--undirected is 0 or 1", err) &&
           require(!s.out.empty(), cmd, "--out must not be empty", err) &&
           withinMemoryLimit(randomBytesNeeded(s), cmd, "two tables of N1 x N1 and N2 x N2 cells",
                             err);
}

} // namespace

bool mutationFits(int vertices, double addNodes, std::ostream& err) {
    const double nodes = vertices * (1 + addNodes);
    return withinMemoryLimit(kMutationPairBytes * nodes * nodes, "mutate",
                             "two tables of V x V cells", err);
}

void usageRandom(std::ostream& err) {
    writeUsage(
        randomTable(), "random",
        "Generates two random labelled graphs with a known correspondence, in the "
        "node-list format,\nwith the reference file PREFIX_<parameters>.csv. Memory grows with "
        "the square of the node\ncounts (4 bytes per ordered pair of each graph); requests above " +
            megabytes(kGeneratorMemoryLimit) + " are refused.",
        err, randomForms());
}

void usageMutate(std::ostream& err) {
    writeUsage(
        mutateTable(), "mutate",
        "Mutates a graph (node deletions and additions, arc noise) and records every "
        "change.\nMemory grows with the square of the node count (about 64 bytes per ordered "
        "pair);\nrequests above " +
            megabytes(kGeneratorMemoryLimit) + " are refused.",
        err, {});
}

void usageNoise(std::ostream& err) {
    writeUsage(noiseTable(), "noise",
               "Writes a random weighted graph and a renumbered copy with lowered labels under "
               "./benchmark/.\nThe graphs are nearly complete: memory grows with the square of N "
               "(about 560 bytes per\nordered pair); requests above " +
                   megabytes(kGeneratorMemoryLimit) + " are refused.",
               err, {});
}

void usageGen(std::ostream& err) {
    err << "usage: graphmat-gen random|mutate|noise --SWITCH VALUE ...\n"
        << "  random   a random pair of graphs with a known correspondence\n"
        << "  mutate   a mutated copy of a graph with its record of changes\n"
        << "  noise    a random weighted graph and a noisy renumbered copy\n"
        << "graphmat-gen SUBCOMMAND --help lists the switches of a subcommand;\n"
        << "graphmat-gen --version prints the version.\n";
}

GenParse parseRandom(const std::vector<std::string>& args, RandomSettings& s, std::ostream& err) {
    std::vector<std::string> given;
    GenParse status = parseTable(randomTable(), "random", args, s, given, err);
    if (status != GenParse::Ok) return status;
    unsigned form = 0;
    for (const auto& known : randomForms())
        if (s.form == known.second) form = known.first;
    if (!require(form != 0, "random", "unknown --form '" + s.form + "'", err) ||
        !checkPresence(randomTable(), "random", form, s.form, given, err) || !validRandom(s, err))
        return GenParse::Error;
    return GenParse::Ok;
}

GenParse parseMutate(const std::vector<std::string>& args, MutateSettings& s, std::ostream& err) {
    std::vector<std::string> given;
    GenParse status = parseTable(mutateTable(), "mutate", args, s, given, err);
    if (status != GenParse::Ok) return status;
    const std::string cmd = "mutate";
    if (!checkPresence(mutateTable(), cmd, kOnly, "", given, err) ||
        !require(inUnit(s.delNodes) && inUnit(s.addNodes) && inUnit(s.edgeNoise), cmd,
                 "--del, --add and --edge-noise must lie in 0..1", err) ||
        !require(!s.out.empty(), cmd, "--out must not be empty", err))
        return GenParse::Error;
    return GenParse::Ok;
}

GenParse parseNoise(const std::vector<std::string>& args, NoiseSettings& s, std::ostream& err) {
    std::vector<std::string> given;
    GenParse status = parseTable(noiseTable(), "noise", args, s, given, err);
    if (status != GenParse::Ok) return status;
    const std::string cmd = "noise";
    if (!checkPresence(noiseTable(), cmd, kOnly, "", given, err) ||
        !require(s.nodes >= 1, cmd, "--nodes must be at least 1", err) ||
        !require(s.epsilon >= 0 && s.epsilon <= kMaxEpsilon, cmd,
                 "--epsilon must lie in 0.." + std::to_string(kMaxEpsilon), err) ||
        !withinMemoryLimit(kNoisePairBytes * s.nodes * static_cast<double>(s.nodes), cmd,
                           "two graphs and two tables of N x N cells", err) ||
        !require(s.id >= 0, cmd, "--id must not be negative", err))
        return GenParse::Error;
    return GenParse::Ok;
}
