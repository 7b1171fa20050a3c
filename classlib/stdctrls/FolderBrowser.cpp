#include "classlib/stdctrls/FolderBrowser.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "classlib/Unicode.h"

namespace {

struct TBrowseStart {
    std::wstring path;
    bool checked = false;
};

int CALLBACK BrowseCallback(HWND window, UINT msg, LPARAM param, LPARAM data)
{
    auto* start = reinterpret_cast<TBrowseStart*>(data);
    if (!start || start->path.empty())
        return 0;
    if (msg == BFFM_INITIALIZED) {
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->path.c_str()));
    } else if (msg == BFFM_SELCHANGED && !start->checked) {
        // The browser may still be filling its tree when asked first: ask once more when the
        // first selection it reports is another folder.
        start->checked = true;
        wchar_t path[MAX_PATH * 4] = {};
        if (!SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(param), path) ||
            _wcsicmp(path, start->path.c_str()) != 0)
            SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start->path.c_str()));
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
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
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
        if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
            std::vector<wchar_t> path(MAX_PATH * 4, L'\0');
            if (SHGetPathFromIDListW(list, path.data())) {
                directory = TrimFolderPath(WideToUtf8(path.data()));
                chosen = true;
            }
            CoTaskMemFree(list);
        }
    }
    if (owner && IsWindow(owner))
        SetActiveWindow(owner);
    SetErrorMode(oldMode);
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}
