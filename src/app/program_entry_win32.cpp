// Start of the Windows program: the main window and the event loop.
#include <windows.h>

#include <commctrl.h>

#include "app/countdown_state.h"
#include "ui/layout.h"
#include "ui/main_window_win32.h"
#include "ui/wide_text_win32.h"

namespace {

// Enter never reaches the window: the dialog manager would otherwise turn it into a click of a
// focused push button, and Enter is meant to do nothing here.
bool IsEnterKey(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_KEYUP) &&
           message.wParam == VK_RETURN;
}

int ProgramEntry(int showCommand) {
    CountdownSeconds = 0;
    INITCOMMONCONTROLSEX commonControls{sizeof(commonControls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&commonControls);

    const HWND window = CreateMainWindow(showCommand);
    if (window == nullptr) {
        MessageBoxW(nullptr, L"无法创建主窗口，程序将退出。", WidenUtf8(kWindowCaption).c_str(),
                    MB_OK | MB_ICONERROR);
        return -1;
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        const HWND mainWindow = MainWindow();
        if (mainWindow != nullptr &&
            (message.hwnd == mainWindow || IsChild(mainWindow, message.hwnd))) {
            if (IsEnterKey(message) || IsDialogMessageW(mainWindow, &message)) {
                continue;
            }
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/,
                    HINSTANCE /*previous*/,
                    PWSTR /*commandLine*/,
                    int showCommand) {
    return ProgramEntry(showCommand);
}
