#include "app/vlk/model_target.h"

#include "engine/catalogue.h"
#include "base/text.h"

#include <algorithm>
#include <string>
#include <string_view>

ModelSettingsTarget::ModelSettingsTarget(FeatureModel& model, std::uint32_t presentDrives)
    : model_(model), drives_(PresentDrives(presentDrives).count) {}

FeatureItem* ModelSettingsTarget::find(const char16_t* name) {
    const std::u16string_view wanted(name);
    for (std::uint32_t p = 0; p < 6; ++p)
        for (std::size_t i = 0; i < kCataloguePages[p].size(); ++i)
            if (wanted == kCataloguePages[p][i].control) return &PageItems(model_, p)[i];
    for (std::size_t slot = 0; slot < drives_; ++slot)
        if (wanted == u"chb0_1_" + fromUtf8(std::to_string(slot)))
            return &model_.computer.items[DriveSlot::item(slot)];
    return nullptr;
}

bool ModelSettingsTarget::setCheckBox(const char16_t* name, bool checked) {
    if (std::u16string_view(name).substr(0, 3) != u"chb") return false;
    FeatureItem* item = find(name);
    if (item == nullptr) return false;
    item->pending.number = checked ? 1 : 0;
    return true;
}

void ModelSettingsTarget::setSpinValue(const char16_t* name, std::uint32_t value) {
    if (FeatureItem* item = find(name))
        item->pending.number = std::clamp(value, kNumberMinimum, kNumberMaximum);
}

void ModelSettingsTarget::setLineText(const char16_t* name, const char16_t* text) {
    if (FeatureItem* item = find(name)) SetPendingText(*item, text);
}

void ModelSettingsTarget::setRadioPair(bool first) {
    model_.security.items[0].pending.number = first ? 1 : 0;
}
