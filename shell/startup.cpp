#include "shell/startup.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "catalogue/catalogue_state.h"
#include "catalogue/fatal_error.h"
#include "catalogue/order_persistence.h"
#include "catalogue/plugin_file.h"
#include "shell/shell_state.h"
#include "shell/startup_rules.h"
#include "shell/startup_texts.h"
#include "toolkit/command_line.h"
#include "toolkit/controls.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/files.h"
#include "toolkit/input_state.h"
#include "toolkit/interface_thread.h"
#include "toolkit/settings.h"
#include "toolkit/trace.h"
#include "toolkit/value.h"
#include "toolkit/window_services.h"

namespace {

constexpr int kWmClose = 16;
constexpr int kWmCommand = 273;
constexpr int kSwShowNormal = 1;
constexpr int kFlushWaitMs = 1;
constexpr int kBoxIconInformation = 64;
constexpr std::uint32_t kUnreadableAttributes = 9;   // GetPathAttributes at error level -1

const char* const kSettingsSection = "Software\\Quorrel";
const char* const kFolderKey = "folder";

std::intptr_t Address(MemoryArea& area, std::size_t offset = 0) {
    return reinterpret_cast<std::intptr_t>(area.data() + offset);
}

void AllocateMemoryBlocks() {
    AllocateArea(startup.generalBlock, 250);
    AllocateArea(catalogue.textBuffer, 32768);
    AllocateArea(startup.cursorPoint, 8);
    AllocateArea(startup.volumeInfo, 255);
    AllocateArea(startup.byteBlock, 1);
    AllocateArea(startup.windowRect, 16);
}

void FreeMemoryBlocks() {
    FreeArea(startup.generalBlock);
    FreeArea(catalogue.textBuffer);
    FreeArea(startup.cursorPoint);
    FreeArea(startup.volumeInfo);
    FreeArea(startup.byteBlock);
    FreeArea(startup.windowRect);
}

struct WindowRectangle {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

WindowRectangle ReadWindowRect(Handle window) {
    CallLibraryFunction("USER32", "GetWindowRect", {window, Address(startup.windowRect)});
    std::int32_t rect[4];
    std::memcpy(rect, startup.windowRect.data(), sizeof rect);
    return {rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]};
}

// The second copy brings the running one in front of other windows without leaving it
// topmost, flashes its caption and ends without showing anything of its own.
[[noreturn]] void HandOverToRunningCopy(Handle running) {
    const WindowRectangle r = ReadWindowRect(running);
    ShowWindowMode(running, kSwShowNormal);
    SetErrorLevel(-1);
    PlaceWindow(running, r.left, r.top, r.width, r.height, -1);
    PlaceWindow(running, r.left, r.top, r.width, r.height, -2);
    PlaceWindow(running, r.left, r.top, r.width, r.height, 0);
    ShowWindowMode(running, kSwShowNormal);
    const int flashes[] = {1, 1, 1, 2, 1, 2};
    for (int i = 0; i < 6; ++i) {
        CallLibraryFunction("USER32", "FlashWindow", {running, flashes[i]});
        if (i < 5) PauseInterface(500);
    }
    FreeMemoryBlocks();
    EndProgram();
}

// The window is searched before the mutex is created, so a copy that is still starting
// (mutex but no window yet) is handed a window handle of 0, on which every call fails.
void EnsureSingleInstance() {
    const Handle running = FindWindowByTitle(startup.productName);
    // The mutex stays open for the life of the process: it marks this copy as running.
    const std::intptr_t mutex =
        CallLibraryFunction("KERNEL32", "CreateMutexA", {0, 1, Arg(startup.productName)});
    const auto lastError =
        static_cast<std::uint32_t>(CallLibraryFunction("KERNEL32", "GetLastError"));
    if (mutex != 0 && lastError == 0) return;
    HandOverToRunningCopy(running);
}

void StoreStartValues() {
    startup.imageExtensions = ".png#.gif#.jpg#.jpeg#.jpe#.ico#.bmp";
    startup.underlinedFont = CreateFontHandle("Tahoma", 13, 0, 0, 0, 1);
    startup.normalFont = CreateFontHandle("Tahoma", 13, 0, 0, 0, 0);
    startup.boldFont = CreateFontHandle("Tahoma", 13, 0, 1, 0, 0);
    catalogue.startFolder = CurrentFolderOf("@");
}

void SettleLanguage() {
    std::optional<Language> language;
    if (CommandLineCount() >= 1) language = LanguageFromParameter(CommandLineParameter(1));
    if (!language) {
        SetErrorLevel(-1);
        const Text country = ReadSetting("HKEY_1", "Control Panel\\International", "sCountry");
        language = LanguageFromCountry(country);
        SetErrorLevel(0);
    }
    catalogue.language = *language;
}

bool FolderIsUsable(const Text& folder) {
    return !folder.empty() && GetPathAttributes(folder) != kUnreadableAttributes;
}

Text AskForFolder() {
    ShowMessageBox(Say(kStartupTexts.notice), Say(kStartupTexts.noticeCaption),
                   kBoxIconInformation);
    return BrowseForFolder(Say(kStartupTexts.browserPrompt));
}

void SettleConfiguredFolder() {
    startup.settingsFile = ProgramFolder() + "\\settings.ini";
    SetErrorLevel(-1);
    Text folder = ReadSetting(startup.settingsFile, kSettingsSection, kFolderKey);
    if (!FolderIsUsable(folder)) folder = AskForFolder();
    SetErrorLevel(0);
    if (!NamesDriveFolder(folder)) FatalError(kFatalNoPluginFolder);
    startup.configuredFolder = folder;
}

// Buffers inside the 255-byte block: volume name from 0, serial number at 100, file-system
// name from 105. A failed call leaves the name empty, which means rename mode.
void SettleFileSystemMode() {
    startup.driveRoot = LeftOf(startup.configuredFolder, 3);
    CallLibraryFunction("KERNEL32", "GetVolumeInformationA",
                        {Arg(startup.driveRoot), Address(startup.volumeInfo, 0), 255,
                         Address(startup.volumeInfo, 100), 0, 0, Address(startup.volumeInfo, 105), 100});
    catalogue.ntfsMode = IsFatFileSystem(AreaText(startup.volumeInfo, 105)) ? 0 : 1;
}

void SettlePluginFolders() {
    const DerivedFolders folders = DeriveFolders(startup.configuredFolder);
    catalogue.pluginFolder = folders.pluginFolder;
    catalogue.tempFolder = folders.tempFolder;
    startup.configuredFolder = folders.configuredFolder;
}

}  // namespace

