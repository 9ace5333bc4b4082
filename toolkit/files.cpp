// File slots, ioStatus, the shared folder search, text reads into areas and shell opening.
// Every path goes to the wide Win32 functions, so that file names with characters the ANSI
// code page lacks are listed and handled like any other (see toolkit/wide_names.h).
#include "toolkit/files.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "toolkit/errors.h"
#include "toolkit/interface_thread.h"
#include "toolkit/interface_thread_internal.h"
#include "toolkit/owned_handle.h"
#include "toolkit/shell_library.h"
#include "toolkit/wide_paths.h"
#include "toolkit/wide_names.h"

namespace {

// A text output stream: bytes go to the file unchanged, each WriteText in one WriteFile call,
// so a failed write shows at once and closing has nothing left to flush. Only writing
// streams exist, so the stream itself is the slot's direction flag.
struct TextStream {
    FileHandle file;
    bool failed = false;
};

struct FileSlot {
    Text name;
    FileHandle raw;                    // open for raw reading
    std::optional<TextStream> stream;  // open for text writing
};

// The file layer's state: the slot table (index 0 unused), ioStatus and the one shared search.
// It belongs to the program thread; the interface thread only closes the search at the end.
struct FileState {
    std::array<FileSlot, kLastFileSlot + 1> slots;
    int ioStatus = kIoOk;
    SearchHandle search;
    bool searchReleasedAtEnd = false;  // the toolkit-end cleanup has been registered
};
FileState fileState;

// The slot, or nullptr after raising the fatal error for a number outside 1..15.
FileSlot* SlotAt(int n) {
    if (n < kFirstFileSlot || n > kLastFileSlot) {
        RaiseFatalError(kErrFileNumber);
        return nullptr;
    }
    return &fileState.slots[static_cast<std::size_t>(n)];
}

// Open and read operations keep only the low Win32 codes; the higher ones would collide
// with the toolkit's own codes.
void SetIoStatusFromOpenOrRead(DWORD error) {
    if (error >= 1 && error <= 18) fileState.ioStatus = static_cast<int>(error);
}

void SetIoStatusFromLastError() { fileState.ioStatus = static_cast<int>(GetLastError()); }

Text EntryName(const WIN32_FIND_DATAW& data) {
    Text name = TextOfWide(data.cFileName);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "[" + name + "]";
    return name;
}

void ReleaseSearchAtToolkitEnd() {
    if (fileState.searchReleasedAtEnd) return;
    fileState.searchReleasedAtEnd = true;
    AtToolkitEnd([] { fileState.search.reset(); });
}

// Builds the NUL-terminated text of a file in an area. The count follows the line-end rules
// (a CR counts two, a dropped NUL one) and decides when reading stops; bytes are only ever
// stored inside the area, because a CR that expands to two bytes can pass the capacity by one.
class AreaTextBuilder {
public:
    explicit AreaTextBuilder(MemoryArea& area) : out_(area.data()), capacity_(area.size()) {
        if (capacity_ > 0) out_[0] = '\0';
    }

    bool Full() const { return counted_ >= capacity_; }

    void Add(unsigned char byte) {
        if (byte == '\n' && afterCarriageReturn_) {
            afterCarriageReturn_ = false;
            return;
        }
        afterCarriageReturn_ = byte == '\r';
        if (byte == '\r') {
            Store('\r');
            Store('\n');
            counted_ += 2;
        } else if (byte == '\0') {
            counted_ += 1;
        } else {
            Store(static_cast<char>(byte));
            counted_ += 1;
        }
    }

    void AppendLineEnd() {
        for (char c : {'\r', '\n'}) {
            if (Full()) return;
            Store(c);
            counted_ += 1;
        }
    }

    // Terminates the text; when the count reached the capacity the text is cut so that it
    // and its NUL fill at most the whole area. Returns whether it had to be cut.
    bool Finish() {
        const bool cut = Full();
        if (capacity_ == 0) return cut;
        if (cut) stored_ = std::min(stored_, capacity_ - 1);
        out_[stored_] = '\0';
        return cut;
    }

private:
    void Store(char c) {
        if (stored_ < capacity_) out_[stored_++] = c;
    }

