// Keeps what the code under test prints off the test log, and hands it over on request.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

/// Sends standard output to a string for its lifetime.
class QuietOutput {
public:
    QuietOutput() : saved(std::cout.rdbuf(sink.rdbuf())) {}
    ~QuietOutput() { std::cout.rdbuf(saved); }
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;
    std::string text() const { return sink.str(); }

private:
    std::ostringstream sink;
    std::streambuf* saved;
};
