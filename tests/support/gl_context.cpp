// The game window for drawing tests, and back-buffer read-back.
#include "support/gl_context.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "app/window.h"
#include "core/gl.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

}  // namespace

void openGameWindow() {
    static bool opened = false;
    if (opened) return;
    // A busy Xvfb sometimes refuses a connection for a moment (EAGAIN); the game itself
    // does not retry, so connect here first, within a bounded wait.
    for (int attempt = 0; attempt < 50 && !glfwInit(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    initWindow();  // exits with status 1 without a display
    opened = true;
}

Screenshot::Screenshot() : pixels_(static_cast<size_t>(kWidth) * kHeight * 3) {
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
}

Rgb Screenshot::at(int column, int rowFromTop) const {
    const int row = kHeight - 1 - rowFromTop;
    const size_t i = (static_cast<size_t>(row) * kWidth + column) * 3;
    return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

bool Screenshot::anyLit(int col0, int row0, int col1, int row1, int threshold) const {
    int l, t, r, b;
    return litBounds(col0, row0, col1, row1, l, t, r, b, threshold);
}

bool Screenshot::litBounds(int col0, int row0, int col1, int row1, int& left, int& top,
                           int& right, int& bottom, int threshold) const {
    bool found = false;
    for (int row = std::max(row0, 0); row <= std::min(row1, kHeight - 1); ++row) {
        for (int col = std::max(col0, 0); col <= std::min(col1, kWidth - 1); ++col) {
            const Rgb p = at(col, row);
            if (std::max({p.r, p.g, p.b}) <= threshold) continue;
            if (!found) {
                left = right = col;
                top = bottom = row;
                found = true;
            }
            left = std::min(left, col);
            right = std::max(right, col);
            top = std::min(top, row);
            bottom = std::max(bottom, row);
        }
    }
    return found;
}
