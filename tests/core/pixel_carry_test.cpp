// Whole-pixel steps from fractional pointer reports: rounding, carry, halves and direction.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/pixel_carry.h"

namespace {

// Reports as offsets from the centre; fractions in 1/256 pixel, as Wayland sends them.
struct ReportRow {
    const char* what;
    std::vector<double> offsets;
    std::vector<int> steps;  // whole pixels passed on for each report
};

const ReportRow kRows[] = {
    {"whole pixels", {3, -2, 0, 7, -1, 600}, {3, -2, 0, 7, -1, 600}},
    {"quarters to a pixel", {0.25, 0.25, 0.25, 0.25}, {0, 1, 0, 0}},
    {"slow motion", {0.375, 0.375, 0.375, 0.375, 0.375, 0.375, 0.375, 0.375},
     {0, 1, 0, 1, 0, 0, 1, 0}},
    {"negative fractions", {-0.25, -0.25, -0.25, -0.25, -0.75}, {0, -1, 0, 0, -1}},
    {"jitter in place", {0.75, -0.75, 0.75, -0.75, 0.25, -0.25}, {1, -1, 1, -1, 0, 0}},
    {"mixed signs", {2.75, -0.5, 0.0078125, -1.25, 0.99609375}, {3, -1, 0, -1, 1}},
    {"halves", {0.5, 0.5, 0.5, -0.5, -0.5, -0.5}, {1, 0, 1, -1, -1, 0}},
    {"pixel and a half", {1.5, 1.5, -1.5}, {2, 1, -2}},
};

}  // namespace

TEST(PixelCarry, StepsSumToTheMotionInEitherDirection) {
    constexpr int kCentre = 512;
    for (const ReportRow& row : kRows) {
        for (int sign : {1, -1}) {
            PixelCarry carry;
            double reported = 0;
            int passedOn = 0;
            for (size_t n = 0; n < row.offsets.size(); ++n) {
                const int step = carry.toPixel(kCentre + sign * row.offsets[n], kCentre) - kCentre;
                EXPECT_EQ(step, sign * row.steps[n]) << row.what << ", sign " << sign << ", #" << n;
                reported += sign * row.offsets[n];
                passedOn += step;
                EXPECT_LE(std::fabs(passedOn - reported), 0.5) << row.what << ", #" << n;
            }
        }
    }
}
