#include "catalogue/order_persistence.h"

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "catalogue/catalogue_state.h"
#include "catalogue/messages.h"
#include "catalogue/plugin_file.h"
#include "catalogue/plugin_list.h"
#include "catalogue/prefixed_names.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/interface_thread.h"
#include "toolkit/list_box.h"
#include "toolkit/random.h"

namespace {

constexpr int kErrorAlreadyExists = 183;
constexpr int kPauseAfterMoveBackMs = 3;
// A file that did not move (held open for a moment by a virus scanner or the browser) is tried
// again this many times, with this pause before each try.
constexpr int kMoveRetries = 4;
constexpr int kRetryPauseMs = 100;

const Text kPluginPattern = "*.SRC";

// What a save or a restore could not do, for the message at its end.
struct Outcome {
    std::vector<Text> notMoved;        // plugin files that kept their place or name
    std::vector<Text> keptInPlace;     // copy mode: other entries that could not be moved out
    std::vector<Text> leftInTemporary; // copy mode: files still in the temporary folder
    std::vector<Text> recovered;       // copy mode: files an earlier save had left behind
    std::vector<Text> leftInEarlierTemporary; // copy mode: plugins still in the inner "temp"
    std::vector<Text> gone;            // files of rows that are no longer in the plugin folder
    bool noTemporaryFolder = false;    // copy mode: nothing was moved

    bool Complete() const {
        return !noTemporaryFolder && notMoved.empty() && keptInPlace.empty() && leftInTemporary.empty();
    }
    bool Clean() const { return Complete() && gone.empty() && leftInEarlierTemporary.empty(); }
};

std::vector<Text> FileListNames() {
    return ListItemTexts(catalogue.fileList);
}

// The names in the plugin folder, listed once per command and kept up to date with every
// rename, so that looking for a plugin or its image costs no file-system lookup: on a file system
// that is searched without case, every lookup of a missing name can scan the whole folder.
// Names compare without case, as the file system compares them; folders count as names too,
// as they do for a lookup of the name itself.
class FolderNames {
public:
    static FolderNames OfPluginFolder() {
        FolderNames folder;
        const FolderListing listing = ListFolder(catalogue.pluginFolder, "*");
        for (const Text& name : listing.files) folder.files_.insert(Key(name));
        for (const Text& name : listing.folders) folder.folders_.insert(Key(name));
        return folder;
    }

    bool Holds(const Text& name) const { return HoldsFile(name) || folders_.count(Key(name)) > 0; }
    bool HoldsFile(const Text& name) const { return files_.count(Key(name)) > 0; }

    void Renamed(const Text& from, const Text& to) {
        std::unordered_set<Text>& names = HoldsFile(from) ? files_ : folders_;
        names.erase(Key(from));
        names.insert(Key(to));
    }

private:
    static Text Key(const Text& name) { return LowerCase(name); }

