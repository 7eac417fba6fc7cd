// ClassAttribute: parsing of an "@"-separated attribute text and its comma-separated form.
#include "graph/ClassAttribute.h"

#include <vector>

#include "graph/MemberModifiers.h"
#include "util/Console.h"
#include "util/Utilities.h"

ClassAttribute::ClassAttribute(std::string str, bool report) {
    std::vector<std::string>* parts = splitString(str, "@");
    size_t count = parts != nullptr ? parts->size() : 0;
    if (count == 2) {
        type = (*parts)[0];
        name = (*parts)[1];
    } else if (count == 3) {
        properties = (*parts)[0];
        applyModifierWords(properties, visibility, _static, _final, _abstract);
        type = (*parts)[1];
        name = (*parts)[2];
    } else {
        // Outside the attribute format: keep an empty member rather than guess.
        if (report) console() << "\n Bad attribute text (expected [properties@]type@name): " << str;
        valid = false;
    }
    delete parts;
}

ClassAttribute::~ClassAttribute() = default;

int ClassAttribute::compare(ClassAttribute ca) {
    return (name == ca.name && type == ca.type) ? 1 : 0;
}

std::string ClassAttribute::write() {
    return properties + "," + type + "," + name;
}

void ClassAttribute::print() {
    console() << "\n" << visibility << "," << type << "," << name;
}
