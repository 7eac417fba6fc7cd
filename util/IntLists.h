// Lists of numbers kept ascending and without repeats.
#pragma once

#include <algorithm>
#include <vector>

/// Sorts `list` and drops its repeats.
inline void sortUnique(std::vector<int>& list) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}
