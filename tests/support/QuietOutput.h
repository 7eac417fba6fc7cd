// Keeps what the code under test prints off the test log, and hands it over on request.
#pragma once

#include "util/Console.h"

/// Sends the console to a string for its lifetime; text() returns what it received.
using QuietOutput = ConsoleCapture;
