// Command line of graphmat-report: the settings, the switch table that parses them and
// prints the usage text, and the run that renders change files.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct ReportSettings {
    std::vector<std::string> inputs; ///< change files, in page order
    std::string output;              ///< -o: page path; empty for the default
    bool text = false;               ///< --text: print a terminal summary
};

/// Page written when neither -o nor --text is given.
constexpr const char* kDefaultPage = "report.html";

enum class ReportParse { Ok, Help, Bad };

/// Parses the arguments after the program name; a bad command line is explained on `err`.
ReportParse parseReportArguments(const std::vector<std::string>& args, ReportSettings& s,
                                 std::ostream& err);

void reportUsage(std::ostream& out);

/// Reads every change file, then prints the summary and/or writes the page. Returns the exit
/// code: 0 done, 1 a change file is missing or unreadable or not a change file (nothing is
/// written), 3 the page could not be written.
int runReport(const ReportSettings& s, std::ostream& out, std::ostream& err);

/// The whole command line. Returns the process exit code.
int reportMain(int argc, char** argv);
