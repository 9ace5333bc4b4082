// Writing the list order to disk in both modes, restoring the original names, and the
// failures a save must report instead of claiming success.
#include "tests/catalogue/catalogue_fixture.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

#include "catalogue/fatal_error.h"
#include "catalogue/messages.h"
#include "catalogue/order_persistence.h"
#include "tests/support/box_answerer.h"

namespace catalogue_test {
namespace {

using Rows = std::vector<Text>;

constexpr int kExclamation = MB_ICONEXCLAMATION;
constexpr int kInformation = MB_ICONASTERISK;

class OrderPersistenceTest : public PluginFolderTest {
protected:
    // Saves and returns the one message box the save showed.
    BoxAnswerer::SeenBox Save() {
        BoxAnswerer answerer;
        SavePluginOrder();
        EXPECT_TRUE(answerer.WaitForBoxes(1)) << "the save showed no message";
        Sleep(50);
        const auto boxes = answerer.Boxes();
        EXPECT_EQ(boxes.size(), 1u) << "a save shows exactly one message";
        return boxes.empty() ? BoxAnswerer::SeenBox{} : boxes.front();
    }

    // Puts the rows into the given file order (display names are the file names).
    void ArrangeRows(const Rows& files) {
        ListSetAll(nameList, files);
        ListSetAll(fileList, files);
        ListSelect(nameList, 0);
    }

