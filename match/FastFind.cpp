// Move index: layer construction, filing and removal of cells, and the choice of the next
// move with random tie-breaking.
#include "match/FastFind.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>

#include "util/Clock.h"
#include "util/Console.h"
#include "util/Random.h"

FastFind::FastFind(int min, int max, int h_layers, int l_layers, int maxVertices, int* MM12,
                   int* MM21, std::vector<cell*>** tab, SparseMatrix<float>* _MM) {
    // Negative layer counts would make negative array sizes.
    h_layers = std::max(h_layers, 0);
    l_layers = std::max(l_layers, 0);
    h_nbLayers = h_layers + 1;
    l_nbLayers = l_layers;
    top = static_cast<float>(max);
    bottom = static_cast<float>(min);
    nbLayers = h_layers + l_layers + 2;
    max_vertices = maxVertices;
    M12 = MM12;
    M21 = MM21;
    tabu = tab;
    _M = _MM;
    nbFinds = 0;

    layers = new CellLayer[nbLayers];
    thres_layers = new int[nbLayers];
    delta_layer = new int[std::max(min + max, 0)]();

    // Non-negative bands of h_gap each from top down to 0.
    thres_layers[0] = static_cast<int>(top);
    h_gap = h_layers > 0 ? static_cast<int>(std::ceil(top / h_layers)) : 1;
    if (h_gap == 0) h_gap = 1; // a zero top would make findLayer divide by zero
    for (int i = 1; i < h_nbLayers; ++i)
        thres_layers[i] = thres_layers[i - 1] - h_gap;
    thres_layers[h_nbLayers - 1] = 0;

    // Negative bands of l_gap each, then a last band down to the floor key.
    l_gap = l_layers > 0 ? static_cast<int>(std::ceil(bottom / l_layers)) : 1;
    if (l_gap == 0) l_gap = 1;
    for (int i = h_nbLayers; i <= nbLayers - 2; ++i)
        thres_layers[i] = thres_layers[i - 1] - l_gap;
    thres_layers[nbLayers - 1] = kFloorKey;

    bestLayer = static_cast<short>(h_nbLayers - 1);
    secondBest = static_cast<short>(h_nbLayers);
    insert_threshold = 0;
    nbCandidates = 0;
    remove_time = insert_time = all_time = 0;
}

FastFind::~FastFind() {
    // The matching arrays, tabu buckets and matrices belong to the owner, who keeps using them.
    delete[] layers;
    delete[] thres_layers;
    delete[] delta_layer;
}

int FastFind::findLayer(cell* c) {
    if (c == nullptr || layers == nullptr || std::isnan(c->delta_m)) return -1;
    // Keys are compared after truncation toward zero (so -0.5 counts as 0); huge keys are
    // clamped, which keeps them in the first or out of every layer.
    const double truncated = std::trunc(c->delta_m);
    const int d = truncated >= static_cast<double>(INT_MAX)   ? INT_MAX
                  : truncated <= static_cast<double>(INT_MIN) ? INT_MIN
                                                              : static_cast<int>(truncated);
    if (d >= top) return 0;
    if (d < thres_layers[nbLayers - 2]) return d >= thres_layers[nbLayers - 1] ? nbLayers - 1 : -1;
    int layer;
    if (d >= 0)
        layer = static_cast<int>(std::ceil((top - d) / h_gap));
    else
        layer = h_nbLayers + (-d - 1) / l_gap;
    // Unusual construction parameters must not send a cell outside the layer table.
    return std::min(std::max(layer, 0), nbLayers - 1);
}

void FastFind::insert(cell* c, bool check_thresh) {
    if (c == nullptr) return;
    const double start = steadyMillis();
    // Where the index filed the cell is what counts, whatever its layer field says.
    Position* filed = positions_.find(placeKey(c));
    if (layers != nullptr) c->layer = static_cast<short>(filed == nullptr ? -1 : filed->layer);
    if (check_thresh && layers != nullptr &&
        (c->delta_m < insert_threshold || (c->delta_m < 0 && thres_layers[bestLayer] >= 0))) {
        remove(c);
        return;
    }
    const int l = findLayer(c);
    if (l == -1) {
        remove(c);
        return;
    }
    // A cell already in its layer keeps its place in the list; one that changes layer goes to
    // the end of its new layer, as if it were taken out and filed again.
    if (l != c->layer) {
        if (filed != nullptr) {
            Position& at = *filed;
            unfile(at.layer, at.slot);
            at.slot = file(l, c);
            at.layer = l;
        } else {
            const int slot = file(l, c);
            const int rowSlot = enlist(byRow_, c->x, c);
            const int columnSlot = enlist(byColumn_, c->y, c);
            positions_.insert(placeKey(c), Position{l, slot, c->x, c->y, rowSlot, columnSlot});
            ++nbCandidates;
        }
        c->layer = static_cast<short>(l);
        checkBests();
    }
    resetThreshold();
    insert_time += steadyMillis() - start;
}

void FastFind::remove(cell* c) {
    // A cell the index holds is taken out even if its owner reset its layer field: a list
    // entry left behind would point at a cell the owner no longer files.
    if (c == nullptr) return;
    const Position* filed = positions_.find(placeKey(c));
    if (c->layer < 0 && filed == nullptr) return;
    const double start = steadyMillis();
    // Only what was really filed is taken out: a cell whose layer field was never set by the
    // index must not lower the number of candidates.
    if (filed != nullptr) {
        const Position at = *filed;
        positions_.erase(placeKey(c));
        unfile(at.layer, at.slot);
        delist(byRow_, at.row, at.rowSlot, true);
        delist(byColumn_, at.column, at.columnSlot, false);
        --nbCandidates;
        checkBests();
    }
    c->layer = -1;
    if (layers != nullptr) resetThreshold();
    remove_time += steadyMillis() - start;
}

