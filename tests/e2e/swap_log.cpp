// Preload library for the end-to-end checks: records, at every buffer swap the game makes,
// the monotonic time in nanoseconds and the bytes the process holds through operator new,
// and writes them, a swap a line, to $ORBFALL_SWAP_LOG when the game ends GLFW.
//
// Only operator new is counted: the game's objects and containers all come from it, while
// the GL driver's buffers and caches, which come and go by megabytes from frame to frame,
// come from malloc.
#include <dlfcn.h>
#include <malloc.h>
#include <time.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

struct GLFWwindow;

namespace {

std::atomic<long long> s_heldBytes{0};

void* allocate(std::size_t size, std::size_t alignment = 0) {
    if (size == 0) size = 1;
    void* p = alignment
                  ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
                  : std::malloc(size);
    if (p) s_heldBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}

void release(void* p) {
    if (!p) return;
    s_heldBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}

struct Swap {
    long long ns;
    long long heldBytes;
};

class SwapLog {
public:
    SwapLog() { swaps_.reserve(1 << 20); }

    void write() const {
        const char* path = std::getenv("ORBFALL_SWAP_LOG");
        if (!path) return;
        if (FILE* f = std::fopen(path, "w")) {
            for (const Swap& s : swaps_) std::fprintf(f, "%lld %lld\n", s.ns, s.heldBytes);
            std::fclose(f);
        }
    }

    void record(long long ns) { swaps_.push_back({ns, s_heldBytes.load()}); }

private:
    std::vector<Swap> swaps_;
};

SwapLog s_log;

}  // namespace

void* operator new(std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new(std::size_t size, std::align_val_t a) {
    if (void* p = allocate(size, static_cast<std::size_t>(a))) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t a) {
    return operator new(size, a);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    release(p);
}

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    using SwapFn = void (*)(GLFWwindow*);
    static const auto real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    real(window);
    s_log.record(now.tv_sec * 1000000000LL + now.tv_nsec);
}

// Before the driver tears the context down: Mesa 25's no-op driver dies there.
extern "C" void glfwTerminate() {
    static const auto real = reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "glfwTerminate"));
    s_log.write();
    real();
}
