// Rewrites that the machine cuts short: a disk that fills up in the middle of a rewrite, on a small
// tmpfs filled to the last page, and a program that ended in the middle of one. Every plugin file
// holds its old bytes or its new ones, never others, and the user is told which was not changed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

constexpr WORD kMenuConvertAll = 99;
constexpr std::size_t kPage = 4096;  // tmpfs hands out whole pages
const char* const kBackupSuffix = ".quorrel-backup";

// A plugin of exactly `size` bytes: the source followed by a comment line that fills it up.
std::string PaddedTo(std::string source, std::size_t size, const std::string& lineEnd) {
    const std::size_t frame = std::string("<!--  -->").size() + lineEnd.size();
    return source + "<!-- " + std::string(size - source.size() - frame, 'x') + " -->" + lineEnd;
}

// Unix text of one page less a little: converting it needs a second page.
std::string UnixPlugin() {
    std::string source = UnixPluginSource("Unix");
    for (int i = 0; i < 150; ++i) source += "<!-- line -->\n";
    return PaddedTo(source, kPage - 60, "\n");
}

// DOS text one byte short of a page: the two "#" that disabling its updates adds need a second.
std::string DosPlugin() { return PaddedTo(PluginSource("Dos", kUpdateLines), kPage - 1, "\r\n"); }

class SmallVolumeTest : public QuorrelTest {
protected:
    void SetUp() override {
        const std::string volume = Volume();
        if (const auto reason = ReadFileBytes(volume + ".unavailable")) {
            FAIL() << "the small volume for the full-disk tests is missing: " << *reason;
        }
        pluginFolder = JoinPath(volume, "searchplugins");
        for (const std::string& name : ListFolder(pluginFolder)) DeleteFileA(PluginPath(name).c_str());
        for (const std::string& name : ListFolder(volume)) DeleteFileA(JoinPath(volume, name).c_str());
        QuorrelTest::SetUp();
    }

    void TearDown() override {
        QuorrelTest::TearDown();
        FreeAll();
    }

    // Fills the volume with one-page files until no page is left, then gives back `pages`.
    void FillLeaving(int pages) {
        for (;;) {
            const std::string path = JoinPath(Volume(), "fill" + std::to_string(fillers.size()));
            if (!WriteFileBytes(path, std::string(kPage, 'f'))) {
                DeleteFileA(path.c_str());
                break;
            }
            fillers.push_back(path);
        }
        ASSERT_GE(fillers.size(), static_cast<std::size_t>(pages)) << "the volume did not fill";
        for (int i = 0; i < pages; ++i) {
            DeleteFileA(fillers.back().c_str());
            fillers.pop_back();
        }
    }

    void FreeAll() {
        for (const std::string& path : fillers) DeleteFileA(path.c_str());
        fillers.clear();
    }

    std::string Volume() const { return JoinPath(WorkFolder(), "small-volume"); }

    // No backup of a rewrite is left beside the plugins.
    bool NoBackupLeft() const {
        for (const std::string& name : ListFolder(pluginFolder)) {
            if (name.find(kBackupSuffix) != std::string::npos) return false;
        }
        return true;
    }

    std::vector<std::string> fillers;
};

struct FullDiskCase {
    const char* label;
    std::string file;           // the plugin the command rewrites
    std::string (*before)();
    const char* refused;        // part of the message when the disk is full
    const char* done;           // the message once there is room
};

TEST_F(SmallVolumeTest, ARewriteThatRunsOutOfRoomLeavesThePluginWholeAndSaysSo) {
    const FullDiskCase cases[] = {
        {"Convert All", "u.src", UnixPlugin, "were not converted", "All plugins were converted to DOS text!"},
        {"Alt+U", "d.src", DosPlugin, "could not be written and was left unchanged", "Update function disabled!"},
    };
    ASSERT_TRUE(WriteFileBytes(PluginPath("d.src"), DosPlugin()));
    ASSERT_TRUE(WriteFileBytes(PluginPath("u.src"), UnixPlugin()));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(RowsBecome({"Dos", "Unix"})) << Joined(Rows());

    for (const FullDiskCase& c : cases) {
        const auto run = [&] {
            if (c.file == "u.src") {
                ASSERT_TRUE(PostMessageA(app.Main(), WM_COMMAND, MAKEWPARAM(kMenuConvertAll, 0), 0));
            } else {
                ASSERT_TRUE(SelectRow(0));
                FocusList();
                ASSERT_TRUE(XKeys({"alt", "u"}, 300));
            }
        };
        // No page for the backup, then one page for the backup and none for the longer text.
        for (const int freePages : {0, 1}) {
            const std::string context = std::string(c.label) + " with " + std::to_string(freePages) + " free pages";
            ASSERT_NO_FATAL_FAILURE(FillLeaving(freePages)) << context;
            ASSERT_NO_FATAL_FAILURE(run());
            const std::string text = AnswerBox("Message:");
            EXPECT_NE(text.find(c.refused), std::string::npos) << context << ": " << text;
            EXPECT_NE(text.find(c.file), std::string::npos) << context << ": " << text;
            EXPECT_EQ(FileText(c.file), c.before()) << context << ": the plugin was cut or changed";
            EXPECT_TRUE(NoBackupLeft()) << context;
            FreeAll();
        }
        ASSERT_NO_FATAL_FAILURE(run());
        EXPECT_EQ(AnswerBox("Message:"), c.done) << c.label << " with room";
        EXPECT_NE(FileText(c.file), c.before()) << c.label << ": nothing was rewritten with room";
        EXPECT_TRUE(NoBackupLeft()) << c.label;
    }
    const std::string unix = UnixPlugin();
    const std::string converted = FileText("u.src");
    const auto count = [](const std::string& text, char c) { return std::count(text.begin(), text.end(), c); };
    EXPECT_EQ(count(converted, '\r'), count(unix, '\n')) << "every LF gets its CR, and nothing else";
    EXPECT_EQ(converted.size(), unix.size() + count(unix, '\n'));
    EXPECT_NE(FileText("d.src").find("#update=\"http://example.org/a.src\"\r\n#updateicon="), std::string::npos);
    ASSERT_TRUE(app.Running());
}

using InterruptedWriteTest = QuorrelTest;

TEST_F(InterruptedWriteTest, TheNextStartPutsTheOldBytesBackAndSaysSo) {
    const std::string old = PluginSource("Whole");
    ASSERT_TRUE(WriteFileBytes(PluginPath("w.src"), "<search\r\nname=\"Who"));
    ASSERT_TRUE(WriteFileBytes(PluginPath(std::string("w.src") + kBackupSuffix), old));
    AddPlugin("x.src", "Other");
    ASSERT_NO_FATAL_FAILURE(Start("-e", [&] {
        const std::string text = AnswerBox("Message:");
        EXPECT_NE(text.find("earlier content was put back"), std::string::npos) << text;
        EXPECT_NE(text.find("w.src"), std::string::npos) << text;
    }));
    EXPECT_TRUE(RowsBecome({"Whole", "Other"})) << Joined(Rows());
    EXPECT_EQ(FileText("w.src"), old);
    EXPECT_EQ(ListFolder(pluginFolder), (std::vector<std::string>{"w.src", "x.src"}));
}

}  // namespace
}  // namespace e2e
