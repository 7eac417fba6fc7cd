// Command line of the evaluation program: its commands, the settings they fill, the usage
// text, and the run of each command.
#pragma once

#include "graph/Kinds.h"
#include "util/ExitCodes.h"

#include <iosfwd>
#include <string>
#include <vector>

/// What to evaluate, one member per argument of the commands.
struct EvalSettings {
    std::string command;          ///< "score", "resolve" or "compare"
    std::string result;           ///< score: cost report under ./results/; compare: its path
    std::string dataset;          ///< score: folder under ./datasets/
    std::string graph1;           ///< resolve, compare: (first) graph file
    std::string graph2;           ///< compare: second graph file
    std::string signature;        ///< resolve: qualified name, with "(types)" for a method
    int mode = kClassDiagramMode; ///< resolve, compare: reader mode of the graphs
};

struct EvalParse {
    EvalSettings settings;
    bool ok = false;
};

/// Parses the arguments after the program name; a bad command line writes the reason and
/// the usage text to `err`.
EvalParse parseEvalArguments(const std::vector<std::string>& args, std::ostream& err);

/// Writes the usage text.
void evalUsage(std::ostream& err);

/// Runs one parsed command; returns the exit code. Progress goes to standard output, the
/// one-line reasons for a non-zero code to `err`.
int runEval(const EvalSettings& s, std::ostream& err);

/// The whole program: parse, then run.
int graphmatEvalMain(int argc, char** argv);
