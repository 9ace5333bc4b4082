// quorrel-driver: the end-to-end driver as a command for shell scripts and manual runs under Wine.
// It works on the running program whose main window title starts with "Quorrel". Exit code 0 when the
// command succeeded, 1 when it failed, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

namespace {

using namespace e2e;

constexpr const char* kUsage =
    "usage: quorrel-driver COMMAND [ARGUMENTS]\n"
    "  wait-window [TITLE-PREFIX] [MS]  wait for the main window (default prefix Quorrel)\n"
    "  windows                          list the main window's controls in creation order\n"
    "  list                             rows of the visible list box, '*' marks the selection\n"
    "  select ROW                       select a row of that list box\n"
    "  click TEXT                       click the button with this text in a window of the program\n"
    "  box-text [CAPTION]               wait for a message box; print its caption and text\n"
    "  box-press ID [CAPTION]           press a button of the message box (1 OK, 2 Cancel, 6 Yes, 7 No)\n"
    "  keys NAME...                     hold X keys together (xdotool names: alt t, Return)\n"
    "  menu KEY...                      in the open popup menu: down up left right return escape or a letter\n"
    "  screenshot FILE                  save the screen as PNG\n"
    "  close                            close the main window\n";

HWND MainWindow(const std::string& prefix = "Quorrel") { return FindTopLevel({0, "", prefix, true}); }

// The list that the user sees: the file list beside it is a list box of no size.
HWND VisibleList(HWND main) {
  for (size_t i = 0;; ++i) {
    HWND list = FindChildOfClass(main, "ListBox", i);
    if (!list) return nullptr;
    RECT rect = WindowRect(list);
    if (IsShown(list) && rect.right > rect.left && rect.bottom > rect.top) return list;
  }
}

int Report(bool ok, const char* failure) {
  if (!ok) fprintf(stderr, "%s\n", failure);
  return ok ? 0 : 1;
}

int PrintControls(HWND main) {
  std::vector<HWND> children = Children(main);
  for (size_t i = 0; i < children.size(); ++i) {
    HWND child = children[i];
    RECT rect = WindowRect(child);
    printf("%2zu %-14s id=%-5d %s%s (%ld,%ld %ldx%ld) \"%s\"\n", i, WindowClass(child).c_str(), ControlId(child),
           IsShown(child) ? "shown" : "hidden", IsEnabled(child) ? "" : " disabled", rect.left, rect.top,
           rect.right - rect.left, rect.bottom - rect.top, WindowText(child).c_str());
  }
  return 0;
}

int PrintList(HWND main) {
  HWND list = VisibleList(main);
  if (!list) return Report(false, "no visible list box");
  int selection = ListSelection(list);
  std::vector<std::string> rows = ListRows(list);
  for (size_t row = 0; row < rows.size(); ++row) {
    printf("%c %s\n", static_cast<int>(row) == selection ? '*' : ' ', rows[row].c_str());
  }
  return 0;
}

int Click(HWND main, const std::string& text) {
  for (HWND window : TopLevelWindows({WindowProcess(main), "", "", true})) {
    if (HWND button = FindButton(window, text)) return Report(ClickButton(button), "the button is disabled");
  }
  return Report(false, "no such button");
}

int MenuKeys(HWND main, const std::vector<std::string>& keys) {
  HWND menu = WaitPopupMenu(WindowProcess(main));
  if (!menu) return Report(false, "no popup menu");
  for (const std::string& key : keys) {
    if (key == "down") MenuKey(menu, VK_DOWN);
    else if (key == "up") MenuKey(menu, VK_UP);
    else if (key == "left") MenuKey(menu, VK_LEFT);
    else if (key == "right") MenuKey(menu, VK_RIGHT);
    else if (key == "return") MenuKey(menu, VK_RETURN);
    else if (key == "escape") MenuKey(menu, VK_ESCAPE);
    else if (key.size() == 1) MenuLetter(menu, key[0]);
    else return Report(false, "unknown menu key");
    Sleep(50);
  }
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return fprintf(stderr, "%s", kUsage), 2;
  const std::string& command = args[0];
  auto arg = [&](size_t i, const std::string& fallback = "") { return i < args.size() ? args[i] : fallback; };

  if (command == "wait-window") {
    HWND main = WaitTopLevel({0, "", arg(1, "Quorrel"), true}, atoi(arg(2, "10000").c_str()));
    if (main) printf("%p \"%s\"\n", static_cast<void*>(main), WindowText(main).c_str());
    return Report(main != nullptr, "no such window");
  }
  if (command == "screenshot" && args.size() == 2) return Report(Screenshot(args[1]), "screenshot failed");
  if (command == "keys" && args.size() >= 2) {
    return Report(XKeys(std::vector<std::string>(args.begin() + 1, args.end())), "xdotool failed");
  }

  HWND main = MainWindow();
  if (!main) return Report(false, "no window titled Quorrel...");
  DWORD pid = WindowProcess(main);
  if (command == "windows") return PrintControls(main);
  if (command == "list") return PrintList(main);
  if (command == "select" && args.size() == 2) {
    return Report(SetListSelection(VisibleList(main), atoi(args[1].c_str())), "cannot select the row");
  }
  if (command == "click" && args.size() == 2) return Click(main, args[1]);
  if (command == "box-text") {
    HWND box = WaitMessageBox(pid, arg(1));
    if (box) printf("%s\n%s\n", WindowText(box).c_str(), MessageBoxText(box).c_str());
    return Report(box != nullptr, "no message box");
  }
  if (command == "box-press" && args.size() >= 2) {
    HWND box = WaitMessageBox(pid, arg(2));
    return Report(box && PressDialogButton(box, atoi(args[1].c_str())), "no such message box or button");
  }
  if (command == "menu" && args.size() >= 2) {
    return MenuKeys(main, std::vector<std::string>(args.begin() + 1, args.end()));
  }
  if (command == "close") return Report(PostClose(main) && WaitWindowGone(main), "the window stayed open");
  fprintf(stderr, "%s", kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
