// Entry point of the Windows tests: the program's own start-up state, then GoogleTest.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/process_state.h"

int wmain(int argc, wchar_t **argv) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    zelmora::g_instance = GetModuleHandleW(nullptr);
    zelmora::LoadCaption(zelmora::g_instance);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
