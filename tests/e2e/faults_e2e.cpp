// Faults injected into the plugin folder of the real program between the listing and a command:
// the selected plugin file vanishes, is replaced by a folder of its name, is held open by
// another process (with read and write sharing, or with none), or becomes read-only. Each time
// the program keeps running, says what happened in a message box, and no byte on disk changes
// but those the command may legitimately change.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

// The context menu's item ids: a chosen item reaches the main window as WM_COMMAND with its id.
enum MenuId : WORD {
    kMenuEnableAll = 96, kMenuConvertAll = 99, kMenuEdit = 100, kMenuRename = 200, kMenuConvert = 205,
    kMenuDisableUpdates = 207, kMenuHide = 400, kMenuDelete = 500,
};

enum class Command { Disable, EnableAll, Convert, ConvertAll, Rename, Hide, Delete, Edit, Sort, OrigNames, Refresh };
enum class Fault { Vanish, Folder, HeldShared, HeldExclusive, ReadOnly };

struct FaultCase {
    Command command;
    Fault fault;
    const char* expected;  // a part of the message box's text; empty: no message at all
};

// The selected plugin (prefixed, so that Orig. Filenames touches it) and the other one.
const std::string kTarget = "K01##a.src";
const std::string kTargetImage = "K01##a.png";
const std::string kOther = "b.src";

bool TouchesOtherRows(Command c) {
    return c == Command::EnableAll || c == Command::ConvertAll || c == Command::Sort;
}

bool FileIsGone(Fault f) { return f == Fault::Vanish || f == Fault::Folder; }

// Names and bytes ("<folder>" for a folder) with the read-only bit, of the folder's entries.
using Snapshot = std::map<std::string, std::string>;

class FaultTest : public QuorrelTest, public ::testing::WithParamInterface<FaultCase> {
protected:
    void TearDown() override {
        hold.reset();
        QuorrelTest::TearDown();
        CloseNotepads();
    }

    void Inject(Fault fault) {
        const std::string path = PluginPath(kTarget);
        switch (fault) {
            case Fault::Vanish:
                ASSERT_TRUE(DeleteFileA(path.c_str()));
                break;
            case Fault::Folder:
                ASSERT_TRUE(DeleteFileA(path.c_str()));
                ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
                break;
            case Fault::HeldShared:
            case Fault::HeldExclusive: {
                const DWORD share = fault == Fault::HeldShared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
                HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
                ASSERT_NE(h, INVALID_HANDLE_VALUE);
                hold.emplace(h);
                break;
            }
            case Fault::ReadOnly:
                ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
                break;
        }
    }

    // Entries the command may change are left out: the target itself and its image, under any
    // prefix, when the fault leaves a legitimate rewrite, hide, delete or save; the other plugin
    // for the "All" commands and the save (which renames it).
    Snapshot Take(const FaultCase& c) const {
        Snapshot snapshot;
        for (const std::string& name : ListFolder(pluginFolder)) {
            if (TouchesOtherRows(c.command) && name.size() >= kOther.size() &&
                name.compare(name.size() - kOther.size(), kOther.size(), kOther) == 0) {
                continue;
            }
            if (c.fault == Fault::ReadOnly && name.find("##a.") != std::string::npos) continue;
            const std::string path = PluginPath(name);
            const DWORD attributes = GetFileAttributesA(path.c_str());
            snapshot[name] = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? "<folder>"
                                                                      : ReadFileBytes(path).value_or("<unreadable>");
            if (attributes & FILE_ATTRIBUTE_READONLY) snapshot[name] += "<read-only>";
        }
        return snapshot;
    }

