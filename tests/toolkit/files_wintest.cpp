// File slots, ioStatus, listing, text reads into areas, writes, renames, attributes, folders
// and the shell-open hook, against real files in a temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/error_capture.h"
#include "tests/support/shell_log.h"
#include "tests/support/test_files.h"
#include "tests/support/test_windows.h"
#include "toolkit/errors.h"
#include "toolkit/files.h"
#include "toolkit/value.h"

namespace {

const char* const kSlotOutOfRange = "Dateinummer nicht im erlaubten Bereich!";
const char* const kTextDoesNotFit = "Der Text pa\xDFt nicht komplett in die Bereichsvariable!";

void WriteBytes(const Text& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const Text& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const Text& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Shows control bytes so that a failed comparison of line ends can be read.
std::string Visible(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r') out += "<CR>";
        else if (c == '\n') out += "<LF>";
        else if (c == '\0') out += "<NUL>";
        else out += static_cast<char>(c);
    }
    return out;
}

struct AreaRead {
    std::string text;      // the area's bytes up to the first NUL
    std::size_t nulAt;     // where the first NUL is, area.size() when there is none
    int warnings244;
};

// Reads `content` into an area of `capacity` bytes at error level 1, from a file or from memory.
AreaRead ReadIntoArea(const std::string& content, std::size_t capacity, bool fromFile) {
    TempFolder folder;
    WriteBytes(folder / "t.src", content);
    MemoryArea area;
    AllocateArea(area, capacity);
    // Guard bytes in the vector's spare room right behind the area: a write past the area's
    // end lands there instead of going unseen.
    constexpr std::size_t guard = 16;
    area.bytes.resize(capacity + guard, 'G');
    area.bytes.resize(capacity);
    for (char& c : area.bytes) c = 'Z';  // stale bytes, so a missing terminator shows
    ErrorCapture errors(1);
    if (fromFile) {
        ReadTextFileIntoArea(area, folder / "t.src");
    } else {
        ReadTextIntoArea(area, content);
    }
    AreaRead result{};
    EXPECT_EQ(area.size(), capacity) << "the area must keep its size";
    EXPECT_EQ(std::string(area.data() + capacity, guard), std::string(guard, 'G'))
        << "bytes were written past the end of the area";
    result.nulAt = capacity;
    for (std::size_t i = 0; i < capacity; ++i) {
        if (area.bytes[i] == '\0') {
            result.nulAt = i;
            break;
        }
    }
    result.text.assign(area.data(), result.nulAt);
    for (const auto& box : errors.boxes) {
        if (box.caption == kTextDoesNotFit) ++result.warnings244;
    }
    EXPECT_EQ(errors.ends, 0) << "a text that does not fit is a warning, not an end";
    return result;
}

// Reads `content` both ways: the text made from bytes in memory must be the file's own.
AreaRead ReadIntoArea(const std::string& content, std::size_t capacity) {
    const AreaRead fromFile = ReadIntoArea(content, capacity, true);
    const AreaRead fromMemory = ReadIntoArea(content, capacity, false);
    EXPECT_EQ(Visible(fromMemory.text), Visible(fromFile.text)) << "read from memory";
    EXPECT_EQ(fromMemory.nulAt, fromFile.nulAt) << "read from memory";
    EXPECT_EQ(fromMemory.warnings244, fromFile.warnings244) << "read from memory";
    return fromFile;
}

}  // namespace

