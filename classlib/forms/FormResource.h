#pragma once
#include <optional>
#include <string>

class TComponent;

// The text of an RCDATA resource of the program (a stored form description), if present.
std::optional<std::string> FindFormResource(const std::string& name);
// Reads a stored description into an existing root component (a form).
void ReadFormDescription(TComponent& root, const std::string& text);
