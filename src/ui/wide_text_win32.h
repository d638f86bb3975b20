// UTF-8 (the core's texts) to UTF-16 (the wide Win32 API) and back, at the platform boundary.
#pragma once

#include <string>
#include <string_view>

std::wstring WidenUtf8(std::string_view utf8);
std::string NarrowToUtf8(std::wstring_view utf16);
