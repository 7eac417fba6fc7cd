// graphmat-extract: parsing through one switch table, then the extraction of a folder or
// of a git revision unpacked into a scratch folder.
#include "extract/ExtractCommandLine.h"

#include <ostream>

#include "extract/ExtractRun.h"

namespace {

struct ExtractSwitch {
    const char* name;
    const char* value;
    const char* meaning;
    std::string ExtractSettings::*field;
};

const ExtractSwitch kExtractSwitches[] = {
    {"-o", "DIAGRAM.txt", "class diagram with member nodes (reader mode 12); required",
     &ExtractSettings::diagram},
    {"-k", "CLASSES.k.txt", "classes with their members inside (reader mode 4)",
     &ExtractSettings::classes},
    {"--git", "REPO", "extract a revision of this git repository instead of a folder",
     &ExtractSettings::gitRepo},
    {"--rev", "REV", "the revision to extract with --git", &ExtractSettings::gitRev},
    {"--ctags", "PROGRAM", "Universal Ctags program (default ctags)", &ExtractSettings::ctags},
};

ExtractParse fail(const std::string& message, std::ostream& err) {
    err << "graphmat-extract: " << message << "\n";
    usageExtract(err);
    return ExtractParse::Error;
}

} // namespace

void usageExtract(std::ostream& err) {
    err << "Usage: graphmat-extract SOURCE_DIR -o DIAGRAM.txt [-k CLASSES.k.txt] [--ctags "
           "PROGRAM]\n"
           "       graphmat-extract --git REPO --rev REV -o DIAGRAM.txt [-k CLASSES.k.txt] "
           "[--ctags PROGRAM]\n";
    for (const ExtractSwitch& s : kExtractSwitches)
        err << "  " << s.name << " " << s.value
            << std::string(24 - std::string(s.name).size() - std::string(s.value).size(), ' ')
            << s.meaning << "\n";
}

ExtractParse parseExtractArguments(const std::vector<std::string>& args, ExtractSettings& s,
                                   std::ostream& err) {
    for (size_t i = 0; i < args.size(); i++) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            usageExtract(err);
            return ExtractParse::Help;
        }
        const ExtractSwitch* known = nullptr;
        for (const ExtractSwitch& sw : kExtractSwitches)
            if (a == sw.name) known = &sw;
        if (known != nullptr) {
            if (i + 1 >= args.size()) return fail(a + " needs a value", err);
            s.*(known->field) = args[++i];
        } else if (!a.empty() && a[0] == '-') {
            return fail("unknown switch " + a, err);
        } else if (s.source.empty()) {
            s.source = a;
        } else {
            return fail("only one source folder may be given (" + s.source + ", " + a + ")", err);
        }
    }
    if (s.diagram.empty()) return fail("-o DIAGRAM.txt is required", err);
    if (s.gitRepo.empty() != s.gitRev.empty()) return fail("--git and --rev go together", err);
    if (s.gitRepo.empty() == s.source.empty())
        return fail("give either a source folder or --git REPO --rev REV", err);
    return ExtractParse::Ok;
}

int runExtract(const ExtractSettings& s, std::ostream& out, std::ostream& err) {
    TemporaryFolder scratch;
    std::string folder = s.source;
    if (!s.gitRepo.empty()) {
        if (scratch.path().empty()) {
            err << "graphmat-extract: cannot make a temporary folder for revision " << s.gitRev
                << "\n";
            return kExitOutputNotWritten;
        }
        std::string problem = exportRevision(s.gitRepo, s.gitRev, scratch.path());
        if (!problem.empty()) {
            err << "graphmat-extract: " << problem << "\n";
            return kExitInputUnreadable;
        }
        folder = scratch.path();
    }
    ExtractionSummary summary = extractTree(folder, s.ctags, s.diagram, s.classes, out);
    if (summary.exitCode != kExitDone) {
        err << "graphmat-extract: " << summary.problem << "\n";
        return summary.exitCode;
    }
    printExtractionSummary(summary, s.diagram, out);
    return kExitDone;
}

int extractMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ExtractSettings s;
    ExtractParse parsed = parseExtractArguments(args, s, err);
    if (parsed == ExtractParse::Help) return kExitDone;
    if (parsed == ExtractParse::Error) return kExitUsage;
    return runExtract(s, out, err);
}
