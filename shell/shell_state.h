// The shell's program state: start-up values, key latches, the main window's handles, its
// button state and its layout. The language and the folders live in `catalogue`.
#pragma once

#include <cstdint>

#include "toolkit/handle.h"
#include "toolkit/text.h"
#include "toolkit/value.h"

// Values settled by start-up and read for the rest of the run. Written by the program thread
// during start-up (the start tick when the main loop is entered).
struct StartupValues {
    Text productName = "Quorrel";   // mutex name, title prefix of the running copy
    Text settingsFile;              // program folder + "\settings.ini"
    Text configuredFolder;          // key `folder`; after start-up the searchplugins path
    Text driveRoot;                 // first three characters of the configured folder
    Text imageExtensions;           // tried beside a plugin's base name, separated by "#"
    Handle underlinedFont = 0;
    Handle normalFont = 0;
    Handle boldFont = 0;
    std::uint32_t startTick = 0;    // GetTickCount when the main loop is entered

    // Zero-filled blocks handed to Win32 calls by name; the 32768-byte text buffer is
    // catalogue.textBuffer.
    MemoryArea generalBlock;        // 250 bytes
    MemoryArea cursorPoint;         // 8 bytes: room for a POINT
    MemoryArea volumeInfo;          // 255 bytes: the GetVolumeInformationA buffers
    MemoryArea byteBlock;           // 1 byte
    MemoryArea windowRect;          // 16 bytes: the RECT for GetWindowRect
};

// Latches that block a keyboard shortcut until its key has been seen released (1 = blocked).
// Written by the program thread: set by the commands, cleared by the main loop.
struct KeyLatches {
    int enter = 1;   // blocked at start, so an Enter still held from the start opens nothing
    int altT = 0;
    int altU = 0;
    int altI = 0;
    int hide = 0;
};

// Handles of the main window and its controls, kept for the life of the program. Written by
// the program thread while it builds the main window.
struct MainWindowHandles {
    Handle mainWindow = 0;
    Handle hintText = 0;
    Handle fileList = 0;
    Handle pluginList = 0;
    Handle moveUp = 0;
    Handle moveDown = 0;
    Handle refresh = 0;
    Handle showHidden = 0;
    Handle addPlugin = 0;
    Handle openFolder = 0;
    Handle sort = 0;
    Handle origFilenames = 0;       // 0 in copy mode, where the button does not exist
    Handle infoButton = 0;
    Handle groupBox = 0;
    Handle creditLabel = 0;
    Handle tooltip = 0;
};

// What the main window's buttons currently show. Written by the program thread
// (UpdateMoveButtons and the Show Hidden caption).
struct MainWindowStatus {
    int selection = -1;             // plugin-list selection as UpdateMoveButtons last read it
    int moveUpDisabled = 0;
    int moveDownDisabled = 0;
    int hiddenCount = 0;            // hidden plugin files, as the Show Hidden caption shows
};

// Sizes computed from the system metrics before the main window is opened; the main loop
// converts cursor positions into client coordinates with frame and captionAndFrame.
// Written by the program thread while it builds the main window.
struct MainWindowLayout {
    int frame = 0;
    int caption = 0;
    int captionAndFrame = 0;
    int windowWidth = 0;
    int windowHeight = 0;
};

extern StartupValues startup;
extern KeyLatches latches;
extern MainWindowHandles mainWindow;
extern MainWindowStatus mainWindowStatus;
extern MainWindowLayout mainWindowLayout;
