// Finding a window by title, the folder browser, the popup menu and the lines of the
// list-selection dialog.
#include "toolkit/window_services.h"

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "toolkit/event_state.h"
#include "toolkit/interface_thread.h"
#include "toolkit/owned_handle.h"
#include "toolkit/shell_library.h"
#include "toolkit/window_handles.h"

namespace {

struct TitleSearch {
    Text prefix;  // in capitals
    HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<TitleSearch*>(lParam);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    const Text start = Text(title).substr(0, search->prefix.size());
    if (UpperCase(start) != search->prefix) return TRUE;
    search->found = window;
    return FALSE;
}

// Runs on the interface thread; an empty text means cancelled or no file-system folder.
Text RunFolderBrowser(const Text& prompt) {
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = MainWindow();
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = prompt.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const auto browse = ShellFunction<decltype(&SHBrowseForFolderA)>("SHBrowseForFolderA");
    const auto pathOf = ShellFunction<decltype(&SHGetPathFromIDListA)>("SHGetPathFromIDListA");
    if (!browse || !pathOf) return Text();
    PIDLIST_ABSOLUTE chosen = browse(&info);
    if (!chosen) return Text();
    char path[MAX_PATH] = {};
    const bool isFolder = pathOf(chosen, path) != FALSE;
    CoTaskMemFree(chosen);
    return isFolder ? Text(path) : Text();
}

// The menu that the application built for the next ShowPopupMenu.
std::atomic<HMENU> popupMenu{nullptr};

// Lines of the list-selection dialog, written by the program thread.
struct DialogLines {
    std::mutex lock;
    std::vector<Text> lines;
};
DialogLines dialogLines;

}  // namespace

Handle FindWindowByTitle(const Text& prefix) {
    TitleSearch search;
    search.prefix = UpperCase(prefix);
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return AsHandle(search.found);
}

Text BrowseForFolder(const Text& prompt) {
    Text path;
    PostRequest([&] { path = RunFolderBrowser(prompt); });
    eventState.lastResult.store(path.empty() ? 0 : 1);
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

void SetPopupMenu(Handle menu) { popupMenu.store(reinterpret_cast<HMENU>(menu)); }

void ShowPopupMenu(int x, int y) {
    eventState.menuItem.store(0);
    const OwnedMenu menu(popupMenu.exchange(nullptr));
    PostRequest([shown = menu.get(), x, y] {
        HWND owner = MainWindow();
        POINT at{x, y};
        ClientToScreen(owner, &at);
        TrackPopupMenu(shown, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    });
    Sleep(0);
}

void AddDialogLine(const Text& line) {
    std::lock_guard<std::mutex> guard(dialogLines.lock);
    dialogLines.lines.push_back(line);
}

int DialogLineCount() {
    std::lock_guard<std::mutex> guard(dialogLines.lock);
    return static_cast<int>(dialogLines.lines.size());
}

void ClearDialogLines() {
    std::lock_guard<std::mutex> guard(dialogLines.lock);
    dialogLines.lines.clear();
}
