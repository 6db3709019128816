// The process-wide state.
#include "process_state.h"

namespace zelmora {

HINSTANCE g_instance;
wchar_t g_caption[100];
char g_quickDialPhone[kCellCapacity];
char g_quickDialPort[kCellCapacity];
bool g_quickHangUp;
bool g_quickDialPhoneLost;
bool g_quickDialPortLost;
HWND g_modemList;
HWND g_phoneBookList;

} // namespace zelmora
