// The console channel's current stream and its scoped redirect.
// One process-wide pointer: the program runs on one thread.
#include "util/Console.h"

#include <iostream>

namespace {

std::ostream* current = &std::cout;

} // namespace

std::ostream& console() {
    return *current;
}

ConsoleRedirect::ConsoleRedirect(std::ostream& to) : previous_(current) {
    current = &to;
}

ConsoleRedirect::~ConsoleRedirect() {
    current = previous_;
}
