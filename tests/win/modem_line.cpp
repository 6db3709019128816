// Reading the test modem's recordings.
#include "modem_line.h"

#include <windows.h>

#include <cstdlib>

#include "test_files.h"

namespace {

std::wstring RecordingPath(const char *port) {
    const char *build = std::getenv("ZELMORA_BUILD_DIR");
    std::string path = std::string(build ? build : "") + "\\modem\\line-" + port + ".bin";
    return std::wstring(path.begin(), path.end());
}

} // namespace

bool TestModemAvailable() { return std::getenv("ZELMORA_BUILD_DIR") != nullptr; }

std::string ModemBytes(const char *port) {
    std::string bytes = FileBytes(RecordingPath(port).c_str());
    return bytes == "<missing>" ? std::string() : bytes;
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