void RunStartup() {
    AllocateMemoryBlocks();
    EnsureSingleInstance();
    StoreStartValues();
    RegisterUserMessages({kWmClose, kWmCommand});
    SettleLanguage();
    SettleConfiguredFolder();
    SettleFileSystemMode();
    SettlePluginFolders();
    // Written at every start, so the file always names the searchplugins folder itself.
    WriteSetting(startup.settingsFile, kSettingsSection, kFolderKey, startup.configuredFolder);
    // Plugins that an interrupted save left in the temporary folder are hidden from the browser
    // until they come back; in rename mode too, since the folder may have been on FAT before.
    RecoverFromTemporaryFolder();
    // A rewrite cut short by the program's end left the plugin's old bytes beside it.
    RestoreInterruptedRewrites();
}

int KeyState(int virtualKey) {
    return KeyStateValue(GetKeyStateOf(virtualKey));
}

bool KeyDown(int virtualKey) { return KeyStateIsDown(KeyState(virtualKey)); }

bool KeyUp(int virtualKey) { return KeyStateIsUp(KeyState(virtualKey)); }

// A timer of 1 ms would not do: the system runs no timer more often than every 10 ms, and every
// command would wait that long before it starts.
void FlushEvents() {
    AwaitInputEvent(kFlushWaitMs);
    QUORREL_TRACE_MARK("command's events flushed");
}

void ExitProgram() {
    FreeMemoryBlocks();
    const auto tooltipExists = static_cast<std::int32_t>(
        CallLibraryFunction("USER32", "IsWindow", {mainWindow.tooltip}));
    if (tooltipExists != 0) DestroyWindowHandle(mainWindow.tooltip);
    EndProgram();
}
