// Drives the real shutdown-timer.exe as a user would, from another process in the same Wine
// prefix: finds its window by caption, reads its controls, types, clicks and presses keys with
// SendInput, and reads and dismisses its notices. The expectations come from the core's layout
// table. Usage: driver_win32.exe SCENARIO [TRACE_FILE]; exit code 0 when every check passed.
// The driver links the core only for its table; the fakes satisfy the core's other seams and
// are never called.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "system/local_clock.h"
#include "ui/layout.h"
#include "ui/wide_text_win32.h"
#include "version.h"

namespace {

int failures = 0;

void Check(bool passed, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::printf("%s ", passed ? "ok  " : "FAIL");
    std::vprintf(format, arguments);
    std::printf("\n");
    std::fflush(stdout);
    va_end(arguments);
    if (!passed) {
        ++failures;
    }
}

std::string Utf8(std::wstring_view text) {
    return NarrowToUtf8(text);
}

std::string WindowText(HWND window) {
    wchar_t buffer[512] = {};
    // WM_GETTEXT crosses the process boundary; GetWindowTextW would not ask the control.
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    return Utf8(buffer);
}

std::string ClassName(HWND window) {
    wchar_t buffer[128] = {};
    GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return Utf8(buffer);
}

// Polls, serving the driver's own window (if any) meanwhile.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= end) {
            return false;
        }
        Sleep(20);
    }
}

// The program under test: its window, its controls by layout name, its thread and process.
struct Program {
    HWND window = nullptr;
    DWORD thread = 0;
    DWORD process = 0;
    std::map<Control, HWND> controls;
};

Program program;

HWND Child(Control control) {
    return program.controls[control];
}

