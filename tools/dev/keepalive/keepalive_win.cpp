// Holds a Wine session open for a test run: owns one hidden window and waits
// in its message loop until it is killed or sent WM_CLOSE. While it runs,
// wineserver stays up and every Wine program of the run starts warm.
#include <windows.h>

static LRESULT CALLBACK KeepaliveProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = KeepaliveProc;
    cls.hInstance = instance;
    cls.lpszClassName = "TavolinKeepalive";
    RegisterClassA(&cls);
    CreateWindowExA(0, cls.lpszClassName, "Tavolin keepalive", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                    instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
