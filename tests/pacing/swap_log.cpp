// Preload library for the pacing check: records the monotonic time of every buffer swap the
// game makes and writes the times, in nanoseconds, one per line, to $ORBFALL_SWAP_LOG when the
// game ends GLFW.
#include <dlfcn.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

struct GLFWwindow;

namespace {

class SwapLog {
public:
    SwapLog() { times_.reserve(1 << 20); }

    void write() const {
        const char* path = std::getenv("ORBFALL_SWAP_LOG");
        if (!path) return;
        if (FILE* f = std::fopen(path, "w")) {
            for (long long t : times_) std::fprintf(f, "%lld\n", t);
            std::fclose(f);
        }
    }

    void record() {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        times_.push_back(now.tv_sec * 1000000000LL + now.tv_nsec);
    }

private:
    std::vector<long long> times_;
};

SwapLog s_log;

}  // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    using SwapFn = void (*)(GLFWwindow*);
    static const auto real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    s_log.record();
    real(window);
}

// Before the driver tears the context down: Mesa 25's no-op driver dies there.
extern "C" void glfwTerminate() {
    static const auto real = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glfwTerminate"));
    s_log.write();
    real();
}
