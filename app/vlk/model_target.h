#pragma once
// Settings records applied to the feature model's pending values under the main window's
// control names, so that a file changes the model exactly as an import changes the window:
// drive check boxes exist only for the drives present, number boxes keep their range,
// texts hold at most 50 characters.

#include "engine/feature_model.h"
#include "settings/settings_records.h"

#include <cstdint>

class ModelSettingsTarget : public SettingsTarget {
  public:
    ModelSettingsTarget(FeatureModel& model, std::uint32_t presentDrives);
    bool setCheckBox(const char16_t* name, bool checked) override;
    void setSpinValue(const char16_t* name, std::uint32_t value) override;
    void setLineText(const char16_t* name, const char16_t* text) override;
    void setRadioPair(bool first) override;

  private:
    FeatureItem* find(const char16_t* name);
    FeatureModel& model_;
    std::size_t drives_;
};
