// Whole-text number conversion for command-line values.
#include "util/NumberText.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

bool parseWholeInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == text.c_str() || *end != '\0' ||
        parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool parseWholeReal(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double parsed = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0') return false;
    // ERANGE on overflow gives +-HUGE_VAL, which the caller rejects as not finite; an
    // underflow to a tiny or zero value is a sound reading of the text.
    value = parsed;
    return true;
}
