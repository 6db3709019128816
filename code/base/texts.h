// Every text that Zelmora shows to the user, in one place, but those of the resource file
// (menus, dialog templates, string table).
#pragma once

namespace zelmora {

// The lists' column titles.
inline constexpr wchar_t kColumnName[] = L"Name";
inline constexpr wchar_t kColumnPort[] = L"Port";
inline constexpr wchar_t kColumnPhone[] = L"Phone";

// Dialing
inline constexpr char16_t kTextCannotCreateScript[] = u"Can not create temp file!";
inline constexpr char16_t kTextNotDialable[] =
    u"The phone number or port contains characters that can not be dialled.";
// %s is the port as it was given.
inline constexpr char16_t kTextPortNotFound[] =
    u"Can not find the port \"%s\". Check that the modem is connected.";
// %s is the port as it was given.
inline constexpr char16_t kTextPortBusy[] =
    u"Zelmora can not open the port \"%s\". Another program may be using it: close that "
    u"program, or check that the modem is connected, and dial again.";
// The port as it was given, then Windows' own text for the error.
inline constexpr char16_t kTextPortFailed[] =
    u"Zelmora can not open the port \"%s\", so it dials nothing. Windows says: %s";
inline constexpr char16_t kTextScriptNotRun[] =
    u"Windows did not run the script temp.bat, so nothing was dialled. Check that .bat files "
    u"are run by the command interpreter (cmd.exe).";
// %s is the folder that holds the file.
inline constexpr char16_t kTextForeignScript[] =
    u"The folder \"%s\" holds a temp.bat that Zelmora did not write. Zelmora leaves it as it is "
    u"and does not dial: rename it, or start Zelmora in another folder.";
// tel: and callto: links. %s: the link as it was given.
inline constexpr char16_t kTextLinkNotDialable[] =
    u"The link \"%s\" holds something that can not be dialled, so Zelmora dials nothing.";
inline constexpr char16_t kTextLinkLineCode[] =
    u"The link \"%s\" begins with * or #: a code to the telephone line, which can change its "
    u"settings (where its calls are forwarded, say). Links can not send codes to the line, so "
    u"Zelmora dials nothing. To dial such a code, add it to the phone book and dial it from "
    u"there.";
inline constexpr char16_t kTextLinkNumberUnclear[] =
    u"The link \"%s\" does not say which number to dial, so Zelmora dials nothing.";
inline constexpr char16_t kTextLinkNotTaken[] =
    u"The Zelmora window that is open did not take the link \"%s\", so Zelmora dials nothing. "
    u"Switch to that window, or close it, and click the link again.";
inline constexpr char16_t kTextLinkNeedsModem[] =
    u"Zelmora does not know which modem dials links. Choose a modem in the Modems list and dial or "
    u"hang up once from this window; links then use that modem.";
// The port, the modem's name, the number as the modem gets it.
inline constexpr char16_t kTextLinkConfirm[] = u"The modem on %s (%s) is to dial %s. Dial now?";
// The port.
inline constexpr char16_t kTextLinkHangUp[] =
    u"Pick up the handset. When the call is over, press OK to hang up the modem on %s.";
// %s is the port as it was given.
inline constexpr char16_t kTextModemTookNothing[] =
    u"The modem on port \"%s\" took no commands, and Zelmora stopped waiting for it. Check that "
    u"the modem is connected and switched on.";
// Dialing rules. %s: the number as it was given.
inline constexpr char16_t kTextUnknownCountryCode[] =
    u"Zelmora does not know the country code of the number \"%s\", so it dials nothing. Check "
    u"the number, or see File, Dialing rules.";
inline constexpr char16_t kTextNotANumber[] =
    u"The number \"%s\" is no number of its country as it is written: dialled, it would reach "
    u"another country, so Zelmora dials nothing. Check the number.";
inline constexpr char16_t kTextNoLocation[] =
    u"Zelmora does not know where you dial from, so it can not dial the number \"%s\". Choose "
    u"your country/region in File, Dialing rules.";
// The dialing rules' dialog. %s: what the field holds.
inline constexpr char16_t kTextChooseCountry[] = u"Please choose the country/region you dial from.";
inline constexpr char16_t kTextAreaCodeNotDialable[] =
    u"The area code \"%s\" can not be dialled: it may hold digits only.";
inline constexpr char16_t kTextAccessCodeNotDialable[] =
    u"The number for an outside line \"%s\" can not be dialled: it may hold digits, *, #, "
    u"commas, blanks and the letters W, P and T only.";
inline constexpr char16_t kTextNoModem[] = u"There is not installed modem! Call to \"User manual\"";
inline constexpr char16_t kTextSelectModem[] = u"Please select a modem!";
inline constexpr char16_t kTextAddLine[] = u"Please add a line to phone book.";
inline constexpr char16_t kTextSelectLine[] = u"Please select a line on phone book!";

// Modem discovery
inline constexpr char16_t kTextComFailed[] = u"Failed to initialize COM library.";
inline constexpr char16_t kTextSecurityFailed[] = u"Failed to initialize security.";
inline constexpr char16_t kTextLocatorFailed[] = u"Failed to create IWbemLocator object.";
inline constexpr char16_t kTextConnectFailed[] = u"Could not connect.";
inline constexpr char16_t kTextBlanketFailed[] = u"Could not set proxy blanket.";
inline constexpr char16_t kTextQueryFailed[] = u"Query for operating system name failed.";

// Phone-book list
inline constexpr char16_t kTextNothingToDelete[] = u"There is no item for delete.";
inline constexpr char16_t kTextSelectToDelete[] = u"Please select a line for delete.";
inline constexpr char16_t kTextConfirmDelete[] = u"Delete phone number. Are you sure?";

// Entry dialog
inline constexpr char16_t kTextAddTitle[] = u"Add phone number";
inline constexpr char16_t kTextEditTitle[] = u"Edit phone number";
inline constexpr char16_t kTextNothingToEdit[] = u"There is no item for edit.";
inline constexpr char16_t kTextSelectToEdit[] = u"Please select a line for edit.";
inline constexpr char16_t kTextEnterName[] = u"Please enter name.";
inline constexpr char16_t kTextEnterPhone[] = u"Please enter phone number.";
inline constexpr char16_t kTextDuplicatePhone[] = u"This phone number already exist.";
inline constexpr char16_t kTextNoBarInEntry[] =
    u"The name and the phone number can not contain \"|\".";

// Registry
inline constexpr char16_t kTextCannotSave[] = u"Can not save phone book to the registry!";
inline constexpr char16_t kTextCannotLoad[] = u"Can not read phone book from the registry!";

// Export and import
inline constexpr char16_t kExportFileName[] = u"export_phone_book.txt";
inline constexpr char16_t kTextCannotExport[] = u"Can not create file fore write!";
inline constexpr char16_t kTextExported[] = u"Data is saved to file \"export_phone_book.txt\"";
inline constexpr char16_t kTextImportFilter[] =
    u"Phone books and contacts (*.txt;*.vcf;*.csv)\0*.txt;*.vcf;*.csv\0"
    u"Zelmora phone book (*.txt)\0*.txt\0vCard contacts (*.vcf)\0*.vcf\0"
    u"CSV contacts from Google, Outlook or Thunderbird (*.csv)\0*.csv\0";
inline constexpr char16_t kTextImportTitle[] = u"Please select a text file for import";
inline constexpr char16_t kTextCannotOpenImport[] = u"Can not create file!";
inline constexpr char16_t kTextOutOfMemory[] = u"Out of memory!";
inline constexpr char16_t kTextNothingImported[] = u"There is no new items!";
inline constexpr char16_t kTextImported[] = u"New items is added!";
// Calls that come in: who called (the entry's name and the number, the number, or these words),
// then the time; the rings once the call is over; the mark of such a call in the Calls menu.
inline constexpr char16_t kIncomingCall[] = u"Incoming call: %s, %s";
inline constexpr char16_t kLastIncomingCall[] = u"Last incoming call: %s, %s, %s";
inline constexpr char16_t kCallerWithheld[] = u"number withheld";
inline constexpr char16_t kCallerOutOfArea[] = u"number not available";
inline constexpr char16_t kCallerNotGiven[] = u"no number given";
inline constexpr char16_t kRangOnce[] = u"rang once";
inline constexpr char16_t kRangTimes[] = u"rang %d times";
inline constexpr char16_t kIncomingMark[] = u"Incoming: ";
inline constexpr char16_t kIncomingBalloonTitle[] = u"Incoming call";
// The port.
inline constexpr char16_t kTextCanNotListen[] =
    u"Zelmora can not listen for incoming calls on the port \"%s\": the port does not open, or "
    u"the modem does not answer its caller-ID commands. Show incoming calls is off again.";
// Beside the find field, when its text finds no entry.
inline constexpr char16_t kFindNoMatch[] = u"No match";
// The Calls menu's last command, and what it says when some calls stay.
inline constexpr char16_t kMenuClearRecentCalls[] = u"C&lear recent calls";
inline constexpr char16_t kTextRecentCallsKept[] =
    u"Some recent calls could not be cleared: Zelmora run as administrator placed them, and only "
    u"Zelmora run as administrator can clear them.";
// Contacts. The entries added, then the contacts and numbers skipped.
inline constexpr char16_t kTextContactsImported[] =
    u"%d entries were added to the phone book. %d contacts or numbers could not be read whole, "
    u"or can not be dialled, and were skipped.";
inline constexpr char16_t kContactsFileName[] = u"Zelmora contacts.vcf";
inline constexpr char16_t kTextContactsFilter[] = u"vCard contacts (*.vcf)\0*.vcf\0";
// %s: the file's path.
inline constexpr char16_t kTextContactsExported[] = u"The phone book is saved as vCards in \"%s\".";

} // namespace zelmora
