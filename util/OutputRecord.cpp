// Record of the output files a process could not write.
#include "util/OutputRecord.h"

namespace {

int& unwrittenCount() {
    static int count = 0;
    return count;
}

} // namespace

void noteUnwrittenFile(const std::string& /*path*/) {
    unwrittenCount() += 1;
}

int unwrittenFiles() {
    return unwrittenCount();
}

void resetUnwrittenFiles() {
    unwrittenCount() = 0;
}
