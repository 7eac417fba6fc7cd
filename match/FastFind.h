// Move index: candidate-move cells filed in score bands ("layers") so that the best move is
// found by scanning only the best non-empty band.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <iterator>
#include <vector>

#include "graph/SparseMatrix.h"
#include "match/stdafx.h"
#include "util/FlatMap.h"

/// Lowest key any layer accepts; cells with lower keys are not indexed.
constexpr int kFloorKey = -500000;

/// One layer of the index: its cells in filing order. A removed cell leaves an empty slot,
/// and the slots are closed up once the empty ones outnumber the cells: removal takes
/// constant time, the order (on which the tie-breaking of find depends) is kept, and a scan
/// reads one contiguous array instead of following list links.
class CellLayer {
public:
    /// Number of cells in the layer.
    std::size_t size() const { return live_; }
    bool empty() const { return live_ == 0; }

    /// Visits the cells in filing order.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = cell*;
        using difference_type = std::ptrdiff_t;
        using pointer = cell* const*;
        using reference = cell*;

        const_iterator(const cell* const* at, const cell* const* end) : at_(at), end_(end) {
            skip();
        }
        cell* operator*() const { return const_cast<cell*>(*at_); }
        const_iterator& operator++() {
            ++at_;
            skip();
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return at_ != other.at_; }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

    private:
        const cell* const* at_;
        const cell* const* end_;
        void skip() {
            while (at_ != end_ && *at_ == nullptr)
                ++at_;
        }
    };
    const_iterator begin() const { return {slots_.data(), slots_.data() + slots_.size()}; }
    const_iterator end() const {
        return {slots_.data() + slots_.size(), slots_.data() + slots_.size()};
    }

private:
    friend class FastFind;
    /// The cells in filing order; null where a cell was taken out. Borrowed pointers.
    std::vector<cell*> slots_;
    std::size_t live_ = 0;
};

/// Files `cell` pointers by their ranking key `delta_m` (larger is better) into layers:
/// layer 0 holds keys of `top` and above, then `h_layers` bands down to 0, then `l_layers`
/// bands of negative keys, and a last layer down to kFloorKey. The cells belong to the
/// caller; the index never creates or frees one.
class FastFind {
public:
    /// Total number of layers: h_layers + l_layers + 2.
    int nbLayers = 0;
    /// Layer 0 plus the layers of non-negative keys: h_layers + 1.
    int h_nbLayers = 0;
    /// Layers of negative keys: l_layers.
    int l_nbLayers = 0;
    /// Upper band limit (`max` at construction).
    float top = 0;
    /// Depth of the negative band (`min` at construction).
    float bottom = 0;
    /// First non-empty layer (nbLayers - 1 when none).
    short bestLayer = 0;
    /// Second non-empty layer (nbLayers - 1 when none).
    short secondBest = 0;
    /// Lowest key a threshold-tested insertion admits: lower bound of the second-best layer.
    int insert_threshold = 0;
    /// The buckets, nbLayers layers in insertion order; owned; null for a default index.
    CellLayer* layers = nullptr;
    /// Lower key bound of each layer, length nbLayers; owned.
    int* thres_layers = nullptr;
    /// min + max ints; owned; read by nothing.
    int* delta_layer = nullptr;
    /// Never set or read.
    SparseMatrix<float>* W = nullptr;
    /// Number of find() calls.
    int nbFinds = 0;
    /// The owner's matching arrays (first-to-second, second-to-first); not owned.
    int* M12 = nullptr;
    int* M21 = nullptr;
    /// The owner's tabu buckets; not owned, read by nothing here.
    std::vector<cell*>** tabu = nullptr;
    /// The owner's similarity matrix; not owned, read by nothing here.
    SparseMatrix<float>* _M = nullptr;
    /// Key width of one non-negative layer and of one negative layer.
    int h_gap = 0;
    int l_gap = 0;
    /// Milliseconds spent in remove and insert, on a monotonic clock (all_time stays 0).
    double remove_time = 0;
    double insert_time = 0;
    double all_time = 0;
    /// Number of cells currently indexed.
    long nbCandidates = 0;
    /// The larger graph's order, as passed.
    int max_vertices = 0;

