// bench-driver: runs one Quorrel benchmark on a plugin folder and prints what it measured, one
// "key value" line each (times in milliseconds, memory in KiB). Meant to be started by bench/run.sh.
//
// usage: bench-driver QUORREL_EXE WORK_FOLDER PLUGIN_FOLDER ROWS IDLE_SECONDS [FLOOR_EXE [WINDOW_FLOOR_FOLDER]]
//   With FLOOR_EXE (bench-floor) it first times a floor process that lists and reads the folder, from its
//   creation until it ends, started the way Quorrel is started (three times; the median is printed).
//   Copies QUORREL_EXE into WORK_FOLDER with a settings.ini naming PLUGIN_FOLDER (which holds ROWS plugins
//   with names), starts it and measures, in this order: start-up until the list shows ROWS rows; a save
//   ("Sort Search Plugins!") until its message box; the restore ("Orig. Filenames") until the list is
//   rebuilt without prefixes; disabling, enabling and converting all plugins (the menu ids the context
//   menu sends) until their message boxes; the CPU time the idle program uses over IDLE_SECONDS, in front
//   (the pointer over the plugin list, then away from the window) and then behind another window; the
//   Delete key pressed on the list until its question box (three times, answered No); its peak resident
//   memory. A command that does not answer in time is printed as
//   "-1".
//   With FLOOR_EXE it also starts the window floor (bench-floor FOLDER window) before Quorrel and measures
//   the same start-up, idle and peak memory of it ("floorwin." keys). With WINDOW_FLOOR_FOLDER, a copy of
//   PLUGIN_FOLDER, the window floor runs there and is also given Quorrel's commands, timed and checked the
//   same way; PLUGIN_FOLDER stays untouched for Quorrel.
//   BENCH_WINESERVER_PID names the wineserver, whose CPU time is reported for the idle phase as well.
//   QUORREL_TRACE_FILE, when set, receives the driver's own trace marks (the click posted, the box or the
//   rebuilt list seen) beside those of a quorrel-trace.exe it measures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/proc_stats.h"
#include "tests/e2e/driver.h"
#include "toolkit/trace.h"

namespace {

using bench::NowMs;

constexpr int kMenuDisableAll = 93;
constexpr int kMenuEnableAll = 96;
constexpr int kMenuConvertAll = 99;
constexpr int kPollMs = 5;
constexpr int kKeyPresses = 3;

void Report(const std::string& key, double value) {
  printf("%s %.1f\n", key.c_str(), value);
  fflush(stdout);
}

void Note(const std::string& text) {
  printf("# %s\n", text.c_str());
  fflush(stdout);
}

struct Session {
  PROCESS_INFORMATION process{};
  std::string exe;  // the copy that runs
  HWND main = nullptr;
  HWND names = nullptr;  // the visible plugin list
  HWND files = nullptr;  // the zero-size list of file names
  int rows = 0;
  int unixPid = 0;
};

// Polls every kPollMs until the condition holds; the time it held, or -1 after timeoutMs.
template <typename Condition>
double WaitFor(double since, int timeoutMs, Condition condition) {
  const double end = NowMs() + timeoutMs;
  for (;;) {
    if (condition()) return NowMs() - since;
    if (NowMs() > end) return -1;
    Sleep(kPollMs);
  }
}

// The program's main window and its two list boxes, once they exist (the window may still be hidden).
bool FindWindows(Session& s) {
  if (!s.main) {
    for (HWND window : e2e::TopLevelWindows({s.process.dwProcessId, "", "Quorrel", false})) {
      if (e2e::WindowClass(window) != "#32770") s.main = window;
    }
    if (!s.main) return false;
  }
  if (!s.names || !s.files) {
    for (HWND list : e2e::Descendants(s.main)) {
      if (e2e::WindowClass(list) != "ListBox") continue;
      RECT r = e2e::WindowRect(list);
      (r.right > r.left && r.bottom > r.top ? s.names : s.files) = list;
    }
  }
  return s.names && s.files;
}

bool OnScreen(HWND window) {
  RECT r = e2e::WindowRect(window);
  return IsWindowVisible(window) && r.left < GetSystemMetrics(SM_CXSCREEN) && r.right > 0 &&
         r.top < GetSystemMetrics(SM_CYSCREEN) && r.bottom > 0;
}

// The copy of the program and its settings in the work folder.
bool Prepare(Session& s, const std::string& quorrelExe, const std::string& work, const std::string& plugins) {
  e2e::MakeFolders(work);
  s.exe = e2e::JoinPath(e2e::WinPath(work), "quorrel.exe");
  return CopyFileA(e2e::WinPath(quorrelExe).c_str(), s.exe.c_str(), FALSE) &&
         e2e::WriteFileBytes(e2e::JoinPath(e2e::WinPath(work), "settings.ini"),
                             "[Software\\Quorrel]\r\nfolder=" + e2e::WinPath(plugins) + "\r\n");
}

// output, when given, takes the process's standard output and error.
bool StartProcess(const std::string& exe, std::string commandLine, const std::string& folder,
                  PROCESS_INFORMATION& process, HANDLE output = nullptr) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
  }
  return CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, output ? TRUE : FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process) != FALSE;
}