    std::unordered_set<Text> files_;
    std::unordered_set<Text> folders_;
};

// The first image beside the plugin file, ".gif", ".png", ".jpg", ".ico" in this order (an
// empty file counts); empty when there is none.
Text SaveImageOf(const Text& fileName, const FolderNames& folder) {
    const Text base = BaseNameOf(fileName);
    for (const Text& extension : SaveImageExtensions()) {
        if (folder.Holds(base + extension)) return base + extension;
    }
    return Text();
}

// A new name must keep the old one's extension and hold more than it ("K00##.src" would come back
// as ".src"): a file renamed otherwise would drop out of the browser's and this program's lists.
bool KeepsExtension(const Text& name, const Text& newName) {
    return newName.size() > 4 && LowerCase(RightOf(newName, 4)) == LowerCase(RightOf(name, 4));
}

// Renames a file in the plugin folder and records the new name. Returns whether it moved.
bool RenameInPluginFolder(const Text& name, const Text& newName, FolderNames& folder) {
    if (!KeepsExtension(name, newName) || RenamePath(PluginPath(name), PluginPath(newName)) != 0) {
        return false;
    }
    folder.Renamed(name, newName);
    return true;
}

// Renames a plugin file and then its image (if any) in the plugin folder. The image follows
// only when the plugin file moved, so that the two keep one base name. A plugin file that the
// command's listing no longer holds is gone since the list was filled and is not renamed: a
// folder that took its name would be renamed instead.
void RenamePluginAndImage(const Text& fileName, const Text& newName, const Text& image,
                          const Text& newImage, FolderNames& folder, Outcome& outcome) {
    if (!folder.HoldsFile(fileName)) {
        outcome.gone.push_back(fileName);
        return;
    }
    if (!RenameInPluginFolder(fileName, newName, folder)) {
        outcome.notMoved.push_back(fileName);
        return;
    }
    if (!image.empty() && !RenameInPluginFolder(image, newImage, folder)) {
        outcome.notMoved.push_back(image);
    }
}

// Earlier versions parked the plugin files of a copy-mode save in a "temp" folder inside the
// plugin folder; plugin files left there still come back.
Text EarlierTemporaryFolder() {
    return PluginPath("temp");
}

// Moves the files of a parking folder that match the pattern back into the plugin folder, never
// over an entry of the same name, and removes the folder when that empties it. Returns the files
// that came back; left gets those still there.
std::vector<Text> BringBack(const Text& folder, const Text& pattern, std::vector<Text>& left) {
    std::vector<Text> back;
    const std::vector<Text> parked = ListFolder(folder, pattern).files;
    if (parked.empty()) return back;
    for (const Text& name : parked) {
        if (RenamePath(folder + "\\" + name, PluginPath(name)) == 0) back.push_back(name);
    }
    RemoveFolder(folder);
    TakeIoStatus();
    left = ListFolder(folder, pattern).files;
    return back;
}

// Whatever an interrupted save left behind: every file of the temporary folder, and the plugin
// files of the earlier inner "temp" folder.
void RecoverLeftovers(Outcome& outcome) {
    outcome.recovered = BringBack(catalogue.tempFolder, "*", outcome.leftInTemporary);
    for (const Text& name :
         BringBack(EarlierTemporaryFolder(), kPluginPattern, outcome.leftInEarlierTemporary)) {
        outcome.recovered.push_back(name);
    }
}

// Moves a file; one held open for a moment (by a virus scanner or the browser) is tried again a
// few times. Returns whether it moved.
bool MoveWithRetries(const Text& from, const Text& to) {
    bool moved = RenamePath(from, to) == 0;
    for (int retry = 0; !moved && retry < kMoveRetries; ++retry) {
        PauseInterface(kRetryPauseMs);
        moved = RenamePath(from, to) == 0;
    }
    return moved;
}

bool Park(const Text& fileName) {
    return MoveWithRetries(PluginPath(fileName), catalogue.tempFolder + "\\" + fileName);
}

void Unpark(const Text& fileName) {
    MoveWithRetries(catalogue.tempFolder + "\\" + fileName, PluginPath(fileName));
}

// Makes the temporary folder, or finds the one an interrupted save left. A file of that name
// will not do: nothing could be parked in it.
bool MakeTemporaryFolder() {
    TakeIoStatus();
    MakeFolder(catalogue.tempFolder);
    const int status = TakeIoStatus();
    if (status != kIoOk && status != kErrorAlreadyExists) {
        // A full disk can leave the new folder's entry behind without room for its contents.
        RemoveFolder(catalogue.tempFolder);
        TakeIoStatus();
        return false;
    }
    const std::optional<std::uint32_t> attributes = AttributesIfPresent(catalogue.tempFolder);
    return attributes && (*attributes & kAttributeDirectory) != 0;
}

// The files of the listing that are not plugin rows: images, hidden plugins and anything else.
std::vector<Text> FilesOutsideRows(const std::vector<Text>& files, const std::vector<Text>& rows) {
    std::unordered_set<Text> rowKeys;
    for (const Text& row : rows) rowKeys.insert(LowerCase(row));
    std::vector<Text> others;
    for (const Text& file : files) {
        if (rowKeys.count(LowerCase(file)) == 0) others.push_back(file);
    }
    return others;
}

// Copy mode. On FAT a new directory entry takes the first run of free slots that is long enough,
// and a long name needs more slots than a short one, so plugins moved back into a folder with
// holes between remaining entries can land out of order. Every file is therefore moved out into
// a temporary folder beside the plugin folder (inside it, that folder's own entry would be one
// more obstacle), which leaves the plugin folder's directory free; the plugins then come back in
// list order first, each right behind the one before, and the other files after them. Folders
// are never moved (a folder's move is not safe on every FAT driver); like any file that could
// not be moved out, they keep their place, and the save then says that the order may differ.
void SaveByMoving(Outcome& outcome) {
    RecoverLeftovers(outcome);
    if (!MakeTemporaryFolder()) {
        outcome.noTemporaryFolder = true;
        if (!outcome.recovered.empty()) RefreshPluginList();
        return;
    }

    const std::vector<Text> rows = FileListNames();
    const FolderListing entries = ListFolder(catalogue.pluginFolder, "*");
    std::vector<Text> parkedRows;
    std::vector<Text> parkedOthers;
    for (const Text& row : rows) {
        if (!IsPresentFile(PluginPath(row))) {
            outcome.gone.push_back(row);
        } else if (Park(row)) {
            parkedRows.push_back(row);
        } else {
            outcome.notMoved.push_back(row);
        }
    }
    for (const Text& file : FilesOutsideRows(entries.files, rows)) {
        (Park(file) ? parkedOthers : outcome.keptInPlace).push_back(file);
    }
    for (const Text& folder : entries.folders) outcome.keptInPlace.push_back(folder + "\\");

    for (const Text& row : parkedRows) {
        Unpark(row);
        PauseInterface(kPauseAfterMoveBackMs);
    }
    for (const Text& file : parkedOthers) Unpark(file);
    RemoveFolder(catalogue.tempFolder);
    TakeIoStatus();
    outcome.leftInTemporary = ListFolder(catalogue.tempFolder, "*").files;
    // The rows no longer match the folder when plugins came back from an earlier save, could
    // not come back from this one, or were gone before it.
    if (!outcome.recovered.empty() || !outcome.leftInTemporary.empty() || !outcome.gone.empty()) {
        RefreshPluginList();
    }
}

// Rename mode: names that start with a new letter and the row number sort in list order.
void SaveByRenaming(Outcome& outcome) {
    Text letter = catalogue.prefixLetter;
    while (letter == catalogue.prefixLetter) letter = CharText(65 + RandomBelow(26));

    const std::vector<Text> files = FileListNames();
    FolderNames folder = FolderNames::OfPluginFolder();
    const auto rowCount = static_cast<std::int64_t>(files.size());
    for (std::int64_t i = 0; i < rowCount; ++i) {
        const Text& fileName = files[static_cast<std::size_t>(i)];
        const Text image = SaveImageOf(fileName, folder);
        const PrefixedNames names =
            PrefixedNamesFor(letter, RowNumberText(i, rowCount), fileName, image);
        RenamePluginAndImage(fileName, names.plugin, image, names.image, folder, outcome);
    }
    RefreshPluginList();
}

Text StillInLead(const Text& folder) {
    return Say(phrases::kStillInTemporaryFolder) + " " + folder + ":";
}

// What came back from an earlier save and what is still parked.
void AddRecoveryParagraphs(Text& text, const Outcome& outcome) {
    AddNamesParagraph(text, Say(phrases::kRecoveredFromTemporaryFolder), outcome.recovered);
    AddNamesParagraph(text, StillInLead(EarlierTemporaryFolder()), outcome.leftInEarlierTemporary);
}

Text SaveReport(const Outcome& outcome) {
    using namespace phrases;
    Text text;
    if (outcome.noTemporaryFolder) {
        text = Say(kNoTemporaryFolder);
    } else if (outcome.Complete()) {
        text = Say(kResortDone);
    } else {
        text = Say(kResortIncomplete);
        AddNamesParagraph(text, Say(kNotMoved), outcome.notMoved);
        AddNamesParagraph(text, Say(kKeptInPlace), outcome.keptInPlace);
        AddNamesParagraph(text, StillInLead(catalogue.tempFolder), outcome.leftInTemporary);
    }
    AddNamesParagraph(text, Say(kPluginFilesGone), outcome.gone);
    AddRecoveryParagraphs(text, outcome);
    return text;
}

}  // namespace