    /// An index with no layers: every cell is refused until a real index replaces it.
    FastFind() = default;
    /// Layers for keys from `max` down through `min` below zero; see the class comment.
    FastFind(int min, int max, int h_layers, int l_layers, int maxVertices, int* MM12, int* MM21,
             std::vector<cell*>** tab, SparseMatrix<float>* _MM);
    FastFind(const FastFind&) = delete;
    FastFind& operator=(const FastFind&) = delete;
    /// Frees the layers and the threshold tables; nothing that was handed in.
    ~FastFind();

    /// Files or re-files c by its current key. With check_thresh, a cell below
    /// insert_threshold, or a worsening cell while improving layers exist, is taken out instead.
    void insert(cell* c, bool check_thresh);
    /// Takes c out of the index; nothing for a null or unindexed cell.
    void remove(cell* c);
    /// The maximum-key cell of the best layer, ties broken uniformly at random; null (after
    /// printing the index) when the best layer is empty.
    cell* find();
    /// The layer for c's key, or -1 when the key is below every layer.
    int findLayer(cell* c);
    /// Recomputes bestLayer and secondBest.
    void checkBests();
    /// Drops every cell of the layers from bestLayer + 2 down.
    void purge();
    /// Does nothing.
    void updateThreshold();
    /// Writes the layer summary and every indexed cell to standard output.
    void display();
    /// Writes the same to `out`.
    void display(std::ostream& out);

    /// The indexed cells of first node x (cellsInRow) or second node y (cellsInColumn), in no
    /// particular order; empty for a number no indexed cell has. Valid until the next insert
    /// or remove, so a caller that removes cells while reading copies the list first.
    const std::vector<cell*>& cellsInRow(int x) const { return cellsOf(byRow_, x); }
    const std::vector<cell*>& cellsInColumn(int y) const { return cellsOf(byColumn_, y); }

private:
    /// insert_threshold from the current second-best layer.
    void resetThreshold();

    /// Where each filed cell stands in its layer, so that removal takes constant time
    /// while the layers keep their insertion order (the tie-breaking of find depends on it).
    /// The layer is kept beside the position, so a cell whose layer field was changed by its
    /// owner is still taken out of the right list.
    /// Row and column are the cell's node numbers when it was filed; the slots are its places
    /// in their lists (-1 for a negative number).
    struct Position {
        int layer;
        int slot; ///< place in the layer's slots

        int row;
        int column;
        int rowSlot;
        int columnSlot;
    };
    FlatMap<Position> positions_;
    static unsigned long long placeKey(const cell* c) {
        return static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(c));
    }
    /// Indexed cells by first and by second node number, so that the owner can take out the
    /// moves of one node without asking about every pair; owned lists of borrowed cells.
    std::vector<std::vector<cell*>> byRow_;
    std::vector<std::vector<cell*>> byColumn_;

    /// Appends c to layer l; returns its slot.
    int file(int l, cell* c);
    /// Empties the slot of a cell that leaves layer l, closing up the layer's slots when the
    /// empty ones outnumber the cells.
    void unfile(int l, int slot);

    static const std::vector<cell*>& cellsOf(const std::vector<std::vector<cell*>>& lists, int n);
    /// Adds c to the list of number n; returns its slot (-1 for a negative number).
    static int enlist(std::vector<std::vector<cell*>>& lists, int n, cell* c);
    /// Takes the cell at `slot` out of the list of number n, moving the last one into its
    /// place; `isRow` says which slot of the moved cell's position to update.
    void delist(std::vector<std::vector<cell*>>& lists, int n, int slot, bool isRow);
};