TEST(FileSlots, NumbersOutside1To15RaiseFatal210AndTouchNothing) {
    TempFolder folder;
    WriteBytes(folder / "keep.src", "x");
    MemoryArea area;
    AllocateArea(area, 8);
    AssignFileName(1, folder / "keep.src");
    ReadFileBlock(1, area, 0, 1);  // slot 1 is not open: ioStatus 103
    ASSERT_EQ(PeekIoStatus(), kIoSlotNotOpen);

    ErrorCapture errors(0);  // fatal errors are shown even at level 0
    AssignFileName(0, folder / "keep.src");
    EraseFile(0);
    EraseFile(16);
    EXPECT_EQ(ReadFileBlock(16, area, 0, 4), -1);
    OpenBinaryFile(-1);
    CreateTextFile(16);
    WriteText(0, "text", 2);
    RenameFile(16, folder / "moved.src");
    EXPECT_EQ(errors.boxes.size(), 8u);
    EXPECT_EQ(errors.ends, 8);
    for (const auto& box : errors.boxes) {
        EXPECT_EQ(box.caption, kSlotOutOfRange);
        EXPECT_EQ(box.flags, kBoxIconError | kBoxOk) << "error 210 must be fatal";
    }
    EXPECT_EQ(LastErrorNumber(), kErrFileNumber);
    EXPECT_EQ(PeekIoStatus(), kIoSlotNotOpen) << "a rejected slot number must not touch ioStatus";
    EXPECT_TRUE(Exists(folder / "keep.src"));
    EXPECT_FALSE(Exists(folder / "moved.src"));

    // Both ends of the range are real slots.
    AssignFileName(15, folder / "keep.src");
    EraseFile(15);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_FALSE(Exists(folder / "keep.src")) << "slot 15 must be usable";
    EXPECT_EQ(errors.boxes.size(), 8u);
}

TEST(IoStatus, TakeReturnsTheCodeAndClearsIt) {
    MemoryArea area;
    AllocateArea(area, 1);
    ReadFileBlock(3, area, 0, 1);
    EXPECT_EQ(TakeIoStatus(), kIoSlotNotOpen);
    EXPECT_EQ(TakeIoStatus(), kIoOk) << "the second take must find ioStatus cleared";
}

