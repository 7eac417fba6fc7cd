// One method of a class, parsed from its "@"-separated signature text and written back in
// the comma-separated form that member nodes keep.
#pragma once

#include <string>

class ClassMethod {
public:
    /// 0 private, 1 protected, 2 public (the default).
    short visibility = 2;
    std::string name;
    bool _static = false;
    bool _abstract = false;
    /// Never set from text.
    bool _constant = false;
    bool _final = false;
    /// Modifier words of the text; empty when it has none.
    std::string properties;
    /// Return type.
    std::string output;
    /// Parameter list without its enclosing brackets.
    std::string inputs;
    /// False when the text was outside the signature format (every text field then empty).
    bool valid = true;

    /// Parses "output@name@(inputs)" or "properties@output@name@(inputs)[@...]". A text
    /// outside that form is reported on one line unless `report` is false (the readers
    /// report it themselves, with the file and line).
    explicit ClassMethod(std::string str, bool report = true);
    ClassMethod(const ClassMethod& cm) = default;
    ClassMethod& operator=(const ClassMethod& cm) = default;
    virtual ~ClassMethod();

    /// 1 when name, output and inputs all equal those of cm, else 0.
    int compare(ClassMethod cm);
    /// "properties,output,name,inputs" (properties written even when empty).
    std::string write();
    /// Console line: visibility, output, name, inputs.
    void print();
};
