// List-box messages sent directly from the calling thread; the whole-list reads and additions
// run on the interface thread in one request, where the messages cost no thread switch.
#include "toolkit/list_box.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "toolkit/interface_thread.h"

namespace {

LRESULT Send(Handle list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(reinterpret_cast<HWND>(list), message, wParam, lParam);
}

LPARAM TextArg(const Text& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

}  // namespace

void ListReset(Handle list) { Send(list, LB_RESETCONTENT); }
void ListAdd(Handle list, const Text& row) { Send(list, LB_ADDSTRING, 0, TextArg(row)); }
void ListInsert(Handle list, int index, const Text& row) {
    Send(list, LB_INSERTSTRING, static_cast<WPARAM>(index), TextArg(row));
}
void ListDelete(Handle list, int index) { Send(list, LB_DELETESTRING, static_cast<WPARAM>(index)); }
void ListSelect(Handle list, int index) { Send(list, LB_SETCURSEL, static_cast<WPARAM>(index)); }
int ListSelection(Handle list) { return static_cast<int>(Send(list, LB_GETCURSEL)); }
int ListCount(Handle list) { return static_cast<int>(Send(list, LB_GETCOUNT)); }

Text GetListItemText(Handle list, int index) {
    const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR) return Text();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 4, '\0');
    Send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return Text(buffer.data());
}

void ListAddAll(Handle list, const std::vector<Text>& rows) {
    SendRequest([list, &rows] {
        for (const Text& row : rows) ListAdd(list, row);
    });
}

std::vector<Text> ListItemTexts(Handle list) {
    std::vector<Text> rows;
    SendRequest([list, &rows] {
        const int count = ListCount(list);
        rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
        for (int i = 0; i < count; ++i) rows.push_back(GetListItemText(list, i));
    });
    return rows;
}

void ListHoldDrawing(Handle list, bool hold) {
    HWND box = reinterpret_cast<HWND>(list);
    SendMessageA(box, WM_SETREDRAW, hold ? FALSE : TRUE, 0);
    if (!hold) InvalidateRect(box, nullptr, TRUE);
}
