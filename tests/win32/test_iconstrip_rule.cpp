// The rule by which a window's icon is found, with large and with small icons,
// and the table of icons taken from program files.
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <vector>
#include <string>
#include <vector>

#include "base/identifiers.h"
#include "base/program_handles_win.h"
#include "control/switcher_commands_win.h"
#include "pixel_support_win.h"
#include "process_support_win.h"
#include "resources/resource_ids.h"
#include "settings/options.h"
#include "switcher_support_win.h"
#include "window_support_win.h"
#include "windowlist/icon_strip_win.h"
#include "windowlist/program_icon_table.h"
#include "windowlist/program_icons_win.h"

namespace {

// A window of a helper program, started for one test and ended with it.
struct OtherProgram {
    OtherProgram(const wchar_t* exe, const std::wstring& arguments, const wchar_t* className,
                 const wchar_t* title) {
        program = StartProgram(exe, arguments);
        WaitUntil([&] { return (window = FindWindowW(className, title)) != nullptr; });
    }
    ~OtherProgram() {
        if (window)
            PostMessageW(window, WM_CLOSE, 0, 0);
        WaitForExit(program, 5000);
        EndProgram(program);
    }
    StartedProgram program;
    HWND window = nullptr;
};

class IconRule : public InProcessSwitcherTest {
  public:
    void SetUp() override {
        windowBig = CreateSolidIcon(RGB(255, 0, 0));
        windowSmall = CreateSolidIcon(RGB(0, 255, 0), 16);
        classBig = CreateSolidIcon(RGB(0, 0, 255));
        classSmall = CreateSolidIcon(RGB(255, 255, 0), 16);
        defaultIcon = LoadIconW(programInstance, MAKEINTRESOURCEW(IDI_DEFAULT_WINDOW));
        ASSERT_NE(defaultIcon, nullptr);
    }
    void TearDown() override {
        for (HWND window : windows)
            DestroyWindow(window);
        for (HICON icon : {windowBig, windowSmall, classBig, classSmall})
            DestroyIcon(icon);
        switcherOptions.smallIcons = 0;
    }

    // Window icons and class icons given by which of the four are present.
    HWND Window(bool hasWindowBig, bool hasWindowSmall, bool hasClassBig, bool hasClassSmall) {
        DisplayWindowSpec spec;
        spec.windowBig = hasWindowBig ? windowBig : nullptr;
        spec.windowSmall = hasWindowSmall ? windowSmall : nullptr;
        spec.classBig = hasClassBig ? classBig : nullptr;
        spec.classSmall = hasClassSmall ? classSmall : nullptr;
        HWND window = CreateDisplayWindow(spec);
        windows.push_back(window);
        return window;
    }

