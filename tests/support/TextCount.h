// Counting a text's occurrences in captured output, shared by the tests of every folder.
#pragma once

#include <string>

/// Number of non-overlapping occurrences of `needle` in `text`.
inline int occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size()))
        count++;
    return count;
}
