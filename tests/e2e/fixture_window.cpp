// A small stand-in for the program under test, on which the end-to-end driver proves itself: a main
// window "Quorrel fixture" with a list box, buttons that open a message box and the folder browser, a
// right-click menu, and statics that report what the program saw. The first parameter, when given, is
// the exit code.
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>

namespace {

enum : int {
  kListId = 100,
  kAskId = 101,
  kBrowseId = 102,
  kStatusId = 200,
  kKeysId = 201,
  kSettingsId = 202,
  kFirstItem = 301,
  kSecondItem = 302,
  kKeyTimer = 1,
};

// Written only by the window thread (the only thread).
struct FixtureState {
  HWND main = nullptr;
  HWND list = nullptr;
  HWND status = nullptr;
  HWND keys = nullptr;
  std::string keyLog = "keys:";
  std::string lastChord;
};
FixtureState state;

void SetStatus(const std::string& text) { SetWindowTextA(state.status, text.c_str()); }

std::string SettingsFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string settings = path;
  settings = settings.substr(0, settings.find_last_of('\\') + 1) + "settings.ini";
  char folder[MAX_PATH] = {};
  GetPrivateProfileStringA("Software\\Quorrel", "folder", "", folder, MAX_PATH, settings.c_str());
  return folder;
}

void Ask() {
  int answer = MessageBoxA(state.main, "Keep the fixture running?", "Message:", MB_YESNOCANCEL | MB_ICONINFORMATION);
  SetStatus("answer " + std::to_string(answer));
}

void Browse() {
  BROWSEINFOA browse{};
  browse.hwndOwner = state.main;
  browse.lpszTitle = "Pick a folder:";
  LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
  char path[MAX_PATH] = {};
  if (chosen && SHGetPathFromIDListA(chosen, path)) {
    SetStatus(std::string("folder ") + path);
  } else {
    SetStatus("folder cancelled");
  }
  CoTaskMemFree(chosen);
}

void ShowMenu(int x, int y) {
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, kFirstItem, "&First");
  AppendMenuA(menu, MF_STRING, kSecondItem, "&Second");
  int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, state.main, nullptr);
  DestroyMenu(menu);
  SetStatus("menu " + std::to_string(chosen));
}

// Polls the keyboard as the real program does and logs each new combination of keys held down.
void PollKeys() {
  std::string chord;
  auto add = [&](const std::string& name) { chord += (chord.empty() ? "" : "+") + name; };
  if (GetKeyState(VK_CONTROL) < 0) add("Ctrl");
  if (GetKeyState(VK_MENU) < 0) add("Alt");
  if (GetKeyState(VK_SHIFT) < 0) add("Shift");
  if (GetKeyState(VK_RETURN) < 0) add("Enter");
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (GetKeyState(letter) < 0) add(std::string(1, letter));
  }
  if (!chord.empty() && chord != state.lastChord) {
    state.keyLog += " " + chord;
    SetWindowTextA(state.keys, state.keyLog.c_str());
  }
  state.lastChord = chord;
}

HWND Control(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, state.main,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void CreateControls() {
  state.list = Control("LISTBOX", "", WS_BORDER | LBS_NOTIFY, 10, 10, 200, 120, kListId);
  for (const char* row : {"Alpha", "Bär", "Gamma"}) {
    SendMessageA(state.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
  }
  Control("BUTTON", "Ask", BS_PUSHBUTTON, 230, 10, 100, 24, kAskId);
  Control("BUTTON", "Browse", BS_PUSHBUTTON, 230, 44, 100, 24, kBrowseId);
  state.status = Control("STATIC", "ready", 0, 10, 140, 360, 18, kStatusId);
  state.keys = Control("STATIC", state.keyLog.c_str(), 0, 10, 160, 360, 18, kKeysId);
  Control("STATIC", ("settings: " + SettingsFolder()).c_str(), 0, 10, 180, 360, 18, kSettingsId);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kAskId) Ask();
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kBrowseId) Browse();
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == state.list) ShowMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_TIMER:
      PollKeys();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int exitCode = argc > 1 ? atoi(argv[1]) : 0;
  CoInitialize(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "QuorrelFixture";
  RegisterClassA(&windowClass);
  state.main = CreateWindowExA(0, "QuorrelFixture", "Quorrel fixture", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                               100, 100, 400, 260, nullptr, nullptr, windowClass.hInstance, nullptr);
  CreateControls();
  SetTimer(state.main, kKeyTimer, 25, nullptr);
  ShowWindow(state.main, SW_SHOW);
  SetFocus(state.list);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  CoUninitialize();
  return exitCode;
}
