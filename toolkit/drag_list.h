// Dragging a row of a list box to another place, with the common controls' drag list: the
// interface thread answers the drag list's notifications in the list's parent window, draws
// the insert mark and turns a drop into one event that the program thread takes, the way it
// reads a button click.
#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/handle.h"

// Makes a single-selection list box (a child of a toolkit main window) a drag list. Where the
// common controls refuse, its rows simply cannot be dragged. Program thread.
void MakeListDraggable(Handle list);

// A row dropped on another row: the dragged row is to take the place of row `to`.
struct ListDrop {
    int from = 0;
    int to = 0;
};

// The drop waiting for the program thread, taken at most once; nothing when none waits.
std::optional<ListDrop> TakeListDrop();
bool ListDropWaiting();

// Whether the user is dragging a row now: from the press on a row until the drop or the cancel.
bool ListDragUnderWay();

// Interface thread, for the parent's window procedure: whether the message is the drag list's
// registered notification, and its answer to one (lParam points to its DRAGLISTINFO).
bool IsDragListMessage(unsigned message);
std::intptr_t OnDragListMessage(Handle parent, std::intptr_t lParam);

// How a drop is kept in the event state's one value; kNoListDrop when none waits.
constexpr std::int64_t kNoListDrop = -1;
constexpr std::int64_t PackListDrop(ListDrop drop) {
    return (static_cast<std::int64_t>(drop.from) << 32) | static_cast<std::uint32_t>(drop.to);
}
