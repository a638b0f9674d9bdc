#include "actions/opacity_steps.h"

namespace {

constexpr OpacityStep kNoChange = {OpacityChange::None, 0};

} // namespace

OpacityStep MoreOpaqueStep(LayeredState state) {
    if (!state.layered)
        return kNoChange; // already fully opaque
    // A per-pixel alpha window has no constant alpha to raise: a constant one
    // would replace its own shape, so it is left alone.
    if (!state.alphaKnown)
        return kNoChange;
    if (state.alpha == FULL_OPACITY)
        return {OpacityChange::StopLayering, 0};
    int raised = state.alpha + OPACITY_STEP;
    if (raised > FULL_OPACITY)
        raised = FULL_OPACITY;
    return {OpacityChange::SetAlpha, static_cast<uint8_t>(raised)};
}

OpacityStep MoreTransparentStep(LayeredState state) {
    // The first press only makes the window layered, without changing its look.
    if (!state.layered)
        return {OpacityChange::BecomeLayered, FULL_OPACITY};
    if (!state.alphaKnown || state.alpha <= LOWEST_STEPPED_ALPHA)
        return kNoChange;
    return {OpacityChange::SetAlpha, static_cast<uint8_t>(state.alpha - OPACITY_STEP)};
}
