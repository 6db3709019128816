// The CBT hook behind DialogDriver.
#include "dialog_driver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

thread_local DialogDriver *g_driver = nullptr;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Wine draws a message box's icon in a Static with SS_ICON; the shared system icons tell
// which one it is.
BoxIcon IconOfHandle(HICON handle) {
    if (handle == LoadIconW(nullptr, IDI_INFORMATION))
        return BoxIcon::Information;
    if (handle == LoadIconW(nullptr, IDI_ERROR))
        return BoxIcon::Error;
    if (handle == LoadIconW(nullptr, IDI_QUESTION))
        return BoxIcon::Question;
    if (handle == LoadIconW(nullptr, IDI_WARNING))
        return BoxIcon::Warning;
    return BoxIcon::Other;
}

BoxIcon IconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Static" ||
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        auto handle = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (handle)
            return IconOfHandle(handle);
    }
    return BoxIcon::None;
}

SeenWindow Describe(HWND window) {
    SeenWindow seen;
    seen.window = window;
    seen.owner = GetWindow(window, GW_OWNER);
    seen.title = WindowText(window);
    if (GetDlgItem(window, 0xFFFF))
        seen.text = ItemText(window, 0xFFFF);
    seen.icon = IconOf(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Button")
            continue;
        const LONG style = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
        if (style != BS_PUSHBUTTON && style != BS_DEFPUSHBUTTON)
            continue;
        seen.buttons.push_back(GetDlgCtrlID(child));
    }
    return seen;
}

} // namespace

DialogDriver::DialogDriver(bool includeMainWindow) : includeMainWindow_(includeMainWindow) {
    g_driver = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    showHook_ = SetWindowsHookExW(WH_CALLWNDPROC, ShowHook, nullptr, GetCurrentThreadId());
}

bool DialogDriver::WasShown(HWND window) const {
    return std::find(shown_.begin(), shown_.end(), window) != shown_.end();
}

LRESULT CALLBACK DialogDriver::ShowHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto *message = reinterpret_cast<const CWPSTRUCT *>(lParam);
    if (code == HC_ACTION && g_driver && message->message == WM_SHOWWINDOW && message->wParam) {
        g_driver->shown_.push_back(message->hwnd);
        auto &pending = g_driver->pending_;
        if (const auto it = std::find(pending.begin(), pending.end(), message->hwnd);
            it != pending.end()) {
            pending.erase(it);
            g_driver->Record(message->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DialogDriver::~DialogDriver() {
    UnhookWindowsHookEx(hook_);
    UnhookWindowsHookEx(showHook_);
    g_driver = nullptr;
}

DialogDriver &DialogDriver::Then(Response response) {
    responses_.push_back(std::move(response));
    return *this;
}

DialogDriver &DialogDriver::Press(int id) {
    return Then([id](const SeenWindow &w) { PostCommand(w.window, id); });
}

DialogDriver &DialogDriver::PressEnter() {
    // Wine picks a message box's default button only after activating it; Enter finds it.
    return Then([](const SeenWindow &w) { PostMessageW(w.window, WM_KEYDOWN, VK_RETURN, 0); });
}

LRESULT CALLBACK DialogDriver::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_driver)
        g_driver->created_.push_back(reinterpret_cast<HWND>(wParam));
    if (code == HCBT_ACTIVATE && g_driver)
        g_driver->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogDriver::OnActivate(HWND window) {
    // Only dialogs made while the driver is installed, each once; never the main window
    // (the one with a menu), which is activated again when a box it owns goes away.
    if (ClassOf(window) != L"#32770" || (GetMenu(window) && !includeMainWindow_) ||
        std::find(created_.begin(), created_.end(), window) == created_.end() ||
        std::find(known_.begin(), known_.end(), window) != known_.end())
        return;
    // A task-modal box is activated under Wine while it is being set up, before it has its
    // text: it is described when it is shown instead.
    if (!IsWindowVisible(window)) {
        if (std::find(pending_.begin(), pending_.end(), window) == pending_.end())
            pending_.push_back(window);
        return;
    }
    Record(window);
}

void DialogDriver::Record(HWND window) {
    known_.push_back(window);
    seen.push_back(Describe(window));
    const SeenWindow &described = seen.back();
    if (responses_.empty()) {
        const auto &b = described.buttons;
        const bool hasCancel = std::find(b.begin(), b.end(), IDCANCEL) != b.end();
        PostCommand(window, hasCancel || !GetDlgItem(window, IDOK) ? IDCANCEL : IDOK);
        return;
    }
    Response response = std::move(responses_.front());
    responses_.pop_front();
    response(described);
}

void ExpectOkBox(const SeenWindow &box, const wchar_t *text, BoxIcon icon, HWND owner) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, L"Zelmora");
    EXPECT_EQ(box.icon, icon);
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
}

void PostCommand(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
