#include "display_support_win.h"

#include <cstdlib>
#include <map>

#include "app/app_win.h"
#include "display/selection_win.h"
#include "settings/settings_store_win.h"
#include "test_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/window_list_win.h"

namespace {

std::map<HWND, int> renderRequests;
std::map<HWND, HBRUSH> clientBrushes;

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PRINT)
        ++renderRequests[window];
    if (message == WM_ERASEBKGND) {
        // Only the client rectangle, as applications paint: the default erase fills
        // the whole clip box of the given DC, all of a capture canvas under Wine.
        auto brush = clientBrushes.find(window);
        if (brush == clientBrushes.end())
            return 0;
        RECT client;
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush->second);
        return 1;
    }
    if (message == WM_NCDESTROY) {
        auto brush = clientBrushes.find(window);
        if (brush != clientBrushes.end()) {
            DeleteObject(brush->second);
            clientBrushes.erase(brush);
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* DisplayWindowClass(const DisplayWindowSpec& spec, HBRUSH brush) {
    static int classNumber = 0;
    static wchar_t className[64];
    wsprintfW(className, L"ZephtabDisplayTest%d", ++classNumber);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DisplayWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = spec.classBig;
    windowClass.hIconSm = spec.classSmall;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    return className;
}

} // namespace

void StartSwitcherInProcess(const SwitcherOptions* stored) {
    CloseRunningSwitcher();
    if (stored)
        WriteStoredOptions(stored);
    else
        DeleteSettingsKey();
    RegisterSwitcherClass(GetModuleHandleW(nullptr));
    InitSwitcher(GetModuleHandleW(nullptr));
}

void StopSwitcherInProcess() {
    if (SwitcherWindow)
        DestroyWindow(SwitcherWindow);
    SwitcherWindow = nullptr;
    PumpMessages();
    DeleteSettingsKey();
    DeleteRegistryValue(ZEPHTAB_RUN_KEY, ZEPHTAB_RUN_VALUE);
}

void UseWindowList(const std::vector<HWND>& windows, const std::vector<HWND>& owners) {
    if (WindowList)
        HeapFree(GetProcessHeap(), 0, WindowList);
    WindowList = nullptr;
    windowCount = 0;
    if (!windows.empty()) {
        WindowList = static_cast<WindowEntry*>(
            HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, windows.size() * sizeof(WindowEntry)));
        for (size_t i = 0; i < windows.size(); ++i) {
            WindowList[i].window = windows[i];
            WindowList[i].owner = i < owners.size() ? owners[i] : nullptr;
        }
        windowCount = static_cast<int>(windows.size());
    }
    listedCount = windowCount;
    selectedIndex = 0;
    SendMessageW(IconStrip, LVM_DELETEALLITEMS, 0, 0);
    if (listedCount >= 2)
        FillIconStrip(IconStrip);
}

HICON CreateSolidIcon(COLORREF colour, int size) {
    HDC screen = GetDC(nullptr);
    HBITMAP colourBitmap = CreateCompatibleBitmap(screen, size, size);
    HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, colourBitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, brush);
    SelectObject(dc, maskBitmap);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); // opaque everywhere
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = colourBitmap;
    info.hbmMask = maskBitmap;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
    return icon;
}

HWND CreateDisplayWindow(const DisplayWindowSpec& spec) {
    HBRUSH brush = CreateSolidBrush(spec.clientColour);
    HWND window = CreateWindowExW(spec.exStyle, DisplayWindowClass(spec, brush), spec.title.c_str(),
                                  spec.style, 60, 60, spec.width, spec.height, spec.owner, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        DeleteObject(brush);
        return nullptr;
    }
    clientBrushes[window] = brush;
    if (spec.windowBig)
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(spec.windowBig));
    if (spec.windowSmall)
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(spec.windowSmall));
    PumpMessages();
    return window;
}

int RenderRequests(HWND window) {
    auto found = renderRequests.find(window);
    return found == renderRequests.end() ? 0 : found->second;
}

void SelectEntry(int index) {
    selectedIndex = index;
    ShowSelection(index);
}

int SelectedStripItem() {
    return static_cast<int>(
        SendMessageW(IconStrip, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

COLORREF DrawnPixel(const std::function<void(HDC)>& draw, int x, int y) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 32);
    HGDIOBJ old = SelectObject(dc, canvas);
    RECT all = {0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    draw(dc);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return colour;
}

COLORREF IconPixel(HICON icon, int x, int y) {
    return DrawnPixel([&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL); }, x,
                      y);
}

COLORREF PixelAt(HDC dc, int x, int y) {
    return GetPixel(dc, x, y);
}

bool IsColour(COLORREF pixel, COLORREF expected, int tolerance) {
    return std::abs(GetRValue(pixel) - GetRValue(expected)) <= tolerance &&
           std::abs(GetGValue(pixel) - GetGValue(expected)) <= tolerance &&
           std::abs(GetBValue(pixel) - GetBValue(expected)) <= tolerance;
}
