#include "engine/feature_model.h"

#include "base/text.h"

void SetPendingText(FeatureItem& item, const char16_t* text) {
    StrCopyBounded(item.pending.text, text, kFeatureTextCapacity);
}

bool NumberChanged(const FeatureItem& item) {
    return item.current.number != item.pending.number;
}

bool TextChanged(const FeatureItem& item) {
    for (std::size_t i = 0; i < kFeatureTextCapacity; ++i) {
        if (item.current.text[i] != item.pending.text[i]) return true;
        if (item.current.text[i] == 0) return false;
    }
    return false;
}

void KeepCurrentValues(FeatureModel& model) {
    auto* items = reinterpret_cast<FeatureItem*>(&model);
    for (std::size_t i = 0; i < sizeof model / sizeof(FeatureItem); ++i)
        items[i].pending = items[i].current;
}
