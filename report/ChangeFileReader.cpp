// Reading a change file back: the JSON is checked field by field so that a wrong file gives
// one line saying where, never a crash.
#include "report/ChangeFiles.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <limits>
#include <sstream>

using json = nlohmann::json;

namespace {

/// 1-based line and column of byte offset `byte` (as counted by the parser) in `text`.
std::string where(const std::string& text, size_t byte) {
    size_t line = 1, column = 1;
    for (size_t i = 0; i + 1 < byte && i < text.size(); i++) {
        if (text[i] == '\n') {
            line++;
            column = 1;
        } else {
            column++;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

/// Collects the first structural problem of a document; later checks are skipped.
class Checker {
public:
    std::string problem;

    bool ok() const { return problem.empty(); }

    const json* field(const json& object, const char* key, json::value_t type,
                      const std::string& at) {
        if (!ok()) return nullptr;
        auto it = object.find(key);
        const bool numberWanted = type == json::value_t::number_float;
        if (it == object.end() || !(it->type() == type || (numberWanted && it->is_number()))) {
            problem = "expected " + at + "\"" + key + "\" to be " + typeName(type);
            return nullptr;
        }
        return &*it;
    }
    std::string text(const json& object, const char* key, const std::string& at) {
        const json* v = field(object, key, json::value_t::string, at);
        return v != nullptr ? v->get<std::string>() : std::string();
    }
    double number(const json& object, const char* key, const std::string& at) {
        const json* v = field(object, key, json::value_t::number_float, at);
        return v != nullptr ? v->get<double>() : 0;
    }
    /// A count or a setting: a number that an int holds exactly.
    int whole(const json& object, const char* key, const std::string& at) {
        const double x = number(object, key, at);
        if (ok() &&
            !(x >= std::numeric_limits<int>::min() && x <= std::numeric_limits<int>::max() &&
              x == static_cast<double>(static_cast<long long>(x)))) {
            problem = "expected " + at + "\"" + key + "\" to be a whole number";
            return 0;
        }
        return ok() ? static_cast<int>(x) : 0;
    }
    std::vector<std::string> names(const json& object, const char* key, const std::string& at) {
        std::vector<std::string> out;
        const json* v = field(object, key, json::value_t::array, at);
        for (size_t i = 0; v != nullptr && i < v->size() && ok(); i++) {
            if (!(*v)[i].is_string())
                problem = "expected " + at + "\"" + key + "\" to hold names";
            else
                out.push_back((*v)[i].get<std::string>());
        }
        return out;
    }

private:
    static std::string typeName(json::value_t type) {
        switch (type) {
        case json::value_t::string:
            return "a text";
        case json::value_t::array:
            return "a list";
        case json::value_t::object:
            return "an object";
        default:
            return "a number";
        }
    }
};

void readRun(Checker& c, const json& doc, RunInfo& r) {
    const json* run = c.field(doc, "run", json::value_t::object, "");
    const json* costs = c.field(doc, "costs", json::value_t::object, "");
    if (run == nullptr || costs == nullptr) return;
    r.graph1 = c.text(*run, "graph1", "run ");
    r.graph2 = c.text(*run, "graph2", "run ");
    r.tag = c.text(*run, "tag", "run ");
    r.mode = c.whole(*run, "mode", "run ");
    r.seed = c.whole(*run, "seed", "run ");
    if (const json* w = c.field(*run, "weights", json::value_t::object, "run ")) {
        r.dwn = c.number(*w, "d", "weights ");
        r.dwe = c.number(*w, "g", "weights ");
        r.ew = c.number(*w, "e", "weights ");
        r.asy = c.number(*w, "y", "weights ");
        r.lw = c.number(*w, "c", "weights ");
    }
    r.start = c.text(*run, "start", "run ");
    r.noMatchingCost = c.number(*costs, "noMatching", "costs ");
    r.matchingCost = c.number(*costs, "matching", "costs ");
}

void readMembers(Checker& c, const json& entry, ClassEntry& e, const std::string& at) {
    const json* counts = c.field(entry, "members", json::value_t::object, at);
    for (int k = 0; counts != nullptr && k < kMemberChangeCount; k++)
        e.memberCounts[static_cast<size_t>(k)] =
            c.whole(*counts, memberWord(static_cast<MemberChange>(k)), at + "members ");
    const json* list = c.field(entry, "memberChanges", json::value_t::array, at);
    for (size_t i = 0; list != nullptr && i < list->size() && c.ok(); i++) {
        const json& m = (*list)[i];
        if (!m.is_object()) {
            c.problem = "expected " + at + "member changes to be objects";
            return;
        }
        MemberEntry me;
        const std::string kind = c.text(m, "kind", at + "member ");
        if (c.ok() && !memberFromWord(kind, me.kind))
            c.problem = "unknown member change \"" + kind + "\"";
        me.before = c.text(m, "before", at + "member ");
        me.after = c.text(m, "after", at + "member ");
        me.otherClass = c.text(m, "class", at + "member ");
        e.members.push_back(me);
    }
}

void readClasses(Checker& c, const json& doc, ChangeReport& report) {
    const json* list = c.field(doc, "classes", json::value_t::array, "");
    for (size_t i = 0; list != nullptr && i < list->size() && c.ok(); i++) {
        const json& entry = (*list)[i];
        const std::string at = "class entry " + std::to_string(i + 1) + " ";
        if (!entry.is_object()) {
            c.problem = "expected " + at + "to be an object";
            return;
        }
        ClassEntry e;
        const std::string kind = c.text(entry, "kind", at);
        if (c.ok() && !changeFromWord(kind, e.kind))
            c.problem = "unknown class change \"" + kind + "\"";
        e.before = c.names(entry, "before", at);
        e.after = c.names(entry, "after", at);
        readMembers(c, entry, e, at);
        report.classes.push_back(e);
    }
}

void readPackages(Checker& c, const json& doc, ChangeReport& report) {
    const json* list = c.field(doc, "packages", json::value_t::array, "");
    for (size_t i = 0; list != nullptr && i < list->size() && c.ok(); i++) {
        const json& entry = (*list)[i];
        const std::string at = "package entry " + std::to_string(i + 1) + " ";
        if (!entry.is_object()) {
            c.problem = "expected " + at + "to be an object";
            return;
        }
        PackageEntry p;
        const std::string kind = c.text(entry, "kind", at);
        if (c.ok() && !packageFromWord(kind, p.kind))
            c.problem = "unknown package change \"" + kind + "\"";
        p.before = c.text(entry, "before", at);
        p.after = c.text(entry, "after", at);
        report.packages.push_back(p);
    }
}

} // namespace

bool readChangeFile(const std::string& path, ChangeReport& report, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        error = path + ": cannot open the change file";
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    json doc;
    try {
        doc = json::parse(text);
    } catch (const json::parse_error& e) {
        error = path + ": not a JSON file (" + where(text, e.byte) + ")";
        return false;
    } catch (const json::exception&) {
        // Syntax that parses but cannot be held, such as a number beyond any double.
        error = path + ": not a JSON file this reader can hold (a number out of range)";
        return false;
    }
    if (!doc.is_object() || !doc.contains("format") || !doc["format"].is_string()) {
        error = path + ": not a change file (no \"format\" field)";
        return false;
    }
    const std::string format = doc["format"].get<std::string>();
    if (format != kChangeFormat) {
        error =
            path + ": change file format \"" + format + "\", expected \"" + kChangeFormat + "\"";
        return false;
    }
    report = ChangeReport();
    Checker c;
    readRun(c, doc, report.run);
    readClasses(c, doc, report);
    readPackages(c, doc, report);
    if (!c.ok()) {
        error = path + ": " + c.problem;
        return false;
    }
    return true;
}
