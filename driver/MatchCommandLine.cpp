// Parsing of the matcher's switches: one table drives parsing and echo.
#include "driver/MatchCommandLine.h"

#include <cstdlib>
#include <functional>
#include <ostream>

namespace {

/// A switch: its letter (only the second character of an argument counts) and how its
/// value is stored. Integers go through atoi and reals through atof, so text that is no
/// number gives 0, as users of the tool have always had it.
struct Switch {
    char letter;
    std::function<void(MatchSettings&, const std::string&)> store;
};

int toInt(const std::string& v) { return std::atoi(v.c_str()); }
double toReal(const std::string& v) { return std::atof(v.c_str()); }

const std::vector<Switch>& switchTable() {
    static const std::vector<Switch> table = {
        {'o', [](MatchSettings& s, const std::string& v) { s.graph1 = v; }},
        {'n', [](MatchSettings& s, const std::string& v) { s.graph2 = v; }},
        {'s', [](MatchSettings& s, const std::string& v) { s.seed = toInt(v); }},
        {'m', [](MatchSettings& s, const std::string& v) { s.sim_graphs = v; }},
        {'d', [](MatchSettings& s, const std::string& v) { s.dwn = toReal(v); }},
        {'g', [](MatchSettings& s, const std::string& v) { s.dwe = toReal(v); }},
        {'e', [](MatchSettings& s, const std::string& v) { s.ew = toReal(v); }},
        {'y', [](MatchSettings& s, const std::string& v) { s.asy = toReal(v); }},
        {'c', [](MatchSettings& s, const std::string& v) { s.lw = toReal(v); }},
        {'h', [](MatchSettings& s, const std::string& v) { s.graph_type = toInt(v); }},
        {'i', [](MatchSettings& s, const std::string& v) { s.initMode = toReal(v); }},
        {'l', [](MatchSettings& s, const std::string& v) { s.alg = toInt(v); }},
        {'r', [](MatchSettings& s, const std::string& v) { s.discrim = toInt(v); }},
        {'u', [](MatchSettings& s, const std::string& v) { s.umldiff = toInt(v); }},
        {'k', [](MatchSettings& s, const std::string& v) { s.effort = toInt(v); }},
    };
    return table;
}

const Switch* findSwitch(const std::string& arg) {
    if (arg.size() < 2) return nullptr;
    for (const Switch& sw : switchTable())
        if (sw.letter == arg[1]) return &sw;
    return nullptr;
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
        out << " -" << sw->letter << " " << value;
        sw->store(result.settings, value);
        i += 2;
    }
    if (result.settings.graph1.empty() || result.settings.graph2.empty()) {
        usage(err);
        result.status = ParseStatus::MissingGraphs;
    }
    return result;
}
