// Observation point of the tabu search loop for tests: a test can inspect the matcher after
// every iteration without the loop doing any extra work when nothing is installed.
#pragma once

#include <functional>

class Match;

/// Installs `hook`, called with the matcher at the end of every iteration of the search
/// loop; an empty function removes it. The product never installs one.
void setSearchIterationHook(std::function<void(Match&)> hook);