int FastFind::file(int l, cell* c) {
    CellLayer& layer = layers[l];
    layer.slots_.push_back(c);
    ++layer.live_;
    return static_cast<int>(layer.slots_.size()) - 1;
}

void FastFind::unfile(int l, int slot) {
    CellLayer& layer = layers[l];
    layer.slots_[static_cast<size_t>(slot)] = nullptr;
    --layer.live_;
    // Closing up costs a pass over the layer, paid for by the removals that emptied half of it.
    constexpr size_t kFewSlots = 64;
    const size_t empty = layer.slots_.size() - layer.live_;
    if (layer.slots_.size() <= kFewSlots || empty <= layer.live_) return;
    size_t kept = 0;
    for (cell* c : layer.slots_) {
        if (c == nullptr) continue;
        positions_.find(placeKey(c))->slot = static_cast<int>(kept);
        layer.slots_[kept++] = c;
    }
    layer.slots_.resize(kept);
}

const std::vector<cell*>& FastFind::cellsOf(const std::vector<std::vector<cell*>>& lists, int n) {
    static const std::vector<cell*> none;
    if (n < 0 || static_cast<size_t>(n) >= lists.size()) return none;
    return lists[static_cast<size_t>(n)];
}

int FastFind::enlist(std::vector<std::vector<cell*>>& lists, int n, cell* c) {
    if (n < 0) return -1;
    const auto index = static_cast<size_t>(n);
    if (index >= lists.size()) lists.resize(std::max(index + 1, lists.size() * 2));
    lists[index].push_back(c);
    return static_cast<int>(lists[index].size()) - 1;
}

void FastFind::delist(std::vector<std::vector<cell*>>& lists, int n, int slot, bool isRow) {
    if (n < 0 || slot < 0) return;
    std::vector<cell*>& list = lists[static_cast<size_t>(n)];
    cell* last = list.back();
    list[static_cast<size_t>(slot)] = last;
    list.pop_back();
    if (static_cast<size_t>(slot) < list.size()) {
        Position& moved = *positions_.find(placeKey(last));
        (isRow ? moved.rowSlot : moved.columnSlot) = slot;
    }
}

void FastFind::checkBests() {
    if (layers == nullptr) return;
    int best = nbLayers - 1;
    int second = nbLayers - 1;
    int i = 0;
    while (i < nbLayers && layers[i].empty())
        ++i;
    if (i < nbLayers) {
        best = i;
        ++i;
        while (i < nbLayers && layers[i].empty())
            ++i;
        if (i < nbLayers) second = i;
    }
    bestLayer = static_cast<short>(best);
    secondBest = static_cast<short>(second);
}

void FastFind::resetThreshold() {
    insert_threshold = thres_layers[std::min(static_cast<int>(secondBest), nbLayers - 1)];
}

cell* FastFind::find() {
    ++nbFinds;
    cell* choice = nullptr;
    if (layers != nullptr) {
        float m = static_cast<float>(kFloorKey);
        int k = 0;
        // Reservoir sampling over the cells of maximum key: the k-th equal one replaces the
        // current choice with probability 1/k, so each is returned with the same chance.
        for (cell* c : layers[bestLayer]) {
            const float key = static_cast<float>(c->delta_m);
            if (key > m) {
                m = key;
                k = 0;
            }
            if (!(key < m)) {
                ++k;
                const float a = static_cast<float>(randDraw()) / static_cast<float>(kRandMax);
                if (1.0f / static_cast<float>(k) >= a) choice = c;
            }
        }
    }
    if (choice == nullptr) display();
    return choice;
}

void FastFind::purge() {
    if (layers == nullptr) return;
    for (int i = bestLayer + 2; i < nbLayers; ++i) {
        for (cell* c : layers[i]) {
            c->layer = -1;
            const Position* filed = positions_.find(placeKey(c));
            if (filed == nullptr) continue;
            const Position at = *filed;
            positions_.erase(placeKey(c));
            delist(byRow_, at.row, at.rowSlot, true);
            delist(byColumn_, at.column, at.columnSlot, false);
        }
        nbCandidates -= static_cast<long>(layers[i].size());
        layers[i].slots_.clear();
        layers[i].live_ = 0;
    }
    // Membership changed: keep the best layers and the threshold in step.
    checkBests();
    resetThreshold();
}

void FastFind::updateThreshold() {}

void FastFind::display() {
    display(console());
}

void FastFind::display(std::ostream& out) {
    out << "\n[" << top << "," << bottom << "] \t Layers : " << nbLayers << "(" << h_nbLayers << ","
        << l_nbLayers << ") Content : " << nbCandidates << " -----  bestLayer : " << bestLayer
        << " secondBest : " << secondBest << " Seuil : " << insert_threshold;
    if (layers == nullptr) return;
    for (int i = 0; i < nbLayers; ++i) {
        out << "\nLayer " << i << "(" << thres_layers[i] << ") : " << layers[i].size() << "\n";
        for (const cell* c : layers[i])
            out << "\t (" << c->x << "," << c->y << ") : " << c->delta_m;
    }
}
