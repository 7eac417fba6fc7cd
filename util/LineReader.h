// Line-by-line access to a text input file for every reader: Windows line ends removed, fields
// split at "," (or another separator), checked number and label fields, and the one-line
// report for bad input.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

/// Reads one line at a time from a stream and keeps its comma-separated fields. Every check
/// that fails prints one line naming the source, the line number and what was expected, so
/// a reader only has to skip the line and go on.
class LineReader {
public:
    /// `source` names the input in reports (a file path or graph name, or a tag for text given
    /// inline); `separator` splits each line into fields.
    LineReader(std::istream& in, std::string source, std::string separator = ",");

    /// Reads the next line (trailing '\r' removed) and splits it; false at end of input.
    bool next();
    /// Goes back to the start of the stream (for readers that make two passes).
    void rewind();

    const std::string& line() const { return line_; }
    const std::vector<std::string>& fields() const { return fields_; }
    size_t size() const { return fields_.size(); }
    /// 1-based number of the current line.
    int lineNumber() const { return lineNo_; }
    /// True when the line is empty or holds only blanks.
    bool blank() const;
    /// True when the line starts with `prefix` (e.g. "c,").
    bool startsWith(const std::string& prefix) const;
    /// Field i (0-based), or the empty text when the line is shorter.
    std::string field(size_t i) const;
    /// Fields i, i+1, ... joined again with "," (the rest of the line from field i).
    std::string joinFrom(size_t i) const;

    /// Reports and returns false when the line has fewer than n fields.
    bool require(size_t n, const std::string& expected) const;
    /// Reads field i as an int by stream extraction; reports and returns false if it holds none.
    bool intField(size_t i, int& value, const std::string& what) const;
    /// Reads field i as a real number; reports and returns false if it holds none.
    bool floatField(size_t i, float& value, const std::string& what) const;
    /// Reads field i as a double (full precision, for weights kept in double).
    bool doubleField(size_t i, double& value, const std::string& what) const;
    /// Checks that field i is an arc label whose code is one digit 0..9.
    bool labelField(size_t i, std::string& label) const;
    /// Reads up to `slots` real numbers from field `first` on into w[0..]; the others stay 0.
    bool weightFields(size_t first, float* w, int slots) const;
    /// Reads the "N,M" header of the current line into n and m (both must be >= 0).
    bool header(int& n, int& m) const;
    /// Bytes of the input after the current line.
    long long bytesLeft() const;
    /// Checks a header's node count against what the rest of the input can describe: each
    /// node needs `bytesPerNode` bytes of it, beyond `allowance` nodes that need none.
    /// Reports (nothing is to be read) and returns false when it cannot.
    bool nodeCountFits(int n, int bytesPerNode, int allowance) const;
    /// Reports a non-blank line that has none of the format's forms (it is skipped).
    void reportUnknownLine(const std::string& forms) const;
    /// A node name within kMaxNameLength characters and kMaxNameParts dotted parts; a longer
    /// or deeper one is reported and cut (the first and last parts are kept), so that the
    /// names derived from it stay linear in the input.
    std::string boundedName(const std::string& name) const;

    /// Prints "\n Bad input in <source>, line <n>: <what> [<line>]".
    void report(const std::string& what) const;
    /// Number of reports printed through this reader so far (a caller whose next output does
    /// not start on a new line ends the last report first).
    int reports() const { return reports_; }
    /// Prints "\n Bad input in <source>: <what>" for problems not tied to one line.
    static void reportFile(const std::string& source, const std::string& what);

private:
    std::istream& in_;
    std::string source_;
    std::string separator_;
    std::string line_;
    std::vector<std::string> fields_;
    int lineNo_ = 0;
    mutable int reports_ = 0;
    long long streamBytes_ = 0;
};

/// True when `label` is an arc label code: a single digit 0..9 (the label of one arc).
bool isLabelCode(const std::string& label);

/// Longest node name kept, in characters, and most dotted parts kept: names are qualified
/// by their containers, so unbounded names would make the names derived from them (and the
/// tables keyed by them) grow with the square of the input.
constexpr size_t kMaxNameLength = 1024;
constexpr size_t kMaxNameParts = 64;

/// `name` cut to kMaxNameLength characters and kMaxNameParts dotted parts (the first parts
/// and the last one are kept); `problem` says what was cut, or is left empty.
std::string boundName(const std::string& name, std::string& problem);

/// Largest node count a header may announce: the readers create that many nodes at once,
/// so a corrupt header must not exhaust memory.
constexpr int kMaxHeaderNodes = 1000000;
