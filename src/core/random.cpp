// Linear congruential generator; the firing spread and target set-up divide by 32767.0,
// so the range must stay 0..32767.
#include "core/random.h"

static_assert(kRandomMax == 0x7FFF, "random15 keeps 15 bits");

namespace {

std::uint32_t s_state = 1;

}  // namespace

void seedRandom(std::uint32_t seed) {
    s_state = seed;
}

int random15() {
    s_state = s_state * 214013u + 2531011u;
    return static_cast<int>((s_state >> 16) & 0x7FFFu);
}
