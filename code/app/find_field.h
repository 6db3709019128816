// The main window's find field above the phone book: as the user types, the first entry whose
// name or number holds the text is selected, focused and shown; F3 and Shift+F3 (and Down and
// Up in the field) go to the next and the previous, round the end; Enter dials the entry found,
// as Dial does; Esc empties the field. Names are matched in the user's locale, without regard
// to case or accents.
#pragma once

#include <windows.h>

#include <string>

namespace zelmora {

// A name holds text in the user's locale, as a reader takes it: without regard to case, or to
// accents and other marks.
bool LocaleNameHolds(const std::u16string &name, const std::u16string &text);

// The field's text changed (EN_CHANGE): the first entry that it finds, or "No match".
void FindAsTyped(HWND window);
// The next (forward) or the previous entry that the field's text finds.
void FindAgain(HWND window, bool forward);
// The phone book changed (an add, an edit, a delete, an import): what the field looks through
// is read anew at the next key.
void ForgetFoundEntries();
// Esc in the field: empties it and true, when it held text.
bool EmptyFindField(HWND window);

} // namespace zelmora
