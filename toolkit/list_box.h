// Plain list-box messages for the layers above the toolkit, so that they need no Win32
// header. The list boxes belong to the interface thread; the messages are sent directly.
#pragma once

#include <vector>

#include "toolkit/handle.h"
#include "toolkit/text.h"

void ListInsert(Handle list, int index, const Text& row);  // LB_INSERTSTRING
void ListDelete(Handle list, int index);                   // LB_DELETESTRING
void ListSelect(Handle list, int index);                   // LB_SETCURSEL
int ListSelection(Handle list);                            // LB_GETCURSEL, -1 for none
int ListCount(Handle list);                                // LB_GETCOUNT

// From now on the interface thread keeps the list box's selection and row count as they change,
// and ListSelection and ListCount answer from them without a message. One list box at a time.
void FollowList(Handle list);
Text GetListItemText(Handle list, int index);              // empty past the end

// Makes the rows the list's only rows, in order, in one request on the interface thread. A list
// that holds exactly these rows already is left untouched (its scroll position too), so that a
// refresh after renames, which keeps every shown name, costs no redraw. Returns whether it
// changed the list.
bool ListSetAll(Handle list, const std::vector<Text>& rows);

// Every row's text, read in one request on the interface thread: a command that walks the
// whole list pays one cross-thread round trip instead of two per row.
std::vector<Text> ListItemTexts(Handle list);