    static bool Has(const Rows& names, const Text& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    }
};

void ExpectSuccess(const BoxAnswerer::SeenBox& box) {
    EXPECT_EQ(box.caption, "Message:");
    EXPECT_EQ(box.text, "Re-sort successfully done!");
    EXPECT_EQ(box.icon, kInformation);
}

void ExpectFailure(const BoxAnswerer::SeenBox& box, const Text& mentioned) {
    EXPECT_EQ(box.caption, "Message:");
    EXPECT_NE(box.text, "Re-sort successfully done!") << "a failed save was reported as success";
    EXPECT_NE(box.text.find(mentioned), Text::npos) << "the message does not name " << mentioned << ":\n" << box.text;
    EXPECT_EQ(box.icon, kExclamation);
}

TEST_F(OrderPersistenceTest, RenameModeGivesEachPluginAndItsFirstImageTheLetterAndRowNumber) {
    Write("google.src", PluginSource("G"));
    Write("google.gif", "gif");
    Write("yahoo.src", PluginSource("Y"));
    Write("yahoo.gif", "gif");
    Write("yahoo.png", "png");
    Write("maps.src", PluginSource("M"));
    Write("maps.ico", "ico");
    Write("maps.jpg", "");  // an empty image counts, and .jpg comes before .ico
    Write("Bing.src", PluginSource("B"));
    Write("BING.PNG", "png");  // names compare without case, as the file system compares them
    Fill();
    ArrangeRows({"google.src", "yahoo.src", "maps.src", "Bing.src"});
    ExpectSuccess(Save());

    const Text L = catalogue.prefixLetter;
    ASSERT_EQ(L.size(), 1u) << "the rebuilt list must make the new letter the one in use";
    EXPECT_TRUE(L[0] >= 'A' && L[0] <= 'Z');
    const Rows disk = FilesOnDisk();
    for (const Text& name : {L + "00##google.src", L + "00##google.gif", L + "01##yahoo.src",
                             L + "01##yahoo.gif", Text("yahoo.png"), L + "02##maps.src",
                             L + "02##maps.jpg", Text("maps.ico"), L + "03##Bing.src",
                             L + "03##Bing.png"}) {
        EXPECT_TRUE(Has(disk, name)) << name << " missing after the save";
    }
    EXPECT_EQ(disk.size(), 10u);
    EXPECT_EQ(RowsOf(fileList),
              (Rows{L + "00##google.src", L + "01##yahoo.src", L + "02##maps.src", L + "03##Bing.src"}))
        << "the rebuilt list must show the saved order";
    EXPECT_EQ(Read(L + "01##yahoo.src"), PluginSource("Y"));
}

// A user's own plugin whose file name holds a letter the ANSI code page lacks is listed, saved
// and restored like any other, under its own name; a rename that fails names it readably.
TEST_F(OrderPersistenceTest, APluginNamedOutsideTheCodePageKeepsItsOwnNameThroughSaveAndRestore) {
    using Names = std::vector<std::wstring>;
    Write("b.src", PluginSource("Beta"));
    WriteWide(L"\u03A9mega.src", PluginSource("Omega"));
    WriteWide(L"\u03A9mega.gif", "gif");
    Fill();
    const Rows rows = RowsOf(nameList);
    ASSERT_TRUE(Has(rows, "Omega")) << "the plugin got no row";
    ExpectSuccess(Save());

    const std::wstring L(catalogue.prefixLetter.begin(), catalogue.prefixLetter.end());
    const std::wstring omega = L + (rows[0] == "Omega" ? L"00" : L"01") + L"##\u03A9mega";
    const std::wstring beta = L + (rows[0] == "Omega" ? L"01" : L"00") + L"##b.src";
    Names expected{beta, omega + L".gif", omega + L".src"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(WideFilesOnDisk(), expected);
    EXPECT_TRUE(Has(RowsOf(nameList), "Omega")) << "the rebuilt list lost the plugin";

    WriteWide(L"\u03A9mega.src", PluginSource("Newer"));  // takes the name the restore needs
    BoxAnswerer answerer;
    RestoreOriginalNames();
    ASSERT_TRUE(answerer.WaitForBoxes(1)) << "a failed restore must not pass in silence";
    EXPECT_NE(answerer.Boxes()[0].text.find("##?mega.src"), Text::npos) << answerer.Boxes()[0].text;

    DeleteFileW(WidePathOf(L"\u03A9mega.src").c_str());
    RestoreOriginalNames();
    EXPECT_EQ(WideFilesOnDisk(), (Names{L"b.src", L"\u03A9mega.gif", L"\u03A9mega.src"}));
}

TEST_F(OrderPersistenceTest, EverySaveRenamesEveryFileWithANewLetter) {
    Write("a.src", PluginSource("A"));
    Write("b.src", PluginSource("B"));
    Fill();
    Text previous;
    for (int save = 0; save < 3; ++save) {
        ExpectSuccess(Save());
        const Text L = catalogue.prefixLetter;
        EXPECT_NE(L, previous) << "save " << save << " kept the letter in use";
        EXPECT_EQ(FilesOnDisk(), (Rows{L + "00##a.src", L + "01##b.src"}));
        previous = L;
    }
}

TEST_F(OrderPersistenceTest, ShortListsKeepTwoDigitRowNumbers) {
    Rows files;
    for (int i = 0; i < 11; ++i) {
        files.push_back("p" + std::to_string(100 + i) + ".src");
        Write(files.back(), PluginSource(files.back()));
    }
    Fill();
    ExpectSuccess(Save());
    const Text L = catalogue.prefixLetter;
    const Rows rows = RowsOf(fileList);
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[0], L + "00##p100.src");
    EXPECT_EQ(rows[9], L + "09##p109.src");
    EXPECT_EQ(rows[10], L + "10##p110.src");
}

TEST_F(OrderPersistenceTest, LongListsNumberEveryRowWithTheSameWidthSoTheOrderHolds) {
    Rows files;
    for (int i = 0; i < 102; ++i) {
        files.push_back("p" + std::to_string(1000 + i) + ".src");
        Write(files.back(), PluginSource(files.back()));
    }
    std::reverse(files.begin(), files.end());
    ArrangeRows(files);
    ExpectSuccess(Save());
    const Text L = catalogue.prefixLetter;
    const Rows rows = RowsOf(fileList);
    ASSERT_EQ(rows.size(), 102u);
    EXPECT_EQ(rows[0], L + "000##p1101.src");
    EXPECT_EQ(rows[9], L + "009##p1092.src");
    EXPECT_EQ(rows[10], L + "010##p1091.src");
    EXPECT_EQ(rows[99], L + "099##p1002.src");
    EXPECT_EQ(rows[100], L + "100##p1001.src");
    EXPECT_EQ(rows[101], L + "101##p1000.src");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].substr(6), files[i]) << "row " << i << " is out of the saved order";
    }
}

TEST_F(OrderPersistenceTest, RestoringTakesThePrefixesOffPluginsAndImages) {
    Write("web##b.src", PluginSource("B"));
    Write("web##b.gif", "gif");
    Write("c.src", PluginSource("C"));
    Write("c.png", "png");
    Fill();
    ExpectSuccess(Save());
    EXPECT_EQ(ErrorLevel(), 0) << "a save must leave warnings as silent as it found them";
    const Text L = catalogue.prefixLetter;
    EXPECT_EQ(FilesOnDisk(), (Rows{L + "00##c.png", L + "00##c.src", L + "01##web##b.gif", L + "01##web##b.src"}))
        << "a ## of the name's own is no prefix and is kept";

    {
        BoxAnswerer answerer;
        RestoreOriginalNames();
        Sleep(100);
        EXPECT_TRUE(answerer.Boxes().empty()) << "restoring shows no message when it succeeds";
    }
    EXPECT_EQ(FilesOnDisk(), (Rows{"c.png", "c.src", "web##b.gif", "web##b.src"}));
    EXPECT_EQ(RowsOf(fileList), (Rows{"c.src", "web##b.src"}));

    RestoreOriginalNames();  // nothing prefixed: only the list is rebuilt
    EXPECT_EQ(FilesOnDisk(), (Rows{"c.png", "c.src", "web##b.gif", "web##b.src"}));
}

