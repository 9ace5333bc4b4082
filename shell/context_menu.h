// The plugin list's context menu: its items in both languages, which of them the selection
// offers, and showing it at the cursor.
#pragma once

#include <vector>

#include "catalogue/catalogue_state.h"
#include "toolkit/text.h"

// Item ids; a chosen item arrives as the low word of a registered WM_COMMAND.
enum ContextMenuId : int {
    kMenuDisableAll = 93,
    kMenuEnableAll = 96,
    kMenuConvertAll = 99,
    kMenuEdit = 100,
    kMenuRename = 200,
    kMenuConvert = 205,
    kMenuDisableUpdates = 207,
    kMenuEnableUpdates = 209,
    kMenuMoveUp = 210,
    kMenuMoveDown = 220,
    kMenuHide = 400,
    kMenuDelete = 500,
};

enum class MenuEntryKind { Item, Separator, Submenu };

// One line of a menu. A backspace (8) in a text separates the item from its right-aligned
// shortcut. The one Submenu entry opens the "All" entries.
struct MenuEntry {
    MenuEntryKind kind;
    int id;
    Text text;
};

struct ContextMenuEntries {
    std::vector<MenuEntry> menu;
    std::vector<MenuEntry> all;   // the submenu that acts on every plugin
};

// The entries for the selected row of a list of count rows: Move Up only below the first row,
// Move Down only above the last.
ContextMenuEntries ContextMenuFor(Language language, int selection, int count);

// Builds the menu in the interface language and shows it at the point in the main window's
// client area; returns when it has closed. The chosen item arrives as a registered message.
void ShowContextMenu(int selection, int count, int clientX, int clientY);
