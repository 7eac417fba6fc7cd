// Fixed sizes shared by vertices, edges and graphs.
#pragma once

/// Arc label codes are the single digits 0..9: one counter and one weight per code.
constexpr int kLabelCodes = 10;

/// Number of numeric weights a node or an arc carries.
constexpr int kWeightSlots = 5;

/// Number of percentile classes of the node ranking.
constexpr int kPercentileClasses = 100;
