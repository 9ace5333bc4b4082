// Copy mode on a real FAT drive: F: is a FAT image that tests/wine-env.sh mounts for the Wine
// environment. Wine sorts every folder listing by name, so the order in which the browser would
// find the plugins, the order of the directory's entries, is read from Linux with "ls -U".
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/quorrel_session.h"

namespace e2e {
namespace {

const char* const kDriveState = "C:\\quorrel-fat-drive.txt";  // written by tests/wine-env.sh up
const char* const kFillFile = "F:\\fill";

bool IsPluginName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".src") == 0;
}

// Fills the drive from Linux until no cluster is free; the file goes again with the object.
class FullDrive {
public:
    FullDrive() {
        RunUnix("dd if=/dev/zero of='" + UnixPath("F:\\") + "/fill' bs=64k 2>/dev/null; true", 30000);
    }
    ~FullDrive() { DeleteFileA(kFillFile); }
    FullDrive(const FullDrive&) = delete;
    FullDrive& operator=(const FullDrive&) = delete;
};

class FatDriveTest : public QuorrelTest {
protected:
    // Fails every test with the reason when the environment has no FAT drive.
    void SetUp() override {
        const std::optional<std::string> state = ReadFileBytes(kDriveState);
        ASSERT_TRUE(state) << "no FAT drive: " << kDriveState << " is missing (tests/wine-env.sh up did not run)";
        ASSERT_EQ(state->substr(0, 5), "ready") << "no FAT drive: " << *state;
        char fileSystem[32] = {};
        GetVolumeInformationA("F:\\", nullptr, 0, nullptr, nullptr, nullptr, fileSystem, sizeof fileSystem);
        ASSERT_NE(std::string(fileSystem).find("FAT"), std::string::npos)
            << "Wine reports drive F: as \"" << fileSystem << "\", not as FAT";
        DeleteFileA(kFillFile);
        ASSERT_TRUE(RemoveTree(testFolder));
        pluginFolder = JoinPath(testFolder, "searchplugins");
        copyMode = true;
        QuorrelTest::SetUp();
    }

    // Names in the folder in the order of its directory entries.
    std::vector<std::string> DirectoryOrder(const std::string& folder) {
        const std::string listing = JoinPath(WorkFolder(), TestName() + ".ls");
        DeleteFileA(listing.c_str());
        EXPECT_EQ(RunUnix("ls -U '" + UnixPath(folder) + "' > '" + UnixPath(listing) + "'"), 0);
        std::vector<std::string> names;
        const std::string text = ReadFileBytes(listing).value_or("");
        for (std::string::size_type start = 0, end; start < text.size(); start = end + 1) {
            end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            names.push_back(text.substr(start, end - start));
        }
        return names;
    }

    std::vector<std::string> PluginOrderOnDisk() {
        std::vector<std::string> plugins;
        for (const std::string& name : DirectoryOrder(pluginFolder)) {
            if (IsPluginName(name)) plugins.push_back(name);
        }
        return plugins;
    }

    // Moves the row to the top with Move Up, one click at a time.
    void MoveToTop(int row) {
        ASSERT_TRUE(SelectRow(row));
        for (int at = row; at > 0; --at) {
            ASSERT_TRUE(WaitUntil([&] { return IsEnabled(At(kMoveUp)); })) << "Move Up stays disabled";
            ASSERT_TRUE(ClickButton(At(kMoveUp)));
            ASSERT_TRUE(SelectionBecomes(at - 1)) << "the row did not move up";
        }
    }

    std::string testFolder = "F:\\" + TestName();
};

// Names of one, three and four directory slots, images and other files in between, and holes of
// different sizes left by deleted files: every plugin must still come back in the saved order.
TEST_F(FatDriveTest, SaveWritesTheListOrderIntoTheDirectoryForAnyMixOfNames) {
    const std::vector<std::string> holes = {"hole-number-one-is-long.txt", "x.txt", "hole-three.dat"};
    const std::vector<std::string> others = {"a.gif", "notes.txt", "mid-length.png"};
    for (const std::string& file : {holes[0], std::string("a.src"), others[0], holes[1],
                                    std::string("plugin-with-a-much-longer-file-name.src"), others[1],
                                    std::string("b.src"), holes[2], std::string("mid-length.src"), others[2],
                                    std::string("c.src")}) {
        ASSERT_TRUE(WriteFileBytes(PluginPath(file), IsPluginName(file) ? PluginSource(file) : "data")) << file;
    }
    for (const std::string& hole : holes) ASSERT_TRUE(DeleteFileA(PluginPath(hole).c_str())) << hole;
    ASSERT_NO_FATAL_FAILURE(Start());

    ASSERT_NO_FATAL_FAILURE(MoveToTop(4));
    ASSERT_NO_FATAL_FAILURE(MoveToTop(4));
    const std::vector<std::string> saved = FileRows();
    ASSERT_EQ(saved, (std::vector<std::string>{"mid-length.src", "plugin-with-a-much-longer-file-name.src", "a.src",
                                               "b.src", "c.src"}));
    ASSERT_TRUE(ClickButton(At(kSort)));
    EXPECT_EQ(AnswerBox("Message:"), "Re-sort successfully done!");

    EXPECT_EQ(PluginOrderOnDisk(), saved) << "the directory does not hold the plugins in the saved order";
    std::vector<std::string> entries = DirectoryOrder(pluginFolder);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"a.gif", "a.src", "b.src", "c.src", "mid-length.png",
                                                 "mid-length.src", "notes.txt",
                                                 "plugin-with-a-much-longer-file-name.src"}))
        << "every file must be back under its name";
    EXPECT_EQ(DirectoryOrder(testFolder), std::vector<std::string>{"searchplugins"})
        << "the temporary folder must be gone";
    EXPECT_EQ(ReadFileBytes(PluginPath("notes.txt")), std::optional<std::string>("data"));
}

// No room for the temporary folder: the save says so, moves nothing, and the program goes on
// with the rows as the user arranged them.
TEST_F(FatDriveTest, AFullDriveKeepsTheProgramRunningAndTheArrangedRows) {
    AddPlugin("a.src", "Alpha");
    AddPlugin("b.src", "Bravo");
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(MoveToTop(1));
    ASSERT_TRUE(RowsBecome({"Bravo", "Alpha"}));

    const FullDrive full;
    ASSERT_TRUE(FileExists(kFillFile));
    ASSERT_TRUE(ClickButton(At(kSort)));
    EXPECT_EQ(AnswerBox("Message:"), "Failed to create temporary folder!");
    EXPECT_TRUE(app.Running()) << "a full drive must not end the program";
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Bravo", "Alpha"}));
    EXPECT_EQ(DirectoryOrder(pluginFolder), (std::vector<std::string>{"a.src", "b.src"})) << "nothing may move";
    EXPECT_EQ(DirectoryOrder(testFolder), std::vector<std::string>{"searchplugins"});
    EXPECT_TRUE(NoBoxFor(300)) << "only the one message may come";
}

}  // namespace
}  // namespace e2e
