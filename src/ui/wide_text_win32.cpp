#include <windows.h>

#include "ui/wide_text_win32.h"

#include <climits>

// Texts longer than INT_MAX cannot occur in a window; they convert to empty text.
std::wstring WidenUtf8(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return {};
    }
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wideLength);
    return wide;
}

std::string NarrowToUtf8(std::wstring_view utf16) {
    if (utf16.empty() || utf16.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(utf16.size());
    const int narrowLength =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrowLength <= 0) {
        return {};
    }
    std::string narrow(static_cast<size_t>(narrowLength), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, narrow.data(), narrowLength, nullptr,
                        nullptr);
    return narrow;
}
