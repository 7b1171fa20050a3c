#pragma once
#include <windows.h>

#include <string>

// Copies what the screen shows of a window (frame included) into a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);
