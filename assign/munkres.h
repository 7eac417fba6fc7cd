// Assignment solver working in place on a dense Matrix<double>, in the matrix's own shape
// (no padding to a square).
#pragma once

#include "assign/matrix.h"

#include <list>
#include <utility>

/// Munkres' method with starred and primed zeros over a Matrix<double>.
class Munkres {
public:
    Matrix<int> mask_matrix; ///< 0 none, 1 starred zero, 2 primed zero
    Matrix<double> matrix;   ///< working costs
    bool* row_mask;          ///< covered rows, length matrix.rows(); owned; null before solve
    bool* col_mask;          ///< covered columns, length matrix.columns(); owned; null before solve
    double smallest_uncovered;
    int saverow; ///< row of the last primed zero
    int savecol; ///< column of the last primed zero

    Munkres();
    virtual ~Munkres();
    Munkres(const Munkres&) = delete;
    Munkres& operator=(const Munkres&) = delete;

    /// Solves the assignment on a copy of `m` and writes the result mask back into `m`:
    /// 0 at each assigned cell, -1 everywhere else. A matrix with more rows than columns is
    /// solved through its transpose, so every column gets its cheapest possible row.
    void solve(Matrix<double>& m);

    int step1(); ///< row reduction; returns 2
    int step2(); ///< initial stars; returns 3
    int step3(); ///< covers starred columns; returns 0 when complete, else 4
    int step4(); ///< primes an uncovered zero; returns 4, 5 or 6
    int step5(); ///< flips the alternating sequence; returns 3
    int step6(); ///< moves the smallest uncovered value; returns 4

    /// First uncovered cell equal to `item`, rows ascending then columns ascending.
    bool find_uncovered_in_matrix(double item, int& row, int& col);
    bool pair_in_list(const std::pair<int, int>& needle,
                      const std::list<std::pair<int, int>>& haystack);

private:
    void run();
    void clearMasks();
};
