// The window adapter: GLFW 3 keys in the codes the input handlers act on.
#include "app/window.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "play/input.h"

TEST(TranslateKey, OnlyGlfwEscapeBecomesTheGameEscape) {
    EXPECT_EQ(translateKey(GLFW_KEY_ESCAPE), kKeyEscape);
    EXPECT_NE(translateKey(GLFW_KEY_ENTER), kKeyEscape);  // GLFW 3's Enter is 257
    EXPECT_EQ(translateKey(GLFW_KEY_ENTER), -1);
    EXPECT_EQ(translateKey(GLFW_KEY_KP_ENTER), -1);
}

TEST(TranslateKey, KeysCountAsTheCharacterPrintedOnThem) {
    // A French keyboard swaps A and Q and puts Z where a US keyboard has W.
    EXPECT_EQ(translateKey(GLFW_KEY_Q, "a"), 'A');
    EXPECT_EQ(translateKey(GLFW_KEY_A, "q"), 'Q');
    EXPECT_EQ(translateKey(GLFW_KEY_W, "z"), 'Z');
    EXPECT_EQ(translateKey(GLFW_KEY_Z, "w"), 'W');
    EXPECT_EQ(translateKey(GLFW_KEY_1, "&"), '&');
    // A character outside ASCII, or none at all, leaves the key's own code.
    EXPECT_EQ(translateKey(GLFW_KEY_SEMICOLON, "\xc3\xb6"), ';');
    EXPECT_EQ(translateKey(GLFW_KEY_E, nullptr), 'E');
    EXPECT_EQ(translateKey(GLFW_KEY_ESCAPE, nullptr), kKeyEscape);
    EXPECT_EQ(translateKey(GLFW_KEY_ENTER, nullptr), -1);
}

TEST(TranslateKey, LettersKeepTheirUpperCaseCodes) {
    const int letters[] = {GLFW_KEY_A, GLFW_KEY_D, GLFW_KEY_E, GLFW_KEY_P,
                           GLFW_KEY_Q, GLFW_KEY_S, GLFW_KEY_W};
    const char expected[] = {'A', 'D', 'E', 'P', 'Q', 'S', 'W'};
    for (int n = 0; n < 7; ++n) EXPECT_EQ(translateKey(letters[n]), expected[n]);
}
