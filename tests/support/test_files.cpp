#include "tests/support/test_files.h"

#include <windows.h>

#include <string>

void RemoveTree(const Text& path) {
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const Text name = data.cFileName;
            if (name == "." || name == "..") continue;
            const Text child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

TempFolder::TempFolder(const Text& stem) {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = Text(temp) + stem + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount()) + "-" + std::to_string(++counter);
    made_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
}

TempFolder::~TempFolder() { RemoveTree(path_); }
