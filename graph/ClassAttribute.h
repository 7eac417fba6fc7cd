// One attribute of a class, parsed from its "@"-separated text and written back in the
// comma-separated form that member nodes keep.
#pragma once

#include <string>

class ClassAttribute {
public:
    /// 0 private, 1 protected, 2 public (the default).
    short visibility = 2;
    std::string type;
    std::string name;
    /// Modifier words of the text; empty when it has none.
    std::string properties;
    bool _static = false;
    bool _abstract = false;
    /// Never set from text.
    bool _constant = false;
    bool _final = false;
    /// False when the text was outside the attribute format (every text field then empty).
    bool valid = true;

    /// Parses "type@name" or "properties@type@name". A text outside that form is reported on
    /// one line unless `report` is false (the readers report it themselves).
    explicit ClassAttribute(std::string str, bool report = true);
    ClassAttribute(const ClassAttribute& ca) = default;
    ClassAttribute& operator=(const ClassAttribute& ca) = default;
    virtual ~ClassAttribute();

    /// 1 when name and type equal those of ca, else 0.
    int compare(ClassAttribute ca);
    /// "properties,type,name" (properties written even when empty).
    std::string write();
    /// Console text: "\n" visibility "," type "," name.
    void print();
};