    HICON windowBig = nullptr, windowSmall = nullptr, classBig = nullptr, classSmall = nullptr;
    HICON defaultIcon = nullptr;
    std::vector<HWND> windows;
};

struct RuleCase {
    const char* name;
    bool windowBig, windowSmall, classBig, classSmall;
    enum Expected { WINDOW_BIG, WINDOW_SMALL, CLASS_BIG, CLASS_SMALL, PROGRAM } expected;
};

std::wstring OwnProgramPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// A window without icons of its own or of its class shows the icon of its
// program file: this test program's.
void CheckRule(IconRule* test, const RuleCase* cases, size_t count, HICON icons[4]) {
    const HICON program = ProgramFileIconOfPath(OwnProgramPath().c_str(), StripIconSize());
    ASSERT_NE(program, nullptr);
    for (size_t i = 0; i < count; ++i) {
        const RuleCase& c = cases[i];
        HWND window = test->Window(c.windowBig, c.windowSmall, c.classBig, c.classSmall);
        ASSERT_NE(window, nullptr);
        const HICON expected = c.expected == RuleCase::PROGRAM ? program : icons[c.expected];
        EXPECT_EQ(LookupWindowIcon(window), expected) << c.name;
    }
}

TEST_F(IconRule, LargeIconsAskTheWindowsBigIconThenTheClassIcon) {
    switcherOptions.smallIcons = 0;
    const RuleCase cases[] = {
        {"everything", true, true, true, true, RuleCase::WINDOW_BIG},
        {"window big only", true, false, false, false, RuleCase::WINDOW_BIG},
        {"class big beats window small", false, true, true, true, RuleCase::CLASS_BIG},
        {"window small", false, true, false, false, RuleCase::WINDOW_SMALL},
        {"window small beats class small", false, true, false, true, RuleCase::WINDOW_SMALL},
        {"class icons only", false, false, true, true, RuleCase::CLASS_BIG},
        {"class small only", false, false, false, true, RuleCase::CLASS_SMALL},
        {"nothing", false, false, false, false, RuleCase::PROGRAM},
    };
    HICON icons[] = {windowBig, windowSmall, classBig, classSmall};
    CheckRule(this, cases, std::size(cases), icons);
}

TEST_F(IconRule, SmallIconsAskTheWindowsSmallIconThenTheClassLargeIcon) {
    switcherOptions.smallIcons = 1;
    const RuleCase cases[] = {
        {"everything", true, true, true, true, RuleCase::WINDOW_SMALL},
        {"window small only", false, true, false, false, RuleCase::WINDOW_SMALL},
        {"class big beats window big", true, false, true, true, RuleCase::CLASS_BIG},
        {"window big", true, false, false, false, RuleCase::WINDOW_BIG},
        {"window big beats class small", true, false, false, true, RuleCase::WINDOW_BIG},
        {"class icons only", false, false, true, true, RuleCase::CLASS_BIG},
        {"class small only", false, false, false, true, RuleCase::CLASS_SMALL},
        {"nothing", false, false, false, false, RuleCase::PROGRAM},
    };
    HICON icons[] = {windowBig, windowSmall, classBig, classSmall};
    CheckRule(this, cases, std::size(cases), icons);
}

// Under Wine every other program's window answers no icon: each shows its own
// program's, and the generic icon is left for programs whose file has none.
TEST_F(IconRule, AWindowWithoutIconsShowsItsProgramFilesIconThenTheGenericOne) {
    OtherProgram withIcon(L"display_window.exe", L"\"Program with an icon\"",
                          L"ZephtabDisplayHelper", L"Program with an icon");
    OtherProgram withoutIcon(L"layered_window.exe", L"\"Program without an icon\" 255",
                             L"ZephtabLayeredHelper", L"Program without an icon");
    ASSERT_TRUE(withIcon.window && withoutIcon.window);
    const HICON toolIcon = LoadIconW(programInstance, MAKEINTRESOURCEW(IDI_TOOL_TOPMOST));
    for (BYTE smallIcons : {0, 1}) {
        SCOPED_TRACE(int(smallIcons));
        switcherOptions.smallIcons = smallIcons;
        const HICON own = LookupWindowIcon(Window(false, false, false, false));
        // The program's icon: the front window's orange title bar.
        EXPECT_TRUE(ColourNear(IconPixel(own, 16, 16), RGB(255, 138, 0)));
        EXPECT_EQ(IconWidth(own), StripIconSize());
        const HICON other = LookupWindowIcon(withIcon.window);
        EXPECT_EQ(IconWidth(other), StripIconSize());
        if (!smallIcons) {
            for (POINT p : {POINT{2, 2}, POINT{14, 3}, POINT{20, 20}})
                EXPECT_EQ(IconPixel(other, p.x, p.y), IconPixel(toolIcon, p.x, p.y));
        }
        EXPECT_EQ(LookupWindowIcon(withoutIcon.window), defaultIcon);
    }
    // Each lookup opens the window's process to read its path, and closes it.
    const int handlesBefore = CountKernelHandles();
    for (int lookup = 0; lookup < 50; ++lookup)
        ProgramFileIcon(withIcon.window, StripIconSize());
    EXPECT_LT(CountKernelHandles(), handlesBefore + 10);
}

// Its window shows the generic icon, opening after opening, and the file is not
// handed to the system's icon reader, which would fault on it.
TEST_F(IconRule, AProgramWithAMalformedIconDirectoryShowsTheGenericIcon) {
    // Its icon directory states 65,535 entries and holds one, as a malformed program
    // file on the desktop might.
    std::vector<BYTE> group = DisplayHelperIconGroup();
    ASSERT_GE(group.size(), 6u);
    group[4] = group[5] = 0xFF;
    ASSERT_TRUE(WriteDisplayHelperCopy(L"malformed_icon_helper.exe", group));
    {
        OtherProgram malformed(L"malformed_icon_helper.exe", L"\"Malformed icon\"",
                               L"ZephtabDisplayHelper", L"Malformed icon");
        ASSERT_NE(malformed.window, nullptr);
        Window(false, false, false, false);
        for (int opening = 0; opening < 20; ++opening) {
            OpenSwitcherAndWait();
            ASSERT_GE(ListedIndexOf(malformed.window), 0);
            EXPECT_EQ(LookupWindowIcon(malformed.window), defaultIcon);
            RunSwitcherCommand(CMD_CANCEL);
        }
    }
    DeleteFileW((ExecutableFolder() + L"malformed_icon_helper.exe").c_str());
}

TEST_F(IconRule, AWindowThatIsGoneGetsTheDefaultIcon) {
    HWND window = Window(true, true, false, false);
    DestroyWindow(window);
    windows.clear();
    EXPECT_EQ(LookupWindowIcon(window), defaultIcon);
}

TEST_F(IconRule, DefaultIconIsAGenericWindowPicture) {
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(defaultIcon, &info));
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    EXPECT_EQ(bitmap.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    const COLORREF client = IconPixel(defaultIcon, 16, 20);
    const COLORREF titleBar = IconPixel(defaultIcon, 10, 6);
    const COLORREF closeBox = IconPixel(defaultIcon, 25, 6);
    const COLORREF frame = IconPixel(defaultIcon, 2, 20);
    const COLORREF corner = IconPixel(defaultIcon, 0, 0);

    EXPECT_TRUE(ColourNear(client, RGB(255, 255, 255)));
    EXPECT_LT(GetRValue(titleBar), 64);
    EXPECT_GT(GetBValue(titleBar), 96);
    EXPECT_GT(GetRValue(closeBox), 192);
    EXPECT_LT(GetBValue(closeBox), 64);
    EXPECT_GT(GetBValue(frame), GetRValue(frame) + 64);
    EXPECT_TRUE(ColourNear(corner, RGB(0, 0, 0))); // transparent outside the window
}

// Its own picture at each size the system asks for, plainly readable on the
// switcher's blue: not one flat colour, and mostly unlike that blue.
TEST(ProgramIcon, EverySizeIsDrawnAndStandsOutOnTheSwitchersBlue) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    // The icon group: a 6-byte header, then 14-byte entries whose first byte is the width.
    const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    std::vector<int> widths;
    for (int i = 0; i < group[4]; ++i)
        widths.push_back(group[6 + 14 * i] ? group[6 + 14 * i] : 256);
    const std::vector<int> sizes = {16, 20, 24, 32, 40, 48, 64, 256};
    EXPECT_EQ(widths, sizes);
    const COLORREF blue = RGB(91, 125, 222); // the darkest of the strip's background
    for (int size : sizes) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(LoadImageW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        MemoryCanvas canvas(size, size);
        RECT all = {0, 0, size, size};
        SetDCBrushColor(canvas.dc, blue);
        FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        DrawIconEx(canvas.dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
        int unlike = 0;
        std::set<COLORREF> colours;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const COLORREF pixel = GetPixel(canvas.dc, x, y);
                colours.insert(pixel);
                unlike += ColourNear(pixel, blue, 80) ? 0 : 1;
            }
        EXPECT_GE(colours.size(), 4u);
        EXPECT_GE(unlike * 2, size * size) << unlike << " of " << size * size;
    }
}