    void Run(Command command, bool filePresent) {
        switch (command) {
            case Command::Disable: Choose(kMenuDisableUpdates); break;
            case Command::EnableAll: Choose(kMenuEnableAll); break;
            case Command::Convert: Choose(kMenuConvert); break;
            case Command::ConvertAll: Choose(kMenuConvertAll); break;
            case Command::Edit: Choose(kMenuEdit); break;
            case Command::Hide: Choose(kMenuHide); break;
            case Command::Sort: ASSERT_TRUE(ClickButton(At(kSort))); break;
            case Command::OrigNames: ASSERT_TRUE(ClickButton(At(kOrigFilenames))); break;
            case Command::Refresh: ASSERT_TRUE(ClickButton(At(kRefresh))); break;
            case Command::Delete:
                Choose(kMenuDelete);
                // Only a plugin that is still there is asked about.
                if (filePresent) {
                    EXPECT_NE(AnswerBox("Question:", IDYES).find("Alpha"), std::string::npos);
                }
                break;
            case Command::Rename:
                Choose(kMenuRename);
                if (filePresent) {
                    // OK with the offered name: the file is read and rewritten with it.
                    HWND dialog = WaitDialog("Rename Plugin");
                    ASSERT_TRUE(dialog) << "no input dialog for a plugin that is there";
                    ASSERT_TRUE(ClickButton(FindButton(dialog, "&OK")));
                }
                break;
        }
    }

    void Choose(WORD id) { ASSERT_TRUE(PostMessageA(app.Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0)); }

    // The *.src files the folder holds, in the order a listing finds them.
    std::vector<std::string> PluginFilesOnDisk() const {
        std::vector<std::string> files;
        for (const std::string& name : ListFolder(pluginFolder)) {
            const std::string path = PluginPath(name);
            if (name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".src") == 0 &&
                !(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
                files.push_back(name);
            }
        }
        return files;
    }

    struct Hold {
        explicit Hold(HANDLE h) : handle(h) {}
        ~Hold() { CloseHandle(handle); }
        HANDLE handle;
    };
    std::optional<Hold> hold;
};

TEST_P(FaultTest, TheProgramSaysWhatHappenedAndChangesNothingElse) {
    const FaultCase c = GetParam();
    ASSERT_TRUE(WriteFileBytes(PluginPath(kTarget), UnixPluginSource("Alpha")));
    ASSERT_TRUE(WriteFileBytes(PluginPath(kTargetImage), "PNG of a"));
    AddPlugin(kOther, "Bravo", kUpdateLines);
    ASSERT_TRUE(WriteFileBytes(PluginPath("notes.txt"), "not a plugin"));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(RowsBecome({"Bravo", "Alpha"})) << Joined(Rows());
    ASSERT_TRUE(SelectRow(1));

    // A file the test holds without sharing cannot be read for the snapshot: holds and the
    // read-only bit change nothing the snapshot keeps, so it is taken first; a vanished file
    // and a folder in its place are part of the state the command must leave alone.
    Snapshot before;
    if (!FileIsGone(c.fault)) before = Take(c);
    ASSERT_NO_FATAL_FAILURE(Inject(c.fault));
    if (FileIsGone(c.fault)) before = Take(c);
    ASSERT_NO_FATAL_FAILURE(Run(c.command, !FileIsGone(c.fault)));

    if (*c.expected) {
        const std::string text = AnswerBox("Message:");
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
        if (c.fault != Fault::ReadOnly) {
            EXPECT_NE(text.find(kTarget), std::string::npos) << text;
        }
    } else {
        EXPECT_TRUE(NoBoxFor(1000)) << "an unexpected message: " << MessageBoxText(WaitMessageBox(app.Pid()));
    }
    EXPECT_EQ(FindTopLevel({app.Pid(), "", "Rename Plugin"}), nullptr);
    if (c.command == Command::Edit) {
        EXPECT_TRUE(NotepadWindows().empty()) << "the editor was handed a plugin file that is gone";
    }
    if (c.fault == Fault::ReadOnly && FileExists(PluginPath(kTarget))) {
        EXPECT_FALSE(GetFileAttributesA(PluginPath(kTarget).c_str()) & FILE_ATTRIBUTE_READONLY);
    }
    hold.reset();
    EXPECT_EQ(Take(c), before) << "a byte or a name changed that the command had no business with";

    // Still answering: Refresh shows what the folder holds.
    ASSERT_TRUE(app.Running()) << "the program ended";
    ASSERT_TRUE(ClickButton(At(kRefresh)));
    EXPECT_TRUE(FileRowsBecome(PluginFilesOnDisk())) << Joined(FileRows()) << " vs " << Joined(PluginFilesOnDisk());
}

