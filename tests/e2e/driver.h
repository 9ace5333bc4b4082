// End-to-end driver: starts a program under test in its own scratch folder and drives it from outside
// with Win32 messages, SendInput and X-server input (xdotool), the way a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

// Every wait in the driver is bounded; this is the default bound in milliseconds.
constexpr int kTimeoutMs = 5000;

// --- Waiting -------------------------------------------------------------------------------------

// Polls the condition every pollMs until it holds (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = kTimeoutMs, int pollMs = 25);

// --- Paths and files ------------------------------------------------------------------------------
// Texts are Windows-1252 bytes; the functions below take Windows or Unix paths alike.

// "/tmp/x" becomes "Z:\tmp\x"; a path that is already a Windows path comes back unchanged.
std::string WinPath(const std::string& path);
// The Unix path of a Windows path ("Z:\tmp\x" is "/tmp/x", C: lies in the Wine prefix); a Unix path comes
// back unchanged; "" when Wine cannot map it (outside Z: the folder must exist).
std::string UnixPath(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);
// Deletes the folder with everything in it, clearing read-only bits first; true when it is gone.
bool RemoveTree(const std::string& path);
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Names in the folder without "." and "..", in the order the file system returns them.
std::vector<std::string> ListFolder(const std::string& path);

// A fresh, empty folder <label>-<n> for one test under the work folder (QUORREL_E2E_WORK, else the build's
// e2e work folder, else %TEMP%\quorrel-e2e), removed again on destruction unless QUORREL_E2E_KEEP is set.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& label);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }  // Windows path, no trailing backslash
  bool Ok() const { return ok_; }

 private:
  std::string path_;
  bool ok_ = false;
};

// The driver's work folder (Windows path), created on first use.
std::string WorkFolder();

// --- Unix programs, run from inside Wine ---------------------------------------------------------

// Runs a Unix command line through /bin/sh and waits for it; its exit status, or nothing when it could
// not start or did not finish in time. Wine hands out no process handle for a Unix program, so the
// command reports its end through a file; one that overruns is killed. Its output goes to no pipe of
// ours (a failure prints its stderr). The command must not contain double quotes.
std::optional<int> RunUnix(const std::string& shellCommand, int timeoutMs = kTimeoutMs);
// Saves a picture of the whole X screen as PNG (Windows or Unix path).
bool Screenshot(const std::string& pngPath);
// Holds the X key names (xdotool names: "alt", "t", "Return", "ctrl") down in order for holdMs, then lets
// them go in reverse order. Keys come through the X server, so a polling program sees them even when
// they move the focus (Alt+letter, Enter that closes a dialog).
bool XKeys(const std::vector<std::string>& keys, int holdMs = 200);
// Holds the X key down for holdMs the way a keyboard does, repeating it every 50 ms whether or not
// the X server repeats keys of its own, then lets it go.
bool XHoldKey(const std::string& key, int holdMs);
bool XMouseMove(POINT screen);
bool XMouseDown(int button);
bool XMouseUp(int button);
// Moves to the point and holds the button (1 left, 3 right) down for holdMs: long enough for a 25 ms poll.
bool XClick(POINT screen, int button = 1, int holdMs = 150);
// Presses the left button at `from` and carries the pointer to `to` in several moves, then keeps the
// button down: the caller drops with XMouseUp(1) or cancels first.
bool XDrag(POINT from, POINT to, int steps = 4);

// --- Windows -------------------------------------------------------------------------------------