// The pictures of 32 pixels and more are PNG files inside the program (a 256-pixel
// one takes 3 KB instead of 40), which the system reads as it reads the others.
TEST(ProgramIcon, LargePicturesAreStoredAsPng) {
    const BYTE kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (int id : {IDI_APP, IDI_DEFAULT_WINDOW, IDI_TOOL_RESTORE, IDI_TOOL_TRANSPARENT,
                   IDI_TOOL_OPAQUE, IDI_TOOL_TOPMOST}) {
        HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
        ASSERT_NE(found, nullptr) << id;
        const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
        int stored = 0;
        // 14-byte entries: the width first, the bits per pixel at 6, the picture's id at 12.
        for (int i = 0; i < group[4]; ++i) {
            const BYTE* entry = group + 6 + 14 * i;
            const int width = entry[0] ? entry[0] : 256;
            const WORD pictureId = static_cast<WORD>(entry[12] | (entry[13] << 8));
            HRSRC picture = FindResourceW(nullptr, MAKEINTRESOURCEW(pictureId), RT_ICON);
            ASSERT_NE(picture, nullptr) << id << " at " << width;
            const BYTE* bytes =
                static_cast<const BYTE*>(LockResource(LoadResource(nullptr, picture)));
            const bool png = SizeofResource(nullptr, picture) > sizeof(kPngSignature) &&
                             memcmp(bytes, kPngSignature, sizeof(kPngSignature)) == 0;
            EXPECT_EQ(png, width >= 32) << id << " at " << width;
            stored += static_cast<int>(SizeofResource(nullptr, picture));
        }
        // Every icon of the program together once took 93 KB.
        EXPECT_LT(stored, id == IDI_APP ? 6 * 1024 : 1536) << id;
    }
}

