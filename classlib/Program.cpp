#include "Program.h"

#ifdef _WIN32
#include <windows.h>

#include "Unicode.h"

const char* PathSeparator() { return "\\"; }

std::string ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.erase(path.find_last_of(L"\\/") + 1);
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return WideToUtf8(path);
}
#else
#include <climits>
#include <unistd.h>

const char* PathSeparator() { return "/"; }

std::string ProgramFolder()
{
    std::string path(PATH_MAX, '\0');
    ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    path.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    path.erase(path.find_last_of('/') + 1);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}
#endif
