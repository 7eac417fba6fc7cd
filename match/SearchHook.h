// Observation point of the tabu search loop for tests: a test can inspect the matcher after
// every iteration without the loop doing any extra work when nothing is installed.
#pragma once

#include <functional>

class Match;

/// Installs `hook`, called with the matcher after every move of the search loop, once the
/// running cost and the iteration counter are updated and before the loop decides whether to
/// go on (a hook may end the run by setting stagnation to stagnation_length). An empty
/// function removes it. The product never installs one.
void setSearchIterationHook(std::function<void(Match&)> hook);
