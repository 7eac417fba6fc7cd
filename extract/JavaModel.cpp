// Names of Java types in the three forms the extraction writes.
#include "extract/JavaModel.h"

#include <algorithm>

std::string JavaType::binaryName() const {
    return package.empty() ? nestedName : package + "." + nestedName;
}

std::string JavaType::dottedName() const {
    std::string name = binaryName();
    std::replace(name.begin(), name.end(), '$', '.');
    return name;
}

std::string JavaType::simpleName() const {
    size_t dollar = nestedName.rfind('$');
    return dollar == std::string::npos ? nestedName : nestedName.substr(dollar + 1);
}
