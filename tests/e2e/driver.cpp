#include "tests/e2e/driver.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

namespace e2e {
namespace {

constexpr UINT kCodePage = 1252;
constexpr UINT kMessageTimeoutMs = 3000;
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kFolderTreeId = 14145;

// Cross-process messages go through here so that a hung program fails the call instead of the test run.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
  DWORD_PTR value = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kMessageTimeoutMs, &value)) {
    return false;
  }
  if (result) *result = static_cast<LRESULT>(value);
  return true;
}

std::string FromWide(const std::wstring& wide) {
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string text(size, '\0');
  WideCharToMultiByte(kCodePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr,
                      nullptr);
  return text;
}

std::wstring ToWide(const std::string& text, UINT codePage = kCodePage) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(size, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string Lower(std::string text) {
  CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::string Environment(const char* name) {
  char value[MAX_PATH] = {};
  DWORD size = GetEnvironmentVariableA(name, value, sizeof value);
  return size > 0 && size < sizeof value ? std::string(value, size) : std::string();
}

std::string Quoted(const std::string& text) {
  return text.find_first_of(" \t") == std::string::npos ? text : "\"" + text + "\"";
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A block of memory inside another process, for messages whose argument points to a structure
// (tree-view items): Wine does not carry such arguments across processes.
class RemoteBlock {
 public:
  RemoteBlock(DWORD processId, size_t size) : size_(size) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  char* Address() const { return static_cast<char*>(address_); }
  bool Write(size_t offset, const void* data, size_t size) {
    return address_ && offset + size <= size_ && WriteProcessMemory(process_, Address() + offset, data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) {
    return address_ && offset + size <= size_ && ReadProcessMemory(process_, Address() + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

}  // namespace

// --- Waiting ---

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs, int pollMs) {
  ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(pollMs);
  }
}

// --- Paths and files ---

std::string WinPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

std::string UnixPath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  // Z: is the Unix root; Wine's own mapping below would refuse paths that do not exist yet.
  if (path.size() >= 3 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':' && path[2] == '\\') {
    std::string unix = path.substr(2);
    for (char& c : unix) {
      if (c == '\\') c = '/';
    }
    return unix;
  }
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(ToWide(path).c_str());
  if (!unix) return {};
  // Wine answers in UTF-8; our texts are Windows-1252.
  std::string result = FromWide(ToWide(unix, CP_UTF8));
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(WinPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(WinPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& path) {
  std::string folder = WinPath(path);
  if (FolderExists(folder)) return true;
  std::string parent = ParentOf(folder);
  if (!parent.empty() && parent.size() > 2) MakeFolders(parent);
  CreateDirectoryA(folder.c_str(), nullptr);
  return FolderExists(folder);
}

bool RemoveTree(const std::string& path) {
  std::string folder = WinPath(path);
  if (!FolderExists(folder)) return true;
  for (const std::string& name : ListFolder(folder)) {
    std::string child = JoinPath(folder, name);
    if (FolderExists(child)) {
      RemoveTree(child);
    } else {
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(child.c_str());
    }
  }
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
  return !FolderExists(folder);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::ifstream in(WinPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(WinPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(WinPath(path), "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string WorkFolder() {
  std::string folder = Environment("QUORREL_E2E_WORK");
#ifdef QUORREL_E2E_WORK_DIR
  if (folder.empty()) folder = QUORREL_E2E_WORK_DIR;
#endif
  if (folder.empty()) folder = JoinPath(Environment("TEMP"), "quorrel-e2e");
  folder = WinPath(folder);
  MakeFolders(folder);
  return folder;
}

ScratchFolder::ScratchFolder(const std::string& label) {
  std::string name;
  for (char c : label) name += (isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
  std::string base = WorkFolder();
  // CreateDirectory fails on an existing folder, so each scratch folder is new and no two tests share one.
  for (int n = 1; n < 10000 && !ok_; ++n) {
    path_ = JoinPath(base, name + "-" + std::to_string(n));
    ok_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
    if (!ok_ && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

ScratchFolder::~ScratchFolder() {
  if (ok_ && Environment("QUORREL_E2E_KEEP").empty()) RemoveTree(path_);
}

// --- Unix programs ---

namespace {

bool StartUnix(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  // Wine gives no usable handles for a Unix process; close whatever came back. (Wine also keeps two file
  // descriptors open per Unix start, which the descriptor limit of 20000 here absorbs.)
  if (info.hProcess) CloseHandle(info.hProcess);
  if (info.hThread) CloseHandle(info.hThread);
  return true;
}

}  // namespace

std::optional<int> RunUnix(const std::string& shellCommand, int timeoutMs) {
  static std::atomic<int> counter{0};
  std::string base = JoinPath(WorkFolder(), "unix-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                std::to_string(++counter));
  std::string unixBase = UnixPath(base);
  if (unixBase.empty()) return std::nullopt;
  std::string status = base + ".status", pid = base + ".pid", errors = base + ".err";
  // The command's output goes to files, never to the test's own pipes: a Unix child left holding them
  // would keep CTest waiting. The status is written under another name and renamed, so it is never
  // read half written.
  std::string commandLine = "/bin/sh -c \"exec </dev/null >/dev/null 2>'" + unixBase + ".err'; echo $$ > '" +
                            unixBase + ".pid'; (" + shellCommand + "); echo $? > '" + unixBase + ".tmp'; mv '" +
                            unixBase + ".tmp' '" + unixBase + ".status'\"";
  if (!StartUnix(commandLine)) return std::nullopt;
  bool finished = WaitUntil([&] { return FileExists(status); }, timeoutMs, 10);
  std::optional<int> result;
  if (finished) {
    if (std::optional<std::string> text = ReadFileBytes(status); text && !text->empty()) result = atoi(text->c_str());
  } else if (std::optional<std::string> shell = ReadFileBytes(pid); shell && atoi(shell->c_str()) > 0) {
    std::string id = std::to_string(atoi(shell->c_str()));
    StartUnix("/bin/sh -c \"exec </dev/null >/dev/null 2>&1; pkill -P " + id + "; kill " + id + "\"");
  }
  if (result != 0) {
    std::optional<std::string> text = ReadFileBytes(errors);
    fprintf(stderr, "Unix command %s: %s\n%s", finished ? "failed" : "timed out", shellCommand.c_str(),
            text ? text->c_str() : "");
  }
  for (const std::string& file : {status, pid, errors, base + ".tmp"}) DeleteFileA(file.c_str());
  return result;
}

bool Screenshot(const std::string& pngPath) {
  std::string path = WinPath(pngPath);
  MakeFolders(ParentOf(path));
  DeleteFileA(path.c_str());
  std::optional<int> status = RunUnix("/usr/bin/import -window root '" + UnixPath(path) + "'", 20000);
  return status == 0 && FileExists(path);
}

namespace {

std::string Seconds(int ms) {
  char text[32];
  snprintf(text, sizeof text, "%d.%03d", ms / 1000, ms % 1000);
  return text;
}

bool Xdotool(const std::string& arguments) {
  return RunUnix("/usr/bin/xdotool " + arguments) == 0;
}

}  // namespace

bool XKeys(const std::vector<std::string>& keys, int holdMs) {
  if (keys.empty()) return false;
  std::string arguments;
  for (const std::string& key : keys) arguments += "keydown " + key + " ";
  arguments += "sleep " + Seconds(holdMs);
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) arguments += " keyup " + *key;
  return Xdotool(arguments);
}

bool XHoldKey(const std::string& key, int holdMs) {
  std::string arguments = "keydown " + key;
  for (int held = 50; held < holdMs; held += 50) arguments += " sleep 0.05 keydown " + key;
  return Xdotool(arguments + " sleep 0.05 keyup " + key);
}

bool XMouseMove(POINT screen) {
  return Xdotool("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y));
}

bool XMouseDown(int button) { return Xdotool("mousedown " + std::to_string(button)); }

bool XMouseUp(int button) { return Xdotool("mouseup " + std::to_string(button)); }

bool XClick(POINT screen, int button, int holdMs) {
  std::string b = std::to_string(button);
  // The short pause lets the program see the pointer at its new place before the button goes down.
  return Xdotool("mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                 " sleep 0.05 mousedown " + b + " sleep " + Seconds(holdMs) + " mouseup " + b);
}

bool XDrag(POINT from, POINT to, int steps) {
  std::string arguments = "mousemove " + std::to_string(from.x) + " " + std::to_string(from.y) +
                          " sleep 0.05 mousedown 1";
  for (int step = 1; step <= steps; ++step) {
    const long x = from.x + (to.x - from.x) * step / steps;
    const long y = from.y + (to.y - from.y) * step / steps;
    arguments += " sleep 0.05 mousemove " + std::to_string(x) + " " + std::to_string(y);
  }
  return Xdotool(arguments + " sleep 0.1");
}

// --- Windows ---

DWORD WindowProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

std::string WindowClass(HWND window) {
  char name[256] = {};
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

std::string WindowText(HWND window) {
  LRESULT length = 0;
  if (!Send(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = 0;
  if (!Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) return {};
  text.resize(static_cast<size_t>(copied));
  return FromWide(text);
}

bool TextBecomes(HWND window, const std::string& text, int timeoutMs) {
  return WaitUntil([&] { return WindowText(window) == text; }, timeoutMs);
}

std::optional<LRESULT> SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!Send(window, message, wParam, lParam, &result)) return std::nullopt;
  return result;
}

int ControlId(HWND window) { return GetDlgCtrlID(window); }

bool IsEnabled(HWND window) { return IsWindow(window) && IsWindowEnabled(window); }

bool IsShown(HWND window) { return IsWindow(window) && IsWindowVisible(window); }

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

POINT WindowCenter(HWND window) {
  RECT rect = WindowRect(window);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  return point;
}

namespace {

// The title of a top-level window as the window manager keeps it, without a message to the owner.
std::string TopLevelTitle(HWND window) {
  WCHAR title[512] = {};
  int length = GetWindowTextW(window, title, 512);
  return FromWide(std::wstring(title, length > 0 ? length : 0));
}

bool Matches(HWND window, const WindowQuery& query) {
  if (query.visibleOnly && !IsWindowVisible(window)) return false;
  if (query.processId && WindowProcess(window) != query.processId) return false;
  if (!query.className.empty() && !EqualNoCase(WindowClass(window), query.className)) return false;
  return query.titlePrefix.empty() || TopLevelTitle(window).rfind(query.titlePrefix, 0) == 0;
}

}  // namespace

std::vector<HWND> TopLevelWindows(const WindowQuery& query) {
  std::vector<HWND> all;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> matching;
  for (HWND window : all) {
    if (Matches(window, query)) matching.push_back(window);
  }
  return matching;
}

HWND FindTopLevel(const WindowQuery& query) {
  std::vector<HWND> found = TopLevelWindows(query);
  return found.empty() ? nullptr : found.front();
}

HWND WaitTopLevel(const WindowQuery& query, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopLevel(query)) != nullptr; }, timeoutMs);
  return found;
}

bool WaitWindowGone(HWND window, int timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND ChildAt(HWND parent, size_t index) {
  std::vector<HWND> children = Children(parent);
  return index < children.size() ? children[index] : nullptr;
}

HWND FindChild(HWND parent, const std::string& className, const std::string& text) {
  for (HWND child : Descendants(parent)) {
    if ((className.empty() || EqualNoCase(WindowClass(child), className)) && WindowText(child) == text) {
      return child;
    }
  }
  return nullptr;
}

HWND FindChildById(HWND parent, int id) {
  for (HWND child : Descendants(parent)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

HWND FindChildOfClass(HWND parent, const std::string& className, size_t index) {
  for (HWND child : Descendants(parent)) {
    if (EqualNoCase(WindowClass(child), className) && index-- == 0) return child;
  }
  return nullptr;
}

bool PostClose(HWND window) { return PostMessageA(window, WM_CLOSE, 0, 0) != FALSE; }

// --- List boxes ---

int ListCount(HWND list) {
  LRESULT count = LB_ERR;
  return Send(list, LB_GETCOUNT, 0, 0, &count) ? static_cast<int>(count) : -1;
}

int ListSelection(HWND list) {
  LRESULT row = LB_ERR;
  return Send(list, LB_GETCURSEL, 0, 0, &row) ? static_cast<int>(row) : -1;
}

bool SetListSelection(HWND list, int row) {
  LRESULT result = LB_ERR;
  if (!Send(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0, &result)) return false;
  return row < 0 || result == row;
}

std::string ListRow(HWND list, int row) {
  // The ANSI LB_GETTEXT comes back as UTF-16 across processes under Wine; the wide one is exact.
  LRESULT length = LB_ERR;
  if (!Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0, &length) || length < 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = LB_ERR;
  if (!Send(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()), &copied) ||
      copied < 0) {
    return {};
  }
  text.resize(static_cast<size_t>(copied));
  return FromWide(text);
}

std::vector<std::string> ListRows(HWND list) {
  std::vector<std::string> rows;
  int count = ListCount(list);
  for (int row = 0; row < count; ++row) rows.push_back(ListRow(list, row));
  return rows;
}

// --- Buttons ---

HWND FindButton(HWND parent, const std::string& text) { return FindChild(parent, "Button", text); }

namespace {

// A user can click a button only when it and its window are enabled. Waiting for the window matters
// right after a modal dialog closes: the program enables its main window only after it has flushed
// the events of the dialog, so a click that came earlier would be lost.
bool WaitClickable(HWND button, int timeoutMs) {
  return WaitUntil(
      [&] { return IsWindow(button) && IsWindowEnabled(button) && IsWindowEnabled(GetAncestor(button, GA_ROOT)); },
      timeoutMs);
}

}  // namespace

bool ClickButton(HWND button, int waitMs) {
  return WaitClickable(button, waitMs) && PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool PostButtonCommand(HWND button, int waitMs) {
  HWND parent = GetParent(button);
  if (!parent || !WaitClickable(button, waitMs)) return false;
  return PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                      reinterpret_cast<LPARAM>(button)) != FALSE;
}

// --- Keys ---

namespace {

bool IsExtendedKey(WORD key) {
  switch (key) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
    case VK_HOME: case VK_END: case VK_INSERT: case VK_DELETE: case VK_DIVIDE: case VK_NUMLOCK:
    case VK_RCONTROL: case VK_RMENU: case VK_APPS:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(WORD key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

bool SendKeys(const std::vector<WORD>& keys, bool down) {
  std::vector<INPUT> inputs;
  if (down) {
    for (WORD key : keys) inputs.push_back(KeyInput(key, true));
  } else {
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(KeyInput(*key, false));
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace

bool PressKeys(HWND window, const std::vector<WORD>& keys, int holdMs) {
  if (keys.empty()) return false;
  if (window) {
    HWND top = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(top);
    if (!WaitUntil([&] { return GetForegroundWindow() == top; }, 1000)) return false;
  }
  if (!SendKeys(keys, true)) return false;
  Sleep(holdMs);
  return SendKeys(keys, false);
}

bool PressKey(HWND window, WORD key, int holdMs) { return PressKeys(window, {key}, holdMs); }

// --- Message boxes ---

HWND WaitMessageBox(DWORD processId, const std::string& caption, int timeoutMs) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        for (HWND dialog : TopLevelWindows({processId, "#32770", "", true})) {
          // The text static tells a message box from other dialogs such as the folder browser.
          if (GetDlgItem(dialog, kMessageBoxTextId) && (caption.empty() || TopLevelTitle(dialog) == caption)) {
            box = dialog;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return box;
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, kMessageBoxTextId)); }

bool PressDialogButton(HWND dialog, int buttonId, int timeoutMs) {
  HWND button = GetDlgItem(dialog, buttonId);
  if (!button || !PostMessageA(button, BM_CLICK, 0, 0)) return false;
  // Right after closing, the dying box can still be found: wait for this very handle to go.
  return WaitWindowGone(dialog, timeoutMs);
}

// --- Popup menus ---

HWND WaitPopupMenu(DWORD processId, int timeoutMs) {
  return WaitTopLevel({processId, "#32768", "", true}, timeoutMs);
}

bool MenuKey(HWND menu, WORD key) { return PostMessageA(menu, WM_KEYDOWN, key, 1) != FALSE; }

bool MenuLetter(HWND menu, char letter) {
  return PostMessageA(menu, WM_CHAR, static_cast<unsigned char>(letter), 1) != FALSE;
}

bool MenuCancel(HWND menu, int timeoutMs) {
  return MenuKey(menu, VK_ESCAPE) && WaitWindowGone(menu, timeoutMs);
}

// --- Folder browser ---

namespace {

HTREEITEM TreeNext(HWND tree, HTREEITEM item, WPARAM relation) {
  LRESULT next = 0;
  Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item), &next);
  return reinterpret_cast<HTREEITEM>(next);
}

std::string TreeLabel(HWND tree, HTREEITEM item) {
  constexpr size_t kTextChars = 260;
  RemoteBlock block(WindowProcess(tree), sizeof(TVITEMW) + kTextChars * sizeof(WCHAR));
  TVITEMW request{};
  request.mask = TVIF_TEXT | TVIF_HANDLE;
  request.hItem = item;
  request.pszText = reinterpret_cast<WCHAR*>(block.Address() + sizeof(TVITEMW));
  request.cchTextMax = kTextChars;
  WCHAR text[kTextChars] = {};
  LRESULT ok = 0;
  if (!block.Write(0, &request, sizeof request) ||
      !Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.Address()), &ok) || !ok ||
      !block.Read(sizeof(TVITEMW), text, sizeof text)) {
    return {};
  }
  text[kTextChars - 1] = L'\0';
  return FromWide(text);
}

// The children of an item (nullptr: the top level); expanding first makes the browser list them.
std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent) {
  std::vector<HTREEITEM> children;
  HTREEITEM child;
  if (parent) {
    Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    child = TreeNext(tree, parent, TVGN_CHILD);
  } else {
    child = TreeNext(tree, nullptr, TVGN_ROOT);
  }
  for (; child; child = TreeNext(tree, child, TVGN_NEXT)) children.push_back(child);
  return children;
}

// Breadth first, because the drives sit one or two levels down (under "My Computer").
HTREEITEM FindDriveItem(HWND tree, const std::string& drive) {
  std::string wanted = Lower("(" + drive + ")");
  std::vector<HTREEITEM> level = TreeChildren(tree, nullptr);
  for (int depth = 0; depth < 3 && !level.empty(); ++depth) {
    for (HTREEITEM item : level) {
      if (Contains(Lower(TreeLabel(tree, item)), wanted)) return item;
    }
    std::vector<HTREEITEM> next;
    for (HTREEITEM item : level) {
      for (HTREEITEM child : TreeChildren(tree, item)) next.push_back(child);
    }
    level = std::move(next);
  }
  return nullptr;
}

void DumpTree(HWND tree, HTREEITEM parent, int depth, int maxDepth, std::vector<std::string>& lines) {
  for (HTREEITEM item : TreeChildren(tree, parent)) {
    lines.push_back(std::string(2 * depth, ' ') + TreeLabel(tree, item));
    if (depth < maxDepth) DumpTree(tree, item, depth + 1, maxDepth, lines);
  }
}

}  // namespace

HWND WaitFolderBrowser(DWORD processId, int timeoutMs) {
  return WaitTopLevel({processId, "#32770", "Browse for Folder", true}, timeoutMs);
}

std::vector<std::string> FolderBrowserTree(HWND browser, int maxDepth) {
  std::vector<std::string> lines;
  HWND tree = GetDlgItem(browser, kFolderTreeId);
  if (tree) DumpTree(tree, nullptr, 0, maxDepth, lines);
  return lines;
}

bool SelectFolderInBrowser(HWND browser, const std::string& folder) {
  HWND tree = GetDlgItem(browser, kFolderTreeId);
  std::string path = WinPath(folder);
  if (!tree || path.size() < 2 || path[1] != ':') return false;
  HTREEITEM item = FindDriveItem(tree, path.substr(0, 2));
  std::stringstream parts(path.size() > 3 ? path.substr(3) : std::string());
  std::string part;
  while (item && std::getline(parts, part, '\\')) {
    if (part.empty()) continue;
    HTREEITEM match = nullptr;
    for (HTREEITEM child : TreeChildren(tree, item)) {
      if (EqualNoCase(TreeLabel(tree, child), part)) match = child;
    }
    item = match;
  }
  if (!item) return false;
  LRESULT selected = 0;
  Send(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  return Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item), &selected) && selected &&
         TreeNext(tree, nullptr, TVGN_CARET) == item;
}

// --- The program under test ---

namespace {

// Programs started by App objects that still run, so that a crash of the test process can end them.
struct LiveApps {
  std::mutex lock;
  std::vector<HANDLE> processes;
};
LiveApps& Live() {
  static LiveApps live;
  return live;
}

void TrackApp(HANDLE process) {
  std::lock_guard<std::mutex> guard(Live().lock);
  Live().processes.push_back(process);
}

void ForgetApp(HANDLE process) {
  std::lock_guard<std::mutex> guard(Live().lock);
  std::vector<HANDLE>& processes = Live().processes;
  processes.erase(std::remove(processes.begin(), processes.end(), process), processes.end());
}

// True once Wine's crash handler is told to print a backtrace and end the process instead of showing
// its "Program Error" window, which would wait for a click while CTest waits for the process.
std::atomic<bool> crashWindowOff{false};

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  fprintf(stderr, "e2e: unhandled exception 0x%08lX at %p in the test process; ending %zu program(s) under test\n",
          exception->ExceptionRecord->ExceptionCode, exception->ExceptionRecord->ExceptionAddress,
          Live().processes.size());
  fflush(stderr);
  for (HANDLE process : Live().processes) TerminateProcess(process, 99);
  // With the crash window off, Wine's handler prints a backtrace and ends the process.
  return crashWindowOff ? EXCEPTION_CONTINUE_SEARCH : EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void InstallCrashGuard() {
  DWORD off = 0;
  crashWindowOff = RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineDbg", "ShowCrashDialog", REG_DWORD, &off,
                                   sizeof off) == ERROR_SUCCESS;
  SetUnhandledExceptionFilter(ReportCrash);
}

std::string QuorrelExePath() {
#ifdef QUORREL_EXE_PATH
  return WinPath(QUORREL_EXE_PATH);
#else
  return {};
#endif
}

App::~App() {
  StopTicking();
  Kill();
  if (process_) {
    ForgetApp(process_);
    CloseHandle(process_);
  }
}

bool App::Fail(const std::string& what) {
  error_ = what;
  return false;
}

bool App::Launch(const AppOptions& options) {
  if (process_) return Fail("this App already started a program");
  InstallCrashGuard();
  std::string exe = WinPath(options.exe.empty() ? QuorrelExePath() : options.exe);
  if (exe.empty()) return Fail("no program to start: quorrel.exe is not part of this build");
  if (!FileExists(exe)) return Fail("the program " + exe + " does not exist (is it built?)");
  titlePrefix_ = options.titlePrefix;
  scratch_.emplace(options.label);
  if (!scratch_->Ok()) return Fail("cannot make a scratch folder under " + WorkFolder());
  folder_ = scratch_->Path();
  std::string copy = JoinPath(folder_, BaseName(exe));
  if (!CopyFileA(exe.c_str(), copy.c_str(), FALSE)) return Fail("cannot copy " + exe + " to " + copy);
  if (options.pluginFolder &&
      !WriteFileBytes(SettingsPath(),
                      "[Software\\Quorrel]\r\nfolder=" + WinPath(*options.pluginFolder) + "\r\n")) {
    return Fail("cannot write " + SettingsPath());
  }
  std::string commandLine = Quoted(copy);
  for (const std::string& argument : options.args) commandLine += " " + Quoted(argument);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                      &startup, &info)) {
    return Fail("cannot start " + commandLine + " (error " + std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  TrackApp(process_);
  pid_ = info.dwProcessId;
  return true;
}

bool App::WaitForMainWindow(int timeoutMs) {
  if (!process_) return Fail("the program was not started");
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  auto onScreen = [&](HWND window) {
    RECT rect = WindowRect(window);
    return rect.left < screenWidth && rect.top < screenHeight && rect.right > 0 && rect.bottom > 0;
  };
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows({pid_, "", titlePrefix_, true})) {
          if (onScreen(window)) {
            main_ = window;
            return true;
          }
        }
        return !Running();
      },
      timeoutMs);
  if (!main_) {
    if (Running()) {
      return Fail("no main window titled \"" + titlePrefix_ + "...\" on screen after " + std::to_string(timeoutMs) +
                  " ms");
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return Fail("the program ended with exit code " + std::to_string(code) + " before showing its main window");
  }
  // The main loop's first wait clears what arrived before it: give it that pass before any click.
  StartTicking();
  Sleep(300);
  return true;
}

void App::StartTicking() {
  tickerStop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!tickerStop_) return;
  ticker_ = std::thread([window = main_, stop = tickerStop_] {
    do {
      PostMessageA(window, WM_NULL, 0, 0);
    } while (WaitForSingleObject(stop, 50) == WAIT_TIMEOUT);
  });
}

void App::StopTicking() {
  if (!tickerStop_) return;
  SetEvent(tickerStop_);
  if (ticker_.joinable()) ticker_.join();
  CloseHandle(tickerStop_);
  tickerStop_ = nullptr;
}

bool App::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> App::WaitForExit(int timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void App::Kill() {
  if (!Running()) return;
  TerminateProcess(process_, 99);
  WaitForSingleObject(process_, kTimeoutMs);
}

}  // namespace e2e
