// Dialling from tel: and callto: links: the start that a link makes, and the main window that a
// link is handed to. Every link dial asks first: a page can open a link without a click.
#pragma once

#include <windows.h>

#include <string>

namespace zelmora {

// What a start with a link does: refuses a link that can not be dialled whole; hands it to
// the main window of a Zelmora that runs; else dials with the remembered modem once the user
// says yes. OpenWindow when the main window is to open for it instead, as no usable modem is
// known: the window then takes the link up once it is there.
enum class AfterLink { Done, OpenWindow };
AfterLink RunLink(const std::u16string &link);

// WM_COPYDATA's kind for a link handed to the running main window, and the message the window
// posts itself to take the link up, outside the sender's call.
inline constexpr ULONG_PTR kLinkCopyData = 0x5A4C4B31;
inline constexpr UINT kLinkMessage = WM_APP + 1;

// Keeps a link handed over by WM_COPYDATA and posts kLinkMessage for it; false for other data.
bool TakeLink(HWND window, const COPYDATASTRUCT &data);

// Hands a link that waits for a window to window, another Zelmora's that showed meanwhile; a
// box says so when that window does not take it.
void HandPendingLinkTo(HWND window);

// Posts kLinkMessage when a link waits for the window that opened for it.
void PostPendingLink(HWND window);

// The main window's kLinkMessage: the link waiting, dialled with the selected modem, else the
// remembered one; without either, a box says how to choose one. While a dial waits, later.
void DialPendingLink(HWND window);

} // namespace zelmora
