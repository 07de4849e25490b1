#include "host/PluginMain.h"

namespace quorvel {

EffectRecord* runMain(HostCallback host, EffectFactory create) noexcept {
    if (host == nullptr || create == nullptr) return nullptr;
    try {
        if (host(nullptr, 1, 0, 0, nullptr, 0.0f) == 0) return nullptr;
        EffectBase* effect = create(host);
        if (effect == nullptr) return nullptr;
        if (effect->editorCreationFailed()) {
            effect->destroy();
            return nullptr;
        }
        return &effect->record();
    } catch (...) {
        return nullptr;
    }
}

} // namespace quorvel
