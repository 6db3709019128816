// Files as bytes for the tests: reading, writing, and UTF-16LE text as bytes.
#pragma once

#include <string>

// The whole content of a file, or "<missing>".
std::string FileBytes(const wchar_t *path);
// Creates or replaces path with exactly these bytes.
void WriteBytes(const wchar_t *path, const std::string &bytes);
// The UTF-16 little-endian bytes of text, as the phone-book file holds them.
std::string Utf16Bytes(const std::wstring &text);