TEST_F(OrderPersistenceTest, RestoringOntoAnExistingNameKeepsBothFilesAndSaysSo) {
    Write("K00##x.src", PluginSource("prefixed"));
    Write("x.src", PluginSource("plain"));
    Fill();
    BoxAnswerer answerer;
    RestoreOriginalNames();
    ASSERT_TRUE(answerer.WaitForBoxes(1)) << "a failed restore must not pass in silence";
    EXPECT_NE(answerer.Boxes()[0].text.find("K00##x.src"), Text::npos);
    EXPECT_EQ(Read("K00##x.src"), PluginSource("prefixed"));
    EXPECT_EQ(Read("x.src"), PluginSource("plain"));
}

TEST_F(OrderPersistenceTest, RestoringKeepsAMarkOfTheNamesOwnAfterThePrefix) {
    Write("K00##x##y.src", PluginSource("Prefixed"));
    Fill();
    RestoreOriginalNames();
    EXPECT_EQ(FilesOnDisk(), Rows{"x##y.src"});
}

TEST_F(OrderPersistenceTest, ASaveThatCouldNotMoveAFileSaysSoInBothModes) {
    for (int mode : {0, 1}) {
        catalogue.ntfsMode = mode;
        for (const Text& f : FilesOnDisk()) DeleteFileA(PathOf(f).c_str());
        Write("a.src", PluginSource("A"));
        Write("gone.src", PluginSource("Gone"));
        Fill();
        DeleteFileA(PathOf("gone.src").c_str());  // vanished after listing
        ExpectFailure(Save(), "gone.src");
        EXPECT_EQ(FilesOnDisk().size(), 1u) << "mode " << mode;
    }
}

