// Reading the test modem's recordings.
#include "modem_line.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "test_files.h"

namespace {

// A file of the modem folder: line-comN.bin (the bytes) or far-comN.txt (the far end's report).
std::string ModemFile(const std::string &name) {
    const char *build = std::getenv("ZELMORA_BUILD_DIR");
    const std::string path = std::string(build ? build : "") + "\\modem\\" + name;
    std::string bytes = FileBytes(std::wstring(path.begin(), path.end()).c_str());
    return bytes == "<missing>" ? std::string() : bytes;
}

} // namespace

bool TestModemAvailable() { return std::getenv("ZELMORA_BUILD_DIR") != nullptr; }

std::string ModemBytes(const char *port) { return ModemFile(std::string("line-") + port + ".bin"); }

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
    Sleep(7500);
    return FarEndReport(port).find("RING", since) == std::string::npos;
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
