// kestrip-startbench.exe RUNS PROGRAM...: starts each program RUNS times in turn and prints the
// median time from process creation until its first top-level window is shown and painted
// (the program waits for input with nothing left to do), then closes it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND window = nullptr;
};

BOOL CALLBACK FindShown(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until the window is up, or a negative value when it never came.
double StartOnce(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return -1;
    Search search{process.dwProcessId};
    double result = -1;
    for (int i = 0; i < 60000; ++i) {
        // Idle with a window shown: created, shown and its first paint handled.
        if (WaitForInputIdle(process.hProcess, 10) == 0) {
            search.window = nullptr;
            EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
            if (search.window) {
                DWORD_PTR answer = 0;
                SendMessageTimeoutW(search.window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer);
                QueryPerformanceCounter(&end);
                result = 1000 * Seconds(start, end, frequency);
                break;
            }
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(1);
    }
    if (search.window)
        PostMessageW(search.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: kestrip-startbench RUNS PROGRAM...\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    std::vector<std::vector<double>> times(static_cast<std::size_t>(argc - 2));
    // Once each first: the files come into the cache, the Wine session is warm.
    for (int p = 2; p < argc; ++p)
        StartOnce(argv[p]);
    for (int r = 0; r < runs; ++r)
        for (int p = 2; p < argc; ++p)
            times[static_cast<std::size_t>(p - 2)].push_back(StartOnce(argv[p]));
    int status = 0;
    for (int p = 2; p < argc; ++p) {
        std::vector<double>& t = times[static_cast<std::size_t>(p - 2)];
        std::sort(t.begin(), t.end());
        const double median = t[t.size() / 2];
        if (t.front() < 0)
            status = 1;
        std::wstring name = argv[p];
        name = name.substr(name.find_last_of(L"\\/") + 1);
        std::printf("%-28ls %8.1f ms  (min %.1f, max %.1f, %d runs)\n", name.c_str(), median, t.front(), t.back(),
                    runs);
    }
    return status;
}
