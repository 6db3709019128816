// The one routine that dials and hangs up: the script's file, the shell request, the sound and
// the clean-up.
#include "run_script.h"

#include <mmsystem.h>

#include <algorithm>
#include <optional>
#include <string>

#include "../base/file_io.h"
#include "../base/limits.h"
#include "../base/message_box.h"
#include "../base/scoped.h"
#include "../base/shell_open.h"
#include "../base/text_cast.h"
#include "../base/texts.h"
#include "answering_wait.h"
#include "call_listener.h"
#include "dial_locks.h"
#include "dial_script.h"
#include "port_check.h"

namespace zelmora {

namespace {

constexpr wchar_t kScriptFile[] = L"temp.bat";
// The interpreter is given this long before the script may go, however quickly it ends.
constexpr DWORD kScriptGraceMs = 500;

// How a dial went, for the box that tells of it.
enum class ScriptRun {
    Ran,
    TimedOut,
    NotWritten,
    UsersFile,
    PortBusy,
    PortGone,
    PortFailed,
    NotRun
};

// Whether the old temp.bat that file holds is one of Zelmora's own scripts, a crash's leftover.
bool HoldsOwnScript(HANDLE file) {
    char bytes[1024]; // more than the longest script
    DWORD read = 0;
    return g_readFile(file, bytes, sizeof bytes, &read, nullptr) && read < sizeof bytes &&
           IsOwnScript(std::string_view(bytes, read));
}

// Opens a new temp.bat. The old one's name may stay "delete pending" for a moment while another
// program (a virus scanner) still holds it open.
FileHandle CreateScriptFile() {
    const DWORD start = GetTickCount();
    for (;;) {
        FileHandle file = OpenFile(kScriptFile, GENERIC_WRITE, CREATE_NEW);
        if (file || !DeletePending(kScriptFile, GetLastError(), ElapsedMs(start)))
            return file;
        Sleep(50);
    }
}

// Writes the script into a new temp.bat, never through an old one: were that a link, writing
// would change whatever the link points to. An old temp.bat that Zelmora did not write is the
// user's, and stays as it is. A script that could not be written whole is removed, so that
// nothing runs half of it. Nothing when the script is written, else why not.
std::optional<ScriptRun> WriteScript(const std::string &script) {
    bool missing = false;
    if (const FileHandle old = OpenOldFile(kScriptFile, missing); old) {
        if (!HoldsOwnScript(old.get()))
            return ScriptRun::UsersFile;
        if (!DeleteByHandle(old.get()))
            return ScriptRun::NotWritten;
    } else if (!missing) {
        return ScriptRun::NotWritten;
    }
    FileHandle file = CreateScriptFile();
    if (!file)
        return ScriptRun::NotWritten;
    if (WriteWhole(file.get(), script.data(), static_cast<DWORD>(script.size())))
        return std::nullopt;
    file.reset();
    DeleteFileW(kScriptFile);
    return ScriptRun::NotWritten;
}

// Whether process runs cmd.exe. Only the interpreter is ended at the time limit: were .bat
// files opened by another program (an editor, say), ending it could lose the user's work.
bool IsCommandInterpreter(HANDLE process) {
    wchar_t path[MAX_PATH];
    DWORD size = ARRAYSIZE(path);
    if (!QueryFullProcessImageNameW(process, 0, path, &size))
        return false;
    const wchar_t *name = path + size;
    while (name > path && name[-1] != L'\\' && name[-1] != L'/')
        --name;
    return lstrcmpiW(name, L"cmd.exe") == 0;
}

// A job that ends the interpreters in it when its last handle closes, which the system does
// when Zelmora ends in any way, a crash or Task Manager included. An interpreter left behind
// would keep temp.bat open, and every later dial from the folder would fail.
HANDLE InterpreterJob() {
    // Kept open while Zelmora runs; the system closes it at the end.
    static const HANDLE job = [] {
        ScopedHandle created(CreateJobObjectW(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created && !SetInformationJobObject(created.get(), JobObjectExtendedLimitInformation,
                                                &limits, sizeof limits))
            created.reset();
        return created.release();
    }();
    return job;
}

// Waits for the interpreter until the time limit, then ends it if it still runs: Windows' cmd
// reopens the script for each line, and one left running could later read the next script at
// its old offset. True when it had to be ended: its port took no commands.
bool FinishInterpreter(const ScopedHandle &interpreter, DWORD waitMs, bool answering) {
    if (WaitAnswering(interpreter.get(), waitMs, answering) != WAIT_TIMEOUT ||
        !IsCommandInterpreter(interpreter.get()))
        return false;
    TerminateProcess(interpreter.get(), 1);
    WaitForSingleObject(interpreter.get(), kScriptGraceMs);
    return true;
}

// The dial sound of a dial without window, played to its end on a thread of its own: an
// asynchronous sound stops when its process ends, which a quick dial does half a second in.
class SoundToTheEnd {
  public:
    explicit SoundToTheEnd(const wchar_t *sound)
        : thread_(CreateThread(nullptr, 0, Play, const_cast<wchar_t *>(sound), 0, nullptr)) {}
    // Waits for the sound for up to waitMs, then stops it.
    void Finish(DWORD waitMs) {
        if (!thread_)
            return;
        if (WaitForSingleObject(thread_.get(), waitMs) == WAIT_TIMEOUT) {
            g_playSound(nullptr, nullptr, 0);
            WaitForSingleObject(thread_.get(), kScriptGraceMs);
        }
        thread_.reset();
    }
    ~SoundToTheEnd() { Finish(0); }
    SoundToTheEnd(const SoundToTheEnd &) = delete;
    SoundToTheEnd &operator=(const SoundToTheEnd &) = delete;

  private:
    static DWORD WINAPI Play(void *sound) {
        g_playSound(static_cast<const wchar_t *>(sound), nullptr, SND_SYNC);
        return 0;
    }
    ScopedHandle thread_;
};

// Writes the script, has it run and waits for it, holding the folder's and the port's locks and
// keeping the window busy meanwhile. It holds nothing when it returns, so that a box shown then
// keeps no other dial waiting. port is the device name that PresentPort found.
ScriptRun RunWhileLocked(const std::wstring &port, const std::string &script, HWND owner,
                         const wchar_t *sound, bool fromWindow, DWORD &portError) {
    const WindowBusy busy(fromWindow ? owner : nullptr);
    // The folder's script, then the port's call: each waits within the one time limit.
    const DWORD start = GetTickCount();
    const ScriptLock lock(g_scriptTimeLimitMs, fromWindow);
    if (!lock.held())
        return ScriptRun::NotWritten;
    const PortLock portLock(port, TimeLeft(start, g_scriptTimeLimitMs), fromWindow);
    if (!portLock.held())
        return ScriptRun::NotWritten;
    // A Zelmora that listens on the port for calls lets go of it, and takes it again once the
    // port's lock is free: after the interpreter has ended.
    const bool listened = AskListenerToLetGo(port);
    PortOpening opened = OpenPortBriefly(port, TimeLeft(start, g_scriptTimeLimitMs), fromWindow);
    for (const DWORD asked = GetTickCount();
         listened && opened.outcome == PortOpen::Busy && ElapsedMs(asked) < 3000;) {
        WaitAnswering(nullptr, 100, fromWindow);
        opened = OpenPortBriefly(port, TimeLeft(start, g_scriptTimeLimitMs), fromWindow);
    }
    portError = opened.error;
    switch (opened.outcome) {
    case PortOpen::Opened:
        break;
    case PortOpen::Busy:
        return ScriptRun::PortBusy;
    case PortOpen::Gone:
        return ScriptRun::PortGone;
    case PortOpen::Failed:
        return ScriptRun::PortFailed;
    case PortOpen::Hung:
        return ScriptRun::TimedOut;
    }
    if (const std::optional<ScriptRun> notWritten = WriteScript(script))
        return *notWritten;
    const ScopedHandle interpreter(ShellOpenScript(owner, kScriptFile));
    // The shell started nothing (.bat files open in no program, the interpreter is missing):
    // nothing reached the modem, and the shell was asked to show no box of its own.
    if (!interpreter) {
        DeleteFileW(kScriptFile);
        return ScriptRun::NotRun;
    }
    if (IsCommandInterpreter(interpreter.get()) && InterpreterJob())
        AssignProcessToJobObject(InterpreterJob(), interpreter.get());
    const DWORD started = GetTickCount();
    std::optional<SoundToTheEnd> quickSound;
    if (sound && fromWindow)
        g_playSound(sound, nullptr, SND_ASYNC);
    else if (sound)
        quickSound.emplace(sound);
    const DWORD grace = g_scriptTimeLimitMs < kScriptGraceMs ? g_scriptTimeLimitMs : kScriptGraceMs;
    WaitAnswering(nullptr, grace, fromWindow);
    // cmd may read the script line by line, and may start late: keep it until cmd is done.
    const bool timedOut = FinishInterpreter(interpreter, g_scriptTimeLimitMs - grace, fromWindow);
    DeleteFileW(kScriptFile);
    if (quickSound) {
        quickSound->Finish(TimeLeft(started, g_scriptTimeLimitMs));
    }
    return timedOut ? ScriptRun::TimedOut : ScriptRun::Ran;
}

// The script's bytes of a port or number, by the rule of its source; nothing when they would
// not carry the text unchanged.
std::optional<std::string> ScriptText(const std::wstring &text, ScriptBytes rule) {
    if (text.size() > kMaxCellLength)
        return std::nullopt;
    if (rule == ScriptBytes::LowBytes) {
        if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return c > 0xFF; }))
            return std::nullopt;
        return std::string(text.begin(), text.end());
    }
    char narrow[kCellCapacity] = {};
    wchar_t back[kCellCapacity] = {};
    if (!WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, narrow, kCellCapacity,
                             nullptr, nullptr) ||
        !MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow, -1, back, kCellCapacity) ||
        text != back)
        return std::nullopt;
    return std::string(narrow);
}

