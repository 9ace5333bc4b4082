// Window procedures of the toolkit's classes and what they keep per main window.
#include "toolkit/window_procedures.h"

#include <windowsx.h>

#include <cstdint>

#include "toolkit/drag_list.h"
#include "toolkit/errors.h"
#include "toolkit/event_state.h"
#include "toolkit/interface_thread_internal.h"
#include "toolkit/trace.h"
#include "toolkit/window_handles.h"
#include "toolkit/window_settings.h"

namespace {

// What the toolkit keeps per main window, reached through GWLP_USERDATA.
struct MainWindowData {
    bool dialogMode = false;
    HMENU menu = nullptr;
    Canvas canvas;
    RECT sizeAtMoveStart{};
};

MainWindowData* DataOf(HWND window) {
    return reinterpret_cast<MainWindowData*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool AutoPaint() { return GetOption("autopaint") != 0; }
bool MessageModeOn() { return GetOption("messagemode") != 0; }

// A control's notification (a WM_COMMAND from a control with any code but a click: focus,
// selection and edit changes) does not take the place of a click, a menu item or a close request
// that the program has not read yet. The focus moves while a click is made, and the control that
// lost it may tell of it after the click: a rich edit redraws itself once the button has the
// focus, and its EN_UPDATE comes after a short click's BN_CLICKED.
bool KeepsUnreadCommand(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool notification = message == WM_COMMAND && lParam != 0 && HIWORD(wParam) != 0;
    if (!notification || eventState.userMessagesRead.load() == eventState.userMessageCount.load()) return false;
    const auto held = static_cast<WPARAM>(eventState.userWParam.load());
    const bool heldCommand = HIWORD(held) == 0 && (held != 0 || eventState.userLParam.load() != 0);
    return heldCommand || eventState.userMessage.load() == WM_CLOSE;
}

// Registered messages bypass every other handling and land in userMessage. The program thread
// reads the triple without a lock while it is written, the message before its parameters and
// userWParam before userLParam (a button click is a wParam with a zero high word and the
// button in lParam). So the parameters are stored first, lParam before wParam, and the message
// last, each store ordered after the one before: whoever sees a message sees its parameters or
// newer ones, and whoever sees a wParam sees its lParam or a newer one, never the lParam of an
// older message beside a new wParam.
bool TakeUserMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsUserMessage(message)) return false;
    QUORREL_TRACE_MARK("click seen by the interface thread");
    if (!KeepsUnreadCommand(message, wParam, lParam)) {
        eventState.userLParam.store(static_cast<std::intptr_t>(lParam), std::memory_order_release);
        eventState.userWParam.store(static_cast<std::intptr_t>(wParam), std::memory_order_release);
        eventState.userMessage.store(static_cast<std::int32_t>(message), std::memory_order_release);
        eventState.userMessageCount.fetch_add(1, std::memory_order_release);
    }
    PulseInputEvent();
    WakeProgramThread();
    return true;
}

void OnSize(WPARAM kind) {
    if (kind == SIZE_MINIMIZED || kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) {
        eventState.eventCode.store(4);
        PulseInputEvents();
    }
}

void OnActivate(HWND window, WPARAM wParam) {
    eventState.activeDialog.store(LOWORD(wParam) == WA_INACTIVE ? 0 : AsHandle(window));
}

void OnSetFocus(HWND window) {
    eventState.focusControl.store(AsHandle(window));
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
}

void OnKillFocus(HWND window, WPARAM gainingFocus) {
    if (eventState.focusControl.load() == AsHandle(window)) {
        eventState.focusControl.store(static_cast<std::intptr_t>(gainingFocus));
    }
}

void PaintFromCanvas(HWND window, Canvas& canvas) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const RECT& r = ps.rcPaint;
    CoverCanvas(canvas, window, r.right, r.bottom);
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, canvas.dc.get(), r.left, r.top, SRCCOPY);
    EndPaint(window, &ps);
}

