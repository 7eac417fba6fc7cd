// Record of the output files a process could not write, so that its entry point can end
// with the failure code instead of passing the lost files for success.
#pragma once

#include <string>

/// Notes that the file at `path` could not be written (the caller has already said so).
void noteUnwrittenFile(const std::string& path);

/// Number of files noted since the start (or the last reset).
int unwrittenFiles();

/// Forgets the files noted so far (for tests that run several entry points in one process).
void resetUnwrittenFiles();
