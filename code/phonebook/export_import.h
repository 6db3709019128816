// File menu: export the phone book to "export_phone_book.txt" and merge one from a text file.
#pragma once

#include <windows.h>

namespace zelmora {

void ExportPhoneBook();

// Asks for a file and merges it: Zelmora's own phone-book file, a vCard file or a CSV file of
// contacts, told apart by their content; the main window sorts afterwards.
void ImportPhoneBook();

// Asks where to save and writes the phone book there as vCards, whole or not at all.
void ExportContacts();

// Merges the file at path into the phone-book list and reports the result.
void ImportPhoneBookFrom(const wchar_t *path);

} // namespace zelmora
