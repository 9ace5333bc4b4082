// bench-floor: the least work that each measured Quorrel command has to do on a plugin folder, done with
// bare Win32 calls on one thread, so that the program's times can be read as multiples of it.
//
// usage: bench-floor FOLDER PHASE...    (FOLDER: a Windows or Unix path of a folder from make_folder.py)
//   list      find every *.src and read each one whole
//   listbox   the same, and add each display name and file name to two list boxes of a hidden window
//   listbox-shown  the same with the window shown on screen, so that the list box draws as rows come in
//   save      MoveFileA of every plugin file and its image to a prefixed name, in listing order
//   restore   MoveFileA of each back to its unprefixed name
//   disable   read, put "#" before the update keys, write back in place: every plugin file
//   enable    the same, taking the "#" away
//   convert   read raw; when the first LF has no CR before it, write back with every LF as CR LF
//   disable-durable, enable-durable, convert-durable  the same as disable, enable and convert, each
//             rewrite made as Quorrel makes it safe: the old bytes to a new backup file beside the
//             plugin and flushed, the plugin overwritten in place and flushed, the backup deleted
//   box       a question box shown by a second thread, from the request until the box is found (polled
//             every 5 ms, as bench-driver polls) and answered No: the floor of a key that asks first;
//             the second of two boxes is timed
//   idle S    sleep 25 ms at a time for S seconds (what a 40-a-second poll costs at the very least)
//   window    Quorrel's main window built the plain way on one thread: the same top-level window and
//             controls, fonts, tooltips, logo and link texts, the plugin list filled with the same rows,
//             then shown and idling in GetMessage until it is closed (bench-driver times and measures it).
//             It runs Quorrel's commands as a plain one-thread program must: a click on "Sort Search
//             Plugins!" saves, refills both lists from the folder and shows a message box; "Orig. Filenames"
//             restores and refills; the menu ids 93, 96 and 99 (lParam 0) disable, enable and convert
//             every plugin with rewrites made safe, each followed by a message box
// Phases run in the order given on the same folder; the listing order is kept from the first phase that
// lists. Prints "floor.PHASE_ms TIME" for each, then the process's peak resident memory, and for idle the
// CPU time used by this process and by the wineserver named in BENCH_WINESERVER_PID.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "bench/proc_stats.h"
#include "shell/main_window_texts.h"

namespace {

using bench::NowMs;

struct Plugin {
  std::string file;   // name in the folder, as listed
  std::string image;  // base name + ".png": make_folder.py puts one beside every plugin
};

struct Floor {
  std::string folder;
  std::vector<Plugin> plugins;
  std::string letter;  // prefix letter of the names on disk, empty before a save
};

std::string Path(const Floor& floor, const std::string& name) { return floor.folder + "\\" + name; }

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string windows = "Z:" + path;
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

bool ReadAll(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD size = GetFileSize(file, nullptr);
  bytes.resize(size);
  DWORD got = 0;
  bool ok = size == 0 || (ReadFile(file, bytes.data(), size, &got, nullptr) && got == size);
  CloseHandle(file);
  return ok;
}

bool WriteInPlace(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  size_t at = 0;
  for (size_t hit; (hit = text.find(from, at)) != std::string::npos; at = hit + from.size()) {
    out.append(text, at, hit - at).append(to);
  }
  return out.append(text, at);
}

// The display name: the quoted value after the first name=.
std::string DisplayName(const std::string& text) {
  size_t at = text.find("name=\"");
  if (at == std::string::npos) return {};
  at += 6;
  size_t end = text.find('"', at);
  return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

std::string Unprefixed(const std::string& name) {
  size_t at = name.find("##");
  return at == std::string::npos ? name : name.substr(at + 2);
}

// Lists the folder and reads every plugin file; calls add with each file's name and text.
template <typename Add>
int ListAndRead(Floor& floor, Add add) {
  const bool keepOrder = floor.plugins.empty();
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(Path(floor, "*.src").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  std::string text;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!ReadAll(Path(floor, entry.cFileName), text)) continue;
    add(entry.cFileName, text);
    if (keepOrder) {
      const std::string file = entry.cFileName;
      floor.plugins.push_back({file, file.substr(0, file.size() - 4) + ".png"});
    }
    ++count;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return count;
}

int List(Floor& floor) {
  return ListAndRead(floor, [](const char*, const std::string& text) { (void)DisplayName(text); });
}

// A hidden window with a visible-style list of names and a zero-size list of file names, made before the
// timed phase: what is measured is the rows going in, not the first window of the process.
struct ListBoxes {
  HWND parent = nullptr;
  HWND names = nullptr;
  HWND files = nullptr;
};

ListBoxes MakeListBoxes(bool shown) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  ListBoxes boxes;
  boxes.parent = CreateWindowExA(0, "STATIC", "floor", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 instance, nullptr);
  boxes.names = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 0, 300,
                                200, boxes.parent, nullptr, instance, nullptr);
  boxes.files = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 0, 0, boxes.parent, nullptr, instance, nullptr);
  if (shown) {
    ShowWindow(boxes.parent, SW_SHOWNORMAL);
    UpdateWindow(boxes.parent);
  }
  return boxes;
}

