// graphmat-report: reads change files and renders them as a page or a terminal summary.
#include "report/ReportCommandLine.h"

#include "report/ChangeFiles.h"
#include "report/ReportPage.h"
#include "util/Console.h"
#include "util/ExitCodes.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

struct Switch {
    const char* name;
    const char* value; ///< name of the value, or null for a flag
    const char* help;
};

const Switch kSwitches[] = {
    {"-o", "report.html", "write the page to this file (default report.html)"},
    {"--text", nullptr, "print a terminal summary (the page only with -o)"},
    {"-h", nullptr, "show this help"},
};

bool writePage(const std::string& path, const std::string& page) {
    const std::filesystem::path p(path);
    std::error_code ignored;
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path(), ignored);
    std::ofstream out(p, std::ios::out | std::ios::trunc | std::ios::binary);
    out << page;
    out.close();
    return static_cast<bool>(out);
}

} // namespace

void reportUsage(std::ostream& out) {
    out << "Usage: graphmat-report CHANGES.json... [-o report.html] [--text]\n"
        << "Renders change files of matching runs (results/<run tag>.changes.json) as one\n"
        << "self-contained HTML page, one section per file.\n";
    for (const Switch& s : kSwitches)
        out << "  " << s.name << (s.value != nullptr ? std::string(" ") + s.value : std::string())
            << "\t" << s.help << "\n";
}

ReportParse parseReportArguments(const std::vector<std::string>& args, ReportSettings& s,
                                 std::ostream& err) {
    for (size_t i = 0; i < args.size(); i++) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") return ReportParse::Help;
        if (a == "--text") {
            s.text = true;
        } else if (a == "-o") {
            if (i + 1 >= args.size()) {
                err << "graphmat-report: -o needs a file name\n";
                return ReportParse::Bad;
            }
            s.output = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            err << "graphmat-report: unknown switch " << a << "\n";
            reportUsage(err);
            return ReportParse::Bad;
        } else {
            s.inputs.push_back(a);
        }
    }
    if (s.inputs.empty()) {
        err << "graphmat-report: no change file given\n";
        reportUsage(err);
        return ReportParse::Bad;
    }
    return ReportParse::Ok;
}

int runReport(const ReportSettings& s, std::ostream& out, std::ostream& err) {
    std::vector<ChangeReport> reports;
    for (const std::string& path : s.inputs) {
        ChangeReport r;
        std::string error;
        if (!readChangeFile(path, r, error)) {
            err << "graphmat-report: " << error << "\n";
            return kExitUsage;
        }
        reports.push_back(r);
    }
    if (s.text) out << reportText(reports);
    if (s.text && s.output.empty()) return kExitDone;
    const std::string path = s.output.empty() ? kDefaultPage : s.output;
    if (!writePage(path, reportPage(reports))) {
        err << "graphmat-report: cannot write the page " << path << "\n";
        return kExitOutputNotWritten;
    }
    if (!s.text) out << "Wrote " << path << "\n";
    return kExitDone;
}

int reportMain(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ReportSettings s;
    switch (parseReportArguments(args, s, std::cerr)) {
    case ReportParse::Help:
        reportUsage(console());
        return kExitDone;
    case ReportParse::Bad:
        return kExitUsage;
    case ReportParse::Ok:
        break;
    }
    return runReport(s, console(), std::cerr);
}
