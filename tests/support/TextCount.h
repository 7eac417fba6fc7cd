// Looking into captured output, shared by the tests of every folder: counting a text's
// occurrences and picking out the lines that hold it.
#pragma once

#include <sstream>
#include <string>
#include <vector>

/// Number of non-overlapping occurrences of `needle` in `text`.
inline int occurrences(const std::string& text, const std::string& needle) {
    int count = 0;
    for (size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size()))
        count++;
    return count;
}

/// The lines of `text` that hold `needle`, in order.
inline std::vector<std::string> linesWith(const std::string& text, const std::string& needle) {
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.find(needle) != std::string::npos) found.push_back(line);
    return found;
}
