#include "classlib/stdctrls/SaveDialog.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "classlib/Unicode.h"

std::wstring TSaveDialog::SystemFilter(const std::string& filter)
{
    if (filter.empty())
        return std::wstring(2, L'\0');
    std::wstring result = Utf8ToWide(filter);
    for (wchar_t& c : result)
        if (c == L'|')
            c = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

bool TSaveDialog::Execute()
{
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring initial = Utf8ToWide(fileName_);
    std::copy(initial.begin(), initial.begin() + std::min(initial.size(), file.size() - 1), file.begin());
    const std::wstring filter = SystemFilter(filter_);
    const std::wstring ext = Utf8ToWide(defaultExt_);
    const std::wstring dir = Utf8ToWide(initialDir_);
    const std::wstring title = Utf8ToWide(title_);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_ENABLESIZING | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT;
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const BOOL ok = GetSaveFileNameW(&ofn);
    SetErrorMode(oldMode);
    if (!ok)
        return false;
    fileName_ = WideToUtf8(file.data());
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}
