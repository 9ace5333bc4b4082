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
//   box       a question box shown by a second thread, from the request until the box is found (polled
//             every 5 ms, as bench-driver polls) and answered No: the floor of a key that asks first;
//             the second of two boxes is timed
//   idle S    sleep 25 ms at a time for S seconds (what a 40-a-second poll costs at the very least)
// Phases run in the order given on the same folder; the listing order is kept from the first phase that
// lists. Prints "floor.PHASE_ms TIME" for each, then the process's peak resident memory, and for idle the
// CPU time used by this process and by the wineserver named in BENCH_WINESERVER_PID.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/proc_stats.h"

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

template <typename Change>
int RewriteEach(Floor& floor, Change change) {
  int written = 0;
  std::string text;
  for (const Plugin& plugin : floor.plugins) {
    const std::string path = Path(floor, plugin.file);
    if (!ReadAll(path, text)) continue;
    if (change(text)) written += WriteInPlace(path, text) ? 1 : 0;
  }
  return written;
}

int Disable(Floor& floor) {
  return RewriteEach(floor, [](std::string& text) {
    text = ReplaceAll(ReplaceAll(text, "#update", "update"), "update", "#update");
    return true;
  });
}

int Enable(Floor& floor) {
  return RewriteEach(floor, [](std::string& text) {
    text = ReplaceAll(text, "#update", "update");
    return true;
  });
}

int Convert(Floor& floor) {
  return RewriteEach(floor, [](std::string& text) {
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: bench-floor FOLDER list|listbox|listbox-shown|save|restore|disable|enable|convert|idle SECONDS...\n");
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
    else if (phase == "disable") count = Disable(floor);
    else if (phase == "enable") count = Enable(floor);
    else if (phase == "convert") count = Convert(floor);
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