    char* out_;
    std::size_t capacity_;
    std::size_t counted_ = 0;
    std::size_t stored_ = 0;
    bool afterCarriageReturn_ = false;
};

// Appends the line end every text read ends with and terminates the text; a text that had to
// be cut raises warning 244.
void FinishAreaText(AreaTextBuilder& text) {
    text.AppendLineEnd();
    if (text.Finish()) RaiseWarning(kErrTextDoesNotFit);
}

bool WriteAll(TextStream& stream, const char* bytes, std::size_t count) {
    while (count > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(stream.file.get(), bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

// FileSize of a plain name, looked up directly: a folder search opens the folder and costs several
// wineserver calls, about twenty times a direct lookup when the file is there, and a save or a
// conversion probes once per plugin. Nothing when the search has to decide: names with wildcard
// characters (FindFirstFile also treats < > " as such), names that end in a separator or a drive
// colon (a search finds nothing there, a direct lookup would find the folder), and lookups that
// failed for another reason than a missing file or folder. Otherwise -1 for a missing file, which is
// what the search says too.
std::optional<std::int64_t> SizeWithoutSearch(const Text& name) {
    if (name.empty() || name.find_first_of("*?<>\"") != Text::npos) return std::nullopt;
    const char last = name.back();
    if (last == '\\' || last == '/' || last == ':') return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (GetFileAttributesExW(WidePath(name).c_str(), GetFileExInfoStandard, &info)) {
        return static_cast<std::int64_t>(info.nFileSizeLow);
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return -1;
    return std::nullopt;
}

Text CurrentDirectory() {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return Text();
    std::vector<wchar_t> buffer(size);
    DWORD length = GetCurrentDirectoryW(size, buffer.data());
    if (length == 0 || length >= size) return Text();
    return TextOfWide(buffer.data());
}

}  // namespace

void AssignFileName(int slot, const Text& name) {
    if (FileSlot* s = SlotAt(slot)) s->name = name;
}

void OpenBinaryFile(int slot) {
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    fileState.ioStatus = kIoOk;
    s->raw.reset();  // a handle of its own, opened without sharing, would block the new one
    s->raw = FileHandle(CreateFileW(WidePath(s->name).c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                                    FILE_FLAG_RANDOM_ACCESS | FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!s->raw) SetIoStatusFromOpenOrRead(GetLastError());
}

std::int64_t ReadFileBlock(int slot, MemoryArea& area, std::size_t offset, std::size_t count) {
    FileSlot* s = SlotAt(slot);
    if (!s) return -1;
    if (!s->raw) {
        fileState.ioStatus = kIoSlotNotOpen;
        return -1;
    }
    fileState.ioStatus = kIoOk;
    // Never past the end of the area, whatever the caller asks for.
    const std::size_t room = offset < area.size() ? area.size() - offset : 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>({count, room, MAXDWORD}));
    DWORD read = 0;
    if (wanted > 0 && !ReadFile(s->raw.get(), area.data() + offset, wanted, &read, nullptr)) {
        SetIoStatusFromOpenOrRead(GetLastError());
    }
    return read;
}

void CloseFile(int slot) {
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    if (s->raw) {
        s->raw.reset();
    } else {
        s->stream.reset();
    }
}

std::int64_t FileSize(const Text& name) {
    fileState.ioStatus = kIoOk;
    std::int64_t size = -1;
    if (const std::optional<std::int64_t> direct = SizeWithoutSearch(name)) {
        size = *direct;
    } else {
        WIN32_FIND_DATAW data{};
        SearchHandle found(FindFirstFileW(WidePath(name).c_str(), &data));
        if (found) size = static_cast<std::int64_t>(data.nFileSizeLow);
    }
    if (size < 0) {
        fileState.ioStatus = kIoSlotNotOpen;
        RaiseWarning(kErrFileNotFound, ReadableText(name));
    }
    return size;
}

void CreateTextFile(int slot) {
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    if (s->name.empty()) {
        fileState.ioStatus = kIoSlotHasNoName;
        return;
    }
    fileState.ioStatus = kIoOk;
    s->stream.reset();
    FileHandle file(CreateFileW(WidePath(s->name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        fileState.ioStatus = kIoNotFoundOrNotCreated;
        return;
    }
    s->stream.emplace(TextStream{std::move(file)});
}

void WriteText(int slot, const Text& text, int separatorMode, bool /*fromNumber*/) {
    // The number flag would pad numbers to a file number width, which is 0 for the whole run.
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    if (!s->stream || s->stream->failed) {
        fileState.ioStatus = kIoSlotNotOpen;
        return;
    }
    Text copy = text;
    if (separatorMode == 0) copy += ' ';
    Text bytes = copy.c_str();  // up to the first NUL
    if (separatorMode == 2) bytes += "\r\n";
    if (!WriteAll(*s->stream, bytes.data(), bytes.size())) {
        s->stream->failed = true;
        fileState.ioStatus = kIoSlotNotOpen;
    }
}

void CloseTextFile(int slot) {
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    fileState.ioStatus = kIoOk;
    if (s->stream) {
        // A stream that failed lost text: say so instead of reporting success.
        if (s->stream->failed) fileState.ioStatus = kIoSlotNotOpen;
        s->stream.reset();
        return;
    }
    s->raw.reset();
    fileState.ioStatus = kIoSlotNotOpen;
}

void ReadTextFileIntoArea(MemoryArea& area, const Text& name) {
    FileHandle file(CreateFileW(WidePath(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        RaiseFatalError(kErrFileNotReadable, ReadableText(name));
        return;
    }
    AreaTextBuilder text(area);
    std::vector<unsigned char> chunk(64 * 1024);
    while (!text.Full()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) || got == 0) break;
        for (DWORD i = 0; i < got && !text.Full(); ++i) text.Add(chunk[i]);
    }
    FinishAreaText(text);
}

void ReadTextIntoArea(MemoryArea& area, const Text& bytes) {
    AreaTextBuilder text(area);
    for (std::size_t i = 0; i < bytes.size() && !text.Full(); ++i) {
        text.Add(static_cast<unsigned char>(bytes[i]));
    }
    FinishAreaText(text);
}

std::optional<Text> ReadFileHead(const Text& path, std::size_t limit, FileSharing sharing) {
    const DWORD share = sharing == FileSharing::Shared ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    Text head(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(limit - filled, MAXDWORD));
        if (!ReadFile(file.get(), head.data() + filled, wanted, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        filled += got;
    }
    head.resize(filled);
    return head;
}

std::optional<std::uint32_t> AttributesIfPresent(const Text& path) {
    const DWORD bits = GetFileAttributesW(WidePath(path).c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return bits;
}

void RenameFile(int slot, const Text& newName) {
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    fileState.ioStatus = kIoOk;
    if (!MoveFileW(WidePath(s->name).c_str(), WidePath(newName).c_str())) SetIoStatusFromLastError();
}

void EraseFile(int slot) {
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    fileState.ioStatus = kIoOk;
    if (!DeleteFileW(WidePath(s->name).c_str())) SetIoStatusFromLastError();
}

std::uint32_t GetPathAttributes(const Text& path) {
    DWORD bits = GetFileAttributesW(WidePath(path).c_str());
    if (bits == INVALID_FILE_ATTRIBUTES) {
        RaiseFatalError(kErrFileNotReadable, ReadableText(path));
        return 9;  // what a program that goes on at error level -1 sees
    }
    return bits;
}

std::uint32_t GetFileAttributesOf(int slot) {
    FileSlot* s = SlotAt(slot);
    if (!s) return 0;
    return GetPathAttributes(s->name);
}

void SetFileAttributesOf(int slot, std::uint32_t bits) {
    FileSlot* s = SlotAt(slot);
    if (!s) return;
    if (!SetFileAttributesW(WidePath(s->name).c_str(), bits)) {
        RaiseFatalError(kErrFileNotReadable, ReadableText(s->name));
    }
}

Text FindFirstEntry(const Text& pattern) {
    fileState.search.reset();
    ReleaseSearchAtToolkitEnd();
    WIN32_FIND_DATAW data{};
    fileState.search = SearchHandle(FindFirstFileW(WidePath(pattern).c_str(), &data));
    if (!fileState.search) {
        fileState.ioStatus = kIoNoMoreEntries;
        return Text();
    }
    fileState.ioStatus = kIoOk;
    return EntryName(data);
}

Text FindNextEntry() {
    WIN32_FIND_DATAW data{};
    if (!fileState.search || !FindNextFileW(fileState.search.get(), &data)) {
        fileState.ioStatus = kIoNoMoreEntries;
        return Text();
    }
    fileState.ioStatus = kIoOk;
    return EntryName(data);
}

int TakeIoStatus() {
    return std::exchange(fileState.ioStatus, kIoOk);
}

int PeekIoStatus() {
    return fileState.ioStatus;
}

void MakeFolder(const Text& path) {
    fileState.ioStatus = kIoOk;
    if (!CreateDirectoryW(WidePath(path).c_str(), nullptr)) SetIoStatusFromLastError();
}

void ChangeFolder(const Text& path) {
    fileState.ioStatus = kIoOk;
    if (!SetCurrentDirectoryW(WidePath(path).c_str())) fileState.ioStatus = kIoNotFoundOrNotCreated;
}

void RemoveFolder(const Text& path) {
    fileState.ioStatus = kIoOk;
    if (!RemoveDirectoryW(WidePath(path).c_str())) fileState.ioStatus = kIoNotFoundOrNotCreated;
}

Text CurrentFolderOf(const Text& drive) {
    const Text letter = UpperCase(LeftOf(drive, 1));
    if (letter.empty() || letter == "@") return CurrentDirectory();
    // "X:" enters the folder the system remembers for that drive.
    const Text remembered = CurrentDirectory();
    if (!SetCurrentDirectoryW(WidePath(letter + ":").c_str())) return Text();
    Text folder = CurrentDirectory();
    SetCurrentDirectoryW(WidePath(remembered).c_str());
    return folder;
}

Text ProgramFolder() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return Text();
        if (length < buffer.size()) {
            Text path(buffer.data(), length);
            return path.substr(0, path.find_last_of('\\') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

void StartProgram(const Text& commandLine, int showMode) {
    constexpr DWORD kInputIdleWaitMs = 30000;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showMode);
    PROCESS_INFORMATION started{};
    std::wstring line = WidePath(commandLine);  // CreateProcessW may write into the command line
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
        return;
    }
    const KernelHandle process(started.hProcess);
    const KernelHandle thread(started.hThread);
    WaitForInputIdle(process.get(), kInputIdleWaitMs);
}

namespace {
// Outside FileState on purpose: a constant-initialised pointer is already null when a test
// build installs its replacement from a static initialiser, before any constructor has run.
ShellOpenReplacement shellOpenReplacement = nullptr;
}  // namespace

void ReplaceShellOpen(ShellOpenReplacement replacement) { shellOpenReplacement = replacement; }

std::intptr_t ShellOpen(const Text& file, const Text& verb, int showMode) {
    if (shellOpenReplacement) return shellOpenReplacement(file, verb, showMode);
    // On the interface thread, which has COM initialised for the shell's extensions.
    std::intptr_t result = 0;
    SendRequest([&] {
        const auto shellExecute = ShellFunction<decltype(&ShellExecuteA)>("ShellExecuteA");
        if (!shellExecute) return;  // 0: as the shell answers when it is out of resources
        result = reinterpret_cast<std::intptr_t>(
            shellExecute(nullptr, verb.c_str(), file.c_str(), nullptr, nullptr, showMode));
    });
    return result;
}
