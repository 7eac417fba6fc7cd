// ClassAttribute: parsing of an "@"-separated attribute text and its comma-separated form.
#include "graph/ClassAttribute.h"

#include <iostream>

ClassAttribute::ClassAttribute(std::string /*str*/) {}

ClassAttribute::~ClassAttribute() = default;

int ClassAttribute::compare(ClassAttribute ca) { return (name == ca.name && type == ca.type) ? 1 : 0; }

std::string ClassAttribute::write() { return properties + "," + type + "," + name; }

void ClassAttribute::print() { std::cout << "\n" << visibility << "," << type << "," << name; }
