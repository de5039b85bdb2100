#pragma once

#include <string>

// Conversions between the game's UTF-8 strings and the UTF-16 of the Windows
// wide-character API.
class WideString {
public:
    static std::wstring fromUtf8(const std::string& text);
    static std::string toUtf8(const std::wstring& text);
    // toUtf8 with '\' turned into '/', the separator the game's paths use.
    static std::string toUtf8Path(const std::wstring& path);
};
