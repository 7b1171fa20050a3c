#pragma once
// Starts a program file (UTF-8 path) in a given working folder and waits for it.
#include <string>

// The program's exit code, or -1 when it could not be started or did not end in time.
int RunProgram(const std::string& program, const std::string& workingFolder, int timeoutSeconds = 60);
