// The body of the exported entry point every plug-in library shares.
#pragma once

#include "host/EffectBase.h"

namespace quorvel {

using EffectFactory = EffectBase* (*)(HostCallback host);

// Asks the host for its version, builds the effect and answers its record; none when the host
// answers 0, when the effect cannot be allocated or its editor could not be created.
EffectRecord* runMain(HostCallback host, EffectFactory create) noexcept;

} // namespace quorvel
