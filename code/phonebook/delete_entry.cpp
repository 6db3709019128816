// Delete: guidance when there is nothing to delete, then a confirmation whose default is No.
#include "delete_entry.h"

#include "../base/list_view.h"
#include "../base/message_box.h"
#include "../base/process_state.h"
#include "../base/texts.h"

namespace zelmora {

void DeleteSelectedEntry(HWND mainWindow) {
    const int row =
        SelectedRowOrSay(g_phoneBookList, mainWindow, kTextNothingToDelete, kTextSelectToDelete);
    if (row == -1)
        return;
    // Only a Yes deletes: a box that failed to show answers 0.
    if (ShowMessage(mainWindow, kTextConfirmDelete, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) ==
        IDYES)
        DeleteRow(g_phoneBookList, row);
}

} // namespace zelmora
