// Command line of the version tunnel: graphmat-tunnel SERIES_LIST.
#pragma once

#include <string>
#include <vector>

/// The usage text, one line per line, ending with a newline.
std::string tunnelUsageText();

/// Runs the tunnel on the series list named by the single argument (program name first);
/// returns the exit code: 0 done, 1 usage or bad series list, 2 an input unreadable,
/// 3 a report not written.
int tunnelMain(const std::vector<std::string>& args);
