// A consistency check over odd files, not a test of the text rules: every catalogue operation
// is run over the corpus of odd and hostile plugin files, plus what git cannot hold (folders
// named like plugins, read-only files, .src/.hid twins, a plugin folder whose path holds ".src").
// What it proves: no operation ends the program or loses a file, the two lists keep step with
// the files, and every operation treats every file the way the catalogue's rules say, byte for
// byte. Its expected folder is computed with those same rules (normalisation, display names,
// unpinning, update-line steps, line ends, prefixed names), so a fault inside a rule moves the
// expectation along with the result and passes here; the rules are proved by their own
// table-driven unit tests.
#include "tests/catalogue/catalogue_fixture.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "catalogue/hide_restore_delete.h"
#include "catalogue/line_ends.h"
#include "catalogue/messages.h"
#include "catalogue/order_persistence.h"
#include "catalogue/prefixed_names.h"
#include "catalogue/text_edits.h"
#include "catalogue/update_lines.h"
#include "catalogue/update_toggle.h"
#include "tests/support/box_answerer.h"
#include "tests/support/error_capture.h"

namespace catalogue_test {
namespace {

// One file or folder below the test folder, keyed by its path relative to it.
struct Entry {
    Text bytes;
    bool readOnly = false;
    bool folder = false;
};
using Tree = std::map<Text, Entry>;

struct Row {
    Text file;
    Text name;
};
using Rows = std::vector<Row>;

// The corpus beside this source file; the build names sources by absolute path, and Wine maps
// the Unix root to drive Z:.
Text CorpusFolder() {
    Text source = __FILE__;
    std::replace(source.begin(), source.end(), '/', '\\');
    if (!source.empty() && source[0] == '\\') source = "Z:" + source;
    return source.substr(0, source.rfind('\\')) + "\\..\\data\\plugins";
}

Text Escape(const Text& text) {
    Text out;
    for (const unsigned char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 32 || c >= 127) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

Text Describe(Rows rows, bool sorted) {
    if (sorted) std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.file < b.file; });
    Text out;
    for (const Row& row : rows) out += row.file + " -> [" + Escape(row.name) + "]\n";
    return out;
}

Text ReadBytes(const Text& path) {
    std::ifstream in(path, std::ios::binary);
    return Text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SnapshotInto(Tree& tree, const Text& absolute, const Text& relative) {
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA((absolute + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const Text name = data.cFileName;
        if (name == "." || name == "..") continue;
        Entry entry;
        entry.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (entry.folder) {
            SnapshotInto(tree, absolute + "\\" + name, relative + name + "\\");
        } else {
            entry.bytes = ReadBytes(absolute + "\\" + name);
        }
        tree[relative + name] = entry;
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

// The text that reading a file through the text buffer gives: a CR becomes CR LF (an LF right
// after it goes), NUL bytes are dropped, CR LF is appended, and the text is cut to fit the
// buffer with its closing NUL.
Text TextAsRead(const Text& bytes) {
    Text text;
    bool afterCr = false;
    for (const char c : bytes) {
        if (c == '\n' && afterCr) {
            afterCr = false;
            continue;
        }
        afterCr = c == '\r';
        if (c == '\r') {
            text += "\r\n";
        } else if (c != '\0') {
            text += c;
        }
    }
    text += "\r\n";
    if (text.size() > kTextBufferSize - 1) text.resize(kTextBufferSize - 1);
    return text;
}

// Whether a file may be rewritten: its bytes fit the buffer with the closing NUL and hold none.
bool FitsWhole(const Entry& entry) {
    return MayRewriteFromRawRead(entry.bytes);
}

class OddFilesConsistencyTest : public PluginFolderTest {
protected:
    void SetUp() override {
        PluginFolderTest::SetUp();
        errors = std::make_unique<ErrorCapture>(0);  // fatal errors are recorded, not ending
        answerer = std::make_unique<BoxAnswerer>(IDYES);  // Yes where asked, else OK
    }

    void TearDown() override {
        answerer.reset();
        errors.reset();
        PluginFolderTest::TearDown();
    }

    // Copies the corpus into <test folder>\<pluginDir> and adds what git cannot hold.
    void Prepare(const Text& pluginDir = "searchplugins") {
        dir = pluginDir + "\\";
        const Text plugins = folder + "\\" + pluginDir;
        for (std::size_t cut = pluginDir.find('\\'); cut != Text::npos; cut = pluginDir.find('\\', cut + 1)) {
            CreateDirectoryA((folder + "\\" + pluginDir.substr(0, cut)).c_str(), nullptr);
        }
        ASSERT_TRUE(CreateDirectoryA(plugins.c_str(), nullptr)) << plugins;

        const Text corpus = CorpusFolder();
        WIN32_FIND_DATAA data{};
        HANDLE search = FindFirstFileA((corpus + "\\*").c_str(), &data);
        ASSERT_NE(search, INVALID_HANDLE_VALUE) << "corpus not found at " << corpus;
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const Text name = data.cFileName;
            ASSERT_TRUE(CopyFileA((corpus + "\\" + name).c_str(), (plugins + "\\" + name).c_str(), TRUE)) << name;
        } while (FindNextFileA(search, &data));
        FindClose(search);

        ASSERT_TRUE(CreateDirectoryA((plugins + "\\x.src").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA((plugins + "\\y.HID").c_str(), nullptr));
        Write(pluginDir + "\\x.src\\inner.src", PluginSource("Google"));  // never listed, never rewritten
        Write(pluginDir + "\\google.hid", PluginSource("Google"));        // hidden twin of google.src
        Write(pluginDir + "\\hidden.src", PluginSource("Hidden Twin"));   // visible twin of hidden.hid
        // Pinned names in files that must never be written back: a NUL byte, too long to fit.
        Write(pluginDir + "\\google-nul.src", PluginSource("Google") + Text(1, '\0') + "# after the NUL\r\n");
        Write(pluginDir + "\\yahoo-long.src", PluginSource("Yahoo") + Text(33000, '#') + "\r\n");
        for (const char* name : {"google.src", "lf-only.src", "update-spaced.src", "mixed-lf-first.src",
                                 "big-40000.src", "nul-in-body.src", "img-png.src", "img-png.png",
                                 "yahoo.png", "CAPS.GIF", "hidden.hid", "orphan.png"}) {
            SetReadOnly(pluginDir + "\\" + name);
        }
        catalogue.pluginFolder = plugins;
        catalogue.tempFolder = plugins + ".quorrel-temp";
        expected = Snapshot();
    }

    Tree Snapshot() const {
        Tree tree;
        SnapshotInto(tree, folder, "");
        return tree;
    }

    // The entry of a file or folder in the plugin folder, found as the file system finds it.
    Tree::iterator Find(const Text& name) {
        const Text key = LowerCase(dir + name);
        return std::find_if(expected.begin(), expected.end(),
                            [&](const auto& e) { return LowerCase(e.first) == key; });
    }

    // The expected entry of the file of a row; a row for a file the model does not know fails.
    Tree::iterator ModelOf(const Text& file) {
        const auto it = Find(file);
        if (it == expected.end()) ADD_FAILURE() << file << " has a row but is no plugin file of the folder";
        return it;
    }

    // A rename as the file system does it: never over an existing name; content and
    // attributes go along.
    bool ModelRename(const Text& from, const Text& to) {
        const auto it = Find(from);
        if (it == expected.end() || Find(to) != expected.end()) return false;
        const Entry moved = it->second;
        expected.erase(it);
        expected[dir + to] = moved;
        return true;
    }

    // A rewrite writes exactly the new bytes, nothing appended.
    void ModelRewrite(Entry& entry, const Text& bytes) {
        entry.bytes = bytes;
        entry.readOnly = false;
    }

    // Files (not folders) directly in the plugin folder with the extension (".src", ".hid").
    std::vector<Text> PluginFiles(const Text& extension) const {
        std::vector<Text> names;
        for (const auto& [key, entry] : expected) {
            if (entry.folder || key.compare(0, dir.size(), dir) != 0) continue;
            const Text name = key.substr(dir.size());
            if (name.find('\\') == Text::npos && LowerCase(RightOf(name, 4)) == extension) names.push_back(name);
        }
        return names;
    }

    // The rows a listing gives, unpinning Google and Yahoo in the files that may be rewritten.
    Rows ModelListing(const Text& extension) {
        Rows rows;
        for (const Text& file : PluginFiles(extension)) {
            Entry& entry = Find(file)->second;
            const DisplayName display = ExtractDisplayName(NormalizePluginText(TextAsRead(entry.bytes)));
            Text name = display.name;
            if (IsPinnedName(name) && FitsWhole(entry)) {
                const UnpinnedPlugin unpinned =
                    UnpinPluginText(name, display.quote, NormalizePluginText(entry.bytes));
                ModelRewrite(entry, unpinned.text);
                name = unpinned.name;
            }
            if (GetsPluginRow(name)) rows.push_back({file, name});
        }
        return rows;
    }

    // The first image a save takes along: an existing file or folder, empty ones too.
    Text ModelSaveImage(const Text& file) {
        for (const Text& extension : SaveImageExtensions()) {
            if (Find(BaseNameOf(file) + extension) != expected.end()) return BaseNameOf(file) + extension;
        }
        return Text();
    }

    void ModelDelete(const Text& file) {
        const auto plugin = Find(file);
        if (plugin == expected.end()) return;
        expected.erase(plugin);
        // Images lie beside the plugin, under its own base name.
        for (const Text& extension : DeleteImageExtensions()) {
            const auto image = Find(BaseNameOf(file) + extension);
            if (image != expected.end() && !image->second.folder && !image->second.bytes.empty()) {
                expected.erase(image);
                return;
            }
        }
    }

    Rows ListedRows() const {
        Rows rows;
        EXPECT_EQ(ListCount(nameList), ListCount(fileList)) << "the two lists lost step";
        for (int i = 0; i < ListCount(fileList); ++i) {
            rows.push_back({GetListItemText(fileList, i), GetListItemText(nameList, i)});
        }
        return rows;
    }

    void ExpectRowsInOrder(const Text& context) const {
        EXPECT_EQ(Describe(ListedRows(), false), Describe(listed, false)) << "rows after " << context;
    }

    // After a command that rebuilt the list: its rows are what listing the folder gives.
    void ExpectRefilledRows(const Text& context) {
        const Rows want = ModelListing(".src");
        listed = ListedRows();
        EXPECT_EQ(Describe(listed, true), Describe(want, true)) << "rows after " << context;
    }

    // Lists the plugin folder as the program does and checks the rows and the files.
    void ListAndCheck(const Text& pattern, const Text& context) {
        const Rows want = ModelListing(LowerCase(pattern.substr(1)));
        FillPluginList(nameList, fileList, -1, pattern);
        ExpectNoEnding(context);
        listed = ListedRows();
        EXPECT_EQ(Describe(listed, true), Describe(want, true)) << "rows after " << context;
        ExpectDisk(context);
    }

    void ExpectNoEnding(const Text& context) {
        Text captions;
        for (const auto& box : errors->boxes) captions += "\n  " + box.caption;
        EXPECT_EQ(errors->ends, endsSeen) << context << " ended the program; error boxes:" << captions;
        endsSeen = errors->ends;
    }

    // Compares the disk with the expected folder, naming every file that differs.
    void ExpectDisk(const Text& context) const {
        const Tree actual = Snapshot();
        for (const auto& [path, want] : expected) {
            const auto it = actual.find(path);
            if (it == actual.end()) {
                ADD_FAILURE() << context << ": " << path << " is missing";
                continue;
            }
            const Entry& got = it->second;
            EXPECT_EQ(got.folder, want.folder) << context << ": " << path << " changed between file and folder";
            EXPECT_EQ(got.readOnly, want.readOnly) << context << ": read-only bit of " << path;
            if (got.bytes == want.bytes) continue;
            const std::size_t at = static_cast<std::size_t>(
                std::mismatch(got.bytes.begin(), got.bytes.begin() + std::min(got.bytes.size(), want.bytes.size()),
                              want.bytes.begin()).first - got.bytes.begin());
            const std::size_t from = at > 20 ? at - 20 : 0;
            ADD_FAILURE() << context << ": " << path << " has " << got.bytes.size() << " bytes, expected "
                          << want.bytes.size() << "; first difference at byte " << at << ":\n  got      \""
                          << Escape(got.bytes.substr(from, 60)) << "\"\n  expected \""
                          << Escape(want.bytes.substr(from, 60)) << "\"";
        }
        for (const auto& [path, entry] : actual) {
            if (!expected.count(path)) ADD_FAILURE() << context << ": unexpected " << path;
        }
    }

    // The last row is moved to the top and the first row to the bottom, through the cases
    // that must do nothing (row 0 up, last row down).
    void RotateRowsByMoving() {
        const int n = static_cast<int>(listed.size());
        ASSERT_GT(n, 2);
        ListSelect(nameList, 0);
        MovePluginUp();
        ListSelect(nameList, n - 1);
        MovePluginDown();
        ExpectRowsInOrder("moving row 0 up and the last row down");
        for (int i = n - 1; i > 0; --i) MovePluginUp();
        std::rotate(listed.begin(), listed.end() - 1, listed.end());
        ExpectRowsInOrder("moving the last row to the top");
        ListSelect(nameList, 1);
        for (int i = 1; i < n - 1; ++i) MovePluginDown();
        std::rotate(listed.begin() + 1, listed.begin() + 2, listed.end());
        ExpectRowsInOrder("moving the old first row to the bottom");
        EXPECT_EQ(CurrentRow(), n - 1) << "the moved row stays selected";
    }

    std::size_t BoxCount() const { return answerer->Boxes().size(); }
    Text LastBoxText() const { return answerer->Boxes().empty() ? Text() : answerer->Boxes().back().text; }

    Text dir;         // the plugin folder relative to the test folder, with "\"
    Tree expected;    // what the test folder must hold
    Rows listed;      // what the two lists must hold, row by row
    std::unique_ptr<ErrorCapture> errors;
    std::unique_ptr<BoxAnswerer> answerer;
    int endsSeen = 0;
};

TEST_F(OddFilesConsistencyTest, ListingRewritesOnlyPinnedPluginsThatFitAndCountsOnlyFiles) {
    Prepare();
    const std::size_t sources = PluginFiles(".src").size();
    const std::size_t hidden = PluginFiles(".hid").size();
    ListAndCheck("*.SRC", "listing *.SRC");
    EXPECT_EQ(CountPluginFiles("*.SRC"), static_cast<int>(sources)) << "folders must not be counted";
    EXPECT_EQ(CountPluginFiles("*.HID"), static_cast<int>(hidden)) << "folders must not be counted";
    ListAndCheck("*.HID", "listing *.HID");
    ListAndCheck("*.SRC", "listing *.SRC a second time");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(Text(current), catalogue.startFolder) << "listing must return to the start folder";
}

TEST_F(OddFilesConsistencyTest, MovingRowsKeepsEachNameWithItsFileAndTouchesNoFile) {
    Prepare();
    ListAndCheck("*.SRC", "listing");
    RotateRowsByMoving();
    ExpectNoEnding("moving rows");
    ExpectDisk("moving rows");
}

TEST_F(OddFilesConsistencyTest, RenameModeSaveAndRestoreLoseNoFileAndBringTheNamesBack) {
    Prepare();
    ListAndCheck("*.SRC", "listing");
    RotateRowsByMoving();
    const Tree beforeSave = expected;
    const Rows order = listed;
    const Text oldLetter = catalogue.prefixLetter;

    catalogue.ntfsMode = 1;
    SavePluginOrder();
    ExpectNoEnding("rename-mode save");
    EXPECT_EQ(LastBoxText(), "Re-sort successfully done!") << "every rename of the save should go through";
    const Text letter = catalogue.prefixLetter;
    ASSERT_EQ(letter.size(), 1u);
    EXPECT_TRUE(letter[0] >= 'A' && letter[0] <= 'Z' && letter != oldLetter) << letter;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Text& file = order[i].file;
        const Text image = ModelSaveImage(file);
        const PrefixedNames names = PrefixedNamesFor(letter, RowNumberText(static_cast<std::int64_t>(i),
                                                            static_cast<std::int64_t>(order.size())),
                                                   file, image);
        if (ModelRename(file, names.plugin) && !image.empty()) ModelRename(image, names.image);
    }
    ExpectRefilledRows("rename-mode save");
    ExpectDisk("rename-mode save");
    std::vector<Text> savedOrder, listOrder;
    for (const Row& row : listed) savedOrder.push_back(UnprefixedName(row.file));
    for (const Row& row : order) listOrder.push_back(HasPrefix(row.file) ? UnprefixedName(row.file) : row.file);
    EXPECT_EQ(savedOrder, listOrder) << "the saved names must sort in list order";

    const std::size_t boxes = BoxCount();
    for (const Row& row : listed) {
        const Text image = ModelSaveImage(row.file);
        if (HasPrefix(row.file) && ModelRename(row.file, UnprefixedName(row.file)) && !image.empty()) {
            ModelRename(image, UnprefixedName(image));
        }
    }
    RestoreOriginalNames();
    ExpectNoEnding("restoring the original names");
    EXPECT_EQ(BoxCount(), boxes) << "a restore that went through shows no message: " << LastBoxText();
    ExpectRefilledRows("restoring the original names");
    ExpectDisk("restoring the original names");

    // Whatever the model says, no content may be lost, and every name without "##" comes back
    // (an image's extension may come back spelled as the lookup spells it: CAPS.GIF, CAPS.gif).
    const Tree after = Snapshot();
    std::multiset<Text> before, now;
    std::set<Text> names;
    for (const auto& [path, entry] : beforeSave) if (!entry.folder) before.insert(entry.bytes);
    for (const auto& [path, entry] : after) {
        if (!entry.folder) now.insert(entry.bytes);
        names.insert(LowerCase(path));
    }
    EXPECT_TRUE(before == now) << "file contents were lost or duplicated by save and restore";
    for (const auto& [path, entry] : beforeSave) {
        if (HasPrefix(path)) continue;
        EXPECT_TRUE(names.count(LowerCase(path))) << path << " did not come back";
    }
}

TEST_F(OddFilesConsistencyTest, CopyModeSaveLeavesEveryFileAndNameAsItWas) {
    Prepare();
    ListAndCheck("*.SRC", "listing");
    RotateRowsByMoving();
    catalogue.ntfsMode = 0;
    SavePluginOrder();
    ExpectNoEnding("copy-mode save");
    // Every file moves; the two folders keep their place, so the order is not claimed as written.
    EXPECT_EQ(LastBoxText(), "The new order could not be written completely.\r\r" + Say(phrases::kKeptInPlace) +
                                 "\r\rx.src\\\ry.HID\\")
        << "every move of the save should go through";
    ExpectDisk("copy-mode save");  // the temporary folder is gone as well
    ExpectRowsInOrder("copy-mode save");
}

TEST_F(OddFilesConsistencyTest, UpdateTogglesRewriteEveryRowThatFitsAndNothingElse) {
    Prepare();
    ListAndCheck("*.SRC", "listing");
    const struct {
        void (*command)();
        Text (*rule)(const Text&);
        const char* context;
    } steps[] = {{DisableUpdatesOfAllPlugins, TextWithUpdatesDisabled, "disabling updates of all plugins"},
                 {DisableUpdatesOfAllPlugins, TextWithUpdatesDisabled, "disabling updates a second time"},
                 {EnableUpdatesOfAllPlugins, TextWithUpdatesEnabled, "enabling updates of all plugins"},
                 {EnableUpdatesOfAllPlugins, TextWithUpdatesEnabled, "enabling updates a second time"}};
    for (const auto& step : steps) {
        for (const Row& row : listed) {
            const auto it = ModelOf(row.file);
            if (it == expected.end()) continue;
            Entry& entry = it->second;
            if (FitsWhole(entry)) ModelRewrite(entry, step.rule(entry.bytes));
        }
        const std::size_t boxes = BoxCount();
        step.command();
        ExpectNoEnding(step.context);
        EXPECT_EQ(BoxCount(), boxes + 1) << step.context << " shows one message";
        ExpectDisk(step.context);
        ExpectRowsInOrder(step.context);
    }
}

TEST_F(OddFilesConsistencyTest, ConvertingAllRewritesOnlyUnixTextThatFitsWhole) {
    Prepare();
    ListAndCheck("*.SRC", "listing");
    for (const char* context : {"converting all plugins", "converting all plugins a second time"}) {
        for (const Row& row : listed) {
            const auto it = ModelOf(row.file);
            if (it == expected.end()) continue;
            Entry& entry = it->second;
            entry.readOnly = false;  // cleared before the file is read, whatever follows
            const Text raw = entry.bytes.substr(0, entry.bytes.find('\0'));
            if (MayRewriteFromRawRead(entry.bytes) && NeedsDosLineEnds(raw)) ModelRewrite(entry, ToDosLineEnds(raw));
        }
        const std::size_t boxes = BoxCount();
        ConvertAllPlugins();
        ExpectNoEnding(context);
        EXPECT_EQ(BoxCount(), boxes + 1) << context << " shows one message";
        ExpectDisk(context);
        ExpectRowsInOrder(context);
    }
}

TEST_F(OddFilesConsistencyTest, RenamingEveryRowChangesOnlyItsNameAttribute) {
    Prepare();
    ListAndCheck("*.SRC", "listing");
    for (std::size_t r = 0; r < listed.size(); ++r) {
        for (const Text& typed : {"Renamed " + std::to_string(r), Text(r % 2 ? "yahoo" : "Google"),
                                  Text("Say \"Hi\" to 'Bob'")}) {
            Row& row = listed[r];
            const Text shownBefore = row.name;
            const Text context = "renaming " + row.file + " to " + typed;
            const auto it = ModelOf(row.file);
            if (it == expected.end()) continue;
            Entry& entry = it->second;
            const std::optional<PluginRename> rename = RenamePluginText(entry.bytes, row.name, typed);
            const bool refused = rename && (!FitsWhole(entry) || !rename->attributeFound);
            if (rename && !refused) {
                ModelRewrite(entry, rename->text);
                row.name = rename->newName;
            }
            ListSelect(nameList, static_cast<int>(r));
            Text initial;
            const std::size_t boxes = BoxCount();
            RenamePlugin([&](const Text&, const Text&, const Text& shown) {
                initial = shown;
                return typed;
            });
            ExpectNoEnding(context);
            EXPECT_EQ(Escape(initial), Escape(TrimText(shownBefore))) << context << ": the dialog offers the trimmed name";
            EXPECT_EQ(BoxCount(), boxes + (refused ? 1 : 0)) << context << ": a refusal, and only a refusal, says so";
            EXPECT_EQ(Escape(GetListItemText(nameList, static_cast<int>(r))), Escape(row.name)) << context;
            EXPECT_TRUE(ReadBytes(folder + "\\" + it->first) == entry.bytes)
                << context << ": the file differs from what the rule gives";
        }
    }
    ExpectDisk("renaming every row");
    ExpectRowsInOrder("renaming every row");
}

TEST_F(OddFilesConsistencyTest, HidingAndRestoringEveryRowChangeOnlyExtensions) {
    Prepare();
    ListAndCheck("*.SRC", "listing");
    for (std::size_t i = 0; i < listed.size();) {
        const Text file = listed[i].file;
        const bool modelHidden = ModelRename(file, HiddenNameOf(file));
        ListSelect(nameList, static_cast<int>(i));
        const bool hidden = HidePlugin();
        ExpectNoEnding("hiding " + file);
        EXPECT_EQ(hidden, modelHidden) << "hiding " << file;
        if (hidden) {
            listed.erase(listed.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
        ExpectRowsInOrder("hiding " + file);
    }
    ExpectDisk("hiding every row");

    ListAndCheck("*.HID", "listing the hidden plugins");
    for (const Row& row : listed) {
        const bool modelRestored = ModelRename(row.file, RestoredNameOf(row.file));
        EXPECT_EQ(RestoreHiddenPlugin(row.file), modelRestored) << "restoring " << row.file;
        ExpectNoEnding("restoring " + row.file);
    }
    ExpectDisk("restoring every hidden plugin");
    ListAndCheck("*.SRC", "listing after the restore");
}

class OddFilesConsistencyDeleteTest : public OddFilesConsistencyTest {
protected:
    void DeleteEveryRow() {
        ListAndCheck("*.SRC", "listing");
        while (!listed.empty()) {
            const Row row = listed.front();
            ModelDelete(row.file);
            ListSelect(nameList, 0);
            const std::size_t boxes = BoxCount();
            DeletePlugin();
            ExpectNoEnding("deleting " + row.file);
            ASSERT_EQ(BoxCount(), boxes + 1) << "deleting " << row.file << " asks, and nothing fails";
            EXPECT_EQ(Escape(LastBoxText()), Escape("Do yo really want to delete this plugin?\r\r" + row.name));
            listed.erase(listed.begin());
            ExpectRowsInOrder("deleting " + row.file);
            if (::testing::Test::HasFailure()) break;  // the rows are out of step: stop here
        }
        ExpectDisk("deleting every row");
    }
};

TEST_F(OddFilesConsistencyDeleteTest, DeletingEveryRowTakesOnlyThePluginAndItsFirstNonEmptyImage) {
    Prepare();
    DeleteEveryRow();
}

TEST_F(OddFilesConsistencyDeleteTest, DeletingUnderAFolderPathHoldingSrcTakesTheImagesBesideThePlugins) {
    const Text imagesDir = CorpusFolder();
    ASSERT_TRUE(CopyFileA((imagesDir + "\\orphan.png").c_str(), PathOf("case.png").c_str(), TRUE));
    ASSERT_TRUE(CopyFileA((imagesDir + "\\google.gif").c_str(), PathOf("case.gif").c_str(), TRUE));
    Prepare("case.src\\searchplugins");
    ASSERT_TRUE(expected.count("case.png") && expected.count("case.gif"));
    DeleteEveryRow();
}

}  // namespace
}  // namespace catalogue_test
