#include <gtest/gtest.h>
#include <cstdio>
#include "app/app_win.h"
#include "app/identifiers.h"
#include "control/switcher_commands_win.h"
#include "display_support_win.h"
#include "test_support_win.h"
TEST(Shot, Open) {
    SwitcherOptions stored; SetDefaultOptions(&stored);
    stored.showProcessInfo = 1; stored.noAnimation = 1;
    StartSwitcherInProcess(&stored);
    std::vector<HWND> w;
    COLORREF colours[] = {RGB(200,60,60), RGB(60,160,60), RGB(230,200,40), RGB(90,90,220)};
    for (int i = 0; i < 4; ++i) {
        DisplayWindowSpec s; s.title = L"Sample window " + std::to_wstring(i);
        s.windowBig = CreateSolidIcon(colours[i]); s.clientColour = colours[i];
        s.width = 500 + 60*i; s.height = 300;
        w.push_back(CreateDisplayWindow(s));
    }
    RunSwitcherCommand(CMD_OPEN);
    RunSwitcherCommand(CMD_NEXT);
    WaitUntil([] { return false; }, 600);
    std::printf("@@screenshot /tmp/hd-open.png\n"); std::fflush(stdout);
    char answer[64]; std::fgets(answer, sizeof(answer), stdin);
    RunSwitcherCommand(CMD_CANCEL);
    StopSwitcherInProcess();
}
