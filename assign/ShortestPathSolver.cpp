// Shortest-augmenting-path assignment: cheap initial phases that assign most rows and set
// feasible column prices, then one Dijkstra-like augmentation per row still free.
#include "assign/ShortestPathSolver.h"
#include "assign/NonFiniteCost.h"
#include "util/Console.h"

#include <cmath>
#include <limits>

namespace {

constexpr int kNone = -1;
constexpr double kUnassigned = -1.0;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
/// Passes of augmenting row reduction; the second catches most rows the first displaced.
constexpr int kRowReductionPasses = 2;
/// Row steps per pass and row, beyond which the rest is left to the augmentation. Each step
/// lowers a price strictly, so a pass ends; the cap only bounds long runs of tiny steps.
constexpr long kRowReductionStepsPerRow = 16;

} // namespace

void ShortestPathSolver::solve(const double* const* input, int rows, int cols) {
    n = rows < 0 ? 0 : rows;
    m = cols < 0 ? 0 : cols;
    l = n > m ? n : m;
    k = n < m ? n : m;
    copyInput(input);
    rowCol_.assign(l, kNone);
    colRow_.assign(l, kNone);
    price_.assign(l, 0.0);
    if (l == 1) {
        // The reductions below compare each row with a second column; one cell needs none.
        rowCol_[0] = colRow_[0] = 0;
    } else if (l > 1) {
        std::vector<int> freeRows = reduceColumns();
        reduceRows(freeRows);
        for (int r : freeRows)
            augment(r);
    }
    finishResults();
}

void ShortestPathSolver::copyInput(const double* const* input) {
    cells_.assign(static_cast<size_t>(l) * l, 0.0);
    rowStart_.assign(l, nullptr);
    for (int r = 0; r < l; ++r)
        rowStart_[r] = cells_.data() + static_cast<size_t>(r) * l;
    C = l > 0 ? rowStart_.data() : nullptr;
    bool standInKnown = false;
    double standIn = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j) {
            double value = input[i][j];
            if (!std::isfinite(value)) {
                console() << "\n" << n << "," << m << "/" << i << "," << j << " : " << value;
                if (!standInKnown) standIn = nonFiniteStandIn(input, n, m);
                standInKnown = true;
                value = standIn;
            }
            rowStart_[i][j] = value;
        }
    }
}

std::vector<int> ShortestPathSolver::reduceColumns() {
    // Each column's price becomes its minimum, and the column goes to that row unless the row
    // already holds a column; a row that wins several keeps the cheapest. Columns are taken
    // from the last, so the first column wins ties of the kept one.
    std::vector<int> wins(l, 0);
    for (int j = l - 1; j >= 0; --j) {
        int best = 0;
        double low = cells_[j];
        for (int i = 1; i < l; ++i) {
            const double value = cells_[static_cast<size_t>(i) * l + j];
            if (value < low) {
                low = value;
                best = i;
            }
        }
        price_[j] = low;
        if (++wins[best] == 1) {
            rowCol_[best] = j;
            colRow_[j] = best;
        } else if (low < price_[rowCol_[best]]) {
            colRow_[rowCol_[best]] = kNone;
            rowCol_[best] = j;
            colRow_[j] = best;
        }
    }
    // Reduction transfer: a row that won exactly one column passes the slack to its second
    // best column onto the price of its own, so that later searches see the true margin.
    std::vector<int> freeRows;
    for (int i = 0; i < l; ++i) {
        if (wins[i] == 0) {
            freeRows.push_back(i);
        } else if (wins[i] == 1) {
            const int own = rowCol_[i];
            const double* costs = row(i);
            double slack = kInfinity;
            for (int j = 0; j < l; ++j)
                if (j != own && costs[j] - price_[j] < slack) slack = costs[j] - price_[j];
            price_[own] -= slack;
        }
    }
    return freeRows;
}