RECT ClientRectOf(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, program.window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Each control is recognised by the rectangle the layout table gives it, so a control that is
// missing, misplaced or of the wrong size is reported as not found.
void MapControls() {
    program.controls.clear();
    std::vector<HWND> children;
    EnumChildWindows(
        program.window,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (const ControlSpec& spec : Controls()) {
        for (const HWND child : children) {
            const RECT rect = ClientRectOf(child);
            if (spec.kind != ControlKind::Timer && GetParent(child) == program.window &&
                rect.left == spec.rect.left && rect.top == spec.rect.top &&
                rect.right - rect.left == spec.rect.width &&
                rect.bottom - rect.top == spec.rect.height) {
                program.controls[spec.control] = child;
            }
        }
    }
}

// The window is found by its caption as soon as it exists, which is before its controls do;
// it is ready once it is shown.
bool FindProgram() {
    const std::wstring caption = WidenUtf8(kWindowCaption);
    if (!WaitUntil(
            [&] {
                program.window = FindWindowW(nullptr, caption.c_str());
                return program.window != nullptr && IsWindowVisible(program.window);
            },
            30000)) {
        return false;
    }
    program.thread = GetWindowThreadProcessId(program.window, &program.process);
    WaitUntil(
        [] {
            MapControls();
            return program.controls.size() == Controls().size() - 1;
        },
        3000);
    return true;
}

std::string NameOf(HWND window) {
    if (window == nullptr) {
        return "(none)";
    }
    if (window == program.window) {
        return "the main window";
    }
    for (const auto& [control, child] : program.controls) {
        if (child == window) {
            return std::string(SpecOf(control).name);
        }
    }
    return "another window (" + ClassName(window) + ")";
}

HWND FocusedWindow() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(program.thread, &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

bool IsChecked(Control radio) {
    return SendMessageW(Child(radio), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// ---- input, as a user gives it ----

void SendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

// Presses and releases a key (with Shift held when asked), then lets the program handle it.
void PressKey(WORD key, bool shift = false) {
    if (shift) {
        SendKey(VK_SHIFT, true);
    }
    SendKey(key, true);
    SendKey(key, false);
    if (shift) {
        SendKey(VK_SHIFT, false);
    }
    Sleep(150);
}

void MoveMouseTo(HWND target) {
    RECT rect{};
    GetWindowRect(target, &rect);
    const int x = (rect.left + rect.right) / 2;
    const int y = (rect.top + rect.bottom) / 2;
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Wine's X11 driver warps the X pointer after the move, and a late motion event from an
    // earlier warp can put the cursor back; move until it stays where it was sent.
    int steady = 0;
    for (int attempt = 0; attempt < 50 && steady < 3; ++attempt) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (cursor.x == x && cursor.y == y) {
            ++steady;
        } else {
            steady = 0;
            SendInput(1, &input, sizeof(input));
        }
        Sleep(20);
    }
}

void SendMouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof(input));
}

// A click, or a quick double click, on the middle of a window.
void Click(HWND target, int times = 1) {
    MoveMouseTo(target);
    for (int i = 0; i < times; ++i) {
        SendMouseButton(true);
        SendMouseButton(false);
    }
    Sleep(200);
}

// Replaces an edit box's text by typing: the old text is selected, then each UTF-16 unit of the
// new one arrives as the WM_CHAR that the keyboard would have produced.
void TypeInto(Control edit, std::string_view utf8Text) {
    const HWND box = Child(edit);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, WM_CLEAR, 0, 0);
    for (const wchar_t unit : WidenUtf8(utf8Text)) {
        PostMessageW(box, WM_CHAR, unit, 1);
    }
    WaitUntil([&] { return WindowText(box) == utf8Text; }, 2000);
}

bool BringToFront() {
    SetForegroundWindow(program.window);
    return WaitUntil([] { return GetForegroundWindow() == program.window; }, 3000);
}

// ---- notices ----

struct Notice {
    HWND box = nullptr;
    std::string text;
    std::vector<HWND> buttons;
};

// A notice is a top-level dialog of the program's process with the notice caption.
HWND FindNoticeBox() {
    struct Search {
        HWND found;
        std::wstring caption;
    } search{nullptr, WidenUtf8(kNoticeCaption)};
    EnumWindows(
        [](HWND window, LPARAM state) -> BOOL {
            auto* search = reinterpret_cast<Search*>(state);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t caption[64] = {};
            GetWindowTextW(window, caption, static_cast<int>(std::size(caption)));
            if (process == program.process && IsWindowVisible(window) &&
                ClassName(window) == "#32770" && search->caption == caption) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Notice ReadNotice(HWND box) {
    Notice notice;
    notice.box = box;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        const std::string className = ClassName(child);
        if (className == "Button") {
            notice.buttons.push_back(child);
        } else if (className == "Static" && !WindowText(child).empty()) {
            notice.text = WindowText(child);
        }
    }
    return notice;
}

// Waits for a notice; empty text when none came.
Notice WaitForNotice(DWORD timeoutMs) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindNoticeBox()) != nullptr; }, timeoutMs);
    if (box == nullptr) {
        return {};
    }
    Sleep(100);
    return ReadNotice(box);
}

// Presses Enter on the notice, its OK button being the default one, once the box has the
// keyboard; a box that is still settling gets its button clicked instead.
void DismissNotice(const Notice& notice) {
    WaitUntil([&] { return GetForegroundWindow() == notice.box; }, 2000);
    PressKey(VK_RETURN);
    if (!WaitUntil([&] { return !IsWindow(notice.box); }, 1500) && notice.buttons.size() == 1) {
        SendMessageW(notice.buttons.front(), BM_CLICK, 0, 0);
    }
    Check(WaitUntil([&] { return !IsWindow(notice.box); }, 3000), "pressing OK closes the notice");
    // The window is enabled and active again only after the box is gone; input before that
    // would be lost.
    WaitUntil(
        [] { return IsWindowEnabled(program.window) && GetForegroundWindow() == program.window; },
        2000);
    Sleep(100);
}

// ---- scenarios ----