int ListIntoListBoxes(Floor& floor, const ListBoxes& boxes) {
  SendMessageA(boxes.names, LB_RESETCONTENT, 0, 0);
  SendMessageA(boxes.files, LB_RESETCONTENT, 0, 0);
  return ListAndRead(floor, [&](const char* file, const std::string& text) {
    SendMessageA(boxes.names, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DisplayName(text).c_str()));
    SendMessageA(boxes.files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file));
  });
}

// The row number padded to one width for the whole list, as a save writes it.
std::string RowNumber(size_t row, size_t rows) {
  std::string digits = std::to_string(row);
  size_t width = std::max<size_t>(2, std::to_string(rows == 0 ? 0 : rows - 1).size());
  return std::string(width - std::min(width, digits.size()), '0') + digits;
}

int Save(Floor& floor) {
  const std::string letter = floor.letter == "K" ? "L" : "K";
  int moved = 0;
  for (size_t i = 0; i < floor.plugins.size(); ++i) {
    Plugin& plugin = floor.plugins[i];
    const std::string prefix = letter + RowNumber(i, floor.plugins.size()) + "##";
    const Plugin renamed{prefix + Unprefixed(plugin.file), prefix + Unprefixed(plugin.image)};
    moved += MoveFileA(Path(floor, plugin.file).c_str(), Path(floor, renamed.file).c_str()) ? 1 : 0;
    moved += MoveFileA(Path(floor, plugin.image).c_str(), Path(floor, renamed.image).c_str()) ? 1 : 0;
    plugin = renamed;
  }
  floor.letter = letter;
  return moved;
}

int Restore(Floor& floor) {
  int moved = 0;
  for (Plugin& plugin : floor.plugins) {
    const Plugin original{Unprefixed(plugin.file), Unprefixed(plugin.image)};
    moved += MoveFileA(Path(floor, plugin.file).c_str(), Path(floor, original.file).c_str()) ? 1 : 0;
    moved += MoveFileA(Path(floor, plugin.image).c_str(), Path(floor, original.image).c_str()) ? 1 : 0;
    plugin = original;
  }
  return moved;
}

bool WriteFlushed(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && SetEndOfFile(file) && FlushFileBuffers(file);
  CloseHandle(file);
  return ok;
}

