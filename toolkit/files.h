// Files and folders: fifteen numbered file slots, the shared status code ioStatus, one
// shared folder search, whole-file text reads into memory areas, and shell opening.
// Program thread only.
#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/text.h"
#include "toolkit/value.h"

// Status codes that file operations leave besides Win32 error codes.
enum IoStatusCode : int {
    kIoOk = 0,
    kIoNotFoundOrNotCreated = 2,   // text file not created, folder not entered or removed
    kIoNoMoreEntries = 18,         // a search found no (further) entry
    kIoSlotHasNoName = 102,
    kIoSlotNotOpen = 103,          // slot not open in the needed way, or a failed write
};

constexpr int kFirstFileSlot = 1;
constexpr int kLastFileSlot = 15;

// Win32 attribute bits the application looks at.
constexpr std::uint32_t kAttributeReadOnly = 1;
constexpr std::uint32_t kAttributeDirectory = 16;

void AssignFileName(int slot, const Text& name);
void OpenBinaryFile(int slot);
// Bytes read, at most as many as the area holds from the offset on; -1 and 103 when not open.
std::int64_t ReadFileBlock(int slot, MemoryArea& area, std::size_t offset, std::size_t count);
void CloseFile(int slot);
std::int64_t FileSize(const Text& name);            // -1 and warning 209 when missing
void CreateTextFile(int slot);
// Separator mode 0 appends a blank, 1 nothing, 2 writes CR LF after the text.
void WriteText(int slot, const Text& text, int separatorMode, bool fromNumber = false);
void CloseTextFile(int slot);                        // 103 without a stream or after a failed write
// The whole file as a NUL-terminated text with a line end appended: CR becomes CR LF, NUL
// bytes are dropped. A text that does not fit is cut inside the area (warning 244); a file
// that cannot be opened is fatal error 300. The file is opened with sharing for reading and
// writing, as a C runtime stream opens it, so another program that has it open for writing
// does not keep it from being read.
void ReadTextFileIntoArea(MemoryArea& area, const Text& name);
// The same text and warning for bytes already in memory, as if they were the whole file.
void ReadTextIntoArea(MemoryArea& area, const Text& bytes);
// Up to limit bytes from the start of an existing file; nothing when it cannot be opened
// (missing, a folder, or in use by another program in a way the sharing forbids) or read.
// Exclusive opens it without sharing, as the raw reads of the file slots do, so it fails
// while any other program has the file open; Shared allows others to read and write it.
// Never creates the file and leaves ioStatus alone.
enum class FileSharing { Exclusive, Shared };
std::optional<Text> ReadFileHead(const Text& path, std::size_t limit,
                                 FileSharing sharing = FileSharing::Exclusive);
// The attribute bits of a file or folder, without raising an error; nothing when the path
// names nothing (it was deleted or renamed away) or cannot be queried.
std::optional<std::uint32_t> AttributesIfPresent(const Text& path);
void RenameFile(int slot, const Text& newName);     // a move that never overwrites
void EraseFile(int slot);
std::uint32_t GetFileAttributesOf(int slot);         // error 300 when missing (result 9)
std::uint32_t GetPathAttributes(const Text& path);
void SetFileAttributesOf(int slot, std::uint32_t bits);
Text FindFirstEntry(const Text& pattern);            // folders come as "[name]"
Text FindNextEntry();
int TakeIoStatus();
int PeekIoStatus();                                  // ioStatus without clearing it
void MakeFolder(const Text& path);
void ChangeFolder(const Text& path);
void RemoveFolder(const Text& path);
Text CurrentFolderOf(const Text& drive);             // "@" is the current drive
Text ProgramFolder();                                // ends with a backslash
// Starts a program from a command line as WinExec does (looked for on the search path; returns
// once the program waits for input, or after 30 s), but through the wide function, so that a
// path in the command line may name a file whose name the ANSI code page cannot hold.
void StartProgram(const Text& commandLine, int showMode);
// ShellExecute without an owner window, parameters or working folder; returns the shell's value
// (above 32 on success).
std::intptr_t ShellOpen(const Text& file, const Text& verb, int showMode);
// A function that takes the shell's place in ShellOpen, with the same arguments and result. Only
// test builds install one (the program the end-to-end tests start records its shell calls
// instead of opening web pages and explorer windows); nullptr gives the shell back.
using ShellOpenReplacement = std::intptr_t (*)(const Text& file, const Text& verb, int showMode);
void ReplaceShellOpen(ShellOpenReplacement replacement);
