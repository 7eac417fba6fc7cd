// Per-node tables read and written by node number: the graphs number their nodes in int,
// while the tables that hang off them are standard vectors.
#pragma once

#include <cstddef>
#include <vector>

/// table[n] for a node number n the caller has checked to lie inside the table.
template <typename T> decltype(auto) nodeEntry(std::vector<T>& table, int n) {
    return table[static_cast<std::size_t>(n)];
}
template <typename T> decltype(auto) nodeEntry(const std::vector<T>& table, int n) {
    return table[static_cast<std::size_t>(n)];
}