// One read per program file and size, kept between openings; a table of fixed
// size whose replaced and released icons are destroyed.
TEST(ProgramIcons, AFixedTableKeepsEachProgramsIconAndDestroysWhatItLetsGo) {
    ReleaseProgramIcons();
    const std::wstring source = ExecutableFolder() + L"display_window.exe";
    std::vector<std::wstring> copies;
    for (int i = 0; i < PROGRAM_ICON_SLOTS + 8; ++i) {
        copies.push_back(ExecutableFolder() + L"program_icon_copy_" + std::to_wstring(i) + L".exe");
        ASSERT_TRUE(CopyFileW(source.c_str(), copies.back().c_str(), FALSE));
    }
    // Once first: whatever the system sets up for its first icon read stays.
    ASSERT_NE(ProgramFileIconOfPath(source.c_str(), 32), nullptr);
    ReleaseProgramIcons();
    const int gdiObjects = CountGdiObjects();
    std::vector<HICON> kept;
    for (int i = 0; i < PROGRAM_ICON_SLOTS; ++i)
        kept.push_back(ProgramFileIconOfPath(copies[i].c_str(), 32));
    const int heldBySlots = CountGdiObjects();
    EXPECT_GT(heldBySlots, gdiObjects);
    // Every icon may be on screen while the strip holds its images: no room for one more.
    EXPECT_EQ(ProgramFileIconOfPath(copies[PROGRAM_ICON_SLOTS].c_str(), 32), nullptr);
    EXPECT_EQ(ProgramFileIconOfPath(copies[0].c_str(), 32), kept[0]); // not read again

    // Once the strip let go, new programs replace the icons used longest ago.
    EndProgramIconUse();
    for (int i = PROGRAM_ICON_SLOTS; i < static_cast<int>(copies.size()); ++i)
        EXPECT_NE(ProgramFileIconOfPath(copies[i].c_str(), 32), nullptr);
    EXPECT_EQ(CountGdiObjects(), heldBySlots);
    EXPECT_EQ(ProgramFileIconOfPath(copies[0].c_str(), 32), kept[0]); // used last, kept

    ReleaseProgramIcons();
    EXPECT_EQ(CountGdiObjects(), gdiObjects);
    for (const std::wstring& copy : copies)
        DeleteFileW(copy.c_str());
}

} // namespace
