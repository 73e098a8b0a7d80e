// The soak run's helper (scripts/soak.sh): drives one running Scrivane through many sessions of
// seeded random pointer, wheel and key messages and reports what the process holds after each: GDI
// objects (counted in the handle table its PEB points to, since Wine does not implement
// GetGuiResources), windows and memory.
//
//   soak SEED SESSIONS EVENTS [FIRST]
//
// Session n (counted from 1) takes its events from SEED and n alone: "soak SEED 1 EVENTS n" replays
// it. Presses land in the left half of the screen and right releases so far right that the palette
// panel, which shows at a right release, never lies under a press: no dialog opens. Exits 0 when
// every session opened and closed and nothing grew after the first session.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr UINT kLaunch = WM_USER + 2;  // the settings window's TWM_LAUNCH
constexpr DWORD kPebGdiTable = 0xF8;   // GdiSharedHandleTable in the 64-bit PEB
constexpr size_t kGdiEntries = 0x10000, kGdiEntrySize = 24, kGdiTypeOffset = 14;

struct Counters {
    long gdi, windows, privateKb, workingSetKb;
};

// splitmix64: the same numbers everywhere, for a seed and a session number.
struct Random {
    uint64_t state;
    uint32_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};

long LiveGdiObjects(HANDLE process)
{
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    static auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    uint64_t table = 0;
    if (query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !ReadProcessMemory(process, static_cast<char*>(static_cast<void*>(basic.PebBaseAddress)) + kPebGdiTable, &table,
                           sizeof(table), nullptr) || table == 0)
        return -1;
    static std::vector<unsigned char> entries(kGdiEntries * kGdiEntrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size(), nullptr))
        return -1;
    long live = 0;
    for (size_t i = 0; i < kGdiEntries; ++i)
        live += entries[i * kGdiEntrySize + kGdiTypeOffset] != 0;
    return live;
}

struct WindowCount {
    DWORD pid;
    long count;
};

BOOL CALLBACK CountChild(HWND, LPARAM param)
{
    ++reinterpret_cast<WindowCount*>(param)->count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND w, LPARAM param)
{
    auto* c = reinterpret_cast<WindowCount*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == c->pid) {
        ++c->count;
        EnumChildWindows(w, CountChild, param);
    }
    return TRUE;
}

