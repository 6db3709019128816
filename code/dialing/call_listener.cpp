// The listener's worker thread, and what it hands to the window.
#include "call_listener.h"

#include <memory>
#include <mutex>

#include "../base/registry.h"
#include "../base/scoped.h"
#include "../base/text_cast.h"
#include "../base/shared_mutex.h"
#include "dial_locks.h"
#include "port_check.h"

namespace zelmora {

namespace {

// The worker of one port: it runs until stop is set, and owns the port's handle meanwhile.
struct Worker {
    HWND window = nullptr;
    std::wstring port;
    ScopedHandle stop;
    ScopedHandle thread;
};

std::unique_ptr<Worker> g_worker; // the window's thread's alone

std::mutex g_eventsLock;
std::vector<ListenerEvent> g_events;

void Post(HWND window, const ListenerEvent &event) {
    {
        const std::lock_guard<std::mutex> lock(g_eventsLock);
        g_events.push_back(event);
    }
    PostMessageW(window, kListenerMessage, 0, 0);
}

bool Stopped(const Worker &worker) {
    return WaitForSingleObject(worker.stop.get(), 0) == WAIT_OBJECT_0;
}

// The event by which a script asks the listener of port for it: named after the port as its
// lock is, in every session of the computer.
std::wstring ListenerEventName(const std::wstring &port) {
    std::wstring name = PortLockName(port);
    return name.replace(name.find(L".port."), 6, L".listen.");
}

// What a read of the port came to.
enum class Read { Bytes, Wanted, Stopped, Failed };

// The port, read and written with overlapped I/O, so that a wait for the modem ends when the
// worker is stopped, when a script wants the port, or when a moment has passed, whatever the
// driver does with COMMTIMEOUTS (Wine's waits for a byte however they are set).
class ListenedPort {
  public:
    ListenedPort(HANDLE port, HANDLE stop, HANDLE wanted)
        : port_(port), stop_(stop), wanted_(wanted) {
        read_.hEvent = readEvent_.get();
        write_.hEvent = writeEvent_.get();
    }
    ~ListenedPort() {
        if (reading_) {
            CancelIoEx(port_, &read_);
            DWORD done = 0;
            GetOverlappedResult(port_, &read_, &done, TRUE);
        }
    }
    ListenedPort(const ListenedPort &) = delete;
    ListenedPort &operator=(const ListenedPort &) = delete;

    // Waits up to waitMs for the modem's bytes; bytes holds what came, perhaps nothing.
    Read Take(DWORD waitMs, std::string &bytes) {
        bytes.clear();
        if (!readEvent_)
            return Read::Failed;
        if (!reading_) {
            DWORD done = 0;
            if (ReadFile(port_, buffer_, sizeof buffer_, &done, &read_)) {
                bytes.assign(buffer_, done);
                return Read::Bytes;
            }
            if (GetLastError() != ERROR_IO_PENDING)
                return Read::Failed;
            reading_ = true;
        }
        const HANDLE waits[] = {readEvent_.get(), stop_, wanted_};
        switch (WaitForMultipleObjects(3, waits, FALSE, waitMs)) {
        case WAIT_TIMEOUT:
            return Read::Bytes;
        case WAIT_OBJECT_0 + 1:
            return Read::Stopped;
        case WAIT_OBJECT_0 + 2:
            return Read::Wanted;
        case WAIT_OBJECT_0:
            break;
        default:
            return Read::Failed;
        }
        reading_ = false;
        DWORD done = 0;
        if (!GetOverlappedResult(port_, &read_, &done, FALSE))
            return Read::Failed;
        bytes.assign(buffer_, done);
        return Read::Bytes;
    }
    // Writes text within a second; false when it could not.
    bool Write(const char *text) {
        DWORD done = 0;
        const DWORD size = lstrlenA(text);
        if (WriteFile(port_, text, size, &done, &write_))
            return done == size;
        if (GetLastError() != ERROR_IO_PENDING)
            return false;
        if (WaitForSingleObject(writeEvent_.get(), 1000) != WAIT_OBJECT_0) {
            CancelIoEx(port_, &write_);
            GetOverlappedResult(port_, &write_, &done, TRUE);
            return false;
        }
        return GetOverlappedResult(port_, &write_, &done, FALSE) && done == size;
    }

