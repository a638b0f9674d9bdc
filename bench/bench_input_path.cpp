// Cost of the decisions made on the desktop's input path: every key and mouse
// event of the whole desktop passes through the hooks' decision functions.
// Run with `make bench`.
#include <benchmark/benchmark.h>

#include "base/identifiers.h"
#include "control/hook_decisions.h"
#include "control/switcher_navigation.h"

namespace {

// A typing burst while idle: the common case, every event passed on.
void BM_KeyEventWhileIdle(benchmark::State& state) {
    KeyHookInput input = {0, KEYMSG_KEYDOWN, 'A',   0,    0, false, false, 0x1E, 1,
                          1, false,          false, false};
    uint32_t key = 'A';
    for (auto _ : state) {
        input.key = key;
        key = key == 'Z' ? 'A' : key + 1;
        benchmark::DoNotOptimize(DecideKeyEvent(input));
    }
}
BENCHMARK(BM_KeyEventWhileIdle);

// Tab auto-repeat with Alt held during a switch.
void BM_TabStepDuringSwitch(benchmark::State& state) {
    const KeyHookInput input = {
        0, KEYMSG_SYSKEYDOWN, KEYCODE_TAB, 1, 0, true, false, 0x0F, 1, 1, false, false, false};
    for (auto _ : state)
        benchmark::DoNotOptimize(DecideKeyEvent(input));
}
BENCHMARK(BM_TabStepDuringSwitch);

// Mouse moves while the switcher is shown: the mouse hook's most frequent event.
void BM_MouseMoveDuringSwitch(benchmark::State& state) {
    const MouseHookInput input = {0, 0x200, 1, false, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(DecideMouseEvent(input));
}
BENCHMARK(BM_MouseMoveDuringSwitch);

void BM_PlaceSwitcher(benchmark::State& state) {
    const ScreenRect monitor = {-1920, -200, 0, 880};
    uint8_t position = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlaceSwitcher(monitor, 600, 375, position));
        position = static_cast<uint8_t>((position + 1) % 10);
    }
}
BENCHMARK(BM_PlaceSwitcher);

void BM_NavigateNext(benchmark::State& state) {
    int index = 0;
    for (auto _ : state) {
        index = NavigatedIndex(CMD_NEXT, index, 40);
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_NavigateNext);

} // namespace
