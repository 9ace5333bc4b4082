// Shared set-up of the catalogue's Win32 tests: a unique plugin folder with real files, the
// two list boxes in a hidden window and the catalogue state pointing at them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/catalogue_state.h"
#include "catalogue/plugin_list.h"
#include "catalogue/plugin_text.h"
#include "tests/support/test_files.h"
#include "tests/support/test_windows.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/list_box.h"

namespace catalogue_test {

// The usual form of a plugin file with the given display name, LF or CR LF line ends.
inline Text PluginSource(const Text& name, const Text& lineEnd = "\r\n") {
    return "<search" + lineEnd + "   name=\"" + name + "\"" + lineEnd +
           "   action=\"https://search.example.com/\"" + lineEnd + ">" + lineEnd +
           "<input name=\"q\" user>" + lineEnd + "</search>" + lineEnd;
}

class PluginFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = scratch / "searchplugins";
        ASSERT_TRUE(scratch.made() && CreateDirectoryA(folder.c_str(), nullptr)) << "cannot create " << folder;

        window = RunOnInterfaceThread([] {
            return CreateWindowExA(0, "DIALOG", "catalogue test", WS_OVERLAPPEDWINDOW, 10, 10, 300, 300,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        });
        ASSERT_NE(window, nullptr);
        const HWND parent = window;
        auto makeList = [parent](int x) {
            return RunOnInterfaceThread([parent, x] {
                return CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | WS_VSCROLL,
                                       x, 5, 120, 200, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
            });
        };
        nameList = reinterpret_cast<Handle>(makeList(5));
        fileList = reinterpret_cast<Handle>(makeList(140));

        previousLevel = ErrorLevel();
        SetErrorLevel(0);  // the program runs at level 0 after start-up
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);

        catalogue.language = Language::English;
        catalogue.pluginFolder = folder;
        catalogue.tempFolder = PathOf(kParked);
        catalogue.startFolder = current;
        catalogue.ntfsMode = 1;
        catalogue.pluginList = nameList;
        catalogue.fileList = fileList;
        catalogue.prefixLetter.clear();
        catalogue.pluginText.clear();
        AllocateArea(catalogue.textBuffer, static_cast<std::size_t>(kTextBufferSize));
        moveButtonUpdates = 0;
        catalogue.updateMoveButtons = [this] { ++moveButtonUpdates; };
        TakeIoStatus();
    }

    void TearDown() override {
        catalogue.updateMoveButtons = nullptr;
        SetErrorLevel(previousLevel);
        const HWND w = window;
        RunOnInterfaceThread([w] {
            DestroyWindow(w);
            return HWND{};
        });
        // The listing may have left the current folder inside the plugin folder, which would
        // keep the scratch folder from being removed.
        SetCurrentDirectoryA(catalogue.startFolder.c_str());
    }

    Text PathOf(const Text& name) const { return folder + "\\" + name; }

    void Write(const Text& name, const Text& bytes) const {
        std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good()) << "cannot write " << name;
    }

    Text Read(const Text& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return Text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    bool Exists(const Text& name) const {
        return GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    void SetReadOnly(const Text& name) const {
        ASSERT_TRUE(SetFileAttributesA(PathOf(name).c_str(), FILE_ATTRIBUTE_READONLY));
    }

    bool IsReadOnly(const Text& name) const {
        const DWORD attributes = GetFileAttributesA(PathOf(name).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    }

    // Names of the files (not folders) in the plugin folder or one of its sub-folders.
    std::vector<Text> FilesOnDisk(const Text& subFolder = Text()) const {
        std::vector<Text> names;
        const Text where = subFolder.empty() ? folder : PathOf(subFolder);
        WIN32_FIND_DATAA data{};
        HANDLE search = FindFirstFileA((where + "\\*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
        } while (FindNextFileA(search, &data));
        FindClose(search);
        return names;
    }

    // Files whose names the ANSI code page cannot hold are made and listed with the wide
    // functions; the plugin folder's own path is ASCII.
    std::wstring WidePathOf(const std::wstring& name) const {
        return std::wstring(folder.begin(), folder.end()) + L"\\" + name;
    }

    void WriteWide(const std::wstring& name, const Text& bytes) const {
        HANDLE file = CreateFileW(WidePathOf(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_EQ(written, bytes.size());
    }

    Text ReadWide(const std::wstring& name) const {
        HANDLE file = CreateFileW(WidePathOf(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<missing>";
        Text bytes(GetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        return bytes.substr(0, read);
    }

    std::vector<std::wstring> WideFilesOnDisk() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW data{};
        HANDLE search = FindFirstFileW(WidePathOf(L"*").c_str(), &data);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
        } while (FindNextFileW(search, &data));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::vector<Text> RowsOf(Handle list) {
        std::vector<Text> rows;
        for (int i = 0; i < ListCount(list); ++i) rows.push_back(GetListItemText(list, i));
        return rows;
    }

    void Fill(int row = -1, const Text& pattern = "*.SRC") {
        FillPluginList(nameList, fileList, row, pattern);
    }

    // Where copy mode parks files, relative to the plugin folder: beside it, as at start-up.
    static constexpr const char* kParked = "..\\searchplugins.quorrel-temp";

    TempFolder scratch{"quorrel-catalogue-"};  // removed after TearDown
    Text folder;                               // scratch\searchplugins, the plugin folder
    HWND window = nullptr;
    Handle nameList = 0;
    Handle fileList = 0;
    int previousLevel = 1;
    int moveButtonUpdates = 0;
};

// Holds a file open without letting others delete, rename or open it exclusively, as a virus
// scanner or the browser might.
class FileLock {
public:
    explicit FileLock(const Text& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr)) {}
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

}  // namespace catalogue_test
