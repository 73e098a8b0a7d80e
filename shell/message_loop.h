// The program's one message loop.
#pragma once

// Dispatches every message of this thread, blocking while there is none, until a WM_QUIT has been
// removed and the queue has run empty; answers that quit's wParam.
int RunMessageLoop();
