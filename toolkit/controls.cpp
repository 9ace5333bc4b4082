// Controls by keyword or by class, dialog windows, fonts, placing, showing and destroying
// windows, and reading window texts.
#include "toolkit/controls.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "toolkit/errors.h"
#include "toolkit/interface_thread.h"
#include "toolkit/interface_thread_internal.h"
#include "toolkit/owned_handle.h"
#include "toolkit/window_handles.h"
#include "toolkit/window_procedures.h"
#include "toolkit/window_settings.h"

namespace {

HINSTANCE Instance() { return reinterpret_cast<HINSTANCE>(ProgramInstance()); }

// What a control-creation request carries. With the explicit-id flag the window gets exactly the block's
// id and instance; without it, the next automatic id and the program's instance.
struct ControlRequest {
    bool explicitId = false;
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    Text className;
    Text text;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    std::intptr_t id = 0;
    HINSTANCE instance = nullptr;
    HWND result = nullptr;
};

// State of control creation. nextAutomaticId is written by the interface thread only; the
// rich-edit library and the font list by the program thread. The library and the fonts are
// released when the toolkit ends.
struct ControlState {
    int nextAutomaticId = 1000;
    std::once_flag richEditLoaded;
    const char* richEditClass = "RichEdit";
    LoadedLibrary richEditLibrary;
    std::mutex fontLock;
    std::vector<GdiObject<HFONT>> fonts;
    bool fontCleanupRegistered = false;
};
ControlState controlState;

void ApplyCreationFont(HWND window) {
    const std::intptr_t mode = windowSettings.creationFontMode.load();
    if (mode < 1) return;
    const std::intptr_t font = mode == 1 ? windowSettings.currentFont.load() : mode;
    SendMessageA(window, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
}

void CreateFromBlock(ControlRequest& block) {
    std::intptr_t id = block.id;
    HINSTANCE instance = block.instance;
    if (!block.explicitId) {
        id = controlState.nextAutomaticId++;
        instance = Instance();
    }
    block.result = CreateWindowExA(block.extendedStyle, block.className.c_str(), block.text.c_str(),
                                   block.style, block.x, block.y, block.width, block.height,
                                   block.parent, reinterpret_cast<HMENU>(id), instance, nullptr);
    if (block.result) ApplyCreationFont(block.result);
}

HWND SendControlRequest(ControlRequest& block) {
    SendRequest([&block] { CreateFromBlock(block); });
    return block.result;
}

// A block for a window of the class with the text, styles, parent and place; the id and
// instance stay for the caller to set.
ControlRequest RequestFor(const Text& className, const Text& text, std::uint32_t style,
                          std::uint32_t extendedStyle, Handle parent, int x, int y, int width,
                          int height) {
    ControlRequest block;
    block.style = style;
    block.extendedStyle = extendedStyle;
    block.className = className;
    block.text = text;
    block.x = x;
    block.y = y;
    block.width = width;
    block.height = height;
    block.parent = AsHwnd(parent);
    return block;
}

HWND CreateAutomatic(const char* className, std::uint32_t style, std::uint32_t extendedStyle,
                     Handle parent, const Text& text, int x, int y, int width, int height) {
    ControlRequest block =
        RequestFor(className, text, style, extendedStyle, parent, x, y, width, height);
    return SendControlRequest(block);
}

// The rich edit of RICHED20.DLL when it loads, else the older one of RICHED32.DLL. The
// library stays loaded while controls of its class may exist.
const char* RichEditClass() {
    std::call_once(controlState.richEditLoaded, [] {
        LoadedLibrary library(LoadLibraryA("RICHED20.DLL"));
        if (library) {
            controlState.richEditClass = "RichEdit20A";
        } else {
            library.reset(LoadLibraryA("RICHED32.DLL"));
        }
        if (!library) return;
        controlState.richEditLibrary = std::move(library);
        AtToolkitEnd([] { controlState.richEditLibrary.reset(); });
    });
    return controlState.richEditClass;
}

// Rows whose creation is more than one plain control request.
enum class Special { None, Password, WrapLines, RichEdit, Window, Template, Spin };

struct ControlKind {
    const char* keyword;
    const char* className;
    std::uint32_t style;
    std::uint32_t extendedStyle;
    Special special;
};

constexpr ControlKind kControlKinds[] = {
    {"button", "BUTTON", 0x50010000, 0, Special::None},
    {"defbutton", "BUTTON", 0x50010001, 0, Special::None},
    {"checkbox", "BUTTON", 0x50010003, 0, Special::None},
    {"radiobutton", "BUTTON", 0x50010009, 0, Special::None},
    {"text", "STATIC", 0x50000000, 0, Special::None},
    {"edit", "EDIT", 0x50010080, 0x200, Special::Password},
    {"multiedit", "EDIT", 0x50311144, 0x200, Special::WrapLines},
    {"listbox", "LISTBOX", 0x50B101C1, 0x200, Special::None},
    {"sortedlistbox", "LISTBOX", 0x50B101C3, 0x200, Special::None},
    {"choicebox", "COMBOBOX", 0x50210303, 0, Special::None},
    {"groupbox", "BUTTON", 0x50020007, 0, Special::None},
    {"hscroll", "SCROLLBAR", 0x50010000, 0, Special::None},
    {"vscroll", "SCROLLBAR", 0x50010001, 0, Special::None},
    {"dialog", nullptr, 0, 0, Special::Template},
    {"window", "DIALOG", 0, 0, Special::Window},
    {"tabctrl", "SysTabControl32", 0x54010000, 0, Special::None},
    {"richedit", nullptr, 0x54214044, 0x200, Special::RichEdit},
    {"spinedit", "EDIT", 0x50010080, 0x200, Special::Spin},
    {"dateedit", "SysDateTimePick32", 0x50000000, 0, Special::None},
    {"timeedit", "SysDateTimePick32", 0x50000009, 0, Special::None},
};

const ControlKind* FindControlKind(const Text& keyword) {
    const Text wanted = LowerCase(keyword);
    for (const ControlKind& kind : kControlKinds) {
        if (wanted == kind.keyword) return &kind;
    }
    return nullptr;
}

Handle CreateRichEdit(const ControlKind& kind, Handle parent, const Text& text, int x, int y,
                      int width, int height) {
    HWND edit = CreateAutomatic(RichEditClass(), kind.style, kind.extendedStyle, parent, text, x,
                                y, width, height);
    SendRequest([parent] { InvalidateRect(AsHwnd(parent), nullptr, TRUE); });
    return AsHandle(edit);
}

Handle CreateFromTemplate(Handle parent) {
    HWND dialog = nullptr;
    SendRequest([&] {
        dialog = CreateDialogParamA(Instance(), "LDIALOG", AsHwnd(parent), TemplateDialogProc, 0);
    });
    return AsHandle(dialog);
}

// An edit field with an up-down control beside it that counts in the field.
Handle CreateSpinEdit(const char* className, std::uint32_t style, std::uint32_t extendedStyle,
                      Handle parent, const Text& text, int x, int y, int width, int height) {
    HWND edit = CreateAutomatic(className, style, extendedStyle, parent, text, x, y, width, height);
    if (!edit) return 0;
    SendRequest([edit, parent] {
        HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                                    WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT |
                                        UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                    0, 0, 0, 0, AsHwnd(parent), nullptr, Instance(), nullptr);
        if (spin) SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    });
    return AsHandle(edit);
}

HWND InsertAfter(int zOrder) {
    switch (zOrder) {
        case 0: return nullptr;
        case 1: return HWND_BOTTOM;
        case -1: return HWND_TOPMOST;
        case -2: return HWND_NOTOPMOST;
        default: return HWND_TOP;
    }
}

// Dispatches everything waiting in the interface thread's queue. Requests are left in the
// queue for the message loop, and a quit message is put back so that the loop still ends.
void DispatchPendingMessages() {
    MSG msg;
    for (;;) {
        if (!PeekMessageA(&msg, nullptr, 0, kRequestMessage - 1, PM_REMOVE) &&
            !PeekMessageA(&msg, nullptr, kRequestMessage + 1, 0xFFFFFFFF, PM_REMOVE)) {
            return;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

Handle CreateControl(const Text& keyword, Handle parent, const Text& text, int x, int y, int width,
                     int height) {
    const ControlKind* kind = FindControlKind(keyword);
    if (!kind) {
        RaiseFatalError(kErrUnknownCreateObject, UpperCase(keyword));
        return 0;
    }
    std::uint32_t style = kind->style;
    if (height < 0) {
        // A negative height is a request of the edit kinds; the size is its absolute value.
        if (kind->special == Special::Password || kind->special == Special::Spin) {
            style |= ES_PASSWORD;
            height = -height;
        } else if (kind->special == Special::WrapLines) {
            style &= ~static_cast<std::uint32_t>(WS_HSCROLL);
            height = -height;
        }
    }
    switch (kind->special) {
        case Special::RichEdit:
            return CreateRichEdit(*kind, parent, text, x, y, width, height);
        case Special::Window:
            return CreateDialogWindow(parent, text, x, y, width, height);
        case Special::Template:
            return CreateFromTemplate(parent);
        case Special::Spin:
            return CreateSpinEdit(kind->className, style, kind->extendedStyle, parent, text, x, y,
                                  width, height);
        default:
            return AsHandle(CreateAutomatic(kind->className, style, kind->extendedStyle, parent,
                                            text, x, y, width, height));
    }
}

Handle CreateButton(Handle parent, const Text& text, int x, int y, int width, int height) {
    return CreateControl("button", parent, text, x, y, width, height);
}

Handle CreateEditField(Handle parent, const Text& text, int x, int y, int width, int height) {
    return CreateControl("edit", parent, text, x, y, width, height);
}

Handle CreateTextLabel(Handle parent, const Text& text, int x, int y, int width, int height) {
    return CreateControl("text", parent, text, x, y, width, height);
}

Handle CreateWindowDirect(const Text& className, const Text& text, std::uint32_t style, int x, int y,
                          int width, int height, Handle parent, int id, Handle instance,
                          std::uint32_t extendedStyle) {
    ControlRequest block =
        RequestFor(className, text, style, extendedStyle, parent, x, y, width, height);
    block.explicitId = true;
    block.id = id;
    block.instance = reinterpret_cast<HINSTANCE>(instance);
    return AsHandle(SendControlRequest(block));
}

Handle CreateDialogWindow(Handle parent, const Text& title, int x, int y, int width, int height) {
    HWND dialog = nullptr;
    SendRequest([&] {
        dialog = CreateWindowExA(windowSettings.extendedStyle.load(), "DIALOG", title.c_str(),
                                 windowSettings.style.load(), x, y, width, height, AsHwnd(parent),
                                 nullptr, Instance(), nullptr);
        if (!dialog) return;
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
    });
    return AsHandle(dialog);
}

Handle CreateFontHandle(const Text& face, int height, int width, int bold, int italic, int underline) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = static_cast<BYTE>(italic & 0xFF);
    font.lfUnderline = static_cast<BYTE>(underline & 0xFF);
    font.lfCharSet = ANSI_CHARSET;
    lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    GdiObject<HFONT> handle(CreateFontIndirectA(&font));
    if (!handle) return 0;
    const Handle created = reinterpret_cast<Handle>(handle.get());

    std::lock_guard<std::mutex> guard(controlState.fontLock);
    controlState.fonts.push_back(std::move(handle));
    if (!controlState.fontCleanupRegistered) {
        controlState.fontCleanupRegistered = true;
        AtToolkitEnd([] {
            std::lock_guard<std::mutex> g(controlState.fontLock);
            controlState.fonts.clear();
        });
    }
    return created;
}

void SetCreationFontMode(std::intptr_t mode) { windowSettings.creationFontMode.store(mode); }

void PlaceWindow(Handle window, int x, int y, int width, int height, int zOrder) {
    if (x < 0 || y < 0) RaiseWarning(kErrNegativeWindowSize);
    UINT flags = SWP_ASYNCWINDOWPOS;
    if (zOrder == 0) flags |= SWP_NOZORDER;
    SetWindowPos(AsHwnd(window), InsertAfter(zOrder), x, y, width, height, flags);
}

int ShowWindowMode(Handle window, int mode) {
    const int wasVisible = IsWindowVisible(AsHwnd(window)) ? 1 : 0;
    ShowWindowAsync(AsHwnd(window), mode);
    PostRequest(DispatchPendingMessages);
    return wasVisible;
}

void HoldDrawing(Handle window, bool hold) {
    SendMessageA(AsHwnd(window), WM_SETREDRAW, hold ? FALSE : TRUE, 0);
    if (!hold) {
        RedrawWindow(AsHwnd(window), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

int DestroyWindowHandle(Handle window) {
    BOOL destroyed = FALSE;
    SendRequest([&] { destroyed = DestroyWindow(AsHwnd(window)); });
    return destroyed ? 1 : 0;
}

Text GetControlText(Handle window) {
    const int length = GetWindowTextLengthA(AsHwnd(window));
    const int size = length == 0 ? 256 : length + 2;
    std::vector<char> buffer(static_cast<std::size_t>(size), '\0');
    GetWindowTextA(AsHwnd(window), buffer.data(), size);
    return Text(buffer.data());
}
