// A test-only plug-in that crashes in its first processing call, as a faulty plug-in does in
// the middle of a render.
#pragma once

#include "host/EffectBaseV2.h"

namespace quorvel {

class CrashingEffect : public EffectBaseV2 {
public:
    explicit CrashingEffect(HostCallback host);
    void processAccumulating(float** inputs, float** outputs, std::int32_t frames) override;
    void processOverwriting(float** inputs, float** outputs, std::int32_t frames) override;
};

} // namespace quorvel
