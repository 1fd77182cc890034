// Text between the platform's UTF-16 calls and the demo's own strings, which are UTF-8: paths in
// any script reach the files, the messages and the JSON line unchanged.
#pragma once

#include <string>

// The UTF-16 form of UTF-8 text; malformed bytes become U+FFFD.
std::wstring WideFromUtf8(const std::string &text);

// The UTF-8 form of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(const std::wstring &text);
