#pragma once
#include <string>

// The system's folder browser, rooted at the desktop, for file-system folders only, with
// `caption` as its title. When `directory` names an existing folder the browser opens with
// it selected, else `directory` is emptied first. The thread's other windows are disabled
// and critical-error boxes of the system suppressed while it is open. On OK `directory`
// receives the chosen folder (no trailing separator, except for a drive root like C:\) and
// the result is true.
bool SelectDirectory(const std::string& caption, std::string& directory);

// The folder path as the browser hands it back, without a trailing separator except for a
// drive root.
std::string TrimFolderPath(const std::string& path);