bool Launch(Session& s, const std::string& work) {
  return StartProcess(s.exe, "\"" + s.exe + "\" -e", e2e::WinPath(work), s.process);
}

// The floor of start-up: a whole process that lists and reads the folder, from its creation to its end.
void MeasureFloorProcess(const std::string& floorExe, const std::string& plugins) {
  const std::string exe = e2e::WinPath(floorExe);
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE discard = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
  std::vector<double> times;
  for (int run = 0; run < 3; ++run) {
    PROCESS_INFORMATION process{};
    const double start = NowMs();
    if (!StartProcess(exe, "\"" + exe + "\" \"" + plugins + "\" list", plugins, process, discard)) {
      CloseHandle(discard);
      return Note("cannot start " + floorExe);
    }
    WaitForSingleObject(process.hProcess, 60000);
    times.push_back(NowMs() - start);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(discard);
  std::sort(times.begin(), times.end());
  Report("floor.process_list_ms", times[1]);
}

HWND MessageBoxOf(const Session& s) {
  for (HWND dialog : e2e::TopLevelWindows({s.process.dwProcessId, "#32770", "", true})) {
    if (GetDlgItem(dialog, 0xFFFF)) return dialog;
  }
  return nullptr;
}

// Waits for the command's message box, reports its time and text, and closes it.
double TimeUntilMessageBox(Session& s, const std::string& key, double since, int timeoutMs) {
  HWND box = nullptr;
  double ms = WaitFor(since, timeoutMs, [&] { return (box = MessageBoxOf(s)) != nullptr; });
  Report(key, ms);
  QUORREL_TRACE_MARK("driver saw the box");
  if (box) {
    Note(key + " box: " + e2e::MessageBoxText(box).substr(0, 80));
    e2e::PressDialogButton(box, IDOK, 10000);
  }
  Sleep(300);  // the main loop is polling again before the next command
  return ms;
}

int FilesWithPrefix(const std::string& folder) {
  int count = 0;
  for (const std::string& name : e2e::ListFolder(folder)) count += name.find("##") != std::string::npos ? 1 : 0;
  return count;
}

// Plugin files whose first line still ends with a bare LF.
int FilesWithUnixLineEnds(const std::string& folder) {
  int count = 0;
  for (const std::string& name : e2e::ListFolder(folder)) {
    if (name.size() < 4 || bench::Lower(name.substr(name.size() - 4)) != ".src") continue;
    std::string text = e2e::ReadFileBytes(e2e::JoinPath(folder, name)).value_or("");
    size_t lf = text.find('\n');
    count += lf != std::string::npos && (lf == 0 || text[lf - 1] != '\r') ? 1 : 0;
  }
  return count;
}

int FilesWithDisabledUpdates(const std::string& folder) {
  int count = 0;
  for (const std::string& name : e2e::ListFolder(folder)) {
    if (name.size() < 4 || bench::Lower(name.substr(name.size() - 4)) != ".src") continue;
    count += e2e::ReadFileBytes(e2e::JoinPath(folder, name)).value_or("").find("#update=") != std::string::npos;
  }
  return count;
}

// Timed from the process's creation (start() creates it), as the floor's start-up is timed from its own;
// the program is found by the needles of its command line. Keys start with prefix.
template <typename Start>
void MeasureStartUp(Session& s, const std::string& prefix, Start start,
                    std::initializer_list<std::string> commandLine) {
  const double begin = NowMs();
  QUORREL_TRACE_MARK("driver starts the program");
  if (!start()) {
    Note("cannot start the program of " + prefix);
    exit(1);
  }
  const int timeoutMs = 60000 + s.rows * 20;
  double windowMs = WaitFor(begin, timeoutMs, [&] { return FindWindows(s); });
  Report(prefix + ".window_ms", windowMs);
  double rowsMs = WaitFor(begin, timeoutMs, [&] { return e2e::ListCount(s.names) == s.rows; });
  Report(prefix + ".startup_rows_ms", rowsMs);
  QUORREL_TRACE_MARK("driver saw the rows");
  Report(prefix + ".startup_shown_ms", WaitFor(begin, timeoutMs, [&] { return OnScreen(s.main); }));
  QUORREL_TRACE_MARK("driver saw the window on screen");
  // Quorrel's main loop's first wait clears what arrived before it: let it make that pass.
  PostMessageA(s.main, WM_NULL, 0, 0);
  Sleep(500);
  s.unixPid = bench::UnixPidWithCommandLine(commandLine);
  Report(prefix + ".unix_pid", s.unixPid);
  Report(prefix + ".startup_peak_rss_kib", static_cast<double>(bench::StatusKib(s.unixPid, "VmHWM")));
}

void MeasureSave(Session& s, const std::string& prefix, const std::string& plugins) {
  HWND sort = e2e::FindButton(s.main, "Sort Search Plugins!");
  const double start = NowMs();
  QUORREL_TRACE_MARK("driver clicks");
  if (!sort || !e2e::PostButtonCommand(sort)) return Note("no Sort button");
  TimeUntilMessageBox(s, prefix + ".save_ms", start, 60000 + s.rows * 100);
  Report(prefix + ".save_prefixed_files", FilesWithPrefix(plugins));
}

void MeasureRestore(Session& s, const std::string& prefix, const std::string& plugins) {
  HWND restore = e2e::FindButton(s.main, "Orig. Filenames");
  const double start = NowMs();
  QUORREL_TRACE_MARK("driver clicks");
  if (!restore || !e2e::PostButtonCommand(restore)) return Note("no Orig. Filenames button");
  // No message when every file went back: the end is the list rebuilt with names that carry no prefix.
  // A row read while the list is being reset comes back empty: only a name without "##" counts.
  double ms = WaitFor(start, 60000 + s.rows * 100, [&] {
    if (e2e::ListCount(s.files) != s.rows) return false;
    const std::string last = e2e::ListRow(s.files, s.rows - 1);
    return !last.empty() && last.find("##") == std::string::npos;
  });
  Report(prefix + ".restore_ms", ms);
  QUORREL_TRACE_MARK("driver saw the list rebuilt");
  Sleep(300);
  if (HWND box = MessageBoxOf(s)) {
    Note("restore box: " + e2e::MessageBoxText(box).substr(0, 80));
    e2e::PressDialogButton(box, IDOK, 10000);
  }
  Report(prefix + ".restore_prefixed_files", FilesWithPrefix(plugins));
}

void MeasureMenuCommand(Session& s, const std::string& key, int menuId) {
  const double start = NowMs();
  QUORREL_TRACE_MARK("driver clicks");
  PostMessageA(s.main, WM_COMMAND, MAKEWPARAM(menuId, 0), 0);
  TimeUntilMessageBox(s, key, start, 30000 + s.rows * 100);
}

// Sort, Orig. Filenames, then disable, enable and convert all, each checked on disk; keys start with prefix.
void MeasureCommands(Session& s, const std::string& prefix, const std::string& plugins) {
  MeasureSave(s, prefix, plugins);
  MeasureRestore(s, prefix, plugins);
  MeasureMenuCommand(s, prefix + ".disable_all_ms", kMenuDisableAll);
  Report(prefix + ".disable_all_files_disabled", FilesWithDisabledUpdates(plugins));
  MeasureMenuCommand(s, prefix + ".enable_all_ms", kMenuEnableAll);
  Report(prefix + ".enable_all_files_disabled", FilesWithDisabledUpdates(plugins));
  Report(prefix + ".convert_all_unix_before", FilesWithUnixLineEnds(plugins));
  MeasureMenuCommand(s, prefix + ".convert_all_ms", kMenuConvertAll);
  Report(prefix + ".convert_all_unix_after", FilesWithUnixLineEnds(plugins));
}

// Waits for ms while serving the messages of the driver's own windows.
void PumpFor(int ms) {
  const double end = NowMs() + ms;
  for (double left = ms; left > 0; left = end - NowMs()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

// The CPU time Quorrel and the wineserver use over the given seconds; keys start with prefix.
void MeasureIdle(const Session& s, int seconds, const std::string& prefix) {
  const char* serverText = getenv("BENCH_WINESERVER_PID");
  const int server = serverText ? atoi(serverText) : 0;
  PumpFor(2000);
  const double cpu0 = bench::CpuMilliseconds(s.unixPid), server0 = bench::CpuMilliseconds(server);
  const double start = NowMs();
  PumpFor(seconds * 1000);
  const double wall = NowMs() - start;
  const double cpu = bench::CpuMilliseconds(s.unixPid) - cpu0;
  Report(prefix + "_wall_ms", wall);
  Report(prefix + "_cpu_ms", cpu);
  Report(prefix + "_cpu_percent", 100.0 * cpu / wall);
  if (server > 0) Report(prefix + "_wineserver_cpu_ms", bench::CpuMilliseconds(server) - server0);
}

// Puts the pointer in the middle of the window, or on the screen's top-left corner for nullptr.
void PointAt(HWND window) {
  if (!window) {
    SetCursorPos(0, 0);
    return;
  }
  RECT r = e2e::WindowRect(window);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The same with a window of the driver's own in front, covering the whole screen.
void MeasureIdleBehind(const Session& s, int seconds, const std::string& prefix) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = DefWindowProcA;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  cls.lpszClassName = "BenchCover";
  RegisterClassA(&cls);
  HWND cover = CreateWindowExA(0, "BenchCover", "Bench cover", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                               cls.hInstance, nullptr);
  SetForegroundWindow(cover);
  PumpFor(300);
  if (GetForegroundWindow() != cover) Note("the cover window did not come to the front");
  MeasureIdle(s, seconds, prefix + ".idle_behind");
  DestroyWindow(cover);
  PumpFor(300);
}

// Delete pressed on the first row until the question box appears; the key goes up and the box is
// answered No, so nothing is deleted. The list gets the focus by a click on its first row.
void MeasureKeyToBox(Session& s) {
  const int height = static_cast<int>(SendMessageA(s.names, LB_GETITEMHEIGHT, 0, 0));
  SendMessageA(s.names, LB_SETTOPINDEX, 0, 0);
  if (!e2e::XClick(e2e::ClientToScreenPoint(s.names, 40, height / 2))) return Note("no click on the list");
  Sleep(500);
  std::vector<double> times;
  for (int press = 0; press < kKeyPresses; ++press) {
    SetForegroundWindow(s.main);
    WaitFor(NowMs(), 2000, [&] { return GetForegroundWindow() == s.main; });
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_DELETE;
    key.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_DELETE, MAPVK_VK_TO_VSC));
    key.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    const double start = NowMs();
    if (press == 0) QUORREL_TRACE_MARK("driver clicks");
    SendInput(1, &key, sizeof key);
    HWND box = nullptr;
    const double ms = WaitFor(start, 30000, [&] { return (box = MessageBoxOf(s)) != nullptr; });
    if (press == 0) QUORREL_TRACE_MARK("driver saw the box");
    key.ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(1, &key, sizeof key);
    times.push_back(ms);
    if (!box) break;
    e2e::PressDialogButton(box, IDNO, 10000);
    Sleep(500);
  }
  std::sort(times.begin(), times.end());
  const bool unanswered = static_cast<int>(times.size()) < kKeyPresses || times.front() < 0;
  Report("app.key_delete_box_ms", unanswered ? -1 : times[times.size() / 2]);
}

// Idle in the three places: over the plugin list, the tooltip control checks on a timer of its own
// whether the pointer has left; off the window nothing of the program's runs; then behind a window.
void MeasureIdlePlaces(const Session& s, int seconds, const std::string& prefix) {
  PointAt(s.names);
  MeasureIdle(s, seconds, prefix + ".idle");
  PointAt(nullptr);
  MeasureIdle(s, seconds, prefix + ".idle_away");
  MeasureIdleBehind(s, seconds, prefix);
}

void Close(Session& s, const std::string& prefix) {
  Report(prefix + ".peak_rss_kib", static_cast<double>(bench::StatusKib(s.unixPid, "VmHWM")));
  Report(prefix + ".cpu_total_ms", bench::CpuMilliseconds(s.unixPid));
  e2e::PostClose(s.main);
  if (WaitForSingleObject(s.process.hProcess, 10000) != WAIT_OBJECT_0) {
    Note("the program did not end on WM_CLOSE; killed");
    TerminateProcess(s.process.hProcess, 99);
    WaitForSingleObject(s.process.hProcess, 5000);
  }
  CloseHandle(s.process.hThread);
  CloseHandle(s.process.hProcess);
}

// The window floor: Quorrel's window built the plain way, started, given the commands when asked, idled
// and closed as Quorrel is.
void MeasureWindowFloor(const std::string& floorExe, const std::string& plugins, int rows, int idleSeconds,
                        bool withCommands) {
  Session floor;
  floor.rows = rows;
  floor.exe = e2e::WinPath(floorExe);
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE discard = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
  const std::string commandLine = "\"" + floor.exe + "\" \"" + plugins + "\" window";
  MeasureStartUp(floor, "floorwin", [&] { return StartProcess(floor.exe, commandLine, plugins, floor.process, discard); },
                 {"bench-floor", plugins, "window"});
  if (withCommands) MeasureCommands(floor, "floorwin", plugins);
  if (idleSeconds > 0) MeasureIdlePlaces(floor, idleSeconds, "floorwin");
  Close(floor, "floorwin");
  CloseHandle(discard);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6 || argc > 8) {
    fprintf(stderr, "usage: bench-driver QUORREL_EXE WORK_FOLDER PLUGIN_FOLDER ROWS IDLE_SECONDS "
                    "[FLOOR_EXE [WINDOW_FLOOR_FOLDER]]\n");
    return 2;
  }
  const std::string quorrelExe = argv[1], work = argv[2], plugins = e2e::WinPath(argv[3]);
  Session s;
  s.rows = atoi(argv[4]);
  const int idleSeconds = atoi(argv[5]);

  if (argc >= 7) {
    MeasureFloorProcess(argv[6], plugins);
    const bool ownFolder = argc == 8;
    MeasureWindowFloor(argv[6], ownFolder ? e2e::WinPath(argv[7]) : plugins, s.rows, idleSeconds, ownFolder);
  }
  const bool prepared = Prepare(s, quorrelExe, work, plugins);
  MeasureStartUp(s, "app", [&] { return prepared && Launch(s, work); }, {s.exe});
  MeasureCommands(s, "app", plugins);
  if (idleSeconds > 0) MeasureIdlePlaces(s, idleSeconds, "app");
  MeasureKeyToBox(s);
  Report("app.key_delete_files_left", static_cast<double>(e2e::ListFolder(plugins).size()));
  Close(s, "app");
  return 0;
}
