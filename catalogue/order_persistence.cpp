#include "catalogue/order_persistence.h"

#include <unordered_set>
#include <vector>

#include "catalogue/catalogue_state.h"
#include "catalogue/fatal_error.h"
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
// A file that did not move back (held open for a moment by a virus scanner or the browser)
// is tried again this many times, with this pause before each try.
constexpr int kMoveBackRetries = 4;
constexpr int kRetryPauseMs = 100;

const Text kPluginPattern = "*.SRC";

// What a save or a restore could not do, for the message at its end.
struct Outcome {
    std::vector<Text> notMoved;        // files that kept their place or name
    std::vector<Text> leftInTemporary; // copy mode: files still in the temporary folder
    std::vector<Text> recovered;       // copy mode: files an earlier save had left behind
    std::vector<Text> gone;            // files of rows that are no longer in the plugin folder

    bool Complete() const { return notMoved.empty() && leftInTemporary.empty(); }
    bool Clean() const { return Complete() && gone.empty(); }
};

std::vector<Text> FileListNames() {
    return ListItemTexts(catalogue.fileList);
}

Text TemporaryPath(const Text& fileName) {
    return catalogue.tempFolder + "\\" + fileName;
}

// Plugin files (not folders) in the temporary folder.
std::vector<Text> PluginFilesInTemporaryFolder() {
    std::vector<Text> names;
    TakeIoStatus();
    Text entry = FindFirstEntry(TemporaryPath(kPluginPattern));
    while (TakeIoStatus() == kIoOk) {
        if (!IsFolderEntry(entry)) names.push_back(entry);
        entry = FindNextEntry();
    }
    return names;
}

// The names in the plugin folder, listed once per command and kept up to date with every
// rename, so that looking for a plugin's image costs no file-system lookup: on a file system
// that is searched without case, every lookup of a missing name can scan the whole folder.
// Names compare without case, as the file system compares them; folders count as names too,
// as they do for a lookup of the name itself.
class FolderNames {
public:
    static FolderNames OfPluginFolder() {
        FolderNames folder;
        TakeIoStatus();
        Text entry = FindFirstEntry(PluginPath("*"));
        while (TakeIoStatus() == kIoOk) {
            folder.names_.insert(Key(IsFolderEntry(entry) ? entry.substr(1, entry.size() - 2) : entry));
            entry = FindNextEntry();
        }
        return folder;
    }

    bool Holds(const Text& name) const { return names_.count(Key(name)) > 0; }

    void Renamed(const Text& from, const Text& to) {
        names_.erase(Key(from));
        names_.insert(Key(to));
    }

private:
    static Text Key(const Text& name) { return LowerCase(name); }

    std::unordered_set<Text> names_;
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

// A name with "##" twice gives an unprefixed name without the extension: a plugin file renamed
// so would drop out of the browser's and this program's lists, so such a rename is refused.
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
// only when the plugin file moved, so that the two keep one base name. A plugin file gone since
// the listing is not looked for: a folder that took its name would be renamed instead.
void RenamePluginAndImage(const Text& fileName, const Text& newName, const Text& image,
                          const Text& newImage, FolderNames& folder, Outcome& outcome) {
    if (!IsPresentFile(PluginPath(fileName))) {
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

// Plugin files that an interrupted earlier save left in the temporary folder go back; a file
// whose name is taken in the plugin folder stays where it is. Returns the files that came back.
std::vector<Text> RecoverTemporaryFolder() {
    std::vector<Text> recovered;
    for (const Text& name : PluginFilesInTemporaryFolder()) {
        if (RenamePath(TemporaryPath(name), PluginPath(name)) == 0) recovered.push_back(name);
    }
    return recovered;
}

void MoveBack(const Text& fileName) {
    const Text from = TemporaryPath(fileName);
    const Text to = PluginPath(fileName);
    bool moved = RenamePath(from, to) == 0;
    for (int retry = 0; !moved && retry < kMoveBackRetries; ++retry) {
        PauseInterface(kRetryPauseMs);
        moved = RenamePath(from, to) == 0;
    }
}

// Copy mode: the file system returns the entries in the order they were made, so moving every
// file out and back in list order writes the list order.
void SaveByMoving(Outcome& outcome) {
    TakeIoStatus();
    MakeFolder(catalogue.tempFolder);
    const int status = TakeIoStatus();
    if (status != kIoOk && status != kErrorAlreadyExists) FatalError(kFatalNoTemporaryFolder);
    if (status == kErrorAlreadyExists) outcome.recovered = RecoverTemporaryFolder();

    const std::vector<Text> files = FileListNames();
    std::vector<bool> movedOut(files.size(), false);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!IsPresentFile(PluginPath(files[i]))) {
            outcome.gone.push_back(files[i]);
            continue;
        }
        movedOut[i] = RenamePath(PluginPath(files[i]), TemporaryPath(files[i])) == 0;
        if (!movedOut[i]) outcome.notMoved.push_back(files[i]);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!movedOut[i]) continue;
        MoveBack(files[i]);
        PauseInterface(kPauseAfterMoveBackMs);
    }
    RemoveFolder(catalogue.tempFolder);
    TakeIoStatus();
    outcome.leftInTemporary = PluginFilesInTemporaryFolder();
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

Text StillInTemporaryFolderLead() {
    return Say(phrases::kStillInTemporaryFolder) + " " + catalogue.tempFolder + ":";
}

Text SaveReport(const Outcome& outcome) {
    using namespace phrases;
    Text text;
    if (outcome.Complete()) {
        text = Say(kResortDone);
    } else {
        text = Say(kResortIncomplete);
        AddNamesParagraph(text, Say(kNotMoved), outcome.notMoved);
        AddNamesParagraph(text, StillInTemporaryFolderLead(), outcome.leftInTemporary);
    }
    AddNamesParagraph(text, Say(kPluginFilesGone), outcome.gone);
    AddNamesParagraph(text, Say(kRecoveredFromTemporaryFolder), outcome.recovered);
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
    if (PluginFilesInTemporaryFolder().empty()) return;
    const std::vector<Text> recovered = RecoverTemporaryFolder();
    RemoveFolder(catalogue.tempFolder);
    TakeIoStatus();
    const std::vector<Text> left = PluginFilesInTemporaryFolder();
    Text text;
    AddNamesParagraph(text, Say(phrases::kRecoveredFromTemporaryFolder), recovered);
    AddNamesParagraph(text, StillInTemporaryFolderLead(), left);
    ShowCommandMessage(text, left.empty() ? kInformationBox : kExclamationBox);
}
