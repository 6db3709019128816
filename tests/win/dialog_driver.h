// Drives the modal dialogs and message boxes that a command opens: a thread-local WH_CBT hook
// records each dialog window made while it is installed, when it is first activated, and hands it
// to the next scripted response.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

enum class BoxIcon { None, Information, Error, Question, Warning, Other };

struct SeenWindow {
    HWND window = nullptr;
    HWND owner = nullptr;
    std::wstring title;
    std::wstring text; // a message box's text (static control 0xFFFF)
    BoxIcon icon = BoxIcon::None;
    std::vector<int> buttons; // push-button ids, in child order
};

using Response = std::function<void(const SeenWindow &)>;

class DialogDriver {
  public:
    // The main window (the dialog with a menu) is left alone unless includeMainWindow.
    explicit DialogDriver(bool includeMainWindow = false);
    ~DialogDriver();
    DialogDriver(const DialogDriver &) = delete;
    DialogDriver &operator=(const DialogDriver &) = delete;

    // The next new window gets this response. Without one it is closed with IDCANCEL (or
    // IDOK for a box without Cancel), so that a test never hangs.
    DialogDriver &Then(Response response);
    // The next new window gets WM_COMMAND id.
    DialogDriver &Press(int id);
    // The next new window gets the Enter key: its default button answers.
    DialogDriver &PressEnter();

    std::vector<SeenWindow> seen;
    // Whether window was ever shown while the driver was installed.
    bool WasShown(HWND window) const;

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ShowHook(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND window);
    void Record(HWND window);
    bool includeMainWindow_;
    HHOOK hook_;
    HHOOK showHook_;
    std::vector<HWND> shown_;
    std::deque<Response> responses_;
    std::vector<HWND> created_;
    std::vector<HWND> known_;
    std::vector<HWND> pending_; // activated before they were set up and shown
};

// Checks a message box: the product caption, one OK button, and this text, icon and owner.
void ExpectOkBox(const SeenWindow &box, const wchar_t *text, BoxIcon icon, HWND owner);

// Posts WM_COMMAND id to window: the command runs when the window's modal loop gets to it.
void PostCommand(HWND window, int id);

// The texts of a window and of one of its children.
std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