TEST_F(OrderPersistenceTest, CopyModeMovesTheFilesOutAndBackAndRemovesTheTemporaryFolder) {
    catalogue.ntfsMode = 0;
    Write("a.src", PluginSource("A"));
    Write("a.gif", "gif");
    Write("b.src", PluginSource("B"));
    Write("c.src", PluginSource("C"));
    Write("notes.txt", "notes");
    Write("h.hid", PluginSource("H"));
    Fill();
    ArrangeRows({"c.src", "a.src", "b.src"});
    ExpectSuccess(Save());
    EXPECT_EQ(GetFileAttributesA(catalogue.tempFolder.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the temporary folder must be gone";
    EXPECT_EQ(FilesOnDisk(), (Rows{"a.gif", "a.src", "b.src", "c.src", "h.hid", "notes.txt"}))
        << "names, images and other files stay";
    EXPECT_EQ(Read("b.src"), PluginSource("B"));
    EXPECT_EQ(Read("notes.txt"), "notes");
    EXPECT_EQ(RowsOf(fileList), (Rows{"c.src", "a.src", "b.src"})) << "copy mode does not rebuild the rows";

    ArrangeRows({});
    ExpectSuccess(Save());
    EXPECT_EQ(GetFileAttributesA(catalogue.tempFolder.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Every file of the temporary folder comes back, and the plugin files of the inner "temp" folder
// that earlier versions used.
TEST_F(OrderPersistenceTest, CopyModeFirstBringsBackWhatAnInterruptedSaveLeftBehind) {
    catalogue.ntfsMode = 0;
    Write("a.src", PluginSource("A"));
    Fill();
    ASSERT_TRUE(CreateDirectoryA(catalogue.tempFolder.c_str(), nullptr));
    Write(Text(kParked) + "\\lost.src", PluginSource("Lost"));
    Write(Text(kParked) + "\\lost.gif", "gif");
    ASSERT_TRUE(CreateDirectoryA(PathOf("temp").c_str(), nullptr));
    Write("temp\\old.src", PluginSource("Old"));

    const BoxAnswerer::SeenBox box = Save();
    EXPECT_EQ(box.icon, kInformation);
    EXPECT_EQ(box.text.rfind("Re-sort successfully done!", 0), 0u) << box.text;
    EXPECT_NE(box.text.find("were moved back:\r\rlost.gif\rlost.src\rold.src"), Text::npos)
        << "the message should say what came back:\n" << box.text;
    EXPECT_EQ(Read("lost.src"), PluginSource("Lost"));
    EXPECT_EQ(Read("lost.gif"), "gif");
    EXPECT_FALSE(Exists("temp")) << "the emptied inner folder must be gone";
    EXPECT_FALSE(Exists(kParked));
    EXPECT_EQ(RowsOf(nameList), (Rows{"A", "Lost", "Old"})) << "the rows must show the plugins that came back";
}

// A folder is never moved; it keeps its place and may stand between the plugins, so the save
// must not claim the order was written. Nothing inside it is touched.
TEST_F(OrderPersistenceTest, CopyModeSaysTheOrderMayDifferWhenAFolderKeptItsPlace) {
    catalogue.ntfsMode = 0;
    Write("a.src", PluginSource("A"));
    ASSERT_TRUE(CreateDirectoryA(PathOf("sub").c_str(), nullptr));
    Write("sub\\inner.src", PluginSource("Inner"));
    Fill();
    const BoxAnswerer::SeenBox box = Save();
    EXPECT_EQ(box.text, "The new order could not be written completely.\r\r" + Say(phrases::kKeptInPlace) + "\r\rsub\\");
    EXPECT_EQ(box.icon, kExclamation);
    EXPECT_EQ(FilesOnDisk(), Rows{"a.src"});
    EXPECT_EQ(Read("sub\\inner.src"), PluginSource("Inner"));
    EXPECT_FALSE(Exists(kParked));
}

// A temporary folder that cannot be made (a full disk) ends nothing: the save says so in the
// interface language, moves nothing and leaves the arranged rows as they are.
TEST_F(OrderPersistenceTest, CopyModeWithoutTemporaryFolderMovesNothingAndSaysSo) {
    catalogue.ntfsMode = 0;
    catalogue.tempFolder = PathOf("missing\\parked");
    Write("a.src", PluginSource("A"));
    Write("b.src", PluginSource("B"));
    Fill();
    ArrangeRows({"b.src", "a.src"});
    for (const auto& [language, text] : {std::pair{Language::English, "Failed to create temporary folder!"},
                                         std::pair{Language::German, "Temporärer Ordner konnte nicht angelegt werden!"}}) {
        catalogue.language = language;
        const BoxAnswerer::SeenBox box = Save();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.icon, kExclamation);
    }
    EXPECT_EQ(FilesOnDisk(), (Rows{"a.src", "b.src"}));
    EXPECT_EQ(RowsOf(fileList), (Rows{"b.src", "a.src"})) << "the arranged order must stay in the list";
}

TEST_F(OrderPersistenceTest, CopyModeNeverMovesALeftoverOverAnExistingPlugin) {
    catalogue.ntfsMode = 0;
    Write("a.src", PluginSource("current"));
    Fill();
    ASSERT_TRUE(CreateDirectoryA(catalogue.tempFolder.c_str(), nullptr));
    Write(Text(kParked) + "\\a.src", PluginSource("older copy"));

    ExpectFailure(Save(), "a.src");
    EXPECT_EQ(Read("a.src"), PluginSource("current"));
    EXPECT_EQ(Read(Text(kParked) + "\\a.src"), PluginSource("older copy"));
}

// Locks temp\name for holdMs as soon as the save has moved it there.
class LockInTemporaryFolder {
public:
    LockInTemporaryFolder(const Text& path, int holdMs)
        : thread_([this, path, holdMs] {
              for (int waited = 0; waited < 5000 && !stop_; ++waited) {
                  FileLock lock(path);
                  if (lock.Held()) {
                      locked_ = true;
                      Sleep(static_cast<DWORD>(holdMs));
                      return;
                  }
                  Sleep(1);
              }
          }) {}
    ~LockInTemporaryFolder() {
        stop_ = true;
        thread_.join();
    }
    bool Locked() const { return locked_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> locked_{false};
    std::thread thread_;
};

TEST_F(OrderPersistenceTest, CopyModeRetriesAFileThatIsBrieflyInUse) {
    catalogue.ntfsMode = 0;
    for (int i = 0; i < 25; ++i) Write("p" + std::to_string(10 + i) + ".src", PluginSource("P"));
    Fill();
    LockInTemporaryFolder lock(catalogue.tempFolder + "\\p34.src", 250);
    ExpectSuccess(Save());
    ASSERT_TRUE(lock.Locked()) << "the test could not catch the file in the temporary folder";
    EXPECT_TRUE(Exists("p34.src")) << "the plugin was left in the temporary folder";
    EXPECT_EQ(GetFileAttributesA(catalogue.tempFolder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(OrderPersistenceTest, CopyModeReportsAFileStuckInTheTemporaryFolderAndTheNextSaveRecoversIt) {
    catalogue.ntfsMode = 0;
    for (int i = 0; i < 25; ++i) Write("p" + std::to_string(10 + i) + ".src", PluginSource("P"));
    Fill();
    {
        LockInTemporaryFolder lock(catalogue.tempFolder + "\\p34.src", 1500);
        const BoxAnswerer::SeenBox box = Save();
        ASSERT_TRUE(lock.Locked()) << "the test could not catch the file in the temporary folder";
        ExpectFailure(box, "p34.src");
        EXPECT_NE(box.text.find(catalogue.tempFolder), Text::npos) << "the message should say where it is";
        EXPECT_EQ(ListCount(fileList), 24) << "the rows must show what the folder really holds";
    }
    EXPECT_EQ(FilesOnDisk(kParked), Rows{"p34.src"});

    const BoxAnswerer::SeenBox box = Save();
    EXPECT_NE(box.text.find("p34.src"), Text::npos);
    EXPECT_TRUE(Exists("p34.src"));
    EXPECT_EQ(GetFileAttributesA(catalogue.tempFolder.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ListCount(fileList), 25);
}

// At start-up, in either mode: what an interrupted save left behind comes back, never over a
// plugin file of the same name, and one message names both.
TEST_F(OrderPersistenceTest, StartUpRecoversTheTemporaryFolderWithoutOverwriting) {
    for (const int mode : {0, 1}) {
        catalogue.ntfsMode = mode;
        ASSERT_TRUE(CreateDirectoryA(catalogue.tempFolder.c_str(), nullptr));
        Write(Text(kParked) + "\\lost.src", PluginSource("Lost"));
        Write(Text(kParked) + "\\twin.src", PluginSource("Older twin"));
        Write("twin.src", PluginSource("Twin"));
        ASSERT_TRUE(CreateDirectoryA(PathOf("temp").c_str(), nullptr));
        Write("temp\\notes.txt", "not a plugin");  // the inner folder may be the user's
        BoxAnswerer answerer;
        RecoverFromTemporaryFolder();
        ASSERT_TRUE(answerer.WaitForBoxes(1)) << "mode " << mode << ": the recovery said nothing";
        const BoxAnswerer::SeenBox box = answerer.Boxes().front();
        EXPECT_NE(box.text.find("were moved back:\r\rlost.src"), Text::npos) << box.text;
        EXPECT_NE(box.text.find("still in the temporary folder " + catalogue.tempFolder + ":\r\rtwin.src"),
                  Text::npos) << box.text;
        EXPECT_EQ(Read("lost.src"), PluginSource("Lost"));
        EXPECT_EQ(Read("twin.src"), PluginSource("Twin")) << "an existing plugin must never be overwritten";
        EXPECT_EQ(FilesOnDisk(kParked), Rows{"twin.src"});
        EXPECT_EQ(FilesOnDisk("temp"), Rows{"notes.txt"}) << "only plugin files come out of the inner folder";

        ASSERT_TRUE(DeleteFileA(PathOf(Text(kParked) + "\\twin.src").c_str()));
        ASSERT_TRUE(DeleteFileA(PathOf("lost.src").c_str()));
        ASSERT_TRUE(DeleteFileA(PathOf("twin.src").c_str()));
        RecoverFromTemporaryFolder();
        Sleep(200);
        EXPECT_EQ(answerer.Boxes().size(), 1u) << "an empty temporary folder is no news";
        ASSERT_TRUE(RemoveDirectoryA(catalogue.tempFolder.c_str()));
        ASSERT_TRUE(DeleteFileA(PathOf("temp\\notes.txt").c_str()));
        ASSERT_TRUE(RemoveDirectoryA(PathOf("temp").c_str()));
    }
}

TEST_F(OrderPersistenceTest, MessagesFollowTheInterfaceLanguage) {
    catalogue.language = Language::German;
    const BoxAnswerer::SeenBox box = Save();
    EXPECT_EQ(box.caption, "Meldung:");
    EXPECT_EQ(box.text, "Sortierung erfolgreich abgeschlossen!");
}

TEST(FatalErrorTexts, CodesGiveEnglishTextsAndZeroPaddedCaptions) {
    EXPECT_EQ(FatalErrorText(1), "Can't find ''searchplugins'' folder!");
    EXPECT_EQ(FatalErrorCaption(2), "Fatal Error (#0002)");
    EXPECT_EQ(FatalErrorCaption(12345), "Fatal Error (#12345)");
}

}  // namespace
}  // namespace catalogue_test