void CheckLayout() {
    Check(true, "window found by its caption \"%s\"", std::string(kWindowCaption).c_str());
    RECT frame{};
    GetWindowRect(program.window, &frame);
    const Point origin =
        CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Check(frame.right - frame.left == kWindowWidth && frame.bottom - frame.top == kWindowHeight,
          "outer size %ldx%ld is %dx%d", frame.right - frame.left, frame.bottom - frame.top,
          kWindowWidth, kWindowHeight);
    Check(frame.left == origin.x && frame.top == origin.y,
          "window at (%ld, %ld), centred on the %dx%d screen at (%d, %d)", frame.left, frame.top,
          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), origin.x, origin.y);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(program.window, GWL_STYLE));
    const DWORD frameStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    Check((style & frameStyle) == frameStyle && (style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0,
          "title bar, system menu and minimise box; no maximise box, not resizable");
    Check(GetWindow(program.window, GW_OWNER) == nullptr && GetMenu(program.window) == nullptr,
          "no owner, no menu");
    // Wine answers neither class queries nor WM_GETFONT across processes; the pixels tell.
    const HDC client = GetDC(program.window);
    const COLORREF background = GetPixel(client, 4, 4);
    ReleaseDC(program.window, client);
    Check(background == GetSysColor(COLOR_BTNFACE), "button-face background (%06lx)", background);

    size_t childCount = 0;
    for (HWND child = GetWindow(program.window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ++childCount;
    }
    Check(childCount == Controls().size() - 1, "%zu child controls, one per row of the table",
          childCount);
    for (const ControlSpec& spec : Controls()) {
        if (spec.kind == ControlKind::Timer) {
            continue;
        }
        const std::string name(spec.name);
        const HWND child = Child(spec.control);
        Check(child != nullptr, "%s at (%d, %d), %dx%d", name.c_str(), spec.rect.left,
              spec.rect.top, spec.rect.width, spec.rect.height);
        if (child == nullptr) {
            continue;
        }
        const auto childStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE));
        const std::string className = ClassName(child);
        const std::string text = WindowText(child);
        Check(text == spec.initialText, "%s reads \"%s\"", name.c_str(), text.c_str());
        Check(IsWindowEnabled(child) && IsWindowVisible(child), "%s is enabled and visible",
              name.c_str());
        switch (spec.kind) {
            case ControlKind::Label:
                Check(className == "Static" && (childStyle & SS_TYPEMASK) == SS_LEFTNOWORDWRAP &&
                          (childStyle & SS_CENTERIMAGE) != 0 && (childStyle & SS_NOTIFY) != 0 &&
                          (childStyle & WS_TABSTOP) == 0,
                      "%s is a single-line, vertically centred label without a tab stop",
                      name.c_str());
                break;
            case ControlKind::EditBox:
                Check(className == "Edit" && (childStyle & ES_AUTOHSCROLL) != 0 &&
                          (childStyle & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_NUMBER)) ==
                              0 &&
                          (exStyle & WS_EX_CLIENTEDGE) != 0 &&
                          SendMessageW(child, EM_GETLIMITTEXT, 0, 0) >= 30000,
                      "%s is a sunken single-line edit box with no filter", name.c_str());
                break;
            case ControlKind::RadioButton:
                Check(className == "Button" && (childStyle & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
                          !IsChecked(spec.control),
                      "%s is an automatic radio button, unchecked", name.c_str());
                break;
            case ControlKind::PushButton:
                Check(className == "Button" && (childStyle & BS_TYPEMASK) == BS_PUSHBUTTON,
                      "%s is a push button, not the default one", name.c_str());
                break;
            case ControlKind::Timer:
                break;
        }
    }
    Check(FocusedWindow() == Child(Control::按钮1), "focus on 按钮1 at start (it is on %s)",
          NameOf(FocusedWindow()).c_str());
}