Counters Measure(HANDLE process, DWORD pid)
{
    Counters c = {LiveGdiObjects(process), 0, 0, 0};
    WindowCount windows = {pid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    c.windows = windows.count;
    // PagefileUsage is the private memory on Windows; Wine fills it (with the resident anonymous
    // memory) for another process, where it leaves PrivateUsage 0.
    PROCESS_MEMORY_COUNTERS memory = {};
    if (GetProcessMemoryInfo(process, &memory, sizeof(memory))) {
        c.privateKb = static_cast<long>(memory.PagefileUsage / 1024);
        c.workingSetKb = static_cast<long>(memory.WorkingSetSize / 1024);
    }
    return c;
}

void Print(const char* when, const Counters& c)
{
    std::printf("%-22s GDI %5ld  windows %3ld  private %7ld KB  working set %7ld KB\n", when, c.gdi, c.windows,
                c.privateKb, c.workingSetKb);
    std::fflush(stdout);
}

// The paint window once it is visible (present) or gone (not present); false after `ms`.
bool WaitForSession(bool present, DWORD ms, HWND* paint = nullptr)
{
    for (DWORD waited = 0;; waited += 10) {
        HWND w = FindWindowA("SCRIVANE_MAIN", nullptr);
        if (present ? (w && IsWindowVisible(w)) : !w) {
            if (paint)
                *paint = w;
            return true;
        }
        if (waited >= ms)
            return false;
        Sleep(10);
    }
}

// One session's input, posted as the system would deliver it: the key-state flags of every mouse
// message tell which buttons are down, and now and then a release goes missing.
void Drive(HWND w, Random& r, int events)
{
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const WPARAM flags[3] = {MK_LBUTTON, MK_RBUTTON, MK_MBUTTON};
    const UINT down[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const UINT up[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
    const WPARAM modifiers[5] = {0, MK_CONTROL, MK_SHIFT, MK_XBUTTON1, MK_CONTROL | MK_SHIFT};
    WPARAM held = 0;
    for (int i = 0; i < events; ++i) {
        const int kind = r.below(100), b = r.below(3), y = r.below(height);
        const int anywhere = r.below(width), pressX = r.below(width / 2), releaseX = width / 2 + 170 + r.below(width / 2 - 170);
        if (kind < 45) {
            PostMessageA(w, WM_MOUSEMOVE, held, MAKELPARAM(anywhere, y));
        } else if (kind < 65 && (held & flags[b])) {
            held &= ~flags[b];
            PostMessageA(w, up[b], held, MAKELPARAM(b == 1 ? releaseX : anywhere, y));
        } else if (kind < 65) {
            held |= flags[b];
            PostMessageA(w, down[b], held | modifiers[r.below(5)], MAKELPARAM(pressX, y));
        } else if (kind < 69 && b != 2 && !(held & flags[b])) {
            held |= flags[b];  // the second press of a quick pair
            PostMessageA(w, b == 0 ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK, held, MAKELPARAM(pressX, y));
        } else if (kind < 72) {
            held &= ~flags[b];  // released over another window: no message
        } else if (kind < 82) {
            PostMessageA(w, WM_MOUSEWHEEL, MAKEWPARAM(held, (r.below(2) ? 120 : -120) * (1 + r.below(2))),
                         MAKELPARAM(anywhere, y));
        } else {
            const WPARAM key = VK_F1 + r.below(9);  // the pen row and the eraser; never Escape
            PostMessageA(w, WM_KEYDOWN, key, 1);
            PostMessageA(w, WM_KEYUP, key, 0xC0000001);
        }
    }
}

bool Grew(const Counters& first, const Counters& last)
{
    return last.gdi > first.gdi || last.windows > first.windows || last.privateKb > first.privateKb;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: soak SEED SESSIONS EVENTS [FIRST]\n");
        return 2;
    }
    const uint64_t seed = std::strtoull(argv[1], nullptr, 0);
    const int sessions = std::atoi(argv[2]), events = std::atoi(argv[3]), first = argc > 4 ? std::atoi(argv[4]) : 1;
    HWND tray = FindWindowA("SCRIVANE_TRAY", nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(tray, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!tray || !process) {
        std::fprintf(stderr, "soak: no running Scrivane\n");
        return 2;
    }
    Print("before the first", Measure(process, pid));
    Counters afterFirst = {}, last = {}, most = {};
    int opened = 0, closed = 0;
    for (int n = first; n < first + sessions; ++n) {
        PostMessageA(tray, kLaunch, 0, 0);
        HWND paint = nullptr;
        if (!WaitForSession(true, 10000, &paint)) {
            std::printf("session %d did not open\n", n);
            break;
        }
        ++opened;
        Random r = {seed * 1000003u + static_cast<uint64_t>(n)};
        Drive(paint, r, events);
        PostMessageA(paint, WM_CLOSE, 0, 0);
        if (!WaitForSession(false, 120000)) {
            std::printf("session %d did not close\n", n);
            break;
        }
        ++closed;
        Sleep(50);  // the settings window learns of the end from a posted message
        DWORD_PTR answer;
        SendMessageTimeoutA(tray, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &answer);
        last = Measure(process, pid);
        if (n == first)
            afterFirst = most = last;
        most = {std::max(most.gdi, last.gdi), std::max(most.windows, last.windows),
                std::max(most.privateKb, last.privateKb), std::max(most.workingSetKb, last.workingSetKb)};
        if (n == first || (n - first + 1) % 10 == 0 || n == first + sessions - 1) {
            char when[32];
            std::snprintf(when, sizeof(when), "after session %d", n);
            Print(when, last);
        }
    }
    Print("most after any", most);
    DWORD code = 0;
    const bool alive = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    std::printf("sessions opened %d, closed %d of %d; program %s\n", opened, closed, sessions,
                alive ? "running" : "gone");
    const bool grew = Grew(afterFirst, last);
    if (grew)
        std::printf("grew after the first session\n");
    return alive && closed == sessions && !grew ? 0 : 1;
}