  private:
    HANDLE port_, stop_, wanted_;
    ScopedHandle readEvent_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ScopedHandle writeEvent_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    OVERLAPPED read_ = {}, write_ = {};
    bool reading_ = false;
    char buffer_[256];
};

// Sends command and reads the report until the modem answers OK or ERROR, for up to two
// seconds; the events it reads meanwhile go to the window. Bytes for OK; Failed for ERROR or
// no answer.
Read Answers(const Worker &worker, ListenedPort &port, ModemReport &report, const char *command) {
    if (!port.Write(command))
        return Read::Failed;
    const ULONGLONG start = GetTickCount64();
    std::string bytes;
    while (GetTickCount64() - start < 2000) {
        if (const Read read = port.Take(100, bytes); read != Read::Bytes)
            return read;
        for (const ModemEvent &event : report.Take(bytes, GetTickCount64())) {
            if (event.kind == ModemEvent::Kind::Ok || event.kind == ModemEvent::Kind::Error)
                return event.kind == ModemEvent::Kind::Ok ? Read::Bytes : Read::Failed;
            Post(worker.window, {event});
        }
    }
    return Read::Failed;
}

// Reads the modem's report from the open port until something else than bytes comes: a
// script's wish for the port, the stop, or a failure (a modem that answers neither caller-ID
// command, a read that fails as the port goes).
Read Report(const Worker &worker, HANDLE handle, HANDLE wanted, ModemReport &report) {
    // The port keeps its speed and framing. A read ends once a line's bytes have come (no byte
    // for 20 ms after one), rather than when its buffer is full; the wait for the first is
    // ours. What the modem said before (its answers to the last script) is no answer to the
    // commands below.
    COMMTIMEOUTS timeouts = {20, 0, 0, 0, 1000};
    SetCommTimeouts(handle, &timeouts);
    PurgeComm(handle, PURGE_RXCLEAR);
    ListenedPort port(handle, worker.stop.get(), wanted);
    Read read = Answers(worker, port, report, "AT+VCID=1\r");
    if (read == Read::Failed)
        read = Answers(worker, port, report, "AT#CID=1\r");
    std::string bytes;
    while (read == Read::Bytes && (read = port.Take(200, bytes)) == Read::Bytes) {
        const ULONGLONG now = GetTickCount64();
        for (const ModemEvent &event : report.Take(bytes, now))
            Post(worker.window, {event});
        if (const std::optional<ModemEvent> ended = report.Tick(now))
            Post(worker.window, {*ended});
    }
    return read;
}

// Takes the port whenever no script holds its lock, and lets go of it while one does; a port
// that does not open and the modem's failure end it with a failure, as does the stop without.
DWORD WINAPI Listen(void *parameter) {
    const Worker &worker = *static_cast<Worker *>(parameter);
    const ScopedHandle wanted(CreateSharedEvent(ListenerEventName(worker.port).c_str()));
    const ScopedHandle lock(CreateSharedMutex(PortLockName(worker.port).c_str(), false));
    const std::wstring path = L"\\\\.\\" + PortDeviceName(worker.port);
    ModemReport report; // a call that rings on goes on across a script
    for (;;) {
        // No script on the port: its lock is free for a moment.
        const HANDLE waits[] = {lock.get(), worker.stop.get()};
        const DWORD free = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        if (free != WAIT_OBJECT_0 && free != WAIT_ABANDONED_0)
            return 0;
        ReleaseMutex(lock.get());
        const ScopedHandle handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                              nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED,
                                              nullptr));
        const Read read = handle && wanted && lock
                              ? Report(worker, handle.get(), wanted.get(), report)
                              : Read::Failed;
        if (read == Read::Stopped)
            return 0;
        if (read == Read::Failed) {
            if (!Stopped(worker))
                Post(worker.window, {{}, true});
            return 0;
        }
    }
}

constexpr wchar_t kChosenPortValue[] = L"IncomingCallsPort";

} // namespace

std::wstring ChosenListeningPort() {
    const RegistryKey key = OpenMachineKey(kProgramKey, KeyAccess::Read);
    return key ? W(ReadText(key.get(), kChosenPortValue).value_or(u"").c_str()) : std::wstring();
}

void ChooseListeningPort(const std::wstring &port) {
    const RegistryKey key = OpenMachineKey(kProgramKey, KeyAccess::Write);
    if (!key)
        return;
    if (port.empty())
        DeleteValue(key.get(), kChosenPortValue);
    else
        WriteText(key.get(), kChosenPortValue, U(port.c_str()));
}

void StartListening(HWND window, const std::wstring &port) {
    StopListening();
    if (port.empty())
        return;
    auto worker = std::make_unique<Worker>();
    worker->window = window;
    worker->port = port;
    worker->stop.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!worker->stop)
        return;
    worker->thread.reset(CreateThread(nullptr, 0, Listen, worker.get(), 0, nullptr));
    if (worker->thread)
        g_worker = std::move(worker);
}

void StopListening() {
    if (!g_worker)
        return;
    SetEvent(g_worker->stop.get());
    // A read or a write ends within a second; an open that hangs (a Bluetooth port) is asked to
    // stop. A worker that still does not end is left to end alone, with what it uses.
    if (WaitForSingleObject(g_worker->thread.get(), 2000) == WAIT_TIMEOUT) {
        CancelSynchronousIo(g_worker->thread.get());
        if (WaitForSingleObject(g_worker->thread.get(), 1000) == WAIT_TIMEOUT) {
            (void)g_worker.release(); // left to end alone
            return;
        }
    }
    g_worker.reset();
}

std::wstring ListeningPort() { return g_worker ? g_worker->port : std::wstring(); }

std::vector<ListenerEvent> TakeListenerEvents() {
    std::vector<ListenerEvent> events;
    const std::lock_guard<std::mutex> lock(g_eventsLock);
    events.swap(g_events);
    return events;
}

bool AskListenerToLetGo(const std::wstring &port) {
    const ScopedHandle wanted(
        OpenEventW(EVENT_MODIFY_STATE, FALSE, ListenerEventName(port).c_str()));
    return wanted && SetEvent(wanted.get());
}

} // namespace zelmora
