// Greedy edge-subgraph matcher: the pair scores of each algorithm and the losses a match
// inflicts on the other candidates of its two nodes.
#include <algorithm>
#include <cmath>
#include <limits>

#include "mces/MCES.h"
#include "mces/MCESTables.h"

namespace {

/// Divisors of the smaller graph order giving the number of matches that get a similarity
/// bonus (algorithms 3 and 7), and its bounds.
constexpr int kBonusDivisor3 = 10;
constexpr int kBonusDivisor7 = 20;
constexpr int kSmallestBonus = 5;
constexpr int kLargestBonus = 50;
/// Algorithm 6 weighs the similarity this much during the first tenth of the matches.
constexpr float kEarlySimilarityWeight = 1000;
constexpr int kEarlyShareDivisor = 10;

} // namespace

template <typename Score> void MCES::scoreUnmatched(Score score) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    for (int i : open1)
        for (int j : open2) {
            gamma[i][j] = score(i, j);
            lo = std::min(lo, gamma[i][j]);
            hi = std::max(hi, gamma[i][j]);
        }
    // With no unmatched pair left the range stays as it was: nothing will be scanned.
    if (lo <= hi) {
        minDelta = lo;
        maxDelta = hi;
    }
}

// The scores are evaluated in the precision of their operands (gains, similarities and the
// weight a are single precision) and only stored as doubles: near-equal scores that single
// precision cannot tell apart tie, and ties decide which pairs share the random draw.

void MCES::setGamma1(float a) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    if (a != 0 && cross == nullptr) {
        cross = newTable<int>(n1, n2, 0);
        for (int i : open1)
            for (int j : open2)
                cross[i][j] = crossLabels(i, j);
    }
    scoreUnmatched([&](int i, int j) {
        lo = std::min(lo, static_cast<double>(g[i][j]));
        hi = std::max(hi, static_cast<double>(g[i][j]));
        // With a = 0 every other term is multiplied by 0: the score is the gain.
        if (a == 0) return static_cast<double>(g[i][j]);
        const int removed =
            connexions[i][n2] + connexions[n1][j] - 2 * connexions[i][j] - cross[i][j];
        const float score = (1 - a) * g[i][j] + (a - a * a) * connexions[i][j] -
                            a * getNKilled(i, j) - a * a * removed;
        return static_cast<double>(score);
    });
    if (lo <= hi) {
        minG = lo;
        maxG = hi;
    } else {
        minG = maxG = 0;
    }
}

void MCES::setGamma2() {
    scoreUnmatched([&](int i, int j) { return g[i][j] + potential[i][j]; });
}

void MCES::setGamma3() {
    setGammaBonus(kBonusDivisor3, true);
}

void MCES::setGamma4() {
    scoreUnmatched([&](int i, int j) {
        const float score = (simil[i][j] + 1) * g[i][j];
        return static_cast<double>(score);
    });
}

void MCES::setGamma5() {
    if (findfast) return;
    scoreUnmatched([&](int i, int j) {
        const float score = g[i][j] + simil[i][j];
        return static_cast<double>(score);
    });
}

void MCES::setGamma6() {
    if (findfast) return;
    const int early = std::min(n1, n2) / kEarlyShareDivisor;
    const float f = nbMatched > early ? 1.0f : kEarlySimilarityWeight;
    scoreUnmatched([&](int i, int j) {
        const float score = g[i][j] + f * simil[i][j];
        return static_cast<double>(score);
    });
}

void MCES::setGamma7() {
    setGammaBonus(kBonusDivisor7, false);
}

void MCES::setGamma9() {
    if (findfast) return;
    scoreUnmatched([&](int i, int j) { return static_cast<double>(g[i][j]); });
}

void MCES::setGammaBonus(int divisor, bool truncate) {
    if (findfast) return;
    int maxBonus = std::min(n1, n2) / divisor;
    if (maxBonus < kSmallestBonus) maxBonus = kSmallestBonus;
    if (maxBonus > kLargestBonus) maxBonus = kLargestBonus;
    // Once the bonus has run out the pairs are taken from the move index instead.
    if (nbMatched >= maxBonus) {
        findfast = true;
        return;
    }
    const int b = std::max(maxBonus - nbMatched, 1);
    scoreUnmatched([&](int i, int j) {
        const float bonus = b * simil[i][j];
        const float score = g[i][j] + (truncate ? std::trunc(bonus) : bonus);
        return static_cast<double>(score);
    });
}

int MCES::getNKilled(int x, int y) {
    return static_cast<int>(g[x][n2] + g[n1][y] - 2 * g[x][y]);
}

int MCES::getERemoved(int x, int y) {
    return connexions[x][n2] + connexions[n1][y] - 2 * connexions[x][y] - crossLabels(x, y);
}

int MCES::crossLabels(int x, int y) const {
    int total = 0;
    for (int k = 1; k < nb_labels; ++k)
        total += cin1[x][k] * cout2[y][k] + cout1[x][k] * cin2[y][k];
    return total;
}

void MCES::refreshCrossLabels(const std::set<int>& rows, const std::set<int>& cols) {
    if (cross == nullptr) return;
    for (int i : rows)
        for (int j : open2)
            cross[i][j] = crossLabels(i, j);
    for (int j : cols)
        for (int i : open1)
            cross[i][j] = crossLabels(i, j);
}
