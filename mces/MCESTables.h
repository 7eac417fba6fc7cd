// Dense two-dimensional tables of the greedy matcher: one block of cells with a row of
// pointers into it, so that table[i][j] reads like a plain array.
#pragma once

#include <algorithm>
#include <cstddef>

/// A rows x cols table with every cell set to `value`. The row pointer array has at least
/// one entry and its entry 0 always holds the block, so an empty table frees cleanly.
template <typename T> T** newTable(int rows, int cols, T value) {
    const int r = std::max(rows, 0);
    const int c = std::max(cols, 0);
    T** table = new T*[std::max(r, 1)];
    T* block = new T[static_cast<std::size_t>(r) * static_cast<std::size_t>(c)];
    std::fill(block, block + static_cast<std::size_t>(r) * c, value);
    table[0] = block;
    for (int i = 1; i < r; ++i)
        table[i] = block + static_cast<std::size_t>(i) * c;
    return table;
}

/// Frees a table made by newTable; null is allowed.
template <typename T> void deleteTable(T**& table) {
    if (table == nullptr) return;
    delete[] table[0];
    delete[] table;
    table = nullptr;
}
