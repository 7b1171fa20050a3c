#pragma once
#include <string>

// Folder of the running executable, ending with the path separator ("\" on Windows).
std::string ProgramFolder();
// The platform's path separator as text.
const char* PathSeparator();
