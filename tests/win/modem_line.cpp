// Reading the test modem's recordings.
#include "modem_line.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "test_files.h"

namespace {

// The path of a file of the modem folder (the test house's ZELMORA_MODEM_DIR, else the build
// folder's): line-comN.bin (the bytes) or far-comN.txt (the far end's report).
std::string ModemFolder() {
    const char *house = std::getenv("ZELMORA_MODEM_DIR");
    const char *build = std::getenv("ZELMORA_BUILD_DIR");
    return house ? house : std::string(build ? build : "") + "\\modem";
}

std::wstring ModemPath(const std::string &name) {
    const std::string path = ModemFolder() + "\\" + name;
    return std::wstring(path.begin(), path.end());
}

std::string ModemFile(const std::string &name) {
    std::string bytes = FileBytes(ModemPath(name).c_str());
    return bytes == "<missing>" ? std::string() : bytes;
}

// Milliseconds since the file was last written to, by the system's clock.
ULONGLONG MsSinceWritten(const std::wstring &path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0; // never long enough
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](FILETIME time) {
        return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return (ticks(now) - ticks(data.ftLastWriteTime)) / 10000;
}

} // namespace

bool TestModemAvailable() { return std::getenv("ZELMORA_BUILD_DIR") != nullptr; }

std::wstring ModemDevice(const char *port) {
    std::string path = ModemFolder() + "/" + port + ".tty";
    if (path.rfind("Z:", 0) == 0)
        path.erase(0, 2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return std::wstring(path.begin(), path.end());
}

std::string ModemBytes(const char *port) { return ModemFile(std::string("line-") + port + ".bin"); }

std::string ModemAnswers(const char *port) {
    return ModemFile(std::string("modem-") + port + ".txt");
}

bool FarEndCalls(const char *port, const char *name, const char *number, int rings) {
    // A Linux program, from Wine: start /unix runs it by its own path.
    std::string folder = ModemFolder();
    if (folder.rfind("Z:", 0) == 0)
        folder.erase(0, 2);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    const std::string command =
        "start.exe /wait /unix " ZELMORA_SOURCE_DIR "/tools/test-modem ring " + folder + " " +
        port + " " + name + " " + number + " " + std::to_string(rings);
    std::wstring line(command.begin(), command.end());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // start.exe does not wait for a Linux program: what the modem says tells how far it is.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool WaitForRings(const char *port, std::size_t since, int rings) {
    const DWORD start = GetTickCount();
    do {
        const std::string said = ModemAnswers(port);
        int rang = 0;
        for (std::size_t at = said.find("RING", since); at != std::string::npos;
             at = said.find("RING", at + 4))
            ++rang;
        if (rang >= rings)
            return true;
        Sleep(100);
    } while (GetTickCount() - start < 6000u * rings + 15000);
    return false;
}

std::string FarEndReport(const char *port) {
    return ModemFile(std::string("far-") + port + ".txt");
}

std::string WaitForFarEndCall(const char *port, std::size_t since, unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    do {
        std::string report = FarEndReport(port);
        report.erase(0, std::min(since, report.size()));
        const std::size_t called = report.find("NDID=");
        if (called != std::string::npos && report.find("RING", called) != std::string::npos)
            return report.substr(called + 5, report.find_first_of("\r\n", called) - called - 5);
        Sleep(100);
    } while (GetTickCount() - start < timeoutMs);
    return std::string();
}

bool FarEndStopsRinging(const char *port, std::size_t since) {
    // The far end rings every 5 s while a call stands. The report's last write is its last
    // RING (or what it said after): once one interval and a margin have passed since, no RING
    // is due any more. A call that ended long ago is known at once.
    constexpr ULONGLONG kRingIntervalMs = 5000, kMarginMs = 1500;
    const std::wstring report = ModemPath(std::string("far-") + port + ".txt");
    const DWORD start = GetTickCount();
    while (FarEndReport(port).find("RING", since) == std::string::npos) {
        if (MsSinceWritten(report) > kRingIntervalMs + kMarginMs)
            return true;
        if (GetTickCount() - start > 3 * kRingIntervalMs)
            return false; // a report that can not be read
        Sleep(100);
    }
    return false;
}

std::string WaitForModemBytes(const char *port, std::size_t since, unsigned timeoutMs) {
    const DWORD start = GetTickCount();
    std::string bytes = ModemBytes(port);
    while (GetTickCount() - start < timeoutMs) {
        Sleep(100);
        std::string now = ModemBytes(port);
        if (now.size() > since && now == bytes)
            break;
        bytes = now;
    }
    return bytes.size() > since ? bytes.substr(since) : std::string();
}
