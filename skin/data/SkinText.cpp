#include "skin/data/SkinText.h"

std::wstring AnsiToWide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

int SkinDrawText(HDC dc, const std::wstring& text, RECT& rect, UINT format)
{
    // Every supported system is NT: the wide call always.
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}