// The script for port, dialling phone or, without one, hanging up; nothing when either can not
// be dialled as it stands.
std::optional<std::string> MakeScript(const std::wstring &port, const std::wstring *phone,
                                      ScriptBytes rule) {
    const std::optional<std::string> portBytes = ScriptText(port, rule);
    if (!portBytes)
        return std::nullopt;
    if (!phone)
        return ComposeHangUpScript(*portBytes);
    const std::optional<std::string> phoneBytes = ScriptText(*phone, rule);
    return phoneBytes ? ComposeDialScript(*portBytes, *phoneBytes) : std::nullopt;
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

// The one routine behind a dial and a hang-up: refusal, port lookup, then the script under the
// folder's lock. From the shown main window (owner), its boxes are task-modal, so that they
// keep in front of the window, and its waits keep the window answering while it takes no input.
bool RunScript(const std::wstring &portName, HWND owner, const std::wstring *phone,
               ScriptBytes rule, const wchar_t *sound) {
    const bool fromWindow = owner && IsWindowVisible(owner);
    const UINT boxFlags = MB_ICONERROR | (fromWindow ? MB_TASKMODAL : 0);
    // A number such as "123&calc" would make cmd run a second command: refuse before writing.
    const std::optional<std::string> script = MakeScript(portName, phone, rule);
    if (!script) {
        ShowMessage(nullptr, kTextNotDialable, boxFlags);
        return false;
    }
    // The port is looked up once: its lock, its listener and its open take the device found.
    const std::optional<std::wstring> device = PresentPort(portName);
    if (!device) {
        ShowPortNotFound(portName, boxFlags);
        return false;
    }
    DWORD portError = 0;
    switch (RunWhileLocked(*device, *script, owner, sound, fromWindow, portError)) {
    case ScriptRun::Ran:
        return true;
    case ScriptRun::NotWritten:
        ShowMessage(nullptr, kTextCannotCreateScript, boxFlags);
        break;
    case ScriptRun::UsersFile:
        ShowMessageNaming(kTextForeignScript, CurrentFolder(), boxFlags);
        break;
    case ScriptRun::TimedOut:
        ShowMessageNaming(kTextModemTookNothing, portName, boxFlags);
        break;
    case ScriptRun::PortBusy:
        ShowMessageNaming(kTextPortBusy, portName, boxFlags);
        break;
    case ScriptRun::PortGone:
        ShowPortNotFound(portName, boxFlags);
        break;
    case ScriptRun::PortFailed:
        ShowMessage(nullptr,
                    U(FormatText(kTextPortFailed, {portName, SystemErrorText(portError)}).c_str()),
                    boxFlags);
        break;
    case ScriptRun::NotRun:
        ShowMessage(nullptr, kTextScriptNotRun, boxFlags);
        break;
    }
    return false;
}

} // namespace

// The folder's and the port's locks are waited for within this limit together, and the
// interpreter within it again: a dial waits at most twice this long, and a hung interpreter
// can not hold it forever.
DWORD g_scriptTimeLimitMs = 10000;
SoundFunction g_playSound = PlaySoundW;

std::wstring CommandLineText(const char *bytes) {
    std::wstring text;
    for (; *bytes; ++bytes)
        text += static_cast<wchar_t>(static_cast<unsigned char>(*bytes));
    return text;
}

bool RunDialScript(const std::wstring &port, HWND owner, const std::wstring &phone,
                   ScriptBytes rule) {
    return RunScript(port, owner, &phone, rule, L"dial.wav");
}

bool RunHangUpScript(const std::wstring &port, HWND owner, ScriptBytes rule) {
    return RunScript(port, owner, nullptr, rule, nullptr);
}

} // namespace zelmora