void ShortestPathSolver::reduceRows(std::vector<int>& freeRows) {
    for (int pass = 0; pass < kRowReductionPasses && !freeRows.empty(); ++pass) {
        std::vector<int> next;
        std::vector<int> todo(freeRows.rbegin(), freeRows.rend()); // a stack, first row on top
        long steps = 0;
        const long stepLimit = kRowReductionStepsPerRow * l;
        while (!todo.empty()) {
            if (++steps > stepLimit) {
                next.insert(next.end(), todo.rbegin(), todo.rend());
                break;
            }
            const int i = todo.back();
            todo.pop_back();
            // The cheapest and the second cheapest reduced cost of the row.
            const double* costs = row(i);
            double low = costs[0] - price_[0];
            double second = kInfinity;
            int lowCol = 0;
            int secondCol = kNone;
            for (int j = 1; j < l; ++j) {
                const double h = costs[j] - price_[j];
                if (h < second) {
                    if (h >= low) {
                        second = h;
                        secondCol = j;
                    } else {
                        second = low;
                        secondCol = lowCol;
                        low = h;
                        lowCol = j;
                    }
                }
            }
            int col = lowCol;
            int displaced = colRow_[col];
            const bool strict = low < second;
            if (strict) {
                // Lowering the price by the margin keeps the column the row's cheapest.
                price_[col] -= second - low;
            } else if (displaced != kNone) {
                // A tie: take the second column instead, which may be free.
                col = secondCol;
                displaced = colRow_[col];
            }
            rowCol_[i] = col;
            colRow_[col] = i;
            if (displaced != kNone) {
                rowCol_[displaced] = kNone;
                // A row displaced after a price change is tried again at once; after a tie,
                // in the next pass.
                if (strict)
                    todo.push_back(displaced);
                else
                    next.push_back(displaced);
            }
        }
        freeRows.swap(next);
    }
}

void ShortestPathSolver::augment(int freeRow) {
    // dist[j]: shortest reduced path length from the free row to column j. Columns are kept
    // in `order`: [0, scanned) done, [scanned, atMin) at the current minimum distance and
    // not yet scanned, [atMin, l) still to settle.
    std::vector<double> dist(l);
    pred_.assign(l, freeRow);
    std::vector<int> order(l);
    const double* first = row(freeRow);
    for (int j = 0; j < l; ++j) {
        dist[j] = first[j] - price_[j];
        order[j] = j;
    }
    int scanned = 0;
    int atMin = 0;
    int lastScanned = -1;
    int end = kNone;
    double minDist = 0;
    while (end == kNone) {
        if (atMin == scanned) {
            // Gather the columns at the next smallest distance.
            lastScanned = scanned - 1;
            minDist = dist[order[atMin++]];
            for (int q = atMin; q < l; ++q) {
                const int j = order[q];
                const double h = dist[j];
                if (h <= minDist) {
                    if (h < minDist) {
                        atMin = scanned;
                        minDist = h;
                    }
                    order[q] = order[atMin];
                    order[atMin++] = j;
                }
            }
            for (int q = scanned; q < atMin; ++q)
                if (colRow_[order[q]] == kNone) {
                    end = order[q];
                    break;
                }
            if (end != kNone) break;
        }
        // Scan the row assigned to one column at the minimum distance.
        const int j1 = order[scanned++];
        const int i = colRow_[j1];
        const double* costs = row(i);
        const double base = costs[j1] - price_[j1] - minDist;
        for (int q = atMin; q < l; ++q) {
            const int j = order[q];
            const double h = costs[j] - price_[j] - base;
            if (h < dist[j]) {
                pred_[j] = i;
                dist[j] = h;
                if (h <= minDist) {
                    if (colRow_[j] == kNone) {
                        end = j;
                        break;
                    }
                    order[q] = order[atMin];
                    order[atMin++] = j;
                }
            }
        }
    }
    applyPath(freeRow, end, order, dist, lastScanned, minDist);
}

void ShortestPathSolver::applyPath(int freeRow, int end, const std::vector<int>& order,
                                   const std::vector<double>& dist, int lastScanned,
                                   double minDist) {
    // Columns settled before the last minimum move their prices by their lead over it, which
    // keeps every reduced cost non-negative and those on the path at zero.
    for (int q = 0; q <= lastScanned; ++q) {
        const int j = order[q];
        price_[j] += dist[j] - minDist;
    }
    // Flip the path back to the free row.
    for (;;) {
        const int i = pred_[end];
        colRow_[end] = i;
        const int previous = rowCol_[i];
        rowCol_[i] = end;
        if (i == freeRow) break;
        end = previous;
    }
}

void ShortestPathSolver::finishResults() {
    resultStore_.assign(l, kNone);
    results = l > 0 ? resultStore_.data() : nullptr;
    for (int r = 0; r < l; ++r) {
        const int c = rowCol_[r];
        if (r < n && c != kNone && c < m) resultStore_[r] = c;
        double* cells = rowStart_[r];
        for (int j = 0; j < l; ++j)
            cells[j] = kUnassigned;
        if (resultStore_[r] != kNone) cells[resultStore_[r]] = 0;
    }
}
