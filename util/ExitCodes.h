// The exit codes every executable of the project ends with.
#pragma once

constexpr int kExitDone = 0;
/// Usage error or a bad argument (also bad input lines where a program cannot go on).
constexpr int kExitUsage = 1;
/// An input file is missing or unreadable, or gives nothing sound to work on.
constexpr int kExitInputUnreadable = 2;
/// An output file could not be written.
constexpr int kExitOutputNotWritten = 3;
