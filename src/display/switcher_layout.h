// The switcher's geometry in one table: every place, size, font height, icon
// size and spacing, in pixels at 96 DPI, and the one rule that scales it to
// the DPI of the monitor the switcher opens on. Portable: no windows.h.
#pragma once

constexpr int LAYOUT_DPI = 96;
// The DPIs the switcher is made for: 100 % to 500 %, the range of the system's scale settings.
constexpr int LOWEST_DPI = 96;
constexpr int HIGHEST_DPI = 480;

// value * dpi / 96, rounded half away from zero as MulDiv rounds (half up for
// the table's numbers, which are never negative). Coordinates and lengths
// follow the same rule, so rectangles scaled edge by edge still meet where
// they met: no gap opens between neighbours at 125 % or 175 %.
int ScaleForDpi(int value, int dpi);

// A DPI that the system reported, made usable: a failed query (0) or a value
// outside the scale settings comes back as the nearest DPI of that range.
int UsableDpi(int reportedDpi);

// (left, top)-(right, bottom), right and bottom exclusive, in the switcher's
// client coordinates.
struct LayoutRect {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr int WidthOf(const LayoutRect& rect) {
    return rect.right - rect.left;
}

constexpr int HeightOf(const LayoutRect& rect) {
    return rect.bottom - rect.top;
}

// Every number is a pixel coordinate or length: the table is scaled number by
// number (ScaleLayout), so no entry can be left unscaled.
struct SwitcherLayout {
    LayoutRect window; // the switcher, and the size of its back buffers
    LayoutRect banner;
    LayoutRect clock;
    LayoutRect title;
    LayoutRect typedText; // what was typed to narrow the list, between banner and clock
    LayoutRect mainBand;  // lightest in column mainBandSplitX
    int mainBandSplitX;
    LayoutRect accentStrip; // over the main band's top rows, orange in column accentSplitX
    int accentSplitX;
    LayoutRect iconStrip;
    LayoutRect toolbar;
    LayoutRect previewBox; // the preview square and a ring of the band around it
    int previewLeft;       // the preview square, kept square at every scale
    int previewTop;
    int previewSide;
    LayoutRect panel;
    LayoutRect separators[2];
    LayoutRect modulePath;
    int bannerFontHeight; // cell heights
    int textFontHeight;
    int clockFontHeight;
    int bannerShadowOffset; // right and down
    int textShadowOffset;
    int largeIconSize; // the strip's images, and the icon in the preview square
    int smallIconSize;
    int largeIconSpacing; // between neighbouring icons of the strip, across and down
    int smallIconSpacing;
    int toolIconSize;    // the toolbar's images
    int selectionMargin; // the highlight around the selected icon of the strip
    int selectionFrame;  // and its frame's thickness
};

constexpr SwitcherLayout kLayoutAt96Dpi = {
    {0, 0, 600, 375},                             // window
    {5, 2, 200, 30},                              // banner
    {500, 10, 580, 30},                           // clock
    {5, 30, 580, 50},                             // title
    {205, 10, 495, 30},                           // typedText
    {0, 50, 600, 280},                            // mainBand
    400,                                          // mainBandSplitX
    {0, 50, 600, 56},                             // accentStrip
    300,                                          // accentSplitX
    {1, 68, 341, 268},                            // iconStrip
    {343, 75, 383, 275},                          // toolbar
    {386, 68, 586, 268},                          // previewBox
    387,                                          // previewLeft
    69,                                           // previewTop
    198,                                          // previewSide
    {0, 275, 600, 375},                           // panel
    {{190, 290, 191, 350}, {360, 290, 361, 350}}, // separators
    {10, 357, 590, 375},                          // modulePath
    25,                                           // bannerFontHeight
    13,                                           // textFontHeight
    15,                                           // clockFontHeight
    3,                                            // bannerShadowOffset
    4,                                            // textShadowOffset
    32,                                           // largeIconSize
    16,                                           // smallIconSize
    40,                                           // largeIconSpacing
    24,                                           // smallIconSpacing
    32,                                           // toolIconSize
    3,                                            // selectionMargin
    2,                                            // selectionFrame
};

// The switcher's size at 96 DPI.
constexpr int SWITCHER_WIDTH = WidthOf(kLayoutAt96Dpi.window);
constexpr int SWITCHER_HEIGHT = HeightOf(kLayoutAt96Dpi.window);

// The table at dpi: every number scaled by ScaleForDpi.
SwitcherLayout ScaleLayout(int dpi);

// The figures of the process panel, one per row of the panel.
enum PanelValue {
    PANEL_WINDOW_HANDLE,
    PANEL_PROCESS_ID,
    PANEL_MEMORY,
    PANEL_PRIORITY,
    PANEL_HANDLES,
    PANEL_GDI_OBJECTS,
    PANEL_USER_OBJECTS,
    PANEL_IO_READS,
    PANEL_IO_WRITES,
    PANEL_POSITION,
};

// A row of the process panel: its label, drawn into the background, and its
// value, drawn on every frame on the same line. Places at 96 DPI, scaled at use.
struct PanelRow {
    const wchar_t* label;
    PanelValue value;
    int labelX;
    int valueX;
    int y;
};

// The least room between the end of a label and its value, at 96 DPI: the
// second column's values stand far enough right for its widest label.
constexpr int PANEL_LABEL_GAP = 8;

constexpr PanelRow kPanelRows[] = {
    {L"Window Handle", PANEL_WINDOW_HANDLE, 10, 110, 288},
    {L"Process ID (PID)", PANEL_PROCESS_ID, 10, 110, 301},
    {L"MEM Usage", PANEL_MEMORY, 10, 110, 314},
    {L"Priority", PANEL_PRIORITY, 10, 110, 327},
    {L"Handles", PANEL_HANDLES, 200, 290, 288},
    {L"GDI Objects", PANEL_GDI_OBJECTS, 200, 290, 301},
    {L"USER Objects", PANEL_USER_OBJECTS, 200, 290, 314},
    {L"I/O Reads", PANEL_IO_READS, 200, 290, 327},
    {L"I/O Writes", PANEL_IO_WRITES, 200, 290, 340},
    {L"Window ", PANEL_POSITION, 370, 430, 288},
};