// The key has been sent; give the program a moment to handle it on a slow machine.
// The executable's resources: the icon, the manifest and the version taken from the build.
void CheckResources() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program.process);
    const bool found = process != nullptr && QueryFullProcessImageNameW(process, 0, path, &length);
    if (process != nullptr) {
        CloseHandle(process);
    }
    Check(found, "the program's executable: %s", Utf8(path).c_str());
    if (!found) {
        return;
    }
    const HMODULE image =
        LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    Check(image != nullptr && FindResourceW(image, L"DEFAULT_ICON", RT_GROUP_ICON) != nullptr,
          "icon resource DEFAULT_ICON");
    const HRSRC manifestResource =
        image != nullptr ? FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
    std::string manifest;
    if (manifestResource != nullptr) {
        const auto* bytes =
            static_cast<const char*>(LockResource(LoadResource(image, manifestResource)));
        manifest.assign(bytes, SizeofResource(image, manifestResource));
    }
    Check(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"") !=
                  std::string::npos &&
              manifest.find("level=\"asInvoker\"") != std::string::npos,
          "manifest: common controls 6.0, run as invoker");
    if (image != nullptr) {
        FreeLibrary(image);
    }

    std::vector<char> info(GetFileVersionInfoSizeW(path, nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    const bool hasVersion =
        !info.empty() &&
        GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()) &&
        VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize);
    constexpr WORD kVersion[] = {SHUTDOWN_TIMER_VERSION_COMMA};
    Check(hasVersion && HIWORD(fixed->dwFileVersionMS) == kVersion[0] &&
              LOWORD(fixed->dwFileVersionMS) == kVersion[1] &&
              HIWORD(fixed->dwFileVersionLS) == kVersion[2],
          "file version %s, from the build", SHUTDOWN_TIMER_VERSION_TEXT);
    wchar_t* text = nullptr;
    UINT textLength = 0;
    const bool hasText =
        hasVersion && VerQueryValueW(info.data(), L"\\StringFileInfo\\080404b0\\ProductVersion",
                                     reinterpret_cast<void**>(&text), &textLength);
    Check(hasText && Utf8(text) == SHUTDOWN_TIMER_VERSION_TEXT, "product version text %s",
          hasText ? Utf8(text).c_str() : "(none)");
}

// Where a label's text sits: the dark pixels' bounding box within the label, read back from
// the screen.
struct InkBox {
    bool any = false;
    int left = 0, top = 0, right = 0, bottom = 0;  // inclusive
};

