// Dense linear-assignment solver by shortest augmenting paths over column prices, for the
// large assignments where the step method of Hungarian is too slow.
#pragma once

#include <cstddef>
#include <vector>

/// Square size above which the assignment-based matching uses ShortestPathSolver instead of
/// Hungarian. Smaller problems keep the step method, whose tie-breaking every other result
/// (search starts, neighbourhood bounds, identifier similarity) was made with.
constexpr int kShortestPathThreshold = 300;

/// Pairs rows with columns, each at most once, so that the sum of the chosen entries is
/// minimal; the same result contract as Hungarian (`n`, `m`, `l`, `k`, `results`, and the
/// 0 / -1 mask in `C`), so a caller reads either solver alike. Ties may be broken
/// differently: only the optimal total is the same. One solver serves one problem.
///
/// The method: column reduction, reduction transfer and two passes of augmenting row
/// reduction give a partial assignment with feasible column prices cheaply; each row still
/// free is then assigned by a Dijkstra-like search for the shortest augmenting path in the
/// reduced costs, which keeps the prices feasible. O(l³) at worst, far less on most inputs.
class ShortestPathSolver {
public:
    int n = 0; ///< number of rows given
    int m = 0; ///< number of columns given
    int l = 0; ///< size of the square working matrix, max(n, m)
    int k = 0; ///< min(n, m)
    /// Working costs, `l` rows of `l` (row pointers into one owned block). After solve: 0 at
    /// each assigned pair inside the given rows and columns, -1 everywhere else. Null
    /// before solve and for an empty problem.
    double** C = nullptr;
    /// Length `l`: for each row the assigned column, or -1 for a dummy column or a dummy
    /// row; owned; null before solve and for an empty problem.
    int* results = nullptr;

    ShortestPathSolver() = default;
    virtual ~ShortestPathSolver() = default;
    ShortestPathSolver(const ShortestPathSolver&) = delete;
    ShortestPathSolver& operator=(const ShortestPathSolver&) = delete;

    /// Solves the assignment over `input` (`rows` rows of `cols` doubles, copied, never
    /// changed). A rectangular input is padded to a square with 0. A non-finite value is
    /// reported on standard output and replaced by a value above every finite input.
    void solve(const double* const* input, int rows, int cols);

private:
    void copyInput(const double* const* input);
    /// Column reduction and reduction transfer; returns the rows left free.
    std::vector<int> reduceColumns();
    /// Augmenting row reduction over the free rows; leaves the rows still free in `freeRows`.
    void reduceRows(std::vector<int>& freeRows);
    /// Assigns one free row along a shortest augmenting path.
    void augment(int freeRow);
    /// Moves the prices of the columns settled by augment and flips the path ending at `end`.
    void applyPath(int freeRow, int end, const std::vector<int>& order,
                   const std::vector<double>& dist, int lastScanned, double minDist);
    void finishResults();

    const double* row(int r) const { return cells_.data() + static_cast<std::size_t>(r) * l; }

    std::vector<double> cells_;     // l * l working costs, row-major
    std::vector<double*> rowStart_; // C: one pointer per row into cells_
    std::vector<int> resultStore_;  // results
    std::vector<int> rowCol_;       // column of each row, -1 while free
    std::vector<int> colRow_;       // row of each column, -1 while free
    std::vector<double> price_;     // column prices (dual values)
    std::vector<int> pred_;         // row before each column on the current shortest paths
};
