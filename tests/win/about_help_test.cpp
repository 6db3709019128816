// The Help menu: the About box's texts and results, and what the shell is asked to open.
#include <windows.h>

#include "app/help_menu.h"
#include "base/process_state.h"
#include "base/wine.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"
#include "res/resource.h"
#include "shell_recorder.h"

using namespace zelmora;

class AboutHelpTest : public MainWindowTest {};

TEST_F(AboutHelpTest, AboutShowsTheVersionLineAndEndsWithThePressedButton) {
    for (int button : {IDOK, IDCANCEL}) {
        DialogDriver driver;
        std::wstring version, author, rights;
        driver.Then([&](const SeenWindow &w) {
            version = ItemText(w.window, IDC_VERSION_LINE);
            author = ItemText(w.window, IDC_AUTHOR);
            rights = ItemText(w.window, IDC_RIGHTS);
            PostCommand(w.window, button);
        });
        EXPECT_EQ(DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_ABOUT), main_, AboutProc, 0),
                  button);
        ASSERT_EQ(driver.seen.size(), 1u);
        EXPECT_EQ(driver.seen[0].title, L"About");
        EXPECT_EQ(driver.seen[0].owner, main_);
        EXPECT_EQ(version, L"Zelmora version 1.0");
        EXPECT_EQ(author, L"Written by the Zelmora developers");
        EXPECT_EQ(rights, L"Copyright (C) 2026 Brannock");
    }
}

TEST_F(AboutHelpTest, AboutCommandOpensTheAboutBox) {
    DialogDriver driver;
    Command(IDM_ABOUT); // closed by the driver with Esc's IDCANCEL
    ASSERT_EQ(driver.seen.size(), 1u);
    EXPECT_EQ(driver.seen[0].title, L"About");
}

TEST_F(AboutHelpTest, HelpCommandsAskTheShellToOpenTheManualAndHomePage) {
    ShellRecorder shell;
    Command(IDM_USER_MANUAL);
    Command(IDM_HOME_PAGE);
    ASSERT_EQ(shell.requests.size(), 2u);
    // The manual's first page beside the program; under Wine also in place of the compiled
    // manual, whose pages Wine's viewer shows blank.
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring page = program;
    page = page.substr(0, page.find_last_of(L'\\')) + L"\\manual\\index.html";
    EXPECT_NE(GetFileAttributesW(page.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(shell.requests[0].file, RunsUnderWine() ? page : L"Zelmora.chm");
    EXPECT_EQ(shell.requests[1].file, page);
    for (const ShellRequest &request : shell.requests) {
        EXPECT_EQ(request.owner, main_);
        EXPECT_EQ(request.show, SW_SHOWNORMAL);
    }
}
