// Parsing of the evaluation program: one table of commands drives parsing and usage.
#include "driver/EvalCommandLine.h"

#include "util/Console.h"

#include <cstdlib>
#include <functional>
#include <iostream>
#include <ostream>

namespace {

/// A command: its name, the arguments it needs and may take, how they are stored, and its
/// usage lines.
struct Command {
    const char* name;
    const char* arguments;
    size_t required;
    size_t optional;
    std::function<bool(EvalSettings&, const std::vector<std::string>&, std::ostream&)> store;
    const char* help;
};

/// Reads the reader mode argument; false (reported) when it is no whole number.
bool readMode(const std::string& text, int& mode, std::ostream& err) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > 99) {
        err << "graphmat-eval: reader mode must be a whole number, not \"" << text << "\"\n";
        return false;
    }
    mode = static_cast<int>(value);
    return true;
}

const std::vector<Command>& commandTable() {
    static const std::vector<Command> table = {
        {"score", "<result file> <dataset>", 2, 0,
         [](EvalSettings& s, const std::vector<std::string>& a, std::ostream&) {
             s.result = a[0];
             s.dataset = a[1];
             return true;
         },
         "Scores ./results/<result file> (the cost report of a matching run, named\n"
         "      <g1>__<g2>__<weights>__<seed>.csv) against the gold file "
         "./results/_<g1>__<g2>.csv\n"
         "      and the version graphs ./datasets/<dataset>/<g1>.txt and <g2>.txt (class lists,\n"
         "      mode 4); appends one row of counts and figures to ./eval_results.csv."},
        {"resolve", "<graph file> <signature> [mode]", 2, 1,
         [](EvalSettings& s, const std::vector<std::string>& a, std::ostream& err) {
             s.graph1 = a[0];
             s.signature = a[1];
             return a.size() < 3 || readMode(a[2], s.mode, err);
         },
         "Prints the node that a qualified name (a method with \"(types)\") names in a graph\n"
         "      read with the given reader mode (default 12)."},
        {"compare", "<graph 1> <graph 2> <cost report> [mode]", 3, 1,
         [](EvalSettings& s, const std::vector<std::string>& a, std::ostream& err) {
             s.graph1 = a[0];
             s.graph2 = a[1];
             s.result = a[2];
             return a.size() < 4 || readMode(a[3], s.mode, err);
         },
         "Restores the matching of a cost report, writes its raw files in comparison form\n"
         "      and compares its pairs with ./results/uml/uml_<g1>_<g2>.csv."},
    };
    return table;
}

} // namespace

void evalUsage(std::ostream& err) {
    err << "Usage:\n";
    for (const Command& c : commandTable())
        err << "  graphmat-eval " << c.name << " " << c.arguments << "\n      " << c.help << "\n";
    err << "Exit codes: 0 done, 1 usage or bad input, 2 input missing or unreadable, "
           "3 output not written.\n";
}

EvalParse parseEvalArguments(const std::vector<std::string>& args, std::ostream& err) {
    EvalParse parsed;
    if (args.empty()) {
        evalUsage(err);
        return parsed;
    }
    for (const Command& c : commandTable()) {
        if (args[0] != c.name) continue;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (rest.size() < c.required || rest.size() > c.required + c.optional) {
            err << "graphmat-eval " << c.name << ": expected " << c.arguments << "\n";
            evalUsage(err);
            return parsed;
        }
        parsed.settings.command = c.name;
        parsed.ok = c.store(parsed.settings, rest, err);
        if (!parsed.ok) evalUsage(err);
        return parsed;
    }
    err << "graphmat-eval: unknown command \"" << args[0] << "\"\n";
    evalUsage(err);
    return parsed;
}

int graphmatEvalMain(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        evalUsage(console());
        return kExitDone;
    }
    EvalParse parsed = parseEvalArguments(args, std::cerr);
    if (!parsed.ok) return kExitUsage;
    return runEval(parsed.settings, std::cerr);
}
