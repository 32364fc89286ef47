// Windows tests speak UTF-8 among themselves and wide strings to the
// system, so that any name passes whatever the code page.
#pragma once

#include <windows.h>

#include <string>

// A surrogate in the three bytes UTF-8 gives other characters (ED A0 80
// for U+D800) stays one lone surrogate, as a name on NTFS may hold it,
// where MultiByteToWideChar would make U+FFFD of it.
inline std::wstring widen(const std::string& bytes, UINT code_page = CP_UTF8) {
    std::wstring wide;
    std::size_t from = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        const bool surrogate = code_page == CP_UTF8 && i + 2 < bytes.size() &&
                               static_cast<unsigned char>(bytes[i]) == 0xED &&
                               (static_cast<unsigned char>(bytes[i + 1]) & 0xE0) == 0xA0;
        if (i < bytes.size() && !surrogate) continue;
        const int length = static_cast<int>(i - from);
        const int n = MultiByteToWideChar(code_page, 0, bytes.data() + from, length, nullptr, 0);
        const std::size_t at = wide.size();
        wide.resize(at + static_cast<std::size_t>(n));
        MultiByteToWideChar(code_page, 0, bytes.data() + from, length, wide.data() + at, n);
        if (surrogate) {
            wide += static_cast<wchar_t>(0xD000 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F));
            i += 2;
        }
        from = i + 1;
    }
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