TEST(Listing, ReturnsEveryEntryInFileSystemOrderWithFoldersInBrackets) {
    TempFolder folder;
    // Names whose byte order differs from the file system's, so that sorting would show.
    WriteBytes(folder / "B.src", "b");
    WriteBytes(folder / "a.src", "a");
    WriteBytes(folder / "_c.src", "c");
    CreateDirectoryA((folder / "sub").c_str(), nullptr);

    std::vector<Text> expected;
    WIN32_FIND_DATAA data{};
    HANDLE raw = FindFirstFileA((folder / "*").c_str(), &data);
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    do {
        Text name = data.cFileName;
        expected.push_back((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "[" + name + "]" : name);
    } while (FindNextFileA(raw, &data));
    FindClose(raw);

    std::vector<Text> listed;
    for (Text entry = FindFirstEntry(folder / "*"); !entry.empty(); entry = FindNextEntry()) {
        EXPECT_EQ(PeekIoStatus(), kIoOk) << "after entry " << entry;
        listed.push_back(entry);
        ASSERT_LT(listed.size(), 100u) << "the search never ended";
    }
    EXPECT_EQ(listed, expected) << "entries must come as the file system returns them";
    EXPECT_EQ(listed.size(), 6u);
    for (const char* name : {"[.]", "[..]", "[sub]", "a.src", "B.src", "_c.src"}) {
        EXPECT_NE(std::find(listed.begin(), listed.end(), Text(name)), listed.end()) << name << " missing";
    }
    EXPECT_EQ(TakeIoStatus(), kIoNoMoreEntries) << "the end of the search must leave 18";
    EXPECT_EQ(FindNextEntry(), "");
    EXPECT_EQ(TakeIoStatus(), kIoNoMoreEntries) << "asking again after the end must still give 18";

    // A new search starts over; a pattern without matches gives 18 at once.
    EXPECT_EQ(FindFirstEntry(folder / "*"), expected.front());
    EXPECT_EQ(FindFirstEntry(folder / "*.gif"), "");
    EXPECT_EQ(TakeIoStatus(), kIoNoMoreEntries);
    EXPECT_EQ(FindNextEntry(), "") << "a failed start must not leave the old search running";
}

// A file and a folder whose names hold a Greek letter, which the ANSI code page lacks: the listing
// names them so that every file function reaches exactly them, never a best-fit look-alike.
TEST(Listing, NamesOutsideTheCodePageReachTheirOwnFilesThroughEveryFunction) {
    TempFolder folder;
    const std::wstring wideFolder(folder.path().begin(), folder.path().end());  // an ASCII path
    const auto wideExists = [&](const wchar_t* name) {
        return GetFileAttributesW((wideFolder + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    {
        HANDLE file = CreateFileW((wideFolder + L"\\\u03A9mega.src").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "omega", 5, &written, nullptr);
        CloseHandle(file);
    }
    WriteBytes(folder / "Omega.src", "look-alike");

    const Text omega = FindFirstEntry(folder / "\x01" "03A9*.SRC");
    ASSERT_NE(omega.find('\x01'), Text::npos) << "the name came back as " << omega;
    EXPECT_EQ(FindNextEntry(), "");
    EXPECT_EQ(ReadFileHead(folder / omega, 100), Text("omega"));
    EXPECT_EQ(FileSize(folder / omega), 5);

    AssignFileName(9, folder / omega);
    SetFileAttributesOf(9, GetFileAttributesOf(9) | kAttributeReadOnly);
    EXPECT_EQ(AttributesIfPresent(folder / omega).value_or(0) & kAttributeReadOnly, kAttributeReadOnly);
    SetFileAttributesOf(9, GetFileAttributesOf(9) & ~kAttributeReadOnly);
    RenameFile(9, folder / ("K00##" + omega));
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_TRUE(wideExists(L"K00##\u03A9mega.src")) << "the prefixed name must keep the Greek letter";
    AssignFileName(9, folder / ("K00##" + omega));
    EraseFile(9);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_FALSE(wideExists(L"K00##\u03A9mega.src"));
    EXPECT_EQ(ReadBytes(folder / "Omega.src"), "look-alike");

    MakeFolder(folder / "\x01" "03A3");
    EXPECT_TRUE(wideExists(L"\u03A3"));
    ChangeFolder(folder / "\x01" "03A3");
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_EQ(CurrentFolderOf("@"), folder / "\x01" "03A3");
    ChangeFolder(folder.path());
    RemoveFolder(folder / "\x01" "03A3");
    EXPECT_EQ(TakeIoStatus(), kIoOk);
}

TEST(ReadTextIntoArea, LineEndsAndNulBytesFollowTheByteRules) {
    struct Case {
        std::string file;
        std::string text;
    };
    const Case cases[] = {
        {"a\nb", "a\nb\r\n"},                  // a lone LF stays
        {"a\rb", "a\r\nb\r\n"},                // a lone CR becomes CR LF
        {"a\r\nb\r\n", "a\r\nb\r\n\r\n"},      // CR LF stays, and a line end is always appended
        {"a\r\r\nb", "a\r\n\r\nb\r\n"},        // only the LF right after a CR is skipped
        {"a\r\n\nb", "a\r\n\nb\r\n"},
        {std::string("a\0b\0", 4), "ab\r\n"},  // NUL bytes are dropped
        {std::string("a\r\0\nb", 5), "a\r\n\nb\r\n"},  // a NUL in between keeps the LF
        {"", "\r\n"},
    };
    for (const Case& c : cases) {
        AreaRead read = ReadIntoArea(c.file, 64);
        EXPECT_EQ(Visible(read.text), Visible(c.text)) << "file " << Visible(c.file);
        EXPECT_EQ(read.warnings244, 0) << "file " << Visible(c.file);
    }
}

TEST(ReadTextIntoArea, TextsThatFitExactlyOrNotAtAllStayInsideTheArea) {
    constexpr std::size_t capacity = 16;
    const std::string fits = std::string(capacity - 3, 'x');  // text, CR LF and NUL fill the area

    AreaRead under = ReadIntoArea(std::string(capacity - 4, 'x'), capacity);
    EXPECT_EQ(under.text, std::string(capacity - 4, 'x') + "\r\n");
    EXPECT_EQ(under.warnings244, 0);

    AreaRead exact = ReadIntoArea(fits, capacity);
    EXPECT_EQ(exact.text, fits + "\r\n");
    EXPECT_EQ(exact.nulAt, capacity - 1);
    EXPECT_EQ(exact.warnings244, 0) << "a text that fits with its NUL must not warn";

    AreaRead over = ReadIntoArea(fits + "x", capacity);
    EXPECT_EQ(Visible(over.text), Visible(fits + "x\r")) << "the LF no longer fits";
    EXPECT_EQ(over.nulAt, capacity - 1) << "the NUL must be the area's last byte";
    EXPECT_EQ(over.warnings244, 1);

    AreaRead large = ReadIntoArea(std::string(10 * capacity, 'y'), capacity);
    EXPECT_EQ(large.text, std::string(capacity - 1, 'y'));
    EXPECT_EQ(large.warnings244, 1);
}

TEST(ReadTextIntoArea, ACarriageReturnExpandingAcrossTheEndIsCutInsideTheArea) {
    constexpr std::size_t capacity = 16;
    // The CR arrives with one byte of room left: its CR LF would pass the end by one.
    AreaRead lastByte = ReadIntoArea(std::string(capacity - 1, 'x') + "\rmore", capacity);
    EXPECT_EQ(lastByte.text, std::string(capacity - 1, 'x'));
    EXPECT_EQ(lastByte.nulAt, capacity - 1);
    EXPECT_EQ(lastByte.warnings244, 1);

    // With two bytes left the CR LF fills the area exactly.
    AreaRead twoLeft = ReadIntoArea(std::string(capacity - 2, 'x') + "\r\nmore", capacity);
    EXPECT_EQ(Visible(twoLeft.text), Visible(std::string(capacity - 2, 'x') + "\r"));
    EXPECT_EQ(twoLeft.nulAt, capacity - 1);
    EXPECT_EQ(twoLeft.warnings244, 1);

    // A file of nothing but CRs.
    AreaRead returns = ReadIntoArea(std::string(capacity, '\r'), capacity);
    EXPECT_EQ(returns.nulAt, capacity - 1);
    EXPECT_EQ(returns.warnings244, 1);
}

TEST(ReadTextIntoArea, DroppedNulBytesStillCountTowardTheCapacity) {
    constexpr std::size_t capacity = 16;
    AreaRead read = ReadIntoArea(std::string(capacity, '\0') + "abc", capacity);
    EXPECT_EQ(read.text, "") << "nothing after the counted NUL bytes may be stored";
    EXPECT_EQ(read.warnings244, 1);
}

TEST(ReadTextIntoArea, ALineEndSplitAcrossReadBuffersIsStillOneLineEnd) {
    // Large enough that the file is read in several pieces; CR LF pairs fall on every offset.
    std::string file;
    std::string expected;
    for (int i = 0; i < 30000; ++i) {
        file += "ab\r\n";
        expected += "ab\r\n";
        if (i % 7 == 0) {
            file += "c";
            expected += "c";
        }
    }
    AreaRead read = ReadIntoArea(file, file.size() + 16);
    EXPECT_EQ(read.warnings244, 0);
    ASSERT_EQ(read.text.size(), expected.size() + 2);
    EXPECT_TRUE(read.text == expected + "\r\n") << "line ends changed across a buffer boundary";
}

TEST(ReadTextIntoArea, AFileThatCannotBeOpenedIsFatal300AndLeavesTheArea) {
    TempFolder folder;
    MemoryArea area;
    AllocateArea(area, 8);
    area.bytes[0] = 'k';
    ErrorCapture errors(1);
    ReadTextFileIntoArea(area, folder / "missing.src");
    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].caption, "Datei kann nicht gelesen werden: " + (folder / "missing.src"));
    EXPECT_EQ(errors.ends, 1);
    EXPECT_EQ(area.bytes[0], 'k');
    EXPECT_FALSE(Exists(folder / "missing.src")) << "reading must not create the file";
}

TEST(FileSize, CountsBytesAndReportsAMissingFileWith209) {
    TempFolder folder;
    WriteBytes(folder / "empty.src", "");
    WriteBytes(folder / "five.src", "12345");
    {
        ErrorCapture errors(1);
        EXPECT_EQ(FileSize(folder / "empty.src"), 0) << "an empty file is 0 bytes, not missing";
        EXPECT_EQ(FileSize(folder / "five.src"), 5);
        EXPECT_EQ(FileSize(folder / "f*.src"), 5) << "a pattern counts its first match";
        EXPECT_EQ(TakeIoStatus(), kIoOk);
        EXPECT_TRUE(errors.boxes.empty());

        EXPECT_EQ(FileSize(folder / "gone.gif"), -1);
        EXPECT_EQ(TakeIoStatus(), kIoSlotNotOpen);
        ASSERT_EQ(errors.boxes.size(), 1u);
        EXPECT_EQ(errors.boxes[0].caption, "Datei nicht gefunden: " + (folder / "gone.gif"));
        EXPECT_EQ(errors.boxes[0].flags, kBoxIconWarning | kBoxOkCancel);
        EXPECT_EQ(errors.ends, 0) << "OK in the warning box goes on";
    }
    ErrorCapture silent(-1);
    EXPECT_EQ(FileSize(folder / "gone.gif"), -1);
    EXPECT_TRUE(silent.boxes.empty()) << "level -1 must not show the warning";
    EXPECT_EQ(LastErrorNumber(), kErrFileNotFound);
    EXPECT_EQ(LastErrorKind(), ErrorKind::Warning);
}

TEST(RawRead, OpensOrCreatesReadsIntoTheAreaAndNeverPastIt) {
    TempFolder folder;
    MemoryArea area;
    AllocateArea(area, 8);

    AssignFileName(2, folder / "new.bin");
    OpenBinaryFile(2);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_TRUE(Exists(folder / "new.bin")) << "a missing file is created empty";
    EXPECT_EQ(ReadFileBlock(2, area, 0, 4), 0);
    CloseFile(2);

    WriteBytes(folder / "data.bin", "0123456789");
    AssignFileName(2, folder / "data.bin");
    OpenBinaryFile(2);
    EXPECT_EQ(ReadFileBlock(2, area, 2, 3), 3);
    EXPECT_EQ(std::string(area.data(), 5), std::string("\0\0" "012", 5)) << "bytes go to the offset";
    EXPECT_EQ(ReadFileBlock(2, area, 4, 100), 4) << "a read must stop at the end of the area";
    EXPECT_EQ(std::string(area.data() + 4, 4), "3456");
    EXPECT_EQ(ReadFileBlock(2, area, 9, 1), 0) << "an offset past the area reads nothing";
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    CloseFile(2);

    EXPECT_EQ(ReadFileBlock(2, area, 0, 1), -1) << "a closed slot cannot be read";
    EXPECT_EQ(TakeIoStatus(), kIoSlotNotOpen);
}

TEST(RawRead, AFailedOpenKeepsOnlyTheLowWin32Codes) {
    TempFolder folder;
    MemoryArea area;
    AllocateArea(area, 4);
    AssignFileName(9, folder / "missing folder\\x.bin");
    OpenBinaryFile(9);
    EXPECT_EQ(TakeIoStatus(), ERROR_PATH_NOT_FOUND);

    // The file is open without sharing in slot 10: opening it again is a sharing violation
    // (32), a code too high to be kept.
    WriteBytes(folder / "shared.bin", "abc");
    AssignFileName(10, folder / "shared.bin");
    OpenBinaryFile(10);
    ASSERT_EQ(TakeIoStatus(), kIoOk);
    AssignFileName(9, folder / "shared.bin");
    OpenBinaryFile(9);
    EXPECT_EQ(TakeIoStatus(), kIoOk) << "only Win32 codes 1 to 18 may reach ioStatus";
    EXPECT_EQ(ReadFileBlock(9, area, 0, 3), -1) << "the failed open must leave the slot without a handle";
    EXPECT_EQ(TakeIoStatus(), kIoSlotNotOpen);
    EXPECT_EQ(ReadFileBlock(10, area, 0, 3), 3);
    CloseFile(10);
}

TEST(RawRead, AFileHeadIsReadUpToTheLimitAndNeverCreatesOrSharesTheFile) {
    TempFolder folder;
    WriteBytes(folder / "data.bin", std::string("01\0" "3456789", 10));
    EXPECT_EQ(ReadFileHead(folder / "data.bin", 4), std::optional<Text>(std::string("01\0" "3", 4)));
    EXPECT_EQ(ReadFileHead(folder / "data.bin", 100), std::optional<Text>(std::string("01\0" "3456789", 10)));

    EXPECT_EQ(ReadFileHead(folder / "missing.bin", 4), std::nullopt);
    EXPECT_FALSE(Exists(folder / "missing.bin")) << "reading a head must not create the file";

    // Open in slot 5 without sharing, as another program may hold a plugin file.
    AssignFileName(5, folder / "data.bin");
    OpenBinaryFile(5);
    ASSERT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_EQ(ReadFileHead(folder / "data.bin", 4), std::nullopt) << "a file in use reads as nothing";
    EXPECT_EQ(ReadFileHead(folder / "data.bin", 4, FileSharing::Shared), std::nullopt)
        << "a program that shares nothing keeps a shared read out too";
    EXPECT_EQ(PeekIoStatus(), kIoOk) << "the head read leaves ioStatus alone";
    CloseFile(5);

    // Open for writing with sharing, as an editor or indexer may hold it: read shared, as a
    // C runtime stream reads, but not exclusively.
    HANDLE writer = CreateFileA((folder / "data.bin").c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadFileHead(folder / "data.bin", 2), std::nullopt);
    EXPECT_EQ(ReadFileHead(folder / "data.bin", 2, FileSharing::Shared), std::optional<Text>("01"));
    MemoryArea area;
    AllocateArea(area, 32);
    ErrorCapture errors(1);
    ReadTextFileIntoArea(area, folder / "data.bin");
    EXPECT_TRUE(errors.boxes.empty()) << "a file another program writes to must still be readable";
    EXPECT_EQ(AreaText(area, 0), "013456789\r\n");
    CloseHandle(writer);
    EXPECT_EQ(AttributesIfPresent(folder / "missing.bin"), std::nullopt);
    EXPECT_EQ(AttributesIfPresent(folder.path()).value_or(0) & kAttributeDirectory, kAttributeDirectory);
}

TEST(WriteText, SeparatorModesWriteBytesUnchangedUpToTheFirstNul) {
    TempFolder folder;
    WriteBytes(folder / "out.src", "old contents that must go");
    AssignFileName(4, folder / "out.src");
    CreateTextFile(4);
    ASSERT_EQ(TakeIoStatus(), kIoOk);
    WriteText(4, "a", 0);
    WriteText(4, "b", 1);
    WriteText(4, "c", 2);
    WriteText(4, "x\ny\rz", 2);
    WriteText(4, std::string("d\0e", 3), 0);  // the blank comes after the NUL: not written
    WriteText(4, "7", 1, true);                // a number: no padding at number width 0
    CloseTextFile(4);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_EQ(Visible(ReadBytes(folder / "out.src")), Visible("a bc\r\nx\ny\rz\r\nd7"));

    WriteText(4, "late", 2);
    EXPECT_EQ(TakeIoStatus(), kIoSlotNotOpen) << "writing after the close must give 103";
    EXPECT_EQ(Visible(ReadBytes(folder / "out.src")), Visible("a bc\r\nx\ny\rz\r\nd7"));

    CloseTextFile(4);
    EXPECT_EQ(TakeIoStatus(), kIoSlotNotOpen) << "closing a slot without a stream gives 103";
}

TEST(WriteText, CreateTextFileReportsAMissingNameAndAnUncreatableFile) {
    TempFolder folder;
    AssignFileName(5, "");
    CreateTextFile(5);
    EXPECT_EQ(TakeIoStatus(), kIoSlotHasNoName);
    AssignFileName(5, folder / "no such folder\\x.src");
    CreateTextFile(5);
    EXPECT_EQ(TakeIoStatus(), kIoNotFoundOrNotCreated);
    WriteText(5, "x", 2);
    EXPECT_EQ(TakeIoStatus(), kIoSlotNotOpen);
}

TEST(RenameAndErase, RenameNeverOverwritesAndKeepsTheSlotName) {
    TempFolder folder;
    WriteBytes(folder / "one.src", "first");
    WriteBytes(folder / "two.src", "second");
    AssignFileName(6, folder / "one.src");
    RenameFile(6, folder / "two.src");
    EXPECT_EQ(TakeIoStatus(), 183) << "an existing target must give ERROR_ALREADY_EXISTS";
    EXPECT_EQ(ReadBytes(folder / "one.src"), "first");
    EXPECT_EQ(ReadBytes(folder / "two.src"), "second");

    CreateDirectoryA((folder / "temp").c_str(), nullptr);
    RenameFile(6, folder / "temp\\one.src");
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_EQ(ReadBytes(folder / "temp\\one.src"), "first") << "a move into a subfolder keeps the contents";
    RenameFile(6, folder / "three.src");
    EXPECT_EQ(TakeIoStatus(), ERROR_FILE_NOT_FOUND) << "the slot must still name the old place";
}

TEST(RenameAndErase, ReadOnlyFilesResistEraseUntilTheBitIsCleared) {
    TempFolder folder;
    WriteBytes(folder / "ro.src", "x");
    AssignFileName(7, folder / "ro.src");
    ErrorCapture errors(1);

    SetFileAttributesOf(7, GetFileAttributesOf(7) | kAttributeReadOnly);
    EXPECT_NE(GetFileAttributesOf(7) & kAttributeReadOnly, 0u);
    EraseFile(7);
    EXPECT_EQ(TakeIoStatus(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(Exists(folder / "ro.src"));

    SetFileAttributesOf(7, static_cast<std::uint32_t>(SetBit(static_cast<std::int32_t>(GetFileAttributesOf(7)), 0, false)));
    EXPECT_EQ(GetFileAttributesOf(7) & kAttributeReadOnly, 0u);
    EraseFile(7);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_FALSE(Exists(folder / "ro.src"));
    EXPECT_TRUE(errors.boxes.empty());

    EraseFile(7);
    EXPECT_EQ(TakeIoStatus(), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(GetPathAttributes(folder.path()) & kAttributeDirectory, 0u);
}

TEST(RenameAndErase, AttributesOfAMissingFileAreFatal300) {
    TempFolder folder;
    const Text missing = folder / "missing.src";
    AssignFileName(8, missing);
    {
        ErrorCapture errors(1);
        GetFileAttributesOf(8);
        SetFileAttributesOf(8, 0);
        GetPathAttributes(missing);
        ASSERT_EQ(errors.boxes.size(), 3u);
        for (const auto& box : errors.boxes) {
            EXPECT_EQ(box.caption, "Datei kann nicht gelesen werden: " + missing);
            EXPECT_EQ(box.flags, kBoxIconError | kBoxOk);
        }
        EXPECT_EQ(errors.ends, 3);
    }
    ErrorCapture silent(-1);
    EXPECT_EQ(GetFileAttributesOf(8), 9u) << "a program going on at level -1 sees 9";
    EXPECT_EQ(GetPathAttributes(missing), 9u);
    EXPECT_TRUE(silent.boxes.empty());
    EXPECT_EQ(LastErrorNumber(), kErrFileNotReadable);
}

TEST(Folders, MakeEnterAndRemoveReportTheirFailures) {
    TempFolder folder;
    const Text original = CurrentFolderOf("@");
    const Text made = folder / "made";

    MakeFolder(made);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    MakeFolder(made);
    EXPECT_EQ(TakeIoStatus(), ERROR_ALREADY_EXISTS);
    MakeFolder(folder / "no\\deeper");
    EXPECT_EQ(TakeIoStatus(), ERROR_PATH_NOT_FOUND);

    ChangeFolder(made);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_EQ(CurrentFolderOf("@"), made);
    ChangeFolder(folder / "nowhere");
    EXPECT_EQ(TakeIoStatus(), kIoNotFoundOrNotCreated);
    ChangeFolder(original);

    WriteBytes(made + "\\inside.src", "x");
    RemoveFolder(made);
    EXPECT_EQ(TakeIoStatus(), kIoNotFoundOrNotCreated) << "a folder with files cannot be removed";
    DeleteFileA((made + "\\inside.src").c_str());
    RemoveFolder(made);
    EXPECT_EQ(TakeIoStatus(), kIoOk);
    EXPECT_FALSE(Exists(made));
    RemoveFolder(made);
    EXPECT_EQ(TakeIoStatus(), kIoNotFoundOrNotCreated);
}

TEST(Folders, CurrentFolderOfADriveLeavesTheCurrentFolderAlone) {
    TempFolder folder;
    const Text original = CurrentFolderOf("@");
    ChangeFolder(folder.path());
    ASSERT_EQ(TakeIoStatus(), kIoOk);

    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(CurrentFolderOf("@"), Text(cwd));
    const Text ownDrive(1, static_cast<char>(tolower(static_cast<unsigned char>(cwd[0]))));
    EXPECT_EQ(CurrentFolderOf(ownDrive + "ignored"), Text(cwd)) << "a lower-case letter names the drive";

    const Text otherDrive = cwd[0] == 'C' ? "z" : "c";
    const Text other = CurrentFolderOf(otherDrive);
    EXPECT_EQ(other.substr(0, 2), UpperCase(otherDrive) + ":") << "got " << other;
    GetCurrentDirectoryA(MAX_PATH, cwd);
    EXPECT_EQ(Text(cwd), folder.path()) << "the current folder must be entered again";
    ChangeFolder(original);
}

TEST(Folders, ProgramFolderEndsWithABackslashAndHoldsTheProgram) {
    const Text folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(Text(path).substr(0, folder.size()), folder);
    EXPECT_EQ(Text(path).find('\\', folder.size()), Text::npos) << "only the file name may be cut";
}

TEST(ShellOpen, AReplacementRecordsEachCallInsteadOfOpeningIt) {
    TempFolder folder;
    const Text log = folder / "shell.log";
    std::intptr_t first = 0;
    std::intptr_t second = 0;
    {
        const ScopedShellLog shellLog(log);
        first = ShellOpen("https://plugins.invalid/search", "open", SW_SHOWNORMAL);
        second = ShellOpen(folder.path(), "explore", SW_SHOWMAXIMIZED);
    }

    EXPECT_EQ(first, kShellLoggedResult);
    EXPECT_EQ(second, kShellLoggedResult);
    EXPECT_GT(kShellLoggedResult, 32) << "the logged result must read as success";
    EXPECT_EQ(ReadBytes(log), "open\thttps://plugins.invalid/search\t1\r\n"
                              "explore\t" + folder.path() + "\t3\r\n");
}
