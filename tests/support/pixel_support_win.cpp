#include "pixel_support_win.h"

#include <cstdlib>

::testing::AssertionResult ColourNear(COLORREF actual, COLORREF expected, int tolerance) {
    if (std::abs(GetRValue(actual) - GetRValue(expected)) <= tolerance &&
        std::abs(GetGValue(actual) - GetGValue(expected)) <= tolerance &&
        std::abs(GetBValue(actual) - GetBValue(expected)) <= tolerance)
        return ::testing::AssertionSuccess();
    const auto rgb = [](COLORREF c) {
        return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
               std::to_string(GetBValue(c)) + ")";
    };
    return ::testing::AssertionFailure()
           << rgb(actual) << " is not within " << tolerance << " of " << rgb(expected);
}

bool NoLighter(COLORREF colour, COLORREF than, int tolerance) {
    return GetRValue(colour) <= GetRValue(than) + tolerance &&
           GetGValue(colour) <= GetGValue(than) + tolerance &&
           GetBValue(colour) <= GetBValue(than) + tolerance;
}

HICON CreateSolidIcon(COLORREF colour, int size) {
    HDC screen = GetDC(nullptr);
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = CreateCompatibleBitmap(screen, size, size);
    info.hbmMask = CreateBitmap(size, size, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, info.hbmColor);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, brush);
    SelectObject(dc, info.hbmMask);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); // opaque everywhere
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return icon;
}

MemoryCanvas::MemoryCanvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    old = SelectObject(dc, bitmap);
    ReleaseDC(nullptr, screen);
}

MemoryCanvas::~MemoryCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

COLORREF DrawnPixel(const std::function<void(HDC)>& draw, int x, int y) {
    MemoryCanvas canvas(32, 32);
    RECT all = {0, 0, 32, 32};
    FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    draw(canvas.dc);
    return GetPixel(canvas.dc, x, y);
}

int IconWidth(HICON icon) {
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

COLORREF IconPixel(HICON icon, int x, int y) {
    return DrawnPixel([&](HDC dc) { DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL); }, x,
                      y);
}
