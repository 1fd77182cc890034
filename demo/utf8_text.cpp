#include "utf8_text.h"

#include <windows.h>

std::wstring WideFromUtf8(const std::string &text) {
    if (text.empty())
        return {};
    const int nWide = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(nWide > 0 ? size_t(nWide) : 0, L'\0');
    if (nWide > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &wide[0], nWide);
    return wide;
}

std::string Utf8FromWide(const std::wstring &text) {
    if (text.empty())
        return {};
    const int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(nBytes > 0 ? size_t(nBytes) : 0, '\0');
    if (nBytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &utf8[0], nBytes, nullptr,
                            nullptr);
    return utf8;
}
