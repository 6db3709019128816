// The main window as it grows: the two lists take the width, the phone book the height too,
// the buttons keep their column at the right edge and the columns their share; it is never
// smaller than its template. Its size, place and maximized state are kept under Zelmora's key
// (the subkey "Window") when it closes, and taken again when it opens.
#pragma once

#include <windows.h>

namespace zelmora {

// Notes where the controls stand at the window's smallest size; then puts the window where it
// was last, on a monitor that is there, at that monitor's DPI.
void SetUpLayout(HWND window);
// WM_SIZE: the controls to the window's new size.
void LayOut(HWND window);
// WM_GETMINMAXINFO: no smaller than the template.
void LimitSize(MINMAXINFO &limits);
// WM_DPICHANGED, before the window takes its new size: the notes to the new DPI.
void ScaleLayout(int fromDpi, int toDpi);
// Keeps the window's place for the next start.
void KeepPlace(HWND window);

} // namespace zelmora
