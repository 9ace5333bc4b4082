#include "shell/context_menu.h"

#include <cstdint>

#include "catalogue/messages.h"
#include "toolkit/interface_thread.h"
#include "toolkit/window_services.h"

namespace {

// Both languages of every entry; the blanks belong to the texts.
const Phrase kAllText{"All", "Alle"};
const Phrase kDisableAllText{"&Disable Update Function", "Update Funktion &deaktivieren"};
const Phrase kEnableAllText{"&Enable Update Function", "Update Funktion &aktivieren"};
const Phrase kConvertAllText{"&Convert: Unix -> DOS", "&Konvertierung: Unix -> DOS"};
const Phrase kEditText{"&Edit\bEnter", "&Bearbeiten\bEnter"};
const Phrase kRenameText{"&Rename\b      BackSp", "&Umbenennen\b      BackSp"};
const Phrase kConvertText{"&Convert: Unix -> DOS\bAlt+T", "&Konvertierung: Unix -> DOS\bAlt+T"};
const Phrase kDisableText{"D&isable Update Function \bAlt+U", "Update Funktion &deaktivieren \bAlt+U"};
const Phrase kEnableText{"&Enable Update Function \bAlt+I", "Update Funktion &aktivieren \bAlt+I"};
const Phrase kMoveUpText{"Move &Up\b-", "Nach &oben\b-"};
const Phrase kMoveDownText{"Move &Down\b+", "Nach &unten\b+"};
const Phrase kHideText{"&Hide\b * ", "&Verstecken\b * "};
const Phrase kDeleteText{"&Delete\bDel", "&Löschen\bEntf"};

constexpr std::intptr_t kMfString = 0;
constexpr std::intptr_t kMfSeparator = 0x800;
constexpr std::intptr_t kMfPopup = 0x10;

MenuEntry Item(int id, const Phrase& text, Language language) {
    return {MenuEntryKind::Item, id, Say(text, language)};
}

MenuEntry Separator() { return {MenuEntryKind::Separator, 0, Text()}; }

void Append(Handle menu, const MenuEntry& entry, Handle submenu) {
    switch (entry.kind) {
        case MenuEntryKind::Item:
            CallLibraryFunction("USER32", "AppendMenuA", {menu, kMfString, entry.id, Arg(entry.text)});
            break;
        case MenuEntryKind::Separator:
            CallLibraryFunction("USER32", "AppendMenuA", {menu, kMfSeparator, 0, 0});
            break;
        case MenuEntryKind::Submenu:
            CallLibraryFunction("USER32", "AppendMenuA", {menu, kMfPopup, submenu, Arg(entry.text)});
            break;
    }
}

}  // namespace

ContextMenuEntries ContextMenuFor(Language language, int selection, int count) {
    ContextMenuEntries e;
    e.all = {Item(kMenuDisableAll, kDisableAllText, language), Item(kMenuEnableAll, kEnableAllText, language),
             Separator(), Item(kMenuConvertAll, kConvertAllText, language)};
    e.menu = {{MenuEntryKind::Submenu, 0, Say(kAllText, language)},
              Separator(),
              Item(kMenuEdit, kEditText, language),
              Item(kMenuRename, kRenameText, language),
              Item(kMenuConvert, kConvertText, language),
              Separator(),
              Item(kMenuDisableUpdates, kDisableText, language),
              Item(kMenuEnableUpdates, kEnableText, language),
              Separator()};
    if (selection > 0) e.menu.push_back(Item(kMenuMoveUp, kMoveUpText, language));
    if (selection < count - 1) e.menu.push_back(Item(kMenuMoveDown, kMoveDownText, language));
    e.menu.insert(e.menu.end(), {Separator(), Item(kMenuHide, kHideText, language), Separator(),
                                 Item(kMenuDelete, kDeleteText, language)});
    return e;
}

void ShowContextMenu(int selection, int count, int clientX, int clientY) {
    const ContextMenuEntries entries = ContextMenuFor(catalogue.language, selection, count);
    const Handle menu = CallLibraryFunction("USER32", "CreatePopupMenu");
    const Handle submenu = CallLibraryFunction("USER32", "CreateMenu");
    for (const MenuEntry& entry : entries.all) Append(submenu, entry, 0);
    for (const MenuEntry& entry : entries.menu) Append(menu, entry, submenu);
    SetPopupMenu(menu);
    ShowPopupMenu(clientX, clientY);
}
