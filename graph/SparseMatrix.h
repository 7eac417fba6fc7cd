// Two-dimensional sparse array over unsigned row and column numbers.
// Only touched cells are stored, so node-by-node tables stay small on large graphs.
#pragma once

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

#include "util/FlatMap.h"

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
    // A copy or a move takes the cells; the row index is rebuilt as rows are met again.
    SparseMatrix(const SparseMatrix& other)
        : mat(other.mat), m(other.m), n(other.n), indexed_(other.indexed_) {
        rebuildIndex();
    }
    SparseMatrix(SparseMatrix&& other) noexcept
        : mat(std::move(other.mat)), m(other.m), n(other.n), indexed_(other.indexed_) {
        other.rowIndex_.clear();
        rebuildIndex();
        other.index_.clear();
    }
    SparseMatrix& operator=(const SparseMatrix& other) {
        if (this != &other) {
            mat = other.mat;
            m = other.m;
            n = other.n;
            rowIndex_.clear();
            indexed_ = other.indexed_;
            rebuildIndex();
        }
        return *this;
    }
    SparseMatrix& operator=(SparseMatrix&& other) noexcept {
        if (this != &other) {
            mat = std::move(other.mat);
            m = other.m;
            n = other.n;
            rowIndex_.clear();
            other.rowIndex_.clear();
            indexed_ = other.indexed_;
            rebuildIndex();
            other.index_.clear();
        }
        return *this;
    }

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
        rowIndex_.clear();
        index_.clear();
    }

    /// From now on keeps a hash index of the stored cells, so that a lookup takes one probe
    /// instead of a search down the row. The cells must then be added and removed through
    /// this class only, never through `mat`.
    void indexCells() {
        indexed_ = true;
        rebuildIndex();
    }

    /// True when cell (i, j) is stored; never creates anything.
    bool exists(unsigned int i, unsigned int j) const {
        if (useIndex(key(i, j))) return index_.find(key(i, j)) != nullptr;
        const Row* row = findRow(i);
        return row != nullptr && row->find(j) != row->end();
    }

    /// The stored cell, or null when it is missing; never creates anything.
    T* find(unsigned int i, unsigned int j) {
        if (useIndex(key(i, j))) {
            T* const* found = index_.find(key(i, j));
            return found != nullptr ? *found : nullptr;
        }
        Row* row = findRow(i);
        if (row == nullptr) return nullptr;
        auto found = row->find(j);
        return found != row->end() ? &found->second : nullptr;
    }

    /// The stored cell, created first holding a value-initialised T when missing.
    T& operator()(unsigned int i, unsigned int j) {
        const bool indexed = useIndex(key(i, j));
        if (indexed)
            if (T* const* known = index_.find(key(i, j))) return **known;
        Row* row = findRow(i);
        if (row == nullptr) {
            row = &mat[i];
            remember(i, row);
        }
        T& value = (*row)[j];
        if (indexed) index_.insert(key(i, j), &value);
        return value;
    }

    /// Removes cell (i, j) when stored. Its row stays, empty or not, so that rows are still
    /// only ever removed all together.
    void erase(unsigned int i, unsigned int j) {
        if (useIndex(key(i, j))) index_.erase(key(i, j));
        if (Row* row = findRow(i)) row->erase(j);
    }

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

private:
    using Row = std::map<unsigned int, T>;
    /// Rows with a number below this are indexed by number; others are searched in `mat`.
    static constexpr unsigned int kIndexedRows = 1u << 20;

    /// The rows of `mat` by number, filled as rows are met, so that a lookup skips the search
    /// over the rows. Rows are never erased one by one (only all together, which clears the
    /// index too), and map nodes never move, so a remembered row stays valid.
    mutable std::vector<Row*> rowIndex_;

    Row* findRow(unsigned int i) const {
        if (i < rowIndex_.size() && rowIndex_[i] != nullptr) return rowIndex_[i];
        auto row = mat.find(i);
        if (row == mat.end()) return nullptr;
        Row* found = const_cast<Row*>(&row->second);
        remember(i, found);
        return found;
    }

    void remember(unsigned int i, Row* row) const {
        if (i >= kIndexedRows) return;
        if (i >= rowIndex_.size()) rowIndex_.resize(static_cast<size_t>(i) + 1, nullptr);
        rowIndex_[i] = row;
    }

    // The cell index, by key(i, j). Map nodes never move, so the pointers stay valid until
    // their cell is erased. The one key the index cannot hold is looked up in the rows.
    bool indexed_ = false;
    FlatMap<T*> index_;

    static unsigned long long key(unsigned int i, unsigned int j) {
        return static_cast<unsigned long long>(i) << 32 | j;
    }
    bool useIndex(unsigned long long k) const { return indexed_ && k != FlatMap<T*>::kFree; }
    void rebuildIndex() {
        index_.clear();
        if (!indexed_) return;
        for (auto& row : mat)
            for (auto& entry : row.second)
                if (useIndex(key(row.first, entry.first)))
                    index_.insert(key(row.first, entry.first), &entry.second);
    }
};
