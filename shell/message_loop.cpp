#include "shell/message_loop.h"

#include <windows.h>

int RunMessageLoop()
{
    // Something may be posted after the quit and removed in the same batch (by the shell, another
    // program, a hook): the quit is remembered so that it still ends the loop.
    bool quit = false;
    WPARAM exitCode = 0;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT && !quit) {
                quit = true;
                exitCode = msg.wParam;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (quit)
            return static_cast<int>(exitCode);
        // Blocks until input, a posted or sent message, a timer or a paint arrives: a mark follows the
        // pointer at once, and an idle program never wakes. MWMO_INPUTAVAILABLE also returns for input
        // that a peek has already seen but left in the queue.
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}
