// Fitting a window's image into the preview square.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "base/ieee_arithmetic.h"
#include "display/preview_fit.h"

// The reference (outside the anonymous namespace: a local function would be given
// SSE register arguments that its callers cannot pass): every step rounded to single precision,
// whatever unit this test runs on.
IEEE_ARITHMETIC float SinglePrecisionScale(float longerSide) {
    const volatile float size = 198.0f; // no constant folding
    return size / longerSide;
}

IEEE_ARITHMETIC float SinglePrecisionOffset(float scale, float shorterSide) {
    const volatile float size = 198.0f; // no constant folding
    return (size - scale * shorterSide) * 0.5f;
}

namespace {

constexpr int kSide = 198; // the square at 96 DPI

TEST(PreviewFit, LongerSideBecomesTheSquareAndTheShorterIsCentred) {
    struct Case {
        int64_t width, height;
        float scale, offsetX, offsetY;
    };
    const Case cases[] = {
        {792, 396, 0.25f, 0.0f, 49.5f}, {396, 792, 0.25f, 49.5f, 0.0f},
        {396, 396, 0.5f, 0.0f, 0.0f},   {198, 198, 1.0f, 0.0f, 0.0f},
        {99, 33, 2.0f, 0.0f, 66.0f},    {1, 1, 198.0f, 0.0f, 0.0f},
        {1980, 1, 0.1f, 0.0f, 98.95f},
    };
    for (const Case& c : cases) {
        const PreviewFit fit = FitPreview(c.width, c.height, kSide);
        EXPECT_FALSE(fit.showIcon) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(fit.scale, c.scale) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(fit.offsetX, c.offsetX) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(fit.offsetY, c.offsetY) << c.width << "x" << c.height;
    }
}

TEST(PreviewFit, ResultsAreSinglePrecisionAsTheTransformHoldsThem) {
    // Small windows show where extended precision would give another last bit.
    const int sizes[][2] = {{1000, 300}, {5, 3}, {7, 6}, {3, 5}, {6, 7}};
    for (const auto& size : sizes) {
        const int longer = size[0] > size[1] ? size[0] : size[1];
        const int shorter = size[0] > size[1] ? size[1] : size[0];
        const PreviewFit fit = FitPreview(size[0], size[1], kSide);
        EXPECT_EQ(fit.scale, SinglePrecisionScale(static_cast<float>(longer)))
            << size[0] << "x" << size[1];
        const float offset = SinglePrecisionOffset(fit.scale, static_cast<float>(shorter));
        EXPECT_EQ(size[0] > size[1] ? fit.offsetY : fit.offsetX, offset)
            << size[0] << "x" << size[1];
    }
}

TEST(PreviewFit, NoAreaShowsTheIconAndNeverAnInfiniteOrUndefinedNumber) {
    const int64_t sizes[][2] = {{0, 0}, {0, 100}, {100, 0}, {-5, 100}, {100, -5}, {-1, -1}};
    for (const auto& size : sizes) {
        const PreviewFit fit = FitPreview(size[0], size[1], kSide);
        EXPECT_TRUE(fit.showIcon) << size[0] << "x" << size[1];
        EXPECT_TRUE(std::isfinite(fit.scale) && std::isfinite(fit.offsetX) &&
                    std::isfinite(fit.offsetY));
    }
}

TEST(PreviewFit, HugeWindowsStayFinite) {
    const PreviewFit fit = FitPreview(INT64_MAX, 1, kSide);
    EXPECT_FALSE(fit.showIcon);
    EXPECT_TRUE(std::isfinite(fit.scale) && std::isfinite(fit.offsetY));
    EXPECT_GT(fit.scale, 0.0f);
}

TEST(PreviewFit, TheSquareOfAnotherScaleIsFilledTheSameWay) {
    const PreviewFit wide = FitPreview(792, 396, 297);
    EXPECT_FLOAT_EQ(wide.scale, 0.375f);
    EXPECT_FLOAT_EQ(wide.offsetX, 0.0f);
    EXPECT_FLOAT_EQ(wide.offsetY, 74.25f);
    const PreviewFit tall = FitPreview(396, 792, 396);
    EXPECT_FLOAT_EQ(tall.scale, 0.5f);
    EXPECT_FLOAT_EQ(tall.offsetX, 99.0f);
    EXPECT_FLOAT_EQ(tall.offsetY, 0.0f);
}

TEST(PreviewIcon, CentredInTheSquareAtEveryScale) {
    const struct {
        int side, icon, position;
    } cases[] = {{198, 32, 83},  {248, 40, 104}, {297, 48, 124},
                 {347, 56, 145}, {396, 64, 166}, {198, 16, 91}};
    for (const auto& c : cases)
        EXPECT_EQ(PreviewIconPosition(c.side, c.icon), c.position) << c.side << " " << c.icon;
}

// The icon lies under the live image and must not show around a thin one.
TEST(PreviewFit, TheLiveImageCoversTheIconUnlessItsShorterSideIsThinnerThanTheIcon) {
    const struct {
        int64_t width, height;
        bool covers;
    } cases[] = {{300, 200, true}, {198, 32, true},  {198, 31, false}, {32, 198, true},
                 {31, 198, false}, {1980, 1, false}, {0, 0, false},    {396, 396, true}};
    for (const auto& c : cases)
        EXPECT_EQ(LiveImageCoversIcon(FitPreview(c.width, c.height, 198), 83), c.covers)
            << c.width << "x" << c.height;
}

TEST(PreviewDelay, FiftyMillisecondsPerKeyboardDelayStep) {
    EXPECT_EQ(PreviewDelayMs(0), 50u);
    EXPECT_EQ(PreviewDelayMs(1), 100u);
    EXPECT_EQ(PreviewDelayMs(2), 150u);
    EXPECT_EQ(PreviewDelayMs(3), 200u);
    EXPECT_EQ(PreviewDelayMs(4), 200u);
    EXPECT_EQ(PreviewDelayMs(0xFFFFFFFFu), 200u);
}

} // namespace
