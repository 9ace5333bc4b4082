// What the command, keyboard, context-menu and dialog tests share: plugin files written into a
// scratch folder, one running copy of Quorrel with the handles of its controls, the shell log
// that records what the program would have opened, and waits on rows, files and boxes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/e2e_test.h"
#include "tests/support/shell_log.h"

namespace e2e {

// Children of the main window in creation order (Wine reports NTFS, so Orig. Filenames exists).
enum MainChild : size_t {
    kHint, kFileList, kPluginList, kMoveUp, kMoveDown, kRefresh, kShowHidden, kAddPlugin, kOpenFolder,
    kSort, kOrigFilenames, kInfo, kGroupBox, kCredit, kSeparator, kMainChildCount
};

// A plugin with DOS line ends; extra lines go before the closing tag.
inline std::string PluginSource(const std::string& name, const std::string& extra = "") {
    return "<search\r\nname=\"" + name + "\"\r\nmethod=\"GET\"\r\naction=\"http://example.org/\"\r\n" + extra +
           ">\r\n<input name=\"q\" user>\r\n</search>\r\n";
}

// The same plugin with bare LF line ends.
inline std::string UnixPluginSource(const std::string& name) {
    return "<search\nname=\"" + name + "\"\nmethod=\"GET\"\n>\n</search>\n";
}

inline const char* const kUpdateLines =
    "update=\"http://example.org/a.src\"\r\nupdateIcon=\"http://example.org/a.png\"\r\n";

// While it lives, the programs the test starts log their shell calls ("verb<TAB>file<TAB>show")
// into this file; the test build of the program never opens anything, with or without it.
class ShellLog {
public:
    explicit ShellLog(const std::string& name) : path_(JoinPath(WorkFolder(), name + ".shell.log")) {
        DeleteFileA(path_.c_str());
        SetEnvironmentVariableA(kShellLogVariable, path_.c_str());
    }
    ~ShellLog() { SetEnvironmentVariableA(kShellLogVariable, nullptr); }
    ShellLog(const ShellLog&) = delete;
    ShellLog& operator=(const ShellLog&) = delete;

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        const std::string text = ReadFileBytes(path_).value_or("");
        std::string::size_type start = 0;
        while (start < text.size()) {
            auto end = text.find("\r\n", start);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
    bool WaitLines(size_t count, int timeoutMs = kTimeoutMs) const {
        return WaitUntil([&] { return Lines().size() >= count; }, timeoutMs);
    }

private:
    std::string path_;
};

class QuorrelTest : public EndToEndTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.Ok());
        ASSERT_TRUE(MakeFolders(pluginFolder));
    }

    void AddPlugin(const std::string& file, const std::string& name, const std::string& extra = "") {
        ASSERT_TRUE(WriteFileBytes(PluginPath(file), PluginSource(name, extra)));
    }

    // Starts the program and waits for its window; atStart first deals with what the program says
    // before its window is up.
    void Start(const std::string& language = "-e", const std::function<void()>& atStart = nullptr) {
        AppOptions options;
        options.args = {language};
        options.pluginFolder = pluginFolder;
        options.label = TestName();
        ASSERT_TRUE(app.Launch(options)) << app.Error();
        if (atStart) {
            ASSERT_NO_FATAL_FAILURE(atStart());
        }
        ASSERT_TRUE(app.WaitForMainWindow()) << app.Error();
        children = Children(app.Main());
        const size_t expected = kMainChildCount - (copyMode ? 1 : 0);
        ASSERT_EQ(children.size(), expected) << "the main window must have " << expected << " controls";
    }

    HWND At(MainChild c) const { return children[c]; }
    HWND List() const { return children[kPluginList]; }
    std::string PluginPath(const std::string& file) const { return JoinPath(pluginFolder, file); }
    std::string FileText(const std::string& file) const {
        return ReadFileBytes(PluginPath(file)).value_or("<missing>");
    }

    std::vector<std::string> Rows() const { return ListRows(List()); }
    std::vector<std::string> FileRows() const { return ListRows(children[kFileList]); }
    bool RowsBecome(const std::vector<std::string>& rows, int timeoutMs = kTimeoutMs) const {
        return WaitUntil([&] { return Rows() == rows; }, timeoutMs);
    }
    // The file list and the selection follow the display rows a moment later: the program fills and
    // moves the lists one after the other.
    bool FileRowsBecome(const std::vector<std::string>& files, int timeoutMs = kTimeoutMs) const {
        return WaitUntil([&] { return FileRows() == files; }, timeoutMs);
    }
    bool SelectionBecomes(int row, int timeoutMs = kTimeoutMs) const {
        return WaitUntil([&] { return ListSelection(List()) == row; }, timeoutMs);
    }
    static std::string Joined(const std::vector<std::string>& rows) {
        std::string text;
        for (const std::string& row : rows) text += (text.empty() ? "" : ", ") + row;
        return "[" + text + "]";
    }

    // Waits for a message box with the caption, checks nothing, presses the button and returns its
    // text ("<no box>" when none came).
    std::string AnswerBox(const std::string& caption, int button = IDOK) {
        HWND box = WaitMessageBox(app.Pid(), caption);
        if (!box) return "<no box>";
        const std::string text = MessageBoxText(box);
        EXPECT_TRUE(PressDialogButton(box, button)) << "the box \"" << text << "\" did not close";
        return text;
    }
    bool NoBoxFor(int ms) { return WaitMessageBox(app.Pid(), "", ms) == nullptr; }
    // Rows stay as they are for a while: nothing reacted.
    bool RowsStay(const std::vector<std::string>& rows, int ms = 500) {
        return !WaitUntil([&] { return Rows() != rows; }, ms);
    }

    // Selects a row of a list the way a click would (without the click) and gives the program's
    // polling a few passes to read it before any key comes.
    static bool Select(HWND list, int row) {
        if (!SetListSelection(list, row)) return false;
        Sleep(100);
        return true;
    }
    bool SelectRow(int row) { return Select(List(), row); }

    // A window of the program with the title, once it is on screen and has had a moment to finish
    // its set-up: the program creates its dialogs off screen and shows them when they are ready.
    HWND WaitDialog(const std::string& title, int timeoutMs = kTimeoutMs) {
        HWND dialog = nullptr;
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        WaitUntil(
            [&] {
                dialog = FindTopLevel({app.Pid(), "", title});
                return dialog && WindowRect(dialog).left < screenWidth;
            },
            timeoutMs);
        if (!dialog || WindowRect(dialog).left >= screenWidth) return nullptr;
        Sleep(250);
        return dialog;
    }

    // Waits until the dialog is gone and the program has given the plugin list the focus back, so
    // that the next action meets the main window in the state a user would see.
    bool DialogClosed(HWND dialog) {
        if (!WaitWindowGone(dialog)) return false;
        const bool back = WaitUntil([&] { return IsEnabled(app.Main()) && FocusOf(app.Main()) == List(); });
        Sleep(100);
        return back;
    }

    // Clicks the selected row with the mouse: the list gets the keyboard focus back and the
    // selection stays.
    void FocusList() {
        HWND list = List();
        const int row = ListSelection(list);
        const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        ASSERT_GE(row, 0) << "no selected row to click";
        ASSERT_TRUE(XClick(ClientToScreenPoint(list, 40, (row - top) * height + height / 2)));
        ASSERT_TRUE(WaitUntil([&] { return FocusOf(app.Main()) == list; }, 2000))
            << "the list did not take the focus";
    }

    // The window with the keyboard focus in the program's input state.
    static HWND FocusOf(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    }

    // A row's point on screen, for a right click.
    POINT RowPoint(int row) const {
        HWND list = List();
        const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        return ClientToScreenPoint(list, 40, (row - top) * height + height / 2);
    }

    ScratchFolder scratch{TestName() + "-plugins"};
    // The program takes a configured folder without "searchplugins" in its name for the browser's
    // folder and looks into its searchplugins subfolder.
    std::string pluginFolder = JoinPath(scratch.Path(), "searchplugins");
    App app;
    std::vector<HWND> children;
    // A plugin folder on FAT gives copy mode, whose window has no Orig. Filenames button: the
    // controls after Sort then come one place earlier.
    bool copyMode = false;
};

