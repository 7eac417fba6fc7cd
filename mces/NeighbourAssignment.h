// Least-cost pairing of the neighbours of two nodes, on which both the neighbourhood bound
// and the neighbourhood similarity of the greedy matcher rest.
#pragma once

#include <cstddef>
#include <vector>

#include "assign/Hungarian.h"

/// Solves the assignment over `costs`, `rows` rows of `cols` values stored row by row, and
/// calls visit(cost) with the cost of the cell assigned to each row, in row order; a row
/// the solver leaves without a column is passed over.
template <typename Visit>
void visitAssignedCosts(const std::vector<double>& costs, std::size_t rows, std::size_t cols,
                        Visit visit) {
    std::vector<const double*> matrix(rows);
    for (std::size_t r = 0; r < rows; ++r)
        matrix[r] = &costs[r * cols];
    Hungarian solver;
    solver.solve(matrix.data(), static_cast<int>(rows), static_cast<int>(cols));
    for (std::size_t r = 0; r < rows; ++r) {
        const int c = solver.results[r];
        if (c < 0 || c >= static_cast<int>(cols)) continue;
        visit(costs[r * cols + c]);
    }
}
