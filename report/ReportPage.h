// The change report for people: one self-contained HTML page (style, script and data inline)
// or a short terminal summary, for one or several change files.
#pragma once

#include "report/ChangeReport.h"

#include <string>
#include <vector>

/// The page for `reports` (one section per report, in the given order).
std::string reportPage(const std::vector<ChangeReport>& reports);

/// `json` made safe to embed in a script element: "<", ">" and "&" (which only occur inside
/// JSON strings) are written as \u escapes, so no "</script>" or comment opener survives.
std::string scriptSafeJson(const std::string& json);

/// A terminal summary of `reports`: per report the counts per kind, then every changed
/// class with its member counts, then the package changes.
std::string reportText(const std::vector<ChangeReport>& reports);
