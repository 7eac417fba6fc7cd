// The change files of a run: the report as versioned JSON and as CSV, read back for the
// page, and written for a finished matching.
#pragma once

#include "report/ChangeReport.h"

#include <iosfwd>
#include <string>

class Match;

/// Value of the "format" field of every change file this version writes and reads.
constexpr const char* kChangeFormat = "graphmat-changes/1";

/// The report as the text of a change file (JSON, entries in report order, ending in a
/// newline). Bytes that are not valid UTF-8 are written as U+FFFD; with `asciiOnly` every
/// other non-ASCII character is written as a \u escape.
std::string changesJson(const ChangeReport& report, bool asciiOnly = false);

/// The report as CSV: a header, then one row per class entry.
std::string changesCsv(const ChangeReport& report);

/// Reads a change file. On failure returns false and sets `error` to one line naming the
/// file and what is wrong (missing, not JSON, another format, a field of the wrong type).
bool readChangeFile(const std::string& path, ChangeReport& report, std::string& error);

/// Reader modes whose graphs are class diagrams (4, 5, 8, 9, 12).
bool isClassDiagramMode(int mode);

/// After a matching run on class diagrams: classifies the matching `m` holds and writes
/// "./results/<run tag>.changes.json" and ".changes.csv". `info` gives the settings; its tag
/// and graph names are filled here. Returns false (after one line on `out`) when a file
/// could not be written; other modes write nothing and return true.
bool writeRunChanges(Match& m, RunInfo info, std::ostream& out);
