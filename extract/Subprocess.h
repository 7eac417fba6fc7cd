// Running another program without a shell: its arguments passed as they are, its output
// and its error text collected through temporary files.
#pragma once

#include <string>
#include <vector>

/// How a program run ended.
struct ProcessResult {
    /// False when the program could not be started (not installed, not executable).
    bool started = false;
    /// Exit code; -1 when it was ended by a signal or not started.
    int exitCode = -1;
    /// Everything it wrote to standard output (empty when `outputFile` was given).
    std::string output;
    /// Everything it wrote to standard error.
    std::string errors;
};

/// Runs `argv[0]` (looked up in PATH) with the remaining arguments and waits for it. When
/// `outputFile` is not empty, standard output goes to that file instead of `output`.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& outputFile = "");

/// Folder of the running executable ("" when unknown), where sibling programs are found.
std::string executableFolder();
