#include "display/preview_fit.h"

#include "base/ieee_arithmetic.h"

// Every step in single precision, as the transform holds the numbers.
IEEE_ARITHMETIC PreviewFit FitPreview(int64_t width, int64_t height, int side) {
    if (width <= 0 || height <= 0)
        return PreviewFit{true, 1.0f, 0.0f, 0.0f};
    const float size = static_cast<float>(side);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    if (width > height) {
        const float scale = size / w;
        return PreviewFit{false, scale, 0.0f, (size - scale * h) * 0.5f};
    }
    if (height > width) {
        const float scale = size / h;
        return PreviewFit{false, scale, (size - scale * w) * 0.5f, 0.0f};
    }
    return PreviewFit{false, size / w, 0.0f, 0.0f};
}

int PreviewIconPosition(int side, int iconSize) {
    return (side - iconSize) / 2;
}

bool LiveImageCoversIcon(const PreviewFit& fit, int iconPosition) {
    // The longer side fills the square; the shorter one is centred like the icon.
    const auto icon = static_cast<float>(iconPosition);
    return !fit.showIcon && fit.offsetX <= icon && fit.offsetY <= icon;
}

unsigned PreviewDelayMs(unsigned keyboardDelay) {
    const unsigned delay = keyboardDelay > 3 ? 3 : keyboardDelay;
    return (delay + 1) * 50;
}
