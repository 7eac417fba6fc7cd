// ClassMethod: parsing of an "@"-separated method signature and its comma-separated form.
#include "graph/ClassMethod.h"

#include <vector>

#include "graph/MemberModifiers.h"
#include "util/Console.h"
#include "util/Utilities.h"

namespace {

/// Parts of "output@name@(inputs)"; with a leading properties part there is one more.
constexpr size_t kPlainMethodParts = 3;

bool bracketed(const std::string& text) {
    return text.size() >= 2 && text.front() == '(' && text.back() == ')';
}

} // namespace

ClassMethod::ClassMethod(std::string str, bool report) {
    std::vector<std::string>* parts = splitString(str, "@");
    size_t count = parts != nullptr ? parts->size() : 0;
    size_t first = count > kPlainMethodParts ? 1 : 0;
    if (count < kPlainMethodParts || !bracketed((*parts)[first + 2])) {
        // Outside the signature format: keep an empty member rather than guess.
        if (report)
            console() << "\n Bad method signature (expected [properties@]output@name@(inputs)): "
                      << str;
        valid = false;
        delete parts;
        return;
    }
    if (first == 1) {
        properties = (*parts)[0];
        applyModifierWords(properties, visibility, _static, _final, _abstract);
    }
    output = (*parts)[first];
    name = (*parts)[first + 1];
    const std::string& bracketedInputs = (*parts)[first + 2];
    inputs = bracketedInputs.substr(1, bracketedInputs.size() - 2);
    delete parts;
}

ClassMethod::~ClassMethod() = default;

int ClassMethod::compare(ClassMethod cm) {
    return (name == cm.name && output == cm.output && inputs == cm.inputs) ? 1 : 0;
}

std::string ClassMethod::write() {
    return properties + "," + output + "," + name + "," + inputs;
}

void ClassMethod::print() {
    console() << visibility << " " << output << " " << name << " " << inputs << "\n";
}
