// The context menu's entries: their order, ids and exact texts in both languages, the "All"
// submenu, and the Move items offered only where the selected row can move.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/context_menu.h"

namespace {

// One line per entry: "id text", "---" for a separator, "All>" + title for the submenu.
std::vector<std::string> Describe(const std::vector<MenuEntry>& entries) {
    std::vector<std::string> lines;
    for (const MenuEntry& e : entries) {
        switch (e.kind) {
            case MenuEntryKind::Item: lines.push_back(std::to_string(e.id) + " " + e.text); break;
            case MenuEntryKind::Separator: lines.push_back("---"); break;
            case MenuEntryKind::Submenu: lines.push_back("All>" + e.text); break;
        }
    }
    return lines;
}

std::vector<int> Ids(const std::vector<MenuEntry>& entries) {
    std::vector<int> ids;
    for (const MenuEntry& e : entries) {
        if (e.kind == MenuEntryKind::Item) ids.push_back(e.id);
    }
    return ids;
}

}  // namespace

TEST(ContextMenu, EnglishEntriesOfAMiddleRow) {
    const ContextMenuEntries e = ContextMenuFor(Language::English, 1, 3);
    EXPECT_EQ(Describe(e.menu), (std::vector<std::string>{
                                    "All>All", "---", "100 &Edit\bEnter", "200 &Rename\b      BackSp",
                                    "205 &Convert: Unix -> DOS\bAlt+T", "---",
                                    "207 D&isable Update Function \bAlt+U", "209 &Enable Update Function \bAlt+I",
                                    "---", "210 Move &Up\b-", "220 Move &Down\b+", "---", "400 &Hide\b * ", "---",
                                    "500 &Delete\bDel"}));
    EXPECT_EQ(Describe(e.all), (std::vector<std::string>{"93 &Disable Update Function", "96 &Enable Update Function",
                                                         "---", "99 &Convert: Unix -> DOS"}));
}

TEST(ContextMenu, GermanEntriesOfAMiddleRow) {
    const ContextMenuEntries e = ContextMenuFor(Language::German, 1, 3);
    EXPECT_EQ(Describe(e.menu), (std::vector<std::string>{
                                    "All>Alle", "---", "100 &Bearbeiten\bEnter", "200 &Umbenennen\b      BackSp",
                                    "205 &Konvertierung: Unix -> DOS\bAlt+T", "---",
                                    "207 Update Funktion &deaktivieren \bAlt+U",
                                    "209 Update Funktion &aktivieren \bAlt+I", "---", "210 Nach &oben\b-",
                                    "220 Nach &unten\b+", "---", "400 &Verstecken\b * ", "---",
                                    "500 &L\xF6schen\bEntf"}));
    EXPECT_EQ(Describe(e.all),
              (std::vector<std::string>{"93 Update Funktion &deaktivieren", "96 Update Funktion &aktivieren", "---",
                                        "99 &Konvertierung: Unix -> DOS"}));
}

TEST(ContextMenu, TheShortcutSeparatorIsTheBackspaceByte) {
    const ContextMenuEntries e = ContextMenuFor(Language::English, 0, 1);
    EXPECT_EQ(e.menu[2].text, std::string("&Edit") + char(8) + "Enter");
}

TEST(ContextMenu, MoveItemsAreOfferedOnlyWhereTheRowCanMove) {
    struct Case {
        int selection;
        int count;
        bool up;
        bool down;
    };
    for (const Case c : {Case{0, 3, false, true}, Case{2, 3, true, false}, Case{1, 3, true, true},
                         Case{0, 1, false, false}}) {
        const std::vector<int> ids = Ids(ContextMenuFor(Language::English, c.selection, c.count).menu);
        auto has = [&](int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
        EXPECT_EQ(has(kMenuMoveUp), c.up) << "Move Up for row " << c.selection << " of " << c.count;
        EXPECT_EQ(has(kMenuMoveDown), c.down) << "Move Down for row " << c.selection << " of " << c.count;
        EXPECT_TRUE(has(kMenuHide) && has(kMenuDelete) && has(kMenuEdit)) << "the other items are always there";
    }
}
