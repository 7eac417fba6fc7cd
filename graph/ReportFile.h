// Opening of the report files the graph statistics write: the folder is created on demand
// and a file that still cannot be opened is reported, so no report is lost silently.
#pragma once

#include "util/Console.h"

#include <filesystem>
#include <fstream>
#include <string>

/// Opens `path` with `mode`, creating its folder first; prints "\n Cannot write <path>" and
/// returns false when the file cannot be opened.
inline bool openReport(std::ofstream& out, const std::string& path, std::ios::openmode mode) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    std::error_code ignored;
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    out.open(path, mode);
    if (out.is_open()) return true;
    console() << "\n Cannot write " << path;
    return false;
}
