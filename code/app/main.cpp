// Zelmora's entry point.
#include <windows.h>

#include "startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return zelmora::RunZelmora(instance);
}
