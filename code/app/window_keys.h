// The main window's keys that the dialog's own message loop would turn into no command: Ctrl+R
// (Redial), Ctrl+F (to the find field), F3 and Shift+F3 (the next and the previous entry
// found), and in the find field Down and Up (the same) and Esc (empties a field that holds
// text; in an empty one it closes the window, as everywhere).
#pragma once

#include <windows.h>

namespace zelmora {

// The keys work in window while it lives.
void InstallWindowKeys(HWND window);
void RemoveWindowKeys();

} // namespace zelmora
