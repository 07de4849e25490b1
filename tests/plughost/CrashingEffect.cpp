#include "tests/plughost/CrashingEffect.h"

#include <cstdlib>

namespace quorvel {

CrashingEffect::CrashingEffect(HostCallback host) : EffectBaseV2(host, 1, 1) {
    assignUniqueId(fourCharacters("QzCr"));
    markCanOverwrite(true);
}

void CrashingEffect::processAccumulating(float**, float**, std::int32_t) {
    std::abort();
}

void CrashingEffect::processOverwriting(float**, float**, std::int32_t) {
    std::abort();
}

} // namespace quorvel
