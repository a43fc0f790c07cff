// Whether libdecor would find a plugin in a search path, on directories made for each case.
#include "app/libdecor_plugins.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

TEST(LibdecorPlugins, OnlyASharedObjectInASearchedDirectoryCounts) {
    char pattern[] = "/tmp/orbfall-libdecor-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path top = pattern;
    fs::create_directories(top / "empty");
    fs::create_directories(top / "other");
    fs::create_directories(top / "plugins");
    fs::create_directories(top / "dironly" / "fake.so");  // a directory is no plugin
    std::ofstream(top / "other" / "libdecor-cairo.so.txt") << "x";
    std::ofstream(top / "plugins" / "libdecor-cairo.so") << "x";
    const std::string t = top.string();

    const struct {
        std::string path;
        bool expected;
    } rows[] = {
        {"", false},
        {t + "/missing", false},
        {t + "/empty", false},
        {t + "/other", false},
        {t + "/dironly", false},
        {t + "/plugins", true},
        {t + "/missing:" + t + "/empty:" + t + "/plugins", true},
        {t + "/plugins:" + t + "/missing", true},
        {":" + t + "/empty:", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(hasLibdecorPlugin(row.path), row.expected) << "path '" << row.path << "'";
    }
    fs::remove_all(top);
}

TEST(LibdecorPlugins, TheEnvironmentNamesTheSearchPath) {
    setenv("LIBDECOR_PLUGIN_DIR", "/a:/b", 1);
    EXPECT_EQ(libdecorPluginPath(), "/a:/b");
    unsetenv("LIBDECOR_PLUGIN_DIR");
    const std::string path = libdecorPluginPath();  // empty where libdecor is not installed
    if (!path.empty()) {
        EXPECT_EQ(fs::path(path).filename(), "plugins-1") << path;
    }
}
