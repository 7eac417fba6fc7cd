// Command line of graphmat-extract: settings, the switch table that parses them and writes
// the usage text, and the run.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct ExtractSettings {
    std::string source;          ///< source folder (positional), or empty with --git
    std::string gitRepo;         ///< --git: repository whose revision is extracted
    std::string gitRev;          ///< --rev: the revision
    std::string diagram;         ///< -o: class diagram with member nodes (reader mode 12)
    std::string classes;         ///< -k: classes with their members inside (reader mode 4)
    std::string ctags = "ctags"; ///< --ctags: the Universal Ctags program
};

/// How parsing ended.
enum class ExtractParse {
    Ok,
    Help,  ///< usage asked for
    Error, ///< a message and the usage text have been written
};

ExtractParse parseExtractArguments(const std::vector<std::string>& args, ExtractSettings& s,
                                   std::ostream& err);

void usageExtract(std::ostream& err);

/// Runs parsed settings; returns the exit code (0 done, 2 input missing or not extractable,
/// 3 output not written).
int runExtract(const ExtractSettings& s, std::ostream& out, std::ostream& err);

/// The whole command line: parse, then run. Returns the exit code.
int extractMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
