// List-box messages sent directly from the calling thread; the whole-list reads and fills run on
// the interface thread in one request, where the messages cost no thread switch.
#include "toolkit/list_box.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "toolkit/controls.h"
#include "toolkit/interface_thread.h"
#include "toolkit/interface_thread_internal.h"

namespace {

LRESULT Send(Handle list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(reinterpret_cast<HWND>(list), message, wParam, lParam);
}

LPARAM TextArg(const Text& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

// The one list box whose selection and row count the interface thread keeps, so that the main
// loop reads them without a cross-thread message on every pass. Written on the interface thread
// after every message the list box handles, whoever sent it; read by both threads.
struct FollowedList {
    std::atomic<Handle> list{0};
    std::atomic<int> selection{-1};
    std::atomic<int> count{0};
    WNDPROC original = nullptr;  // interface thread only
};
FollowedList followed;

int AskList(HWND box, UINT message) {
    return static_cast<int>(CallWindowProcA(followed.original, box, message, 0, 0));
}

// Takes the followed list's selection and row count after a message. A changed selection or row
// count, and the list gaining or losing the focus, wake the main loop: a selection set by another
// program arrives as a sent message, past the message loop.
void NoteFollowedList(HWND box, UINT message) {
    const int selection = AskList(box, LB_GETCURSEL);
    const int count = AskList(box, LB_GETCOUNT);
    const bool selectionChanged = followed.selection.exchange(selection) != selection;
    const bool countChanged = followed.count.exchange(count) != count;
    if (selectionChanged || countChanged || message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        WakeProgramThread();
    }
}

LRESULT CALLBACK FollowingProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(followed.original, box, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        followed.list.store(0);
        return result;
    }
    NoteFollowedList(box, message);
    return result;
}

// The list box's own procedure, past every procedure that watches it: the followed selection
// above, and the relays of the tooltip and of the drag list, which watch the mouse only. The
// whole-list reads and fills go straight to it, on the interface thread: under Wine each relay
// of the common controls asks the window server for its data on every message, about 0.1 ms a
// row of the plugin list.
LRESULT CallListBox(HWND box, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrA(box, GCLP_WNDPROC));
    return CallWindowProcA(own, box, message, wParam, lParam);
}

// Row index's text, read with the given way of sending a message to the list box.
template <typename Ask>
Text ItemText(Ask ask, int index) {
    const LRESULT length = ask(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return Text();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 4, '\0');
    ask(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    return Text(buffer.data());
}

Text RowText(HWND box, int index) {
    return ItemText([box](UINT m, WPARAM w, LPARAM l) { return CallListBox(box, m, w, l); }, index);
}

std::vector<Text> RowTexts(HWND box) {
    const auto count = static_cast<int>(CallListBox(box, LB_GETCOUNT));
    std::vector<Text> rows;
    rows.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) rows.push_back(RowText(box, i));
    return rows;
}

}  // namespace

void FollowList(Handle list) {
    SendRequest([list] {
        HWND box = reinterpret_cast<HWND>(list);
        followed.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FollowingProc)));
        followed.selection.store(AskList(box, LB_GETCURSEL));
        followed.count.store(AskList(box, LB_GETCOUNT));
        followed.list.store(list);
    });
}

void ListInsert(Handle list, int index, const Text& row) {
    Send(list, LB_INSERTSTRING, static_cast<WPARAM>(index), TextArg(row));
}
void ListDelete(Handle list, int index) { Send(list, LB_DELETESTRING, static_cast<WPARAM>(index)); }
void ListSelect(Handle list, int index) { Send(list, LB_SETCURSEL, static_cast<WPARAM>(index)); }
int ListSelection(Handle list) {
    if (list != 0 && list == followed.list.load()) return followed.selection.load();
    return static_cast<int>(Send(list, LB_GETCURSEL));
}

int ListCount(Handle list) {
    if (list != 0 && list == followed.list.load()) return followed.count.load();
    return static_cast<int>(Send(list, LB_GETCOUNT));
}

Text GetListItemText(Handle list, int index) {
    return ItemText([list](UINT m, WPARAM w, LPARAM l) { return Send(list, m, w, l); }, index);
}

bool ListSetAll(Handle list, const std::vector<Text>& rows) {
    bool changed = false;
    SendRequest([list, &rows, &changed] {
        HWND box = reinterpret_cast<HWND>(list);
        if (RowTexts(box) == rows) return;
        changed = true;
        // A shown list box would redraw itself for every row; it is drawn once at the end. A
        // hidden one is left as it is: turning drawing back on would show it.
        const bool shown = IsWindowVisible(box) != FALSE;
        if (shown) HoldDrawing(list, true);
        CallListBox(box, LB_RESETCONTENT);
        for (const Text& row : rows) CallListBox(box, LB_ADDSTRING, 0, TextArg(row));
        if (shown) HoldDrawing(list, false);
        if (list == followed.list.load()) NoteFollowedList(box, LB_ADDSTRING);
    });
    return changed;
}

std::vector<Text> ListItemTexts(Handle list) {
    std::vector<Text> rows;
    SendRequest([list, &rows] { rows = RowTexts(reinterpret_cast<HWND>(list)); });
    return rows;
}
