#pragma once
#include <string>

// UTF-8 is the text form of the core; Windows APIs take UTF-16.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
