// Output files of the generators: folders are created on demand and a file that still
// cannot be opened is reported, so generated output is never lost silently.
#pragma once

#include <fstream>
#include <string>

/// Opens `path` with `mode`, creating its folder first. Prints one line naming the file and
/// returns false when it cannot be opened.
bool openOutput(std::ofstream& out, const std::string& path, std::ios::openmode mode);