const char* const kGone = "no longer in the plugin folder";

// Every command with a vanished file; a folder in the file's place for those that rename,
// delete, edit or rewrite; a shared hold for every command that changes a file; a hold without
// sharing where it takes another road (the listing cannot read the file at all); read-only
// files for the commands whose rewrite, rename or delete clears the bit.
const FaultCase kCases[] = {
    {Command::Disable, Fault::Vanish, kGone},
    {Command::EnableAll, Fault::Vanish, kGone},
    {Command::Convert, Fault::Vanish, kGone},
    {Command::ConvertAll, Fault::Vanish, kGone},
    {Command::Rename, Fault::Vanish, kGone},
    {Command::Hide, Fault::Vanish, kGone},
    {Command::Delete, Fault::Vanish, kGone},
    {Command::Edit, Fault::Vanish, kGone},
    {Command::Sort, Fault::Vanish, kGone},
    {Command::OrigNames, Fault::Vanish, kGone},
    {Command::Disable, Fault::Folder, kGone},
    {Command::ConvertAll, Fault::Folder, kGone},
    {Command::Rename, Fault::Folder, kGone},
    {Command::Hide, Fault::Folder, kGone},
    {Command::Delete, Fault::Folder, kGone},
    {Command::Edit, Fault::Folder, kGone},
    {Command::Sort, Fault::Folder, kGone},
    {Command::OrigNames, Fault::Folder, kGone},
    {Command::Disable, Fault::HeldShared, "could not be written"},
    {Command::EnableAll, Fault::HeldShared, "could not be changed"},
    {Command::Convert, Fault::HeldShared, "could not be written"},
    {Command::ConvertAll, Fault::HeldShared, "were not converted"},
    {Command::Rename, Fault::HeldShared, "could not be written"},
    {Command::Hide, Fault::HeldShared, "could not be hidden"},
    {Command::Delete, Fault::HeldShared, "could not be deleted"},
    {Command::Sort, Fault::HeldShared, "could not be moved"},
    {Command::OrigNames, Fault::HeldShared, "could not be restored"},
    {Command::Disable, Fault::HeldExclusive, "could not be written"},
    {Command::Rename, Fault::HeldExclusive, "could not be written"},
    {Command::Delete, Fault::HeldExclusive, "could not be deleted"},
    {Command::Refresh, Fault::HeldExclusive, ""},
    {Command::Disable, Fault::ReadOnly, "Update function disabled!"},
    {Command::ConvertAll, Fault::ReadOnly, "All plugins were converted to DOS text!"},
    {Command::Rename, Fault::ReadOnly, ""},
    {Command::Hide, Fault::ReadOnly, ""},
    {Command::Delete, Fault::ReadOnly, ""},
    {Command::Sort, Fault::ReadOnly, "Re-sort successfully done!"},
};

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) {
    static const char* const commands[] = {"Disable", "EnableAll", "Convert", "ConvertAll", "Rename", "Hide",
                                           "Delete", "Edit", "Sort", "OrigNames", "Refresh"};
    static const char* const faults[] = {"Vanished", "Folder", "HeldShared", "HeldExclusive", "ReadOnly"};
    return std::string(commands[static_cast<int>(info.param.command)]) + "_" +
           faults[static_cast<int>(info.param.fault)];
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
}  // namespace e2e