// The old bytes in a flushed backup before the plugin is overwritten in place and flushed.
bool WriteDurably(const std::string& path, const std::string& old, const std::string& bytes) {
  const std::string backup = path + ".bak";
  HANDLE copy = CreateFileA(backup.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (copy == INVALID_HANDLE_VALUE || !WriteFlushed(copy, old)) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  // A failed overwrite keeps the backup: it holds the plugin's old bytes.
  return file != INVALID_HANDLE_VALUE && WriteFlushed(file, bytes) && DeleteFileA(backup.c_str());
}

template <typename Change>
int RewriteEach(Floor& floor, bool durable, Change change) {
  int written = 0;
  std::string text, old;
  for (const Plugin& plugin : floor.plugins) {
    const std::string path = Path(floor, plugin.file);
    if (!ReadAll(path, text)) continue;
    if (durable) old = text;
    if (!change(text)) continue;
    written += (durable ? WriteDurably(path, old, text) : WriteInPlace(path, text)) ? 1 : 0;
  }
  return written;
}

int Disable(Floor& floor, bool durable) {
  return RewriteEach(floor, durable, [](std::string& text) {
    text = ReplaceAll(ReplaceAll(text, "#update", "update"), "update", "#update");
    return true;
  });
}

int Enable(Floor& floor, bool durable) {
  return RewriteEach(floor, durable, [](std::string& text) {
    text = ReplaceAll(text, "#update", "update");
    return true;
  });
}

int Convert(Floor& floor, bool durable) {
  return RewriteEach(floor, durable, [](std::string& text) {
    size_t lf = text.find('\n');
    if (lf != std::string::npos && lf > 0 && text[lf - 1] == '\r') return false;
    text = ReplaceAll(text, "\n", "\r\n");
    return true;
  });
}

// This process's Unix pid: run.sh starts it from Unix with the folder as an argument.
int OwnUnixPid(const std::string& folderArgument) {
  return bench::UnixPidWithCommandLine({"bench-floor", folderArgument});
}

DWORD WINAPI AskQuestion(void*) {
  MessageBoxA(nullptr, "Delete?", "Floor question", MB_YESNO | MB_ICONQUESTION);
  return 0;
}

// Milliseconds from the request until the box was found.
double TimedBox() {
  const double start = NowMs();
  HANDLE asker = CreateThread(nullptr, 0, AskQuestion, nullptr, 0, nullptr);
  HWND box = nullptr;
  while (!(box = FindWindowA("#32770", "Floor question"))) Sleep(5);
  const double found = NowMs();
  PostMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  WaitForSingleObject(asker, INFINITE);
  CloseHandle(asker);
  return found - start;
}

// The first box of a process loads what boxes need; the second is timed, as Quorrel's boxes come
// after others.
double Box() {
  TimedBox();
  return TimedBox();
}

void Idle(int seconds, int self) {
  const char* serverText = getenv("BENCH_WINESERVER_PID");
  const int server = serverText ? atoi(serverText) : 0;
  const double cpu0 = bench::CpuMilliseconds(self), server0 = bench::CpuMilliseconds(server);
  const double end = NowMs() + seconds * 1000.0;
  while (NowMs() < end) Sleep(25);
  printf("floor.idle_cpu_ms %.0f\n", bench::CpuMilliseconds(self) - cpu0);
  if (server > 0) printf("floor.idle_wineserver_cpu_ms %.0f\n", bench::CpuMilliseconds(server) - server0);
}

// The window floor. Styles, places and texts are those of Quorrel's main window; what differs is only
// how it is built: plain Win32 calls on the one thread that then waits in GetMessage.
constexpr DWORD kFloorWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kHintStyle = 0x5C000100;
constexpr DWORD kListStyle = 0x54211141;
constexpr DWORD kButtonStyle = 0x50010000;
constexpr DWORD kColumnButtonStyle = 0x54010100;
constexpr DWORD kInfoButtonStyle = 0x54010000;
constexpr DWORD kGroupBoxStyle = 0x50020007;
constexpr DWORD kTextStyle = 0x50000000;
constexpr DWORD kSeparatorStyle = 0x54000130;
constexpr DWORD kTooltipStyle = 0xD0000000;
constexpr POINT kLogoAt{245, 215};

constexpr int kMenuDisableAll = 93;
constexpr int kMenuEnableAll = 96;
constexpr int kMenuConvertAll = 99;

struct FloorWindow {
  Floor* floor = nullptr;
  HWND main = nullptr;
  ListBoxes lists;
  HWND sort = nullptr;
  HWND origFilenames = nullptr;
  HBITMAP logo = nullptr;
  HCURSOR hand = nullptr;
  RECT logoRect{};
  RECT creditRect{};
};
FloorWindow floorWindow;

// Both lists refilled from the folder, the shown one drawn once when it is full.
void RefillLists() {
  const ListBoxes& lists = floorWindow.lists;
  SendMessageA(lists.names, WM_SETREDRAW, FALSE, 0);
  ListIntoListBoxes(*floorWindow.floor, lists);
  SendMessageA(lists.names, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(lists.names, nullptr, TRUE);
  SendMessageA(lists.names, LB_SETCURSEL, 0, 0);
}

void Inform(const char* text) { MessageBoxA(floorWindow.main, text, kMainWindowTitle, MB_OK | MB_ICONINFORMATION); }

// The buttons' clicks and the menu ids of the commands on every plugin; other notifications pass.
void RunCommand(WPARAM wParam, LPARAM lParam) {
  Floor& floor = *floorWindow.floor;
  const HWND control = reinterpret_cast<HWND>(lParam);
  if (HIWORD(wParam) != BN_CLICKED) return;
  if (control && control == floorWindow.sort) {
    Save(floor);
    RefillLists();
    Inform("Re-sort successfully done!");
  } else if (control && control == floorWindow.origFilenames) {
    Restore(floor);
    RefillLists();
  } else if (!control && LOWORD(wParam) == kMenuDisableAll) {
    Disable(floor, true);
    Inform("Updates of all plugins were disabled!");
  } else if (!control && LOWORD(wParam) == kMenuEnableAll) {
    Enable(floor, true);
    Inform("Updates of all plugins were enabled!");
  } else if (!control && LOWORD(wParam) == kMenuConvertAll) {
    Convert(floor, true);
    Inform("All plugins were converted to DOS text!");
  }
}

LRESULT CALLBACK FloorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      HDC memory = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(memory, floorWindow.logo);
      const RECT& r = floorWindow.logoRect;
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteDC(memory);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETCURSOR: {
      // The logo and the credit text are links: the hand over them, as in Quorrel.
      POINT at;
      GetCursorPos(&at);
      ScreenToClient(window, &at);
      if (PtInRect(&floorWindow.logoRect, at) || PtInRect(&floorWindow.creditRect, at)) {
        SetCursor(floorWindow.hand);
        return TRUE;
      }
      break;
    }
    case WM_COMMAND:
      RunCommand(wParam, lParam);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND Control(const char* className, const Phrase& text, DWORD style, int x, int y, int width, int height,
             DWORD extendedStyle = 0) {
  return CreateWindowExA(extendedStyle, className, text.english, style, x, y, width, height, floorWindow.main,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

void AddTool(HWND tooltip, HWND control, const Phrase& tip) {
  TOOLINFOA info{};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = floorWindow.main;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = const_cast<char*>(tip.english);
  SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

HFONT Tahoma(int weight, bool underlined) {
  return CreateFontA(-13, 0, 0, 0, weight, FALSE, underlined, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
}

// Builds the window off screen, fills its list, centres it and serves its messages until it is closed.
int WindowFloor(Floor& floor) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  WNDCLASSA cls{};
  cls.lpfnWndProc = FloorWindowProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconA(instance, "KELVAR");
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  cls.lpszClassName = "QuorrelFloor";
  RegisterClassA(&cls);
  floorWindow.logo = static_cast<HBITMAP>(LoadImageA(instance, "FIREFOX", IMAGE_BITMAP, 0, 0, 0));
  floorWindow.hand = LoadCursorA(instance, "DRUCKER");
  BITMAP logo{};
  GetObjectA(floorWindow.logo, sizeof logo, &logo);
  floorWindow.logoRect = {kLogoAt.x, kLogoAt.y, kLogoAt.x + logo.bmWidth, kLogoAt.y + logo.bmHeight};
  floorWindow.creditRect = {260, 307, 460, 323};

  const int frame = GetSystemMetrics(SM_CXFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
  const int width = 450 + (frame - 4), height = 370 + (frame + caption - 42);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  floorWindow.main = CreateWindowExA(0, "QuorrelFloor", kMainWindowTitle, kFloorWindowStyle, screenWidth,
                                     screenHeight, width, height, nullptr, nullptr, instance, nullptr);
  const MainWindowTexts& t = kMainWindowTexts;
  const Phrase none{"", ""};
  HWND hint = Control("STATIC", t.hint, kHintStyle, 9, 218, 230, 40);
  floorWindow.floor = &floor;
  ListBoxes& lists = floorWindow.lists;
  lists = {floorWindow.main, nullptr, Control("LISTBOX", none, kListStyle, 500, 500, 0, 0, WS_EX_CLIENTEDGE)};
  lists.names = Control("LISTBOX", none, kListStyle, 15, 25, 300, 170, WS_EX_CLIENTEDGE);
  HWND moveUp = Control("BUTTON", t.moveUp, kButtonStyle, 327, 27, 100, 24);
  HWND moveDown = Control("BUTTON", t.moveDown, kButtonStyle, 327, 62, 100, 24);
  HWND refresh = Control("BUTTON", t.refresh, kColumnButtonStyle, 327, 105, 100, 20);
  HWND showHidden = Control("BUTTON", {"  Show Hidden (0)", ""}, kColumnButtonStyle, 327, 128, 100, 20);
  EnableWindow(showHidden, FALSE);
  HWND addPlugin = Control("BUTTON", t.addPlugin, kColumnButtonStyle, 327, 151, 100, 20);
  HWND openFolder = Control("BUTTON", t.openFolder, kColumnButtonStyle, 327, 174, 100, 20);
  HWND sort = floorWindow.sort = Control("BUTTON", t.sort, kButtonStyle, 5, 260, 133, 30);
  HWND origFilenames = floorWindow.origFilenames = Control("BUTTON", t.origFilenames, kButtonStyle, 143, 260, 98, 30);
  HWND info = Control("BUTTON", t.infoButton, kInfoButtonStyle, 5, 303, 23, 21, WS_EX_STATICEDGE);
  HWND groupBox = Control("BUTTON", t.groupBox, kGroupBoxStyle, 5, 5, 434, 200);
  HWND credit = Control("STATIC", t.credit, kTextStyle, 260, 307, 200, 16);
  Control("STATIC", none, kSeparatorStyle, 3, 298, 441, 2);

  HFONT normal = Tahoma(FW_NORMAL, false), bold = Tahoma(FW_BOLD, false), underlined = Tahoma(FW_NORMAL, true);
  for (HWND control : {sort, groupBox}) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(bold), TRUE);
  SendMessageA(credit, WM_SETFONT, reinterpret_cast<WPARAM>(underlined), TRUE);
  for (HWND control : {moveUp, origFilenames, hint, moveDown, refresh, info, showHidden, openFolder, addPlugin,
                       lists.names}) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(normal), TRUE);
  }
  const int rows = ListIntoListBoxes(floor, lists);
  SendMessageA(lists.names, LB_SETCURSEL, 0, 0);

  HWND tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", kTooltipStyle, 0, 0, 0, 0, floorWindow.main, nullptr,
                                 instance, nullptr);
  SendMessageA(tooltip, TTM_SETTIPBKCOLOR, GetSysColor(COLOR_INFOBK), 0);
  SendMessageA(tooltip, TTM_SETTIPTEXTCOLOR, GetSysColor(COLOR_INFOTEXT), 0);
  SendMessageA(tooltip, TTM_ACTIVATE, TRUE, 0);
  const std::pair<HWND, const Phrase*> tools[] = {
      {origFilenames, &t.origFilenamesTip}, {sort, &t.sortTip},         {openFolder, &t.openFolderTip},
      {showHidden, &t.showHiddenTip},       {refresh, &t.refreshTip},   {moveUp, &t.moveUpTip},
      {moveDown, &t.moveDownTip},           {info, &t.infoButtonTip},   {lists.names, &t.pluginListTip},
      {addPlugin, &t.addPluginTip}};
  for (const auto& [control, tip] : tools) AddTool(tooltip, control, *tip);

  SetWindowPos(floorWindow.main, HWND_TOP, (screenWidth - width) / 2, (screenHeight - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
  SetFocus(lists.names);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  for (HFONT font : {normal, bold, underlined}) DeleteObject(font);
  DeleteObject(floorWindow.logo);
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: bench-floor FOLDER list|listbox|listbox-shown|save|restore|disable[-durable]|enable[-durable]|convert[-durable]|window|idle SECONDS...\n");
    return 2;
  }
  Floor floor;
  floor.folder = WindowsPath(argv[1]);
  ListBoxes hidden, shown;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "listbox") hidden = MakeListBoxes(false);
    if (std::string(argv[i]) == "listbox-shown") shown = MakeListBoxes(true);
  }
  for (int i = 2; i < argc; ++i) {
    const std::string phase = argv[i];
    const double start = NowMs();
    int count = 0;
    if (phase == "list") count = List(floor);
    else if (phase == "listbox") count = ListIntoListBoxes(floor, hidden);
    else if (phase == "listbox-shown") count = ListIntoListBoxes(floor, shown);
    else if (phase == "save") count = Save(floor);
    else if (phase == "restore") count = Restore(floor);
    else if (phase == "disable" || phase == "disable-durable") count = Disable(floor, phase != "disable");
    else if (phase == "enable" || phase == "enable-durable") count = Enable(floor, phase != "enable");
    else if (phase == "convert" || phase == "convert-durable") count = Convert(floor, phase != "convert");
    else if (phase == "window") count = WindowFloor(floor);
    else if (phase == "box") {
      printf("floor.box_ms %.2f\n", Box());
      continue;
    } else if (phase == "idle" && i + 1 < argc) {
      Idle(atoi(argv[i + 1]), OwnUnixPid(argv[1]));
      ++i;
      continue;
    } else {
      fprintf(stderr, "bench-floor: unknown phase %s\n", phase.c_str());
      return 2;
    }
    printf("floor.%s_ms %.2f\nfloor.%s_count %d\n", phase.c_str(), NowMs() - start, phase.c_str(), count);
  }
  printf("floor.peak_rss_kib %lld\n", bench::StatusKib(OwnUnixPid(argv[1]), "VmHWM"));
  return 0;
}
