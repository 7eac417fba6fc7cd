// Two-dimensional sparse array over unsigned row and column numbers.
// Only touched cells are stored, so node-by-node tables stay small on large graphs.
#pragma once

#include <cstddef>
#include <map>
#include <vector>

/// A value container indexed by any pair of unsigned numbers. `m` and `n` record the nominal
/// size but never limit the indices. Stored values are never deleted by the matrix: for
/// pointer types the pointees belong to someone else.
template <typename T> class SparseMatrix {
public:
    /// Rows in ascending order, each mapping column numbers (ascending) to values.
    std::map<unsigned int, std::map<unsigned int, T>> mat;
    /// Nominal number of rows (informative only).
    size_t m = 0;
    /// Nominal number of columns (informative only).
    size_t n = 0;

    SparseMatrix() = default;
    SparseMatrix(unsigned int i, unsigned int j) : m(i), n(j) {}

    ~SparseMatrix() {
        for (auto& row : mat)
            row.second.clear();
        mat.clear();
    }

    /// Sets the nominal size and removes every stored cell.
    void reinit(unsigned int i, unsigned int j) {
        m = i;
        n = j;
        mat.clear();
    }

    /// True when cell (i, j) is stored; never creates anything.
    bool exists(unsigned int i, unsigned int j) const {
        auto row = mat.find(i);
        return row != mat.end() && row->second.find(j) != row->second.end();
    }

    /// The stored cell, or null when it is missing; never creates anything.
    T* find(unsigned int i, unsigned int j) {
        auto row = mat.find(i);
        if (row == mat.end()) return nullptr;
        auto found = row->second.find(j);
        return found != row->second.end() ? &found->second : nullptr;
    }

    /// The stored cell, created first holding a value-initialised T when missing.
    T& operator()(unsigned int i, unsigned int j) { return mat[i][j]; }

    /// Number of stored cells over all rows.
    int count() const {
        size_t total = 0;
        for (const auto& row : mat)
            total += row.second.size();
        return static_cast<int>(total);
    }

    /// Number of stored rows.
    int rows() const { return static_cast<int>(mat.size()); }

    /// Every stored value in row-major order; the caller owns and deletes the vector.
    std::vector<T>* getVector() const {
        auto* values = new std::vector<T>();
        values->reserve(static_cast<size_t>(count()));
        for (const auto& row : mat)
            for (const auto& cellEntry : row.second)
                values->push_back(cellEntry.second);
        return values;
    }
};
