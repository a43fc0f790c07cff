#include "app/libdecor_plugins.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

std::string libdecorPluginPath() {
    if (const char* path = std::getenv("LIBDECOR_PLUGIN_DIR")) return path;
    // The library's own directory, wherever this distribution puts it.
    void* library = dlopen("libdecor-0.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!library) return {};
    std::string dir;
    Dl_info info{};
    void* symbol = dlsym(library, "libdecor_new");
    if (symbol && dladdr(symbol, &info) && info.dli_fname) {
        dir = std::filesystem::path(info.dli_fname).parent_path().string();
        if (!dir.empty()) dir += "/libdecor/plugins-1";
    }
    dlclose(library);
    return dir;
}

bool hasLibdecorPlugin(const std::string& path) {
    std::istringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        if (dir.empty()) continue;
        std::error_code error;
        for (std::filesystem::directory_iterator it(dir, error), end; !error && it != end;
             it.increment(error)) {
            if (it->path().extension() == ".so" && it->is_regular_file(error)) return true;
        }
    }
    return false;
}
