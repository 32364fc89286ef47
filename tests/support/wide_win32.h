// Windows tests speak UTF-8 among themselves and wide strings to the
// system, so that any name passes whatever the code page.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring widen(const std::string& bytes, UINT code_page = CP_UTF8) {
    int n = MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    return wide;
}

// With the code page's best fit for what it cannot hold.
inline std::string to_code_page(const std::wstring& wide, UINT code_page) {
    int n = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), n,
                        nullptr, nullptr);
    return bytes;
}
