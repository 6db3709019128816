// File menu: export the phone book to "export_phone_book.txt" and merge one from a text file.
#pragma once

#include <windows.h>

namespace zelmora {

void ExportPhoneBook();

// Asks for a file and merges it; the main window sorts afterwards.
void ImportPhoneBook();

enum class DuplicateCheck { Indexed, Scanning };

// Merges the file at path into the phone-book list and reports the result.
void ImportPhoneBookFrom(const wchar_t *path, DuplicateCheck check = DuplicateCheck::Indexed);

} // namespace zelmora