InkBox InkOf(HWND label) {
    // Read through the main window's DC: under Wine a child's DC from another process sees
    // nothing, and GetPixel is what reads another process's window at all.
    const RECT area = ClientRectOf(label);
    const HDC screen = GetDC(program.window);
    InkBox ink;
    for (int y = 0; y < area.bottom - area.top; ++y) {
        for (int x = 0; x < area.right - area.left; ++x) {
            const COLORREF pixel = GetPixel(screen, area.left + x, area.top + y);
            if (pixel != CLR_INVALID &&
                GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 110) {
                if (!ink.any) {
                    ink = {true, x, y, x, y};
                }
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    ReleaseDC(program.window, screen);
    return ink;
}

// Single-line labels: left-aligned and vertically centred (SS_CENTERIMAGE), checked on the
// drawn text of a 20-pixel and a 30-pixel label.
void CheckLabelText() {
    for (const Control control : {Control::标签1, Control::标签6}) {
        const HWND label = Child(control);
        const std::string name(SpecOf(control).name);
        RECT client{};
        GetClientRect(label, &client);
        const InkBox ink = InkOf(label);
        const int above = ink.top;
        const int below = static_cast<int>(client.bottom) - 1 - ink.bottom;
        Check(ink.any && ink.left <= 2 && ink.bottom - ink.top < client.bottom - 4,
              "%s: text drawn from the left edge (columns %d-%d, rows %d-%d)", name.c_str(),
              ink.left, ink.right, ink.top, ink.bottom);
        Check(ink.any && std::abs(above - below) <= 2,
              "%s: text vertically centred (%d px above, %d px below)", name.c_str(), above, below);
    }
}

void CheckFocusAfter(const char* keys, Control expected) {
    WaitUntil([&] { return FocusedWindow() == Child(expected); }, 1500);
    const HWND focus = FocusedWindow();
    Check(focus == Child(expected), "%s: focus on %s (it is on %s)", keys,
          std::string(SpecOf(expected).name).c_str(), NameOf(focus).c_str());
}

bool NoticeAppears(DWORD timeoutMs) {
    return WaitUntil([] { return FindNoticeBox() != nullptr; }, timeoutMs);
}

void CheckKeyboard() {
    Check(BringToFront(), "the window is in the foreground");
    constexpr size_t count = kTabOrder.size();
    for (size_t i = 1; i <= count; ++i) {
        PressKey(VK_TAB);
        CheckFocusAfter("Tab", kTabOrder[i % count]);
    }
    for (size_t i = 1; i <= count; ++i) {
        PressKey(VK_TAB, /*shift=*/true);
        CheckFocusAfter("Shift+Tab", kTabOrder[(count * 2 - i) % count]);
    }

    // Into the radio pair: 按钮1 → 编辑框1 → 单选框1.
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    CheckFocusAfter("Tab Tab", Control::单选框1);
    Check(!IsChecked(Control::单选框1) && !IsChecked(Control::单选框2),
          "moving the focus with Tab checks no radio button");
    struct Arrow {
        WORD key;
        const char* name;
        Control lands;
    };
    const Arrow arrows[] = {
        {VK_DOWN, "Down", Control::单选框2},   {VK_DOWN, "Down", Control::单选框1},
        {VK_UP, "Up", Control::单选框2},       {VK_LEFT, "Left", Control::单选框1},
        {VK_RIGHT, "Right", Control::单选框2},
    };
    for (const Arrow& arrow : arrows) {
        PressKey(arrow.key);
        const Control other = arrow.lands == Control::单选框1 ? Control::单选框2 : Control::单选框1;
        CheckFocusAfter(arrow.name, arrow.lands);
        WaitUntil([&] { return IsChecked(arrow.lands) && !IsChecked(other); }, 1500);
        Check(IsChecked(arrow.lands) && !IsChecked(other), "%s: %s checked, %s not", arrow.name,
              std::string(SpecOf(arrow.lands).name).c_str(),
              std::string(SpecOf(other).name).c_str());
    }

    // Once one of the pair is checked, the pair is a single tab stop at the checked button, as
    // the system's radio buttons always do.
    PressKey(VK_TAB, /*shift=*/true);
    CheckFocusAfter("Shift+Tab from the checked 单选框2", Control::编辑框1);
    PressKey(VK_TAB);
    CheckFocusAfter("Tab from 编辑框1 with 单选框2 checked", Control::单选框2);
    PressKey(VK_TAB, /*shift=*/true);

    // Enter on 按钮1 would, if it clicked it, confirm type 2 with an empty hour: a notice.
    PressKey(VK_TAB, /*shift=*/true);
    CheckFocusAfter("Shift+Tab", Control::按钮1);
    PressKey(VK_RETURN);
    Check(!NoticeAppears(800) && IsWindow(program.window),
          "Enter on 按钮1 does nothing (no click, no notice)");
    CheckFocusAfter("Enter", Control::按钮1);
    PressKey(VK_TAB);
    PressKey(VK_RETURN);
    Check(!NoticeAppears(800) && IsWindow(program.window), "Enter in 编辑框1 does nothing");
    PressKey(VK_F1);
    Check(!NoticeAppears(800) && IsWindow(program.window) && IsWindowEnabled(program.window),
          "F1 does nothing");
    CheckFocusAfter("F1", Control::编辑框1);

    // The space bar clicks the focused push button: type 2 with an empty hour.
    PressKey(VK_TAB, /*shift=*/true);
    PressKey(VK_SPACE);
    const Notice notice = WaitForNotice(3000);
    Check(notice.text == "关机时间请设置1-24的整数", "Space on 按钮1 clicks it: notice \"%s\"",
          notice.text.c_str());
    if (notice.box != nullptr) {
        DismissNotice(notice);
    }
    Check(WaitUntil([] { return FocusedWindow() == Child(Control::按钮1); }, 2000),
          "after the notice the focus is back on 按钮1");

    // Esc closes the window, also from an edit box.
    for (int i = 0; i < 3; ++i) {
        PressKey(VK_TAB);
    }
    CheckFocusAfter("Tab ×3", Control::编辑框2);

    // Another window takes the activation; the focus comes back to 编辑框2 with it.
    const HWND other =
        CreateWindowExW(0, L"STATIC", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    Check(WaitUntil([&] { return GetForegroundWindow() == other; }, 3000),
          "another window is activated");
    SetForegroundWindow(program.window);
    Check(WaitUntil([] { return GetForegroundWindow() == program.window; }, 3000),
          "the window is activated again");
    CheckFocusAfter("activation", Control::编辑框2);
    DestroyWindow(other);
    WaitUntil([] { return GetForegroundWindow() == program.window; }, 1000);
    PressKey(VK_ESCAPE);
    Check(WaitUntil([] { return !IsWindow(program.window); }, 3000),
          "Esc in 编辑框2 closes the window");
}

// One confirmation: what the user chose and typed, and what the program answers.
struct Entry {
    const char* what;
    Control radio;  // 标签1 for "none chosen yet"
    const char* minutes;
    const char* hour;
    const char* minute;
    const char* notice;  // null when the entry is accepted
    const char* label;   // 标签7 right after an accepted entry, null when not checked here
};

void Confirm(const Entry& entry) {
    if (entry.radio != Control::标签1) {
        Click(Child(entry.radio));
    }
    if (entry.minutes != nullptr) {
        TypeInto(Control::编辑框1, entry.minutes);
    }
    if (entry.hour != nullptr) {
        TypeInto(Control::编辑框2, entry.hour);
    }
    if (entry.minute != nullptr) {
        TypeInto(Control::编辑框3, entry.minute);
    }
    Click(Child(Control::按钮1));
}

void CheckEntry(const Entry& entry) {
    const std::string labelBefore = WindowText(Child(Control::标签7));
    Confirm(entry);
    const Notice notice = WaitForNotice(entry.notice != nullptr ? 3000 : 800);
    if (entry.notice == nullptr) {
        Check(notice.box == nullptr, "%s: accepted, no notice (got \"%s\")", entry.what,
              notice.text.c_str());
        if (notice.box != nullptr) {
            DismissNotice(notice);
        }
        if (entry.label != nullptr) {
            const std::string label = WindowText(Child(Control::标签7));
            Check(label == entry.label, "%s: 标签7 shows %s at once (it shows %s)", entry.what,
                  entry.label, label.c_str());
        }
        return;
    }
    Check(notice.text == entry.notice, "%s: notice \"%s\" (got \"%s\")", entry.what, entry.notice,
          notice.text.c_str());
    if (notice.box == nullptr) {
        return;
    }
    Check(notice.buttons.size() == 1, "%s: the notice has one button", entry.what);
    Check(!IsWindowEnabled(program.window), "%s: the window is disabled under the notice",
          entry.what);
    DismissNotice(notice);
    Check(IsWindowEnabled(program.window), "%s: the window is enabled again", entry.what);
}

// Type 2 with the current hour and minute, or later, read from the same clock the program uses.
LocalTimeOfDay Now() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wHour, local.wMinute};
}

void CheckNotices() {
    Check(BringToFront(), "the window is in the foreground");
    const Entry entries[] = {
        {"no type chosen", Control::标签1, nullptr, nullptr, nullptr, "请先选择类型", nullptr},
        {"type 1, empty", Control::单选框1, "", nullptr, nullptr, "请设置合理的数值", nullptr},
        {"type 1, 0", Control::单选框1, "0", nullptr, nullptr, "请设置合理的数值", nullptr},
        {"type 1, -5", Control::单选框1, "-5", nullptr, nullptr, "请设置合理的数值", nullptr},
        {"type 1, 35792", Control::单选框1, "35792", nullptr, nullptr, "请设置合理的数值", nullptr},
        {"type 2, hour 0", Control::单选框2, nullptr, "0", "0", "关机时间请设置1-24的整数",
         nullptr},
        {"type 2, hour 25", Control::单选框2, nullptr, "25", "0", "关机时间请设置1-24的整数",
         nullptr},
        {"type 2, hour 25 and minute 61", Control::单选框2, nullptr, "25", "61",
         "关机时间请设置1-24的整数", nullptr},
        {"type 2, minute -1", Control::单选框2, nullptr, "12", "-1", "分钟请设置为0-60的整数",
         nullptr},
        {"type 2, minute 61", Control::单选框2, nullptr, "12", "61", "分钟请设置为0-60的整数",
         nullptr},
        {"type 1, 5", Control::单选框1, "5", nullptr, nullptr, nullptr, "300"},
        {"type 1, full-width １０", Control::单选框1, "１０", nullptr, nullptr, nullptr, "600"},
        {"type 1, \" 10分钟\"", Control::单选框1, " 10分钟", nullptr, nullptr, nullptr, "600"},
        {"type 1, 35791", Control::单选框1, "35791", nullptr, nullptr, nullptr, "2147460"},
    };
    for (const Entry& entry : entries) {
        CheckEntry(entry);
    }
    // The last entry's count is wider than 标签7, which cuts it off rather than growing.
    const RECT countRect = ClientRectOf(Child(Control::标签7));
    const InkBox countInk = InkOf(Child(Control::标签7));
    Check(countRect.right - countRect.left == SpecOf(Control::标签7).rect.width &&
              countInk.right >= countRect.right - countRect.left - 2,
          "标签7 keeps its width and cuts \"2147460\" at its right edge");

    // Type 2 now: the current minute is not later than now.
    const LocalTimeOfDay now = Now();
    if (now.hour >= 1) {
        const std::string hour = std::to_string(now.hour);
        const std::string minute = std::to_string(now.minute);
        CheckEntry({"type 2, the current minute", Control::单选框2, nullptr, hour.c_str(),
                    minute.c_str(), "请设置合理的数值", nullptr});
    }

    // Type 2, 24:00: the label keeps its text until the first tick shows the count.
    const LocalTimeOfDay before = Now();
    CheckEntry({"type 2, 24:00", Control::单选框2, nullptr, "24", "0", nullptr, nullptr});
    const LocalTimeOfDay after = Now();
    const int expectedEarly = ((24 - before.hour) * 60 - before.minute) * 60;
    const int expectedLate = ((24 - after.hour) * 60 - after.minute) * 60;
    std::string label;
    const bool shown = WaitUntil(
        [&] {
            label = WindowText(Child(Control::标签7));
            return label == std::to_string(expectedEarly) || label == std::to_string(expectedLate);
        },
        2500);
    Check(shown, "type 2, 24:00: the first tick shows %d (标签7 shows %s)", expectedEarly,
          label.c_str());

    // Ticks go on while a notice is open.
    CheckEntry({"type 1, 5 again", Control::单选框1, "5", nullptr, nullptr, nullptr, "300"});
    Click(Child(Control::单选框1));
    TypeInto(Control::编辑框1, "x");
    Click(Child(Control::按钮1));
    const Notice notice = WaitForNotice(3000);
    Check(notice.text == "请设置合理的数值", "a refused entry during the countdown: notice \"%s\"",
          notice.text.c_str());
    Sleep(2500);
    const std::string during = WindowText(Child(Control::标签7));
    const int count = std::atoi(during.c_str());
    Check(count >= 296 && count <= 299, "the countdown goes on under the notice (标签7 shows %s)",
          during.c_str());
    if (notice.box != nullptr) {
        DismissNotice(notice);
    }

    PressKey(VK_ESCAPE);
    Check(WaitUntil([] { return !IsWindow(program.window); }, 3000), "Esc closes the window");
}

// Confirms a 1-minute countdown and leaves the program to it.
void CheckCountdown() {
    Check(BringToFront(), "the window is in the foreground");
    CheckEntry({"type 1, 1", Control::单选框1, "1", nullptr, nullptr, nullptr, "60"});
    Sleep(2600);
    const std::string label = WindowText(Child(Control::标签7));
    Check(label == "58" || label == "59", "the countdown runs: 标签7 shows %s 2.6 s later",
          label.c_str());
}

// Confirms a 1-minute countdown and closes the window with its close box two seconds later.
void CheckAbandon() {
    Check(BringToFront(), "the window is in the foreground");
    CheckEntry({"type 1, 1", Control::单选框1, "1", nullptr, nullptr, nullptr, "60"});
    Sleep(2000);
    PostMessageW(program.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    Check(WaitUntil([] { return !IsWindow(program.window); }, 3000),
          "closing the window during the countdown ends it");
}

int CountInFile(const wchar_t* path, const char* needle) {
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return -1;
    }
    std::string content;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        content.append(buffer, read);
    }
    CloseHandle(file);
    int count = 0;
    for (size_t at = content.find(needle); at != std::string::npos;
         at = content.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

// The link labels, watched through the program's relay trace of ShellExecuteW.
void CheckLinks(const wchar_t* trace) {
    Check(BringToFront(), "the window is in the foreground");
    const char* call = "Call shell32.ShellExecuteW(";
    int expected = 0;
    const auto expectOpens = [&](const char* what, int opens) {
        expected += opens;
        int seen = 0;
        WaitUntil([&] { return (seen = CountInFile(trace, call)) >= expected; }, 5000);
        Sleep(700);  // and no more than that
        seen = CountInFile(trace, call);
        Check(seen == expected, "%s opens the site %d time(s) (%d seen)", what, opens,
              seen - (expected - opens));
        expected = seen;
    };
    struct Gesture {
        const char* what;
        Control label;
        bool press;  // false: only a release on the label
        int clicks;
        int opens;
    };
    const Gesture gestures[] = {
        {"a click on 标签9", Control::标签9, true, 1, 1},
        {"a double click on 标签9", Control::标签9, true, 2, 1},
        {"a click on 标签10", Control::标签10, true, 1, 1},
        {"a double click on 标签10", Control::标签10, true, 2, 2},
        {"a click on 标签8", Control::标签8, true, 1, 0},
        {"a press on 标签10 released on 标签9", Control::标签10, false, 1, 0},
        {"a press on 标签9 released on 标签10", Control::标签9, false, 1, 2},
    };
    for (const Gesture& gesture : gestures) {
        if (gesture.press) {
            Click(Child(gesture.label), gesture.clicks);
        } else {
            const Control other =
                gesture.label == Control::标签9 ? Control::标签10 : Control::标签9;
            MoveMouseTo(Child(gesture.label));
            SendMouseButton(true);
            Sleep(100);
            MoveMouseTo(Child(other));
            Sleep(100);
            SendMouseButton(false);
        }
        expectOpens(gesture.what, gesture.opens);
        Sleep(600);  // so that the next click is not taken as a double click
    }
    const int awaited = CountInFile(trace, "https://brelvo.example.com/");
    Check(awaited >= expected, "every open asks for %s", std::string(kSiteUrl).c_str());
    PressKey(VK_ESCAPE);
    Check(WaitUntil([] { return !IsWindow(program.window); }, 3000), "Esc closes the window");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: driver_win32 layout|keyboard|notices|countdown|abandon|links "
                     "[trace]\n");
        return 2;
    }
    const std::wstring scenario = argv[1];
    if (!FindProgram()) {
        Check(false, "no window with the caption \"%s\"", std::string(kWindowCaption).c_str());
        return 1;
    }
    if (scenario == L"layout") {
        CheckLayout();
        CheckResources();
        CheckLabelText();
    } else if (scenario == L"keyboard") {
        CheckKeyboard();
    } else if (scenario == L"notices") {
        CheckNotices();
    } else if (scenario == L"countdown") {
        CheckCountdown();
    } else if (scenario == L"abandon") {
        CheckAbandon();
    } else if (scenario == L"links" && argc >= 3) {
        CheckLinks(argv[2]);
    } else {
        std::fprintf(stderr, "unknown scenario\n");
        return 2;
    }
    return failures == 0 ? 0 : 1;
}