LRESULT OnPaint(HWND window) {
    MainWindowData* data = DataOf(window);
    if (AutoPaint() && data && data->canvas.dc) {
        PaintFromCanvas(window, data->canvas);
    } else {
        ValidateRect(window, nullptr);
        eventState.repaintNeeded.store(1);
        SetInputEvent();
    }
    return 0;
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
    if (!AutoPaint()) {
        RECT r;
        GetClipBox(dc, &r);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    (void)window;
    return 1;
}

// Asks the close confirmation, if one is set; true when the close may go on.
bool CloseConfirmed(HWND window) {
    Text question = windowSettings.CloseConfirmation();
    if (question.empty()) return true;
    return MessageBoxA(window, question.c_str(), windowSettings.Title().c_str(),
                       MB_ICONQUESTION | MB_YESNO) == IDYES;
}

void ReportCloseRequest(HWND window) {
    SetFocus(window);
    eventState.eventCode.store(2);
    PulseInputEvents();
}

// WM_COMMAND: menus and accelerators come with lParam 0, controls with their handle.
void OnCommand(HWND window, WPARAM wParam, LPARAM lParam, bool dialogMode, bool alwaysDialog) {
    if (lParam == 0) {
        if (dialogMode && LOWORD(wParam) == IDCANCEL) {
            SetFocus(nullptr);
            eventState.eventCode.store(2);
        } else if (!alwaysDialog || MessageModeOn()) {
            eventState.menuItem.store(static_cast<std::intptr_t>(wParam));
        }
        PulseInputEvents();
        return;
    }
    const bool report = MessageModeOn() || !dialogMode;
    const HWND control = reinterpret_cast<HWND>(lParam);
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (report) {
        eventState.menuItem.store(-static_cast<std::intptr_t>(id));
        eventState.lastControlId.store(id);
    }
    switch (code) {
        case BN_CLICKED:
            eventState.focusControl.store(AsHandle(control));
            eventState.eventCode.store(255);
            SetFocus(control);
            PulseInputEvents();
            return;
        case 1:
        case 9:
        case 10:
            eventState.focusControl.store(AsHandle(control));
            if (dialogMode) eventState.eventCode.store(1);
            if (report || alwaysDialog) PulseInputEvents();
            return;
        case EN_SETFOCUS:
        case EN_CHANGE:
            eventState.focusControl.store(AsHandle(control));
            break;
        default:
            break;
    }
    if (report) PulseInputEvents();
    (void)window;
}

void OnScroll(HWND bar, int request, int thumb) {
    if (!bar) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    int page = (info.nMax - info.nMin) / 10;
    int pos = info.nPos;
    switch (request) {
        case SB_LINEUP: pos -= 1; break;
        case SB_LINEDOWN: pos += 1; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = thumb; break;
        case SB_TOP: pos = info.nMin; break;
        case SB_BOTTOM: pos = info.nMax; break;
        case SB_ENDSCROLL:
            eventState.eventCode.store(255);
            PulseInputEvents();
            return;
        default: return;
    }
    SetScrollPos(bar, SB_CTL, pos, TRUE);
}

void OnKey(WPARAM code) {
    eventState.keyDownCode.store(static_cast<std::int32_t>(code));
    eventState.eventCode.store(static_cast<std::int32_t>(code));
    PulseInputEvents();
}

void OnMouseDown(HWND window, int button, LPARAM lParam) {
    SetFocus(window);
    eventState.mouseButton.store(button);
    eventState.mouseX.store(GET_X_LPARAM(lParam));
    eventState.mouseY.store(GET_Y_LPARAM(lParam));
    PulseInputEvents();
}

void OnNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    eventState.notificationCode.store(static_cast<std::int32_t>(header->code));
    eventState.notificationControl.store(AsHandle(header->hwndFrom));
    eventState.notificationFlag.store(1);
    PulseInputEvents();
}

void OnHelp(LPARAM lParam) {
    const auto* help = reinterpret_cast<const HELPINFO*>(lParam);
    eventState.focusControl.store(-reinterpret_cast<std::intptr_t>(help->hItemHandle));
    eventState.eventCode.store(5);
    PulseInputEvents();
}

void OnEnterInDialog(HWND window) {
    if (GetKeyState(VK_RETURN) >= 0) return;
    HWND focus = GetFocus();
    if (focus != window) {
        HWND next = GetNextDlgTabItem(window, focus, FALSE);
        if (next) SetFocus(next);
    }
    eventState.eventCode.store(13);
    PulseInputEvents();
}

// Messages that both procedures record the same way; returns true when handled.
bool HandleInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam != 1) return false;
            eventState.timerTick.store(1);
            PulseInputEvent();
            WakeProgramThread();
            return true;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            return true;
        case WM_KEYDOWN:
        case WM_CHAR:
            OnKey(wParam);
            return false;
        case WM_LBUTTONDOWN:
            OnMouseDown(window, 1, lParam);
            return false;
        case WM_RBUTTONDOWN:
            OnMouseDown(window, 2, lParam);
            return false;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            eventState.mouseButton.store(0);
            return false;
        case WM_HELP:
            OnHelp(lParam);
            return true;
        default:
            return false;
    }
}