// The Recycle Bin as Wine keeps it for files on Unix paths: the XDG trash ($XDG_DATA_HOME/Trash,
// else ~/.local/share/Trash), each file in files/ with a .trashinfo in info/ that names its
// original path. Made if missing, as on a desktop (without it Wine deletes for good); what came
// into it from the folder since construction is removed again on destruction.
class Trash {
public:
    explicit Trash(const std::string& fromFolder) : from_(UnixPath(fromFolder) + "/") {
        char buffer[MAX_PATH] = {};
        std::string data;
        if (GetEnvironmentVariableA("XDG_DATA_HOME", buffer, sizeof buffer) > 0) {
            data = buffer;
        } else if (GetEnvironmentVariableA("WINEHOMEDIR", buffer, sizeof buffer) > 0) {
            data = JoinPath(std::string(buffer).substr(4), ".local\\share");   // past "\??\"
        }
        if (data.empty()) return;
        folder_ = JoinPath(WinPath(data), "Trash");
        MakeFolders(JoinPath(folder_, "files"));
        MakeFolders(JoinPath(folder_, "info"));
        for (const std::string& name : ListFolder(JoinPath(folder_, "files"))) before_.push_back(name);
    }
    ~Trash() {
        for (const std::string& name : Arrived("")) {
            DeleteFileA(JoinPath(JoinPath(folder_, "files"), name).c_str());
            DeleteFileA(JoinPath(JoinPath(folder_, "info"), name + ".trashinfo").c_str());
        }
    }
    Trash(const Trash&) = delete;
    Trash& operator=(const Trash&) = delete;

    // The bytes of the file that came into the trash from the folder under that name; nothing when
    // none came.
    std::optional<std::string> Received(const std::string& fileName) const {
        const std::vector<std::string> names = Arrived(fileName);
        if (names.size() != 1) return std::nullopt;
        return ReadFileBytes(JoinPath(JoinPath(folder_, "files"), names.front()));
    }

private:
    // New entries whose original path lies in the folder (and has the name, when one is given).
    std::vector<std::string> Arrived(const std::string& fileName) const {
        std::vector<std::string> names;
        if (folder_.empty()) return names;
        for (const std::string& name : ListFolder(JoinPath(folder_, "files"))) {
            if (std::find(before_.begin(), before_.end(), name) != before_.end()) continue;
            const std::string info =
                ReadFileBytes(JoinPath(JoinPath(folder_, "info"), name + ".trashinfo")).value_or("");
            const std::string path = "Path=" + from_ + fileName;
            const std::string::size_type at = info.find(path);
            if (at == std::string::npos) continue;
            if (fileName.empty() || info.compare(at + path.size(), 1, "\n") == 0) names.push_back(name);
        }
        return names;
    }

    std::string from_;     // Unix path of the folder, ending in "/"
    std::string folder_;   // Windows path of the trash; empty when it could not be found
    std::vector<std::string> before_;
};

// Notepad windows on the desktop (the editor is started by the program, not by the test).
inline std::vector<HWND> NotepadWindows() { return TopLevelWindows({0, "Notepad", "", true}); }

inline void CloseNotepads() {
    for (HWND window : NotepadWindows()) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitWindowGone(window, 3000);
    }
}

}  // namespace e2e
