// How a candidate move (x, y) reads against the current matching: the blocks and partners of its
// two nodes, the kind of change it makes, and the matching entries of the nodes it involves,
// which evaluation and application unset and may put back.
#pragma once

#include <cstddef>
#include <set>
#include <utility>
#include <vector>

#include "graph/Vertex.h"
#include "match/stdafx.h"

class Match;

/// The member numbers of a vertex, read in place (the search asks for them in its inner
/// loops, where a copy of the set per question would dominate the work): its `nodes` set in
/// ascending order, or its own number alone when it has none. Valid while the vertex is.
class MemberView {
public:
    explicit MemberView(const Vertex* v) : set_(v->nodes), own_(v->number) {}

    class iterator {
    public:
        iterator(std::set<int>::const_iterator at, const int* own) : at_(at), own_(own) {}
        int operator*() const { return own_ != nullptr ? *own_ : *at_; }
        iterator& operator++() {
            if (own_ != nullptr)
                own_ = nullptr;
            else
                ++at_;
            return *this;
        }
        bool operator!=(const iterator& other) const {
            return own_ != other.own_ || (own_ == nullptr && at_ != other.at_);
        }

    private:
        std::set<int>::const_iterator at_;
        const int* own_; ///< the vertex's own number while it is still to be read; else null
    };

    iterator begin() const {
        return set_ != nullptr ? iterator(set_->begin(), nullptr) : iterator(end_(), &own_);
    }
    iterator end() const { return iterator(end_(), nullptr); }
    std::size_t size() const { return set_ != nullptr ? set_->size() : 1; }
    bool contains(int n) const { return set_ != nullptr ? set_->count(n) != 0 : n == own_; }

private:
    const std::set<int>* set_;
    int own_;

    std::set<int>::const_iterator end_() const {
        static const std::set<int> none;
        return set_ != nullptr ? set_->end() : none.end();
    }
};

class MoveContext {
public:
    /// What the move does to the current matching; the first kind whose condition holds.
    enum class Kind {
        Add,          ///< match two free plain nodes
        Remove,       ///< separate two plain nodes matched with each other
        GrowSecond,   ///< y joins the block matched with x
        GrowFirst,    ///< x joins the block matched with y
        ShrinkFirst,  ///< x leaves its block
        ShrinkSecond, ///< y leaves its block
        RemoveBlocks, ///< separate two matched blocks
        None          ///< no change is possible
    };

    /// The move's vertex numbers as given.
    int x = -1;
    int y = -1;
    /// x and y are plain nodes (below their graph's order).
    bool px = false;
    bool py = false;
    /// The blocks holding x and y (the vertex itself for a block number or a node in no
    /// block); null when the number names no vertex. Not owned.
    Vertex* bx = nullptr;
    Vertex* by = nullptr;
    /// Partner numbers of x and y (-1 when unmatched) and their vertices (null then).
    int qx = -1;
    int qy = -1;
    Vertex* qxv = nullptr;
    Vertex* qyv = nullptr;
    Kind kind = Kind::None;

    /// Reads the move (x, y) against m's current matching.
    MoveContext(Match& m, int moveX, int moveY);

    /// Plain nodes whose matching the move touches: the members of Bx and Qy on the first
    /// side, of By and Qx on the second.
    /// Both in ascending order, without repeats.
    const std::vector<int>& involved1() const { return involved1_; }
    const std::vector<int>& involved2() const { return involved2_; }

    /// Saves M12/blocks1 and M21/blocks2 of the involved nodes, then leaves them unmatched and
    /// in no block.
    void isolate(Match& m);
    /// Puts back the entries saved by isolate.
    void restore(Match& m) const;
    /// Appends to `into` the nodes isolate set free that were matched or in a block: first
    /// side, then -1, then second side, each in ascending order.
    void heldIsolated(std::vector<int>& into) const;

    /// Member numbers of a vertex: its `nodes` set, or its own number when it has none.
    static MemberView membersOf(const Vertex* v) { return MemberView(v); }

    /// The move record of the pair (x, y), created when missing with delta -1, no layer and
    /// tabu -iterations.
    static cell& moveCell(Match& m, int x, int y);

private:
    std::vector<int> involved1_;
    std::vector<int> involved2_;
    /// (node, partner, block) as found by isolate.
    std::vector<std::pair<int, std::pair<int, int>>> saved1_;
    std::vector<std::pair<int, std::pair<int, int>>> saved2_;

    void classify(Match& m);
};