// SendMessage that gives up after 3 s instead of hanging the test on a program that stopped answering;
// nothing on timeout. For messages whose arguments hold no text or pointer (EM_GETSEL, WM_GETFONT,
// LB_GETTOPINDEX, TTM_GETTOOLCOUNT, ...): it sends the wide form.
std::optional<LRESULT> SendBounded(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

DWORD WindowProcess(HWND window);
std::string WindowClass(HWND window);
// WM_GETTEXT read as UTF-16 and converted to Windows-1252 (reliable across processes); "" on failure.
std::string WindowText(HWND window);
// Waits until the window's text is the given one: programs change captions and fields a moment
// after what the test did.
bool TextBecomes(HWND window, const std::string& text, int timeoutMs = kTimeoutMs);
int ControlId(HWND window);
bool IsEnabled(HWND window);
bool IsShown(HWND window);  // the window and all its parents are visible
RECT WindowRect(HWND window);
POINT WindowCenter(HWND window);
// A point given in the client coordinates of the window, in screen coordinates.
POINT ClientToScreenPoint(HWND window, int x, int y);

// Top-level windows that match every non-empty field: owning process, exact class, title prefix.
struct WindowQuery {
  DWORD processId = 0;
  std::string className;
  std::string titlePrefix;
  bool visibleOnly = true;
};
std::vector<HWND> TopLevelWindows(const WindowQuery& query);
HWND FindTopLevel(const WindowQuery& query);  // the first match, nullptr when none
HWND WaitTopLevel(const WindowQuery& query, int timeoutMs = kTimeoutMs);
// Waits until this very window is destroyed or hidden (a box that just closed can still be found).
bool WaitWindowGone(HWND window, int timeoutMs = kTimeoutMs);

// Direct children in creation order (controls made with id 0 are told apart by this order).
std::vector<HWND> Children(HWND parent);
// Children, grandchildren and so on, as EnumChildWindows gives them.
std::vector<HWND> Descendants(HWND parent);
HWND ChildAt(HWND parent, size_t index);
// The first descendant with the exact class (empty: any) and the exact text.
HWND FindChild(HWND parent, const std::string& className, const std::string& text);
HWND FindChildById(HWND parent, int id);
// The index-th descendant of the class (0 = first), in the order EnumChildWindows gives.
HWND FindChildOfClass(HWND parent, const std::string& className, size_t index = 0);
bool PostClose(HWND window);

// --- List boxes ----------------------------------------------------------------------------------

int ListCount(HWND list);       // -1 on failure
int ListSelection(HWND list);   // -1 for none
bool SetListSelection(HWND list, int row);  // LB_SETCURSEL: no LBN_SELCHANGE, as on Windows
std::string ListRow(HWND list, int row);    // Windows-1252; "" when missing
std::vector<std::string> ListRows(HWND list);

// --- Buttons -------------------------------------------------------------------------------------

HWND FindButton(HWND parent, const std::string& text);
// Waits up to waitMs until the button and its top-level window are enabled (a window re-enabled after a
// modal dialog), then posts BM_CLICK, which gives the button the focus as a mouse click does; false
// when the button is missing or stays disabled (a user could not click it either).
bool ClickButton(HWND button, int waitMs = 1000);
// The same wait, then WM_COMMAND(id, BN_CLICKED) with the button's handle posted to its parent: the
// button takes no focus.
bool PostButtonCommand(HWND button, int waitMs = 1000);

// --- Keys ----------------------------------------------------------------------------------------

// Brings the window's top-level window to the front (nullptr: leaves the front as it is), then presses
// the virtual keys in order with SendInput, holds them for holdMs (a 25 ms polling loop misses shorter
// taps) and releases them in reverse order. Keys that move the focus read as released at once: use
// XKeys for those.
bool PressKeys(HWND window, const std::vector<WORD>& keys, int holdMs = 150);
bool PressKey(HWND window, WORD key, int holdMs = 150);

// --- Message boxes -------------------------------------------------------------------------------

// A message box of the process with the exact caption (empty: any caption); nullptr on timeout.
HWND WaitMessageBox(DWORD processId, const std::string& caption = "", int timeoutMs = kTimeoutMs);
std::string MessageBoxText(HWND box);
// Presses the button (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7) and waits until the box is gone.
bool PressDialogButton(HWND dialog, int buttonId, int timeoutMs = kTimeoutMs);

// --- Popup menus ---------------------------------------------------------------------------------

// A visible popup menu of the process. Item texts cannot be read from outside; navigate by keys.
HWND WaitPopupMenu(DWORD processId, int timeoutMs = kTimeoutMs);
bool MenuKey(HWND menu, WORD key);    // VK_DOWN, VK_UP, VK_RIGHT, VK_LEFT, VK_RETURN
bool MenuLetter(HWND menu, char letter);  // the item's & accelerator
// Escape, then waits until the menu is gone (closes one level of submenu per call).
bool MenuCancel(HWND menu, int timeoutMs = kTimeoutMs);

// --- Folder browser ------------------------------------------------------------------------------

HWND WaitFolderBrowser(DWORD processId, int timeoutMs = kTimeoutMs);
// Labels of the browser's tree, one line per item, indented two blanks per level (for diagnosis).
std::vector<std::string> FolderBrowserTree(HWND browser, int maxDepth = 2);
// Walks the tree to the folder (a Windows path on a drive, e.g. Z:\tmp\x) and selects it; OK is then
// pressed with PressDialogButton(browser, IDOK).
bool SelectFolderInBrowser(HWND browser, const std::string& folder);

// --- The program under test ----------------------------------------------------------------------

// Makes crashes end instead of hang. Turns off Wine's "Program Error" window in the prefix (a crashing
// program, the one under test included, then ends with a backtrace on stderr instead of waiting for a
// click while CTest waits for it), and makes an unhandled exception in the test process kill every
// program an App started. App::Launch and EndToEndTest install it; calling it again is harmless.
void InstallCrashGuard();

// Windows path of the built quorrel.exe; "" when this build has none.
std::string QuorrelExePath();

struct AppOptions {
  std::string exe;                        // program to copy; empty: QuorrelExePath()
  std::vector<std::string> args;          // command-line parameters, e.g. {"-e"}
  std::optional<std::string> pluginFolder;  // written to settings.ini beside the copy; none: no file
  std::string label = "app";              // names the scratch folder
  std::string titlePrefix = "Quorrel";    // how the main window is recognised
};

// One running copy of the program in its own scratch folder (settings.ini lives beside the program,
// so copies must not share a folder). The destructor kills a copy that still runs, so a failed test
// never leaves it behind holding the single-instance mutex.
class App {
 public:
  App() = default;
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Copies the program, writes settings.ini and starts the copy; does not wait for a window.
  bool Launch(const AppOptions& options);
  // Waits for the main window to be shown on screen (the program builds it off screen first), then
  // lets the main loop make its first pass: a click that comes earlier is lost. From then on the
  // window gets a message every 50 ms, as on a desktop with a user: the main loop waits for one
  // message before it starts polling, however late it gets to that wait.
  bool WaitForMainWindow(int timeoutMs = 15000);
  bool Start(const AppOptions& options) { return Launch(options) && WaitForMainWindow(); }

  HWND Main() const { return main_; }
  DWORD Pid() const { return pid_; }
  const std::string& Folder() const { return folder_; }       // the scratch folder with the copy
  std::string SettingsPath() const { return JoinPath(folder_, "settings.ini"); }
  bool Running() const;
  // The exit code, or nothing when the program still runs after timeoutMs.
  std::optional<DWORD> WaitForExit(int timeoutMs = 10000);
  void Kill();
  // What went wrong in the last failed call, for test messages.
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const std::string& what);
  void StartTicking();
  void StopTicking();

  std::optional<ScratchFolder> scratch_;
  std::string folder_;
  std::string titlePrefix_;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND main_ = nullptr;
  std::string error_;
  HANDLE tickerStop_ = nullptr;
  std::thread ticker_;
};

}  // namespace e2e
