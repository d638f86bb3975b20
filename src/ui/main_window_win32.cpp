// The main window: a plain top-level window whose children are standard controls, made from the
// layout table. IsDialogMessageW in the event loop gives it the keyboard rules of a dialog (Tab,
// Shift+Tab, arrows within the radio pair, Esc); the window procedure only dispatches.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "ui/main_window_win32.h"

#include <array>
#include <cstddef>

#include "ui/wide_text_win32.h"
#include "ui/window_ops_win32.h"

namespace {

constexpr wchar_t kWindowClass[] = L"BrelvoShutdownTimer";
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Lets IsDialogMessageW walk into the children with Tab.
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
// Child ids stay clear of IDOK and IDCANCEL, which IsDialogMessageW sends for Enter and Esc.
constexpr int kFirstControlId = 100;
constexpr UINT_PTR kLabelSubclassId = 1;

constexpr size_t kControlCount = static_cast<size_t>(Control::时钟1_倒计时) + 1;

HWND mainWindow = nullptr;
std::array<HWND, kControlCount> controlWindows{};
// The child that had the focus when the window was last deactivated, restored on activation.
HWND lastFocus = nullptr;

int ControlId(Control control) {
    return kFirstControlId + static_cast<int>(control);
}

bool ControlFromId(int id, Control& control) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(kControlCount)) {
        return false;
    }
    control = static_cast<Control>(index);
    return true;
}

uint32_t KeyState(WPARAM mouseKeys) {
    uint32_t keys = 0;
    if ((mouseKeys & MK_CONTROL) != 0) {
        keys |= kKeyCtrl;
    }
    if ((mouseKeys & MK_SHIFT) != 0) {
        keys |= kKeyShift;
    }
    if (GetKeyState(VK_MENU) < 0) {
        keys |= kKeyAlt;
    }
    return keys;
}

// The labels report presses and releases of the left button. The Static class has CS_DBLCLKS,
// so a quick second press arrives as WM_LBUTTONDBLCLK and is not reported as a press; its
// release is reported like any other.
LRESULT CALLBACK LabelProc(HWND label,
                           UINT message,
                           WPARAM wParam,
                           LPARAM lParam,
                           UINT_PTR /*subclassId*/,
                           DWORD_PTR control) {
    switch (message) {
        case WM_LBUTTONDOWN:
            DispatchControlEvent(static_cast<Control>(control), ControlEvent::LeftButtonPressed,
                                 GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), KeyState(wParam));
            break;
        case WM_LBUTTONUP:
            DispatchControlEvent(static_cast<Control>(control), ControlEvent::LeftButtonReleased,
                                 GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), KeyState(wParam));
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(label, LabelProc, kLabelSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(label, message, wParam, lParam);
}

struct ChildClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// Every control starts its own group except the radio buttons after the first of a pair, so
// that the arrow keys move only between the two radio buttons.
ChildClass ClassOf(ControlKind kind, bool startsGroup) {
    const DWORD child = WS_CHILD | WS_VISIBLE | (startsGroup ? WS_GROUP : 0);
    switch (kind) {
        case ControlKind::Label:
            // Single line, vertically centred, cut at the right edge; SS_NOTIFY lets the mouse in.
            return {WC_STATICW,
                    child | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX | SS_NOTIFY, 0};
        case ControlKind::EditBox:
            return {WC_EDITW, child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::RadioButton:
            return {WC_BUTTONW, child | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
        case ControlKind::PushButton:
            return {WC_BUTTONW, child | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::Timer:
            break;
    }
    return {nullptr, 0, 0};
}

bool CreateControl(HWND window, const ControlSpec& spec, bool startsGroup, HFONT font) {
    const ChildClass childClass = ClassOf(spec.kind, startsGroup);
    const HWND child = CreateWindowExW(
        childClass.exStyle, childClass.className, WidenUtf8(spec.initialText).c_str(),
        childClass.style, spec.rect.left, spec.rect.top, spec.rect.width, spec.rect.height, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(spec.control))),
        GetModuleHandleW(nullptr), nullptr);
    if (child == nullptr) {
        return false;
    }
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (spec.kind == ControlKind::Label &&
        !SetWindowSubclass(child, LabelProc, kLabelSubclassId,
                           static_cast<DWORD_PTR>(spec.control))) {
        return false;
    }
    controlWindows[static_cast<size_t>(spec.control)] = child;
    return true;
}

// Children are created, and so stacked, in the Tab order; the labels, which never take the
// focus, come after.
bool OnCreate(HWND window) {
    const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    bool previousWasRadio = false;
    for (const Control control : kTabOrder) {
        const ControlSpec& spec = SpecOf(control);
        const bool isRadio = spec.kind == ControlKind::RadioButton;
        if (!CreateControl(window, spec, !(isRadio && previousWasRadio), font)) {
            return false;
        }
        previousWasRadio = isRadio;
    }
    for (const ControlSpec& spec : Controls()) {
        if (spec.kind == ControlKind::Label && !CreateControl(window, spec, true, font)) {
            return false;
        }
    }
    lastFocus = controlWindows[static_cast<size_t>(Control::按钮1)];
    return true;
}

// Enter (IDOK) does nothing; Esc (IDCANCEL) closes the window. Control notifications are
// reported to the core, which knows which of them has a handler.
void OnCommand(HWND window, int id, UINT code) {
    if (id == IDCANCEL) {
        SendMessageW(window, WM_CLOSE, 0, 0);
        return;
    }
    Control control{};
    if (code == BN_CLICKED && ControlFromId(id, control)) {
        DispatchControlEvent(control, ControlEvent::Clicked);
    }
}

void OnTimer(UINT_PTR id) {
    if (id == kCountdownTimerId) {
        OnCountdownTimerFired();
    }
}

void OnActivate(HWND window, UINT state) {
    if (state == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) {
            lastFocus = focus;
        }
    }
}

// DefWindowProc gives the window itself the focus on activation; pass it on to the control
// that had it last.
void OnSetFocus() {
    if (lastFocus != nullptr && IsWindow(lastFocus)) {
        SetFocus(lastFocus);
    }
}

void OnDestroy() {
    mainWindow = nullptr;
    controlWindows.fill(nullptr);
    lastFocus = nullptr;
    PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window) ? 0 : -1;
        case WM_COMMAND:
            OnCommand(window, LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_ACTIVATE:
            OnActivate(window, LOWORD(wParam));
            break;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, L"DEFAULT_ICON");
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

WindowHandle CreateMainWindow(int showCommand) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterMainWindowClass(instance)) {
        return nullptr;
    }
    const Point origin =
        CentredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    mainWindow = CreateWindowExW(kWindowExStyle, kWindowClass, WidenUtf8(kWindowCaption).c_str(),
                                 kWindowStyle, origin.x, origin.y, kWindowWidth, kWindowHeight,
                                 nullptr, nullptr, instance, nullptr);
    if (mainWindow == nullptr) {
        return nullptr;
    }
    ShowWindow(mainWindow, showCommand);
    UpdateWindow(mainWindow);
    return mainWindow;
}

WindowHandle MainWindow() {
    return mainWindow;
}

WindowHandle ControlWindow(Control control) {
    return controlWindows[static_cast<size_t>(control)];
}