void SavePluginOrder() {
    Outcome outcome;
    if (catalogue.ntfsMode == 0) {
        SaveByMoving(outcome);
    } else {
        SaveByRenaming(outcome);
    }
    ShowCommandMessage(SaveReport(outcome), outcome.Clean() ? kInformationBox : kExclamationBox);
}

void RestoreOriginalNames() {
    Outcome outcome;
    FolderNames folder = FolderNames::OfPluginFolder();
    for (const Text& fileName : FileListNames()) {
        const Text image = SaveImageOf(fileName, folder);
        if (!HasPrefix(fileName)) continue;
        RenamePluginAndImage(fileName, UnprefixedName(fileName), image,
                             image.empty() ? Text() : UnprefixedName(image), folder, outcome);
    }
    RefreshPluginList();
    if (outcome.Clean()) return;
    Text text;
    AddNamesParagraph(text, Say(phrases::kOriginalNamesIncomplete), outcome.notMoved);
    AddNamesParagraph(text, Say(phrases::kPluginFilesGone), outcome.gone);
    ShowCommandMessage(text, kExclamationBox);
}

void RecoverFromTemporaryFolder() {
    Outcome outcome;
    RecoverLeftovers(outcome);
    if (outcome.recovered.empty() && outcome.leftInTemporary.empty() &&
        outcome.leftInEarlierTemporary.empty()) {
        return;
    }
    Text text;
    AddRecoveryParagraphs(text, outcome);
    AddNamesParagraph(text, StillInLead(catalogue.tempFolder), outcome.leftInTemporary);
    ShowCommandMessage(text, outcome.Clean() ? kInformationBox : kExclamationBox);
}
