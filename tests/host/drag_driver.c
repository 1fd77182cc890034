/* drag_driver.exe CLASS PROGRAM: starts PROGRAM (which inherits this program's output), waits
 * for its window of class CLASS, drags from (100, 100) to (300, 200) on the primary monitor and
 * exits with PROGRAM's exit code, or 3 when it has not ended within 20 seconds. */
#include <string.h>
#include <windows.h>

static void SendMouse(DWORD dwFlags, int x, int y) {
    INPUT in;
    memset(&in, 0, sizeof(in));
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = dwFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    Sleep(30);
}

int main(int argc, char **argv) {
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    DWORD dwExit = 3;
    int i;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    if (argc != 3 || !CreateProcessA(argv[2], NULL, NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi))
        return 2;
    /* The host turns its hooks on right after it makes its window. */
    for (i = 0; i < 200 && !FindWindowA(argv[1], NULL); ++i)
        Sleep(50);
    Sleep(500);
    SendMouse(MOUSEEVENTF_LEFTDOWN, 100, 100);
    for (i = 1; i <= 10; ++i)
        SendMouse(0, 100 + 20 * i, 100 + 10 * i);
    SendMouse(MOUSEEVENTF_LEFTUP, 300, 200);
    if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &dwExit);
    else
        TerminateProcess(pi.hProcess, 3);
    return (int)dwExit;
}
