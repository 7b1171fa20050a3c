#include "classlib/stdctrls/FolderBrowser.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "classlib/DynamicLibrary.h"
#include "classlib/Unicode.h"

namespace {

// The shell and COM are loaded when a folder is first asked for, not with the program: they
// pull in a dozen libraries that start-up does not need.
struct TShellFunctions {
    TShellFunctions()
    {
        ole32 = TDynamicLibrary::Open("ole32.dll");
        shell32 = TDynamicLibrary::Open("shell32.dll");
        coInitializeEx = ole32.Function<decltype(&::CoInitializeEx)>("CoInitializeEx");
        coUninitialize = ole32.Function<decltype(&::CoUninitialize)>("CoUninitialize");
        coTaskMemFree = ole32.Function<decltype(&::CoTaskMemFree)>("CoTaskMemFree");
        browseForFolder = shell32.Function<decltype(&::SHBrowseForFolderW)>("SHBrowseForFolderW");
        pathFromIdList = shell32.Function<decltype(&::SHGetPathFromIDListW)>("SHGetPathFromIDListW");
    }
    bool Complete() const
    {
        return coInitializeEx && coUninitialize && coTaskMemFree && browseForFolder && pathFromIdList;
    }

    TDynamicLibrary ole32, shell32;
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    decltype(&::CoUninitialize) coUninitialize = nullptr;
    decltype(&::CoTaskMemFree) coTaskMemFree = nullptr;
    decltype(&::SHBrowseForFolderW) browseForFolder = nullptr;
    decltype(&::SHGetPathFromIDListW) pathFromIdList = nullptr;
};

const TShellFunctions& ShellFunctions()
{
    static const TShellFunctions functions;
    return functions;
}

struct TBrowseStart {
    std::wstring path;
    bool reached = false; // the browser has reported the start folder selected
    int attempts = 0;
};

std::wstring WithoutTrailingSeparators(std::wstring path)
{
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

bool IsStartFolder(const TBrowseStart& start, LPARAM pidl)
{
    wchar_t path[MAX_PATH * 4] = {};
    return ShellFunctions().pathFromIdList(reinterpret_cast<PCIDLIST_ABSOLUTE>(pidl), path) &&
           _wcsicmp(WithoutTrailingSeparators(path).c_str(), WithoutTrailingSeparators(start.path).c_str()) == 0;
}

// The browser may still be filling its tree when asked first, and then keeps no selection:
// ask again every 100 ms until it reports the start folder, for two seconds at most.
void CALLBACK AskAgain(HWND window, UINT, UINT_PTR id, DWORD)
{
    auto* start = reinterpret_cast<TBrowseStart*>(id);
    if (start->reached || ++start->attempts > 20) {
        KillTimer(window, id);
        return;
    }
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->path.c_str()));
}

int CALLBACK BrowseCallback(HWND window, UINT msg, LPARAM param, LPARAM data)
{
    auto* start = reinterpret_cast<TBrowseStart*>(data);
    if (!start || start->path.empty())
        return 0;
    if (msg == BFFM_INITIALIZED) {
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->path.c_str()));
        SetTimer(window, reinterpret_cast<UINT_PTR>(start), 100, AskAgain);
    } else if (msg == BFFM_SELCHANGED && IsStartFolder(*start, param)) {
        start->reached = true;
    }
    return 0;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Disables the thread's enabled windows while alive, and gives them back afterwards.
class TWindowsDisabled {
public:
    TWindowsDisabled()
    {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM data) -> BOOL {
                if (IsWindowVisible(window) && IsWindowEnabled(window)) {
                    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
                    EnableWindow(window, FALSE);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&windows_));
    }
    ~TWindowsDisabled()
    {
        for (HWND w : windows_)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
    }
    TWindowsDisabled(const TWindowsDisabled&) = delete;
    TWindowsDisabled& operator=(const TWindowsDisabled&) = delete;
    HWND First() const { return windows_.empty() ? nullptr : windows_.front(); }

private:
    std::vector<HWND> windows_;
};

} // namespace

std::string TrimFolderPath(const std::string& path)
{
    std::string result = path;
    while (result.size() > 1 && (result.back() == '\\' || result.back() == '/')) {
        if (result.size() == 3 && result[1] == ':')
            break; // C:\ stays a root
        result.pop_back();
    }
    if (result.size() == 2 && result[1] == ':')
        result += '\\';
    return result;
}

bool SelectDirectory(const std::string& caption, std::string& directory)
{
    std::wstring start = Utf8ToWide(directory);
    if (start.empty() || !IsFolder(start)) {
        directory.clear();
        start.clear();
    }
    const TShellFunctions& shell = ShellFunctions();
    if (!shell.Complete())
        return false;
    const HRESULT com = shell.coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    bool chosen = false;
    HWND owner = GetActiveWindow();
    {
        TWindowsDisabled disabled;
        const std::wstring title = Utf8ToWide(caption);
        BROWSEINFOW info{};
        info.hwndOwner = owner ? owner : disabled.First();
        info.pidlRoot = nullptr;
        info.lpszTitle = title.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        TBrowseStart browseStart{start};
        info.lpfn = BrowseCallback;
        info.lParam = reinterpret_cast<LPARAM>(&browseStart);
        if (PIDLIST_ABSOLUTE list = shell.browseForFolder(&info)) {
            std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
            if (shell.pathFromIdList(list, path.data())) {
                directory = TrimFolderPath(WideToUtf8(path.data()));
                chosen = true;
            }
            shell.coTaskMemFree(list);
        }
    }
    if (owner && IsWindow(owner))
        SetActiveWindow(owner);
    SetErrorMode(oldMode);
    if (SUCCEEDED(com))
        shell.coUninitialize();
    return chosen;
}
