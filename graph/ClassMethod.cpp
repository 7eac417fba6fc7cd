// ClassMethod: parsing of an "@"-separated method signature and its comma-separated form.
#include "graph/ClassMethod.h"

#include <iostream>

ClassMethod::ClassMethod(std::string /*str*/) {}

ClassMethod::~ClassMethod() = default;

int ClassMethod::compare(ClassMethod cm) {
    return (name == cm.name && output == cm.output && inputs == cm.inputs) ? 1 : 0;
}

std::string ClassMethod::write() { return properties + "," + output + "," + name + "," + inputs; }

void ClassMethod::print() {
    std::cout << visibility << " " << output << " " << name << " " << inputs << "\n";
}
