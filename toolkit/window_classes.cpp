#include "toolkit/window_classes.h"

#include <commctrl.h>

#include "toolkit/window_procedures.h"

namespace {

// The class icon of both classes.
HICON ProgramIcon(HINSTANCE instance) { return LoadIconA(instance, "KELVAR"); }

}  // namespace

bool RegisterToolkitWindowClasses(HINSTANCE instance) {
    WNDCLASSA main{};
    main.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_BYTEALIGNWINDOW;
    main.lpfnWndProc = MainWindowProc;
    main.cbWndExtra = DLGWINDOWEXTRA;  // room for dialog-mode use, sized for this platform
    main.hInstance = instance;
    main.hIcon = ProgramIcon(instance);
    main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    main.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    main.lpszClassName = "FENSTER";
    if (!RegisterClassA(&main)) return false;

    WNDCLASSA dialog{};
    dialog.style = CS_CLASSDC;
    dialog.lpfnWndProc = DialogWindowProc;
    dialog.cbWndExtra = DLGWINDOWEXTRA;  // DefDlgProc keeps its state there
    dialog.hInstance = instance;
    dialog.hIcon = ProgramIcon(instance);
    dialog.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    dialog.lpszClassName = "DIALOG";
    if (!RegisterClassA(&dialog)) return false;

    INITCOMMONCONTROLSEX controls{sizeof controls, 0x11C};
    InitCommonControlsEx(&controls);
    return true;
}

void UnregisterToolkitWindowClasses(HINSTANCE instance) {
    UnregisterClassA("FENSTER", instance);
    UnregisterClassA("DIALOG", instance);
    UnregisterClassA("CW", instance);
}
