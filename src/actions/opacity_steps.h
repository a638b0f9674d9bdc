// How one press of the opacity buttons changes a window's constant alpha.
// Portable: the Windows side reads the window's state, asks here what to do
// and does it.
#pragma once
#include <cstdint>

constexpr int OPACITY_STEP = 15;
constexpr uint8_t FULL_OPACITY = 255;
// At or below this alpha the transparency button takes no further step, so
// that a window cannot be faded out of sight by accident.
constexpr uint8_t LOWEST_STEPPED_ALPHA = 50;

enum class OpacityChange {
    None,          // leave the window as it is
    SetAlpha,      // set the constant alpha to OpacityStep::alpha
    BecomeLayered, // add the layered style, then set alpha OpacityStep::alpha (255: no visible
                   // change)
    StopLayering,  // remove the layered style: the window is fully opaque again
};

struct OpacityStep {
    OpacityChange change;
    uint8_t alpha; // for SetAlpha and BecomeLayered
};

// A window's opacity as read before the press.
struct LayeredState {
    bool layered;
    bool alphaKnown; // false when a layered window has no constant alpha (per-pixel alpha)
    uint8_t alpha;   // meaningful when layered and alphaKnown
};

OpacityStep MoreOpaqueStep(LayeredState state);
OpacityStep MoreTransparentStep(LayeredState state);