LRESULT OnCreateMain(HWND window) {
    auto* data = new MainWindowData;
    data->dialogMode = windowSettings.closeAsEvent.load();
    data->menu = windowSettings.noMenu.load() ? nullptr : GetMenu(window);
    data->canvas = CreateCanvas(window, windowSettings.canvasFromScreen.load());
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    return 0;
}

void OnDestroyMain(HWND window) {
    MainWindowData* data = DataOf(window);
    if (data) {
        FreeCanvas(data->canvas);
        delete data;
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    if (eventState.currentWindow.load() == AsHandle(window)) eventState.currentWindow.store(0);
    TerminateProgramThread();
    EndMessageLoop(0);
}

void OnExitSizeMove(HWND window) {
    MainWindowData* data = DataOf(window);
    RECT now;
    GetWindowRect(window, &now);
    if (data && ((now.right - now.left) != (data->sizeAtMoveStart.right - data->sizeAtMoveStart.left) ||
                 (now.bottom - now.top) != (data->sizeAtMoveStart.bottom - data->sizeAtMoveStart.top))) {
        eventState.eventCode.store(4);
        PulseInputEvents();
    }
}

}  // namespace

Canvas* CanvasOf(HWND window) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpiA(cls, "FENSTER") != 0) return nullptr;
    MainWindowData* data = DataOf(window);
    return data ? &data->canvas : nullptr;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (TakeUserMessage(message, wParam, lParam)) return message;
    RecordMessage(window, message, wParam, lParam);
    MainWindowData* data = DataOf(window);
    const bool dialogMode = data && data->dialogMode;

    switch (message) {
        case WM_CREATE:
            return OnCreateMain(window);
        case WM_DESTROY:
            OnDestroyMain(window);
            return 0;
        case WM_SIZE:
            OnSize(wParam);
            break;
        case WM_ACTIVATE:
            if (dialogMode) OnActivate(window, wParam);
            break;
        case WM_SETFOCUS:
            OnSetFocus(window);
            return 0;
        case WM_KILLFOCUS:
            OnKillFocus(window, wParam);
            return 0;
        case WM_PAINT:
            return OnPaint(window);
        case WM_ERASEBKGND:
            return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
        case WM_CLOSE:
            if (!CloseConfirmed(window)) return 0;
            if (!dialogMode) break;
            ReportCloseRequest(window);
            return 0;
        case WM_COMMAND:
            OnCommand(window, wParam, lParam, dialogMode, false);
            break;
        case WM_NOTIFY:
            OnNotify(lParam);
            break;
        case DM_GETDEFID:
            if (dialogMode) OnEnterInDialog(window);
            break;
        case WM_ENTERSIZEMOVE:
            if (data) GetWindowRect(window, &data->sizeAtMoveStart);
            break;
        case WM_EXITSIZEMOVE:
            OnExitSizeMove(window);
            break;
        default:
            if (IsDragListMessage(message)) return OnDragListMessage(AsHandle(window), lParam);
            if (HandleInputMessage(window, message, wParam, lParam)) return 0;
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (TakeUserMessage(message, wParam, lParam)) return message;
    RecordMessage(window, message, wParam, lParam);

    switch (message) {
        case WM_SIZE:
            OnSize(wParam);
            break;
        case WM_ACTIVATE:
            OnActivate(window, wParam);
            break;
        case WM_CLOSE:
            if (CloseConfirmed(window)) ReportCloseRequest(window);
            return 0;
        case WM_COMMAND:
            OnCommand(window, wParam, lParam, true, true);
            break;
        case WM_NOTIFY:
            OnNotify(lParam);
            break;
        case DM_GETDEFID:
            OnEnterInDialog(window);
            break;
        default:
            break;
    }
    return DefDlgProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK TemplateDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (TakeUserMessage(message, wParam, lParam)) {
        SetWindowLongPtrA(window, DWLP_MSGRESULT, static_cast<LONG_PTR>(message));
        return TRUE;
    }
    RecordMessage(window, message, wParam, lParam);

    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_SIZE:
            OnSize(wParam);
            return FALSE;
        case WM_ACTIVATE:
            OnActivate(window, wParam);
            return FALSE;
        case WM_CLOSE:
            if (CloseConfirmed(window)) ReportCloseRequest(window);
            return TRUE;
        case WM_COMMAND:
            OnCommand(window, wParam, lParam, true, true);
            return TRUE;
        case WM_NOTIFY:
            OnNotify(lParam);
            return FALSE;
        default:
            return FALSE;
    }
}
