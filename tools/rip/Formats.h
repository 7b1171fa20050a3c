#pragma once
// The output formats the rip tool offers, by the names the main window's format list uses.
#include <memory>
#include <string>
#include <vector>

#include "pipeline/AudioClasses.h"

struct TRipFormat {
    std::string Name;
    // Creates the output with the main window's stored settings for that format.
    std::unique_ptr<TAudioFileOut> (*Create)(TComponent* owner);
};

const std::vector<TRipFormat>& RipFormats();
// Compares without regard to letter case; nullptr when there is no such format.
const TRipFormat* FindRipFormat(const std::string& name);
