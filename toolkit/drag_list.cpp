// The drag list of the plugin list: the common controls track the mouse, and the parent's
// window procedure answers their notifications here.
#include "toolkit/drag_list.h"

#include <windows.h>
#include <commctrl.h>

#include "toolkit/event_state.h"
#include "toolkit/interface_thread.h"
#include "toolkit/interface_thread_internal.h"
#include "toolkit/window_handles.h"

namespace {

constexpr int kNoRow = -1;
// How far the insert arrow reaches beyond the list's left edge, above and below its rows.
constexpr int kArrowReach = 32;

// The drag under way: the row under the press that began it, and the row the arrow marks.
// Interface thread only.
int dragFrom = kNoRow;
int markedRow = kNoRow;

UINT DragListMessage() {
    static const UINT message = RegisterWindowMessageA(DRAGLISTMSGSTRING);
    return message;
}

// The arrow is drawn into the parent over the list's left edge and the group box's frame; the
// parent's own repaint would leave those parts as they are, so the strip under the arrow is
// repainted with the children and their frames.
void EraseMark(HWND parent, HWND list) {
    DrawInsert(parent, list, kNoRow);
    RECT r;
    GetWindowRect(list, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    const RECT strip{0, r.top - kArrowReach, r.left + kArrowReach, r.bottom + kArrowReach};
    RedrawWindow(parent, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    markedRow = kNoRow;
}

void MarkRow(HWND parent, HWND list, int row) {
    if (row == markedRow) return;
    EraseMark(parent, list);
    DrawInsert(parent, list, row);
    markedRow = row;
}

// Ends the drag for the program thread: the mark goes, and the main loop looks again.
void EndDrag(HWND parent, HWND list) {
    EraseMark(parent, list);
    dragFrom = kNoRow;
    eventState.listDragging.store(0);
    PulseInputEvent();
    WakeProgramThread();
}

// A press on a row begins a drag; a press below the last row selects nothing to drag.
LRESULT BeginDrag(const DRAGLISTINFO& info) {
    dragFrom = LBItemFromPt(info.hWnd, info.ptCursor, FALSE);
    if (dragFrom == kNoRow) return FALSE;
    eventState.listDragging.store(1);
    return TRUE;
}

// The arrow points at the row whose place the dragged row would take; held above or below the
// list, the pointer scrolls it.
LRESULT Dragging(HWND parent, const DRAGLISTINFO& info) {
    const int row = LBItemFromPt(info.hWnd, info.ptCursor, TRUE);
    MarkRow(parent, info.hWnd, row == dragFrom ? kNoRow : row);
    return row == kNoRow ? DL_STOPCURSOR : DL_MOVECURSOR;
}

// Released on another row, the drop waits for the program thread; released on its own row
// (a plain click) or outside the list, nothing moves.
void Dropped(HWND parent, const DRAGLISTINFO& info) {
    const int from = dragFrom;
    const int to = LBItemFromPt(info.hWnd, info.ptCursor, FALSE);
    if (from != kNoRow && to != kNoRow && to != from) eventState.listDrop.store(PackListDrop({from, to}));
    EndDrag(parent, info.hWnd);
}

}  // namespace

// On the interface thread: a window can be subclassed only by the thread that owns it.
void MakeListDraggable(Handle list) {
    SendRequest([list] {
        DragListMessage();
        MakeDragList(AsHwnd(list));
    });
}

std::optional<ListDrop> TakeListDrop() {
    const std::int64_t packed = eventState.listDrop.exchange(kNoListDrop);
    if (packed == kNoListDrop) return std::nullopt;
    return ListDrop{static_cast<int>(packed >> 32), static_cast<int>(static_cast<std::uint32_t>(packed))};
}

bool ListDropWaiting() { return eventState.listDrop.load() != kNoListDrop; }

bool ListDragUnderWay() { return eventState.listDragging.load() != 0; }

bool IsDragListMessage(unsigned message) { return message != 0 && message == DragListMessage(); }

std::intptr_t OnDragListMessage(Handle parentHandle, std::intptr_t lParam) {
    const HWND parent = AsHwnd(parentHandle);
    const auto& info = *reinterpret_cast<const DRAGLISTINFO*>(lParam);
    switch (info.uNotification) {
        case DL_BEGINDRAG: return BeginDrag(info);
        case DL_DRAGGING: return Dragging(parent, info);
        case DL_DROPPED: Dropped(parent, info); return 0;
        case DL_CANCELDRAG: EndDrag(parent, info.hWnd); return 0;
        default: return 0;
    }
}
