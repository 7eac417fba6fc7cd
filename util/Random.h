// The one source of random draws for the whole program.
// Every computation is written for draws in 0..32767, whatever the platform's RAND_MAX.
#pragma once

/// Largest value randDraw() returns; divide by it for a draw in [0, 1].
constexpr int kRandMax = 32767;

/// Seeds the generator; called once by each entry point.
void seedRandom(unsigned seed);

/// A draw in 0..kRandMax.
int randDraw();
