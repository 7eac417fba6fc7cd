// Dense linear-assignment solver: the matrix form of the Hungarian method with starred and
// primed zeros and covered lines, run on a square matrix padded from a rectangular input.
#pragma once

#include <vector>

/// Pairs rows with columns, each at most once, so that the sum of the chosen entries is
/// minimal. One solver serves one problem: create it, call solve, read `results` or `C`.
class Hungarian {
public:
    int n; ///< number of rows given
    int m; ///< number of columns given
    int l; ///< size of the square working matrix, max(n, m)
    int k; ///< min(n, m)

    /// Working costs, `l` rows of `l`; owned. After solve: 0 at each assigned pair inside the
    /// given rows and columns, -1 everywhere else. Null before solve.
    double** C;
    /// Cell marks, `l` rows of `l`: 0 none, 1 starred zero, 2 primed zero; owned; null before
    /// solve.
    int** M;
    int* R_cov;  ///< length `l`: 1 when the row is covered; owned; null before solve
    int* C_cov;  ///< length `l`: 1 when the column is covered; owned; null before solve
    int stepnum; ///< current step (kept for inspection; solve does not consult it)
    bool done;   ///< finished flag (kept for inspection; solve does not consult it)
    /// Length `l`: for each row the assigned column, or -1 for a dummy column or a dummy row;
    /// owned; null before solve.
    int* results;
    /// The alternating path of step 5: 2·`l` entries of (row, column); owned; null before solve.
    int** path;
    int Z0_r; ///< row of the primed zero that starts the path
    int Z0_c; ///< column of the primed zero that starts the path

    Hungarian();
    virtual ~Hungarian();
    Hungarian(const Hungarian&) = delete;
    Hungarian& operator=(const Hungarian&) = delete;

    /// Solves the assignment over `input` (`rows` rows of `cols` doubles, copied, never
    /// changed). A negative or non-finite value is reported on standard output; a negative
    /// one is kept, a non-finite one replaced by a value above every finite input.
    void solve(const double* const* input, int rows, int cols);

    /// Sets up the square working matrix; returns 1.
    int step0(const double* const* input, int rows, int cols);
    int step1(); ///< row reduction; returns 2
    int step2(); ///< initial stars; returns 3
    int step3(); ///< covers starred columns; returns 7 when complete, else 4
    int step4(); ///< primes uncovered zeros; returns 5 or 6
    int step5(); ///< flips the alternating path; returns 3
    int step6(); ///< moves the smallest uncovered value; returns 4

    /// First row holding an uncovered zero, and the highest such column in it; -1, -1 if none.
    void find_a_zero(int& row, int& col);
    bool star_in_row(int row);
    /// The column of the star in `row`, or -1.
    void find_star_in_row(int& row, int& col);
    /// The last row holding a star in column `c`, or -1.
    void find_star_in_col(int c, int& r);
    /// The last column holding a prime in row `r`, or -1.
    void find_prime_in_row(int r, int& c);
    /// Flips path entries 0..count: stars become unmarked, every other mark a star.
    void convert_path(int count);
    void clear_covers();
    void erase_primes();
    /// Smallest value over cells with both row and column uncovered.
    void find_smallest(double& minval);

    /// Prints the working matrix: cover mark, value and "(" mark ")" per cell.
    void printState();

private:
    void release();
    void finishResults();
    void listZeros();

    // Zero columns of each row, highest first. Only steps 1 and 6 change values, so the
    // lists are made once per change and find_a_zero walks them instead of the whole
    // matrix; `zerosListed` is true while they match `C`.
    std::vector<std::vector<int>> zeroColumns;
    bool zerosListed = false;
};
