// Whole-text number conversion for command-line values: the entire text must be one number
// within the type's range, so "1x", "abc" and overflowing values are refused, not truncated.
#pragma once

#include <string>

/// Reads `text` as a decimal int; false (value unchanged) when it is not exactly one.
bool parseWholeInt(const std::string& text, int& value);

/// Reads `text` as a real number; false (value unchanged) when it is not exactly one.
/// Non-finite spellings ("nan", "inf") and overflowing values are accepted here and left to
/// the caller's range check, which can then name the problem.
bool parseWholeReal(const std::string& text, double& value);
