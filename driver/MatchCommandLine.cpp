// Parsing of the matcher's switches: one table drives parsing, echo and the usage text.
#include "driver/MatchCommandLine.h"

#include <cmath>
#include <functional>
#include <ostream>

#include "util/NumberText.h"

namespace {

/// What a switch's value must be.
enum class ValueKind {
    Text,    ///< stored unchanged
    Integer, ///< a whole decimal int
    Real,    ///< a finite real number
    Weight,  ///< a finite real number, not negative
    Mode,    ///< a reader mode, kLowestReaderMode..kHighestReaderMode
};

/// A switch: its letter (only the second character of an argument counts), what its value
/// must be, its meaning and default for the usage table, and where the value goes.
struct Switch {
    char letter;
    ValueKind kind;
    const char* meaning;
    const char* byDefault;
    std::function<void(MatchSettings&, const std::string&)> store;
};

int toInt(const std::string& v) {
    int value = 0;
    parseWholeInt(v, value);
    return value;
}

double toReal(const std::string& v) {
    double value = 0;
    parseWholeReal(v, value);
    return value;
}

const std::vector<Switch>& switchTable() {
    using K = ValueKind;
    static const std::vector<Switch> table = {
        {'o', K::Text, "path of graph 1", "none, required",
         [](MatchSettings& s, const std::string& v) { s.graph1 = v; }},
        {'n', K::Text, "path of graph 2", "none, required",
         [](MatchSettings& s, const std::string& v) { s.graph2 = v; }},
        {'s', K::Integer, "random seed (0 gives the same run as 1)", "1",
         [](MatchSettings& s, const std::string& v) { s.seed = toInt(v); }},
        {'m', K::Text, "similarity file: matches by one assignment instead of the tabu search",
         "none", [](MatchSettings& s, const std::string& v) { s.sim_graphs = v; }},
        {'d', K::Weight, "node drop weight", "0",
         [](MatchSettings& s, const std::string& v) { s.dwn = toReal(v); }},
        {'g', K::Weight, "edge drop weight", "0",
         [](MatchSettings& s, const std::string& v) { s.dwe = toReal(v); }},
        {'e', K::Weight, "edge weight", "0",
         [](MatchSettings& s, const std::string& v) { s.ew = toReal(v); }},
        {'y', K::Weight, "asymmetry of insertion against deletion", "0",
         [](MatchSettings& s, const std::string& v) { s.asy = toReal(v); }},
        {'c', K::Weight, "label weight", "0",
         [](MatchSettings& s, const std::string& v) { s.lw = toReal(v); }},
        {'h', K::Mode, "reader mode of both graphs, 0 to 12 (12: class diagrams)", "12",
         [](MatchSettings& s, const std::string& v) { s.graph_type = toInt(v); }},
        {'i', K::Real, "start of the tabu search", "1",
         [](MatchSettings& s, const std::string& v) { s.initMode = toReal(v); }},
        {'l', K::Integer, "algorithm of the matcher that seeds the search", "7",
         [](MatchSettings& s, const std::string& v) { s.alg = toInt(v); }},
        {'r', K::Integer, "similarity parameter of the seeding matcher", "80",
         [](MatchSettings& s, const std::string& v) { s.discrim = toInt(v); }},
        {'u', K::Integer, "1 writes the difference reports of an earlier run instead of matching",
         "0", [](MatchSettings& s, const std::string& v) { s.umldiff = toInt(v); }},
        {'k', K::Integer, "effort: independent searches with seeds s to s+K-1, the cheapest kept",
         "1", [](MatchSettings& s, const std::string& v) { s.effort = toInt(v); }},
    };
    return table;
}

const Switch* findSwitch(const std::string& arg) {
    if (arg.size() < 2) return nullptr;
    for (const Switch& sw : switchTable())
        if (sw.letter == arg[1]) return &sw;
    return nullptr;
}

/// Empty when `value` suits the switch; otherwise what is wrong with it.
std::string valueProblem(const Switch& sw, const std::string& value) {
    switch (sw.kind) {
    case ValueKind::Text:
        return "";
    case ValueKind::Integer:
    case ValueKind::Mode: {
        int number = 0;
        if (!parseWholeInt(value, number))
            return "\"" + value + "\" is not a whole number within the int range";
        if (sw.kind == ValueKind::Mode &&
            (number < kLowestReaderMode || number > kHighestReaderMode))
            return "unknown reader mode " + value + " (modes are 0 to 12)";
        return "";
    }
    case ValueKind::Real:
    case ValueKind::Weight: {
        double number = 0;
        if (!parseWholeReal(value, number)) return "\"" + value + "\" is not a number";
        if (!std::isfinite(number)) return "\"" + value + "\" is not a finite number";
        if (sw.kind == ValueKind::Weight && number < 0)
            return "a weight must not be negative, got " + value;
        return "";
    }
    }
    return "";
}

} // namespace

void usage(std::ostream& err) {
    err << "\n"
        << "Legal switches:\n"
        << "-o path of graph 1 \n"
        << "-n path of graph 2\n"
        << "-m path of similarity file\n"
        << "-d direction of similarity file\n"
        << "-s random seed\n";
    err << "All switches (each takes the next argument as its value):\n";
    for (const Switch& sw : switchTable())
        err << "  -" << sw.letter << "  " << sw.meaning << " (default: " << sw.byDefault << ")\n";
}

ParseResult parseMatchArguments(const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err) {
    ParseResult result;
    out << "\n START \n";
    if (args.size() < 3) {
        err << "Parameters e expected\n";
        result.status = ParseStatus::TooFewArguments;
        return result;
    }
    size_t i = 0;
    while (i < args.size() && !args[i].empty() && args[i][0] == '-') {
        const Switch* sw = findSwitch(args[i]);
        if (sw == nullptr) {
            usage(err);
            ++i;
            continue;
        }
        if (i + 1 >= args.size()) {
            // A switch without a value: the run cannot know what was meant.
            usage(err);
            result.status = ParseStatus::MissingValue;
            return result;
        }
        const std::string& value = args[i + 1];
        const std::string problem = valueProblem(*sw, value);
        if (!problem.empty()) {
            err << "Bad value for -" << sw->letter << " (" << sw->meaning << "): " << problem
                << "\n";
            result.status = ParseStatus::BadValue;
            return result;
        }
        out << " -" << sw->letter << " " << value;
        sw->store(result.settings, value);
        i += 2;
    }
    if (i < args.size()) {
        // Parsing stops at the first argument that is no switch; whatever follows would be
        // lost without a word, so the run does not start.
        err << "Arguments not used (parsing stops at the first one that does not begin with "
               "\"-\"):";
        for (size_t k = i; k < args.size(); k++)
            err << " " << args[k];
        err << "\n";
        usage(err);
        result.status = ParseStatus::IgnoredArguments;
        return result;
    }
    if (result.settings.graph1.empty() || result.settings.graph2.empty()) {
        usage(err);
        result.status = ParseStatus::MissingGraphs;
    }
    return result;
}

bool isVersionRequest(const std::vector<std::string>& args) {
    return !args.empty() && args[0] == "--version";
}
