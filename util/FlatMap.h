// A hash table over 64-bit keys in one array: open addressing with linear probing, kept at
// most half full, removal by backward shift. A lookup reads one or two neighbouring slots,
// where a node-based table follows a bucket and a node. Used for the lookups of the search's
// inner loops: the cells of the sparse tables and the places of the move index.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

/// Keys are any 64-bit values but `kFree`, which marks an empty slot; values are copied in.
/// Pointers to values stay valid until the next insertion or removal.
template <typename V> class FlatMap {
public:
    static constexpr unsigned long long kFree = ~0ull;

    std::size_t size() const { return filled_; }

    /// The value of `key`, or null.
    V* find(unsigned long long key) {
        if (slots_.empty()) return nullptr;
        for (std::size_t at = home(key);; at = next(at)) {
            Slot& slot = slots_[at];
            if (slot.key == key) return &slot.value;
            if (slot.key == kFree) return nullptr;
        }
    }
    const V* find(unsigned long long key) const { return const_cast<FlatMap*>(this)->find(key); }

    /// Files `key` with `value`; the key must not be filed yet.
    V& insert(unsigned long long key, V value) {
        if (2 * (filled_ + 1) > slots_.size()) grow();
        ++filled_;
        return place(key, std::move(value));
    }

    /// Takes `key` out; false when it was not filed.
    bool erase(unsigned long long key) {
        if (slots_.empty()) return false;
        std::size_t hole = home(key);
        while (slots_[hole].key != key) {
            if (slots_[hole].key == kFree) return false;
            hole = next(hole);
        }
        // Later slots of the same run move up unless their home lies after the hole, so that
        // no search stops early at the emptied slot.
        for (std::size_t at = next(hole); slots_[at].key != kFree; at = next(at)) {
            const std::size_t h = home(slots_[at].key);
            const bool staysAfterHole = hole <= at ? (hole < h && h <= at) : (hole < h || h <= at);
            if (staysAfterHole) continue;
            slots_[hole] = std::move(slots_[at]);
            hole = at;
        }
        slots_[hole] = Slot{};
        --filled_;
        return true;
    }

    void clear() {
        slots_.clear();
        filled_ = 0;
        bits_ = 0;
    }

private:
    struct Slot {
        unsigned long long key = kFree;
        V value{};
    };
    std::vector<Slot> slots_;
    std::size_t filled_ = 0;
    int bits_ = 0; ///< the table has 2^bits_ slots

    std::size_t home(unsigned long long key) const {
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
    }
    std::size_t next(std::size_t at) const { return (at + 1) & (slots_.size() - 1); }

    V& place(unsigned long long key, V value) {
        std::size_t at = home(key);
        while (slots_[at].key != kFree)
            at = next(at);
        slots_[at].key = key;
        slots_[at].value = std::move(value);
        return slots_[at].value;
    }

    void grow() {
        bits_ = slots_.empty() ? 10 : bits_ + 1;
        std::vector<Slot> old(std::size_t{1} << bits_);
        old.swap(slots_);
        for (Slot& slot : old)
            if (slot.key != kFree) place(slot.key, std::move(slot.value));
    }
};
