// Small dense matrix with separately allocated rows and guarded element access; a failed
// guard is a programming error that is reported and stops the program in every build type.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <utility>

/// Reports a failed guard (its text, this header and the line) and stops the program.
/// Unlike assert, it stays active in release builds.
[[noreturn]] inline void matrixGuardFailed(const char* text, int line) {
    std::fprintf(stderr, "Assertion failed: %s, file matrix.h, line %d\n", text, line);
    std::fflush(stderr);
    std::abort();
}

#define MATRIX_GUARD(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) matrixGuardFailed(#condition, __LINE__);                                 \
    } while (false)

/// Dense rows x columns matrix of T (used with double and int).
template <typename T> class Matrix {
public:
    /// `m_rows` row pointers, each to `m_columns` values; owned; null when without storage.
    T** m_matrix;
    int m_rows;
    int m_columns;

    /// A matrix without storage.
    Matrix() : m_matrix(nullptr), m_rows(0), m_columns(0) {}

    /// A rows x columns matrix filled with zeros (negative sizes count as 0).
    Matrix(int rows, int columns) : m_matrix(nullptr), m_rows(0), m_columns(0) {
        allocate(rows, columns);
    }

    Matrix(const Matrix& other) : m_matrix(nullptr), m_rows(0), m_columns(0) { *this = other; }

    ~Matrix() { release(); }

    /// Deep copy, resizing this matrix; copying a matrix without storage leaves this one
    /// without storage and with both sizes 0.
    Matrix& operator=(const Matrix& other) {
        if (this == &other) return *this;
        if (other.m_matrix == nullptr) {
            release();
            return *this;
        }
        if (m_matrix == nullptr || m_rows != other.m_rows || m_columns != other.m_columns) {
            release();
            allocate(other.m_rows, other.m_columns);
        }
        for (int i = 0; i < m_rows; ++i)
            for (int j = 0; j < m_columns; ++j)
                m_matrix[i][j] = other.m_matrix[i][j];
        return *this;
    }

    /// Changes the size, keeping the values of the overlapping region and filling the rest
    /// with zeros; a matrix without storage is allocated and cleared.
    void resize(int rows, int columns) {
        if (m_matrix == nullptr) {
            allocate(rows, columns);
            return;
        }
        Matrix<T> bigger(rows, columns);
        const int keepRows = m_rows < bigger.m_rows ? m_rows : bigger.m_rows;
        const int keepColumns = m_columns < bigger.m_columns ? m_columns : bigger.m_columns;
        for (int i = 0; i < keepRows; ++i)
            for (int j = 0; j < keepColumns; ++j)
                bigger.m_matrix[i][j] = m_matrix[i][j];
        swapWith(bigger);
    }

    /// Sets every value to 0.
    void clear() {
        MATRIX_GUARD(m_matrix != NULL);
        for (int i = 0; i < m_rows; ++i)
            for (int j = 0; j < m_columns; ++j)
                m_matrix[i][j] = T(0);
    }

    /// The element in row x, column y.
    T& operator()(int x, int y) {
        MATRIX_GUARD(x >= 0);
        MATRIX_GUARD(y >= 0);
        MATRIX_GUARD(x < m_rows);
        MATRIX_GUARD(y < m_columns);
        MATRIX_GUARD(m_matrix != NULL);
        return m_matrix[x][y];
    }

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    /// The smaller of the two sizes.
    int minsize() const { return m_rows < m_columns ? m_rows : m_columns; }

private:
    void allocate(int rows, int columns) {
        m_rows = rows < 0 ? 0 : rows;
        m_columns = columns < 0 ? 0 : columns;
        m_matrix = new T*[m_rows];
        for (int i = 0; i < m_rows; ++i)
            m_matrix[i] = new T[m_columns]();
    }

    void release() {
        if (m_matrix != nullptr) {
            for (int i = 0; i < m_rows; ++i)
                delete[] m_matrix[i];
            delete[] m_matrix;
        }
        m_matrix = nullptr;
        m_rows = 0;
        m_columns = 0;
    }

    void swapWith(Matrix& other) {
        std::swap(m_matrix, other.m_matrix);
        std::swap(m_rows, other.m_rows);
        std::swap(m_columns, other.m_columns);
    }
};
