// LineReader: line access, field splitting and checked field reading for every reader.
#include "util/LineReader.h"

#include <algorithm>
#include <iostream>
#include <sstream>

#include "util/Console.h"
#include "util/Utilities.h"

namespace {

/// Longest piece of an offending line quoted in a report (binary junk stays readable).
constexpr size_t kQuotedLineLength = 80;

} // namespace

LineReader::LineReader(std::istream& in, std::string source, std::string separator)
    : in_(in), source_(std::move(source)), separator_(std::move(separator)) {
    // The size bounds what a header may announce; a stream that cannot tell counts as empty.
    std::streampos here = in_.tellg();
    in_.seekg(0, std::ios::end);
    std::streampos end = in_.tellg();
    if (here >= 0 && end >= here) streamBytes_ = static_cast<long long>(end);
    in_.clear();
    in_.seekg(here >= 0 ? here : std::streampos(0));
}

bool LineReader::next() {
    fields_.clear();
    if (!std::getline(in_, line_)) {
        line_.clear();
        return false;
    }
    lineNo_++;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    std::vector<std::string>* parts = splitString(line_, separator_);
    if (parts != nullptr) {
        fields_ = *parts;
        delete parts;
    }
    return true;
}

void LineReader::rewind() {
    in_.clear();
    in_.seekg(0, std::ios::beg);
    lineNo_ = 0;
    line_.clear();
    fields_.clear();
}

bool LineReader::blank() const {
    return line_.find_first_not_of(" \t") == std::string::npos;
}

bool LineReader::startsWith(const std::string& prefix) const {
    return line_.compare(0, prefix.size(), prefix) == 0;
}

std::string LineReader::field(size_t i) const {
    return i < fields_.size() ? fields_[i] : std::string();
}

std::string LineReader::joinFrom(size_t i) const {
    std::string text;
    for (size_t k = i; k < fields_.size(); k++) {
        if (k > i) text += ",";
        text += fields_[k];
    }
    return text;
}

bool LineReader::require(size_t n, const std::string& expected) const {
    if (fields_.size() >= n) return true;
    report("expected " + expected);
    return false;
}

bool LineReader::intField(size_t i, int& value, const std::string& what) const {
    if (i < fields_.size() && from_string(fields_[i], value)) return true;
    report(what + " is not a number");
    return false;
}

bool LineReader::floatField(size_t i, float& value, const std::string& what) const {
    if (i < fields_.size() && from_string(fields_[i], value)) return true;
    report(what + " is not a number");
    return false;
}

bool LineReader::doubleField(size_t i, double& value, const std::string& what) const {
    if (i < fields_.size() && from_string(fields_[i], value)) return true;
    report(what + " is not a number");
    return false;
}

bool LineReader::labelField(size_t i, std::string& label) const {
    label = field(i);
    if (isLabelCode(label)) return true;
    report("arc label must be one digit 0-9, found \"" + label + "\"");
    return false;
}

bool LineReader::weightFields(size_t first, float* w, int slots) const {
    for (int k = 0; k < slots; k++)
        w[k] = 0;
    for (size_t i = first; i < fields_.size() && static_cast<int>(i - first) < slots; i++)
        if (!floatField(i, w[i - first], "weight field " + std::to_string(i + 1))) return false;
    return true;
}

bool LineReader::header(int& n, int& m) const {
    if (!require(2, "a header \"nodes,arcs\"")) return false;
    if (!intField(0, n, "node count") || !intField(1, m, "arc count")) return false;
    if (n < 0 || m < 0) {
        report("negative count in header");
        return false;
    }
    if (n > kMaxHeaderNodes) {
        report("node count above the limit of " + std::to_string(kMaxHeaderNodes));
        return false;
    }
    return true;
}

long long LineReader::bytesLeft() const {
    std::streampos here = in_.tellg();
    if (here < 0) return 0; // at the end of the input
    return streamBytes_ - static_cast<long long>(here);
}

bool LineReader::nodeCountFits(int n, int bytesPerNode, int allowance) const {
    const long long left = bytesLeft();
    const long long most = static_cast<long long>(allowance) + left / std::max(bytesPerNode, 1);
    if (n <= most) return true;
    report("header announces " + std::to_string(n) + " nodes; the " + std::to_string(left) +
           " bytes after it can describe at most " + std::to_string(most) + "; nothing read");
    return false;
}

void LineReader::reportUnknownLine(const std::string& forms) const {
    if (!blank()) report("line of no known form (expected " + forms + "); skipped");
}

std::string LineReader::boundedName(const std::string& name) const {
    std::string problem;
    std::string kept = boundName(name, problem);
    if (!problem.empty()) report(problem);
    return kept;
}

std::string boundName(const std::string& name, std::string& problem) {
    problem.clear();
    std::string kept = name;
    if (kept.size() > kMaxNameLength) {
        problem = "name longer than " + std::to_string(kMaxNameLength) +
                  " characters; cut to that length";
        kept.resize(kMaxNameLength);
    }
    size_t parts = 1 + static_cast<size_t>(std::count(kept.begin(), kept.end(), '.'));
    if (parts > kMaxNameParts) {
        problem += std::string(problem.empty() ? "" : "; ") + "name of more than " +
                   std::to_string(kMaxNameParts) + " dotted parts; the parts between the first " +
                   std::to_string(kMaxNameParts - 1) + " and the last are dropped";
        size_t cut = 0;
        for (size_t k = 0; k + 1 < kMaxNameParts; k++)
            cut = kept.find('.', cut) + 1;
        kept = kept.substr(0, cut) + kept.substr(kept.rfind('.') + 1);
    }
    return kept;
}

void LineReader::report(const std::string& what) const {
    std::string quoted =
        line_.size() > kQuotedLineLength ? line_.substr(0, kQuotedLineLength) + "..." : line_;
    reports_++;
    console() << "\n Bad input in " << source_ << ", line " << lineNo_ << ": " << what << " ["
              << quoted << "]";
}

void LineReader::reportFile(const std::string& source, const std::string& what) {
    console() << "\n Bad input in " << source << ": " << what;
}

bool isLabelCode(const std::string& label) {
    return label.size() == 1 && label[0] >= '0' && label[0] <= '9';
}
