// A main window made from its template for each test, on a phone-book key emptied beforehand,
// with helpers to fill and read its lists and the registry.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/process_state.h"
#include "base/registry.h"

using Entry = std::pair<std::wstring, std::wstring>;
using Entries = std::vector<Entry>;

using zelmora::kProgramKey;

// Removes the phone-book key with all its values.
void DeletePhoneBookKey();
bool PhoneBookKeyExists();
// Writes entries as the program stores them, at indices 0, 1, ...
void StoreEntries(const Entries &entries);
// Stores port as the modem that links dial with, named "Test modem".
void RememberLinkModem(const wchar_t *port);
// Every value of the key: name and data as text (up to the first NUL).
std::vector<std::pair<std::wstring, std::wstring>> StoredValues();

// The rows of a list control, and rows appended to it.
Entries ListRows(HWND list);
void AppendRows(HWND list, const Entries &rows);
// Sets the selected and focused states of row separately.
void SetRowState(HWND list, int row, bool selected, bool focused);

// Puts the program's process-wide state back as start-up leaves it without arguments: no
// quick-dial strings or hang-up, no lists, the real file reads and writes, port lookup and
// script time limit.
void ResetProcessState();

// Under Wine, whose WMI knows no telephone modem, a discovery lists the COM ports that Wine
// made, in COM-number order: the test modem's COM5 named by its device, and not COM9, a link
// made by hand. Checks nothing elsewhere.
void ExpectWineSerialPorts(HWND list);

// One child of a dialog in template order: its id, and for a label (id -1) its text.
struct TemplateItem {
    int id;
    const wchar_t *label = nullptr;
};

// Checks that dialog's children stand in this order, so that each label is just before the
// control it names (a screen reader names the control after it), and that Alt with a label's
// access key moves the focus to that control. Shows the dialog for the keys.
void ExpectLabelledTemplateOrder(HWND dialog, const std::vector<TemplateItem> &order);

// The folder the tests work in (temp.bat, export files).
std::wstring ScratchFolder();

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Sends a command to the main window and returns when it is done.
    void Command(int id);
    HWND main_ = nullptr;
    HWND modems_ = nullptr;
    HWND phoneBook_ = nullptr;
};
#include "base/process_state.h"
