// What a benchmark reads about Wine processes from the Unix side: /proc, reached through the Z: drive,
// because Wine's GetProcessTimes and GetProcessMemoryInfo do not report other processes (nor a process's
// own heap) truthfully.
#pragma once

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

namespace bench {

inline std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

inline std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

// The Unix pid of the Wine process whose command line contains every one of needles (without regard to
// case); 0 when none. Wine shows a process started from Unix with its Unix arguments, one started by
// CreateProcess with its Windows command line. "Z:\proc\self" cannot be used: the path is resolved by
// the wineserver, so it names the server.
inline int UnixPidWithCommandLine(std::initializer_list<std::string> needles) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int found = 0;
  do {
    if (!isdigit(static_cast<unsigned char>(entry.cFileName[0]))) continue;
    std::string line = ReadWholeFile(std::string("Z:\\proc\\") + entry.cFileName + "\\cmdline");
    for (char& c : line) {
      if (c == '\0') c = ' ';
    }
    line = Lower(line);
    bool all = !line.empty();
    for (const std::string& needle : needles) all = all && line.find(Lower(needle)) != std::string::npos;
    if (all) found = atoi(entry.cFileName);
  } while (!found && FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

// User plus system time of a Unix process in milliseconds (clock ticks of 10 ms); -1 when unknown.
inline double CpuMilliseconds(int unixPid) {
  if (unixPid <= 0) return -1;
  const std::string stat = ReadWholeFile("Z:\\proc\\" + std::to_string(unixPid) + "\\stat");
  // The name in brackets may hold blanks: fields are counted after its closing bracket, where field 3
  // (the state) comes first; utime and stime are fields 14 and 15.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::string rest = stat.substr(close + 1);
  char* cursor = rest.data();
  long long utime = -1, stime = -1;
  int field = 3;
  for (char* token = strtok(cursor, " "); token; token = strtok(nullptr, " "), ++field) {
    if (field == 14) utime = atoll(token);
    if (field == 15) stime = atoll(token);
  }
  if (utime < 0 || stime < 0) return -1;
  return static_cast<double>(utime + stime) * 10.0;
}

// A "Vm..." line of /proc/<pid>/status in KiB (VmHWM: peak resident memory); -1 when unknown.
inline long long StatusKib(int unixPid, const char* key) {
  if (unixPid <= 0) return -1;
  std::string status = ReadWholeFile("Z:\\proc\\" + std::to_string(unixPid) + "\\status");
  size_t at = status.find(std::string(key) + ":");
  if (at == std::string::npos) return -1;
  return atoll(status.c_str() + at + strlen(key) + 1);
}

inline double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace bench
