// Writing the change files of a run: the report as JSON (through nlohmann-json) and as CSV.
#include "report/ChangeFiles.h"

#include "graph/Graph.h"
#include "match/Match.h"
#include "match/ResultText.h"
#include "report/ChangeClassifier.h"
#include "report/NodeMatching.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <system_error>

using ordered_json = nlohmann::ordered_json;

namespace {

constexpr int kIndent = 1;
constexpr int kClassDiagramModes[] = {4, 5, 8, 9, 12};

ordered_json memberJson(const MemberEntry& m) {
    return ordered_json{{"kind", memberWord(m.kind)},
                        {"before", m.before},
                        {"after", m.after},
                        {"class", m.otherClass}};
}

ordered_json classJson(const ClassEntry& e) {
    ordered_json counts = ordered_json::object();
    for (int k = 0; k < kMemberChangeCount; k++)
        counts[memberWord(static_cast<MemberChange>(k))] = e.memberCounts[static_cast<size_t>(k)];
    ordered_json members = ordered_json::array();
    for (const MemberEntry& m : e.members)
        members.push_back(memberJson(m));
    return ordered_json{{"kind", changeWord(e.kind)},
                        {"before", e.before},
                        {"after", e.after},
                        {"members", counts},
                        {"memberChanges", members}};
}

ordered_json runJson(const RunInfo& r) {
    return ordered_json{
        {"graph1", r.graph1},
        {"graph2", r.graph2},
        {"tag", r.tag},
        {"mode", r.mode},
        {"seed", r.seed},
        {"weights", {{"d", r.dwn}, {"g", r.dwe}, {"e", r.ew}, {"y", r.asy}, {"c", r.lw}}},
        {"start", r.start},
        {"init", r.initMode},
        {"alg", r.alg},
        {"discrim", r.discrim},
        {"similarityFile", r.simGraphs}};
}

/// A CSV field, quoted only when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (size_t i = 0; i < names.size(); i++)
        out += (i > 0 ? ";" : "") + names[i];
    return out;
}

} // namespace

bool isClassDiagramMode(int mode) {
    for (int m : kClassDiagramModes)
        if (m == mode) return true;
    return false;
}

std::string changesJson(const ChangeReport& report, bool asciiOnly) {
    ordered_json counts = ordered_json::object();
    const auto classCounts = report.classCounts();
    for (int k = 0; k < kClassChangeCount; k++)
        counts[changeWord(static_cast<ClassChange>(k))] = classCounts[static_cast<size_t>(k)];
    ordered_json packageCounts = ordered_json::object();
    const auto pc = report.packageCounts();
    for (int k = 0; k < kPackageChangeCount; k++)
        packageCounts[packageWord(static_cast<PackageChange>(k))] = pc[static_cast<size_t>(k)];

    ordered_json classes = ordered_json::array();
    for (const ClassEntry& e : report.classes)
        classes.push_back(classJson(e));
    ordered_json packages = ordered_json::array();
    for (const PackageEntry& p : report.packages)
        packages.push_back(
            ordered_json{{"kind", packageWord(p.kind)}, {"before", p.before}, {"after", p.after}});

    const ordered_json doc{
        {"format", kChangeFormat},
        {"run", runJson(report.run)},
        {"costs",
         {{"noMatching", report.run.noMatchingCost}, {"matching", report.run.matchingCost}}},
        {"counts", counts},
        {"packageCounts", packageCounts},
        {"classes", classes},
        {"packages", packages}};
    return doc.dump(kIndent, ' ', asciiOnly, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string changesCsv(const ChangeReport& report) {
    std::string out = "kind,before,after";
    for (int k = 0; k < kMemberChangeCount; k++)
        out += std::string(",") + memberWord(static_cast<MemberChange>(k));
    out += "\n";
    for (const ClassEntry& e : report.classes) {
        out += std::string(changeWord(e.kind)) + "," + csvField(joined(e.before)) + "," +
               csvField(joined(e.after));
        for (int count : e.memberCounts)
            out += "," + std::to_string(count);
        out += "\n";
    }
    return out;
}

bool writeRunChanges(Match& m, RunInfo info, std::ostream& out) {
    if (!isClassDiagramMode(info.mode) || m.g1 == nullptr || m.g2 == nullptr) return true;
    ChangeReport report = classifyChanges(*m.g1, *m.g2, matchingOf(m), info.mode);
    info.graph1 = m.g1->name;
    info.graph2 = m.g2->name;
    info.tag = runTag(m);
    report.run = info;

    const std::string base = std::string(kResultsFolder) + info.tag + ".changes";
    bool written = true;
    for (const auto& file : {std::make_pair(base + ".json", changesJson(report)),
                             std::make_pair(base + ".csv", changesCsv(report))}) {
        std::error_code ignored;
        std::filesystem::create_directories(kResultsFolder, ignored);
        std::ofstream f(file.first, std::ios::out | std::ios::trunc | std::ios::binary);
        f << file.second;
        f.close();
        if (!f) {
            out << "\n Cannot write the change file " << file.first << "\n";
            written = false;
        }
    }
    return written;
}
