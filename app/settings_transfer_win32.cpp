#include "app/settings_transfer.h"

#include "app/main_window.h"
#include "base/text.h"
#include "services/diagnostic_log.h"
#include "settings/settings_file.h"

#include <string>

namespace {

// Import into the window's controls: check boxes, number boxes, the two texts and the
// autorun radio pair. Setting a control this way runs none of its click handlers.
class WindowSettingsTarget : public SettingsTarget {
  public:
    explicit WindowSettingsTarget(MainWindow& window) : window_(window) {}

    bool setCheckBox(const char16_t* name, bool checked) override {
        UICheckBox* box = window_.checkBox(toUtf8(name));
        if (box == nullptr) return false;
        box->setChecked(checked);
        return true;
    }
    void setSpinValue(const char16_t* name, std::uint32_t value) override {
        if (UISpinBox* spin = window_.spinBox(toUtf8(name))) spin->setValue(value);
    }
    void setLineText(const char16_t* name, const char16_t* text) override {
        if (UILineEdit* edit = window_.lineEdit(toUtf8(name))) edit->setText(text);
    }
    void setRadioPair(bool first) override {
        if (UIRadioButton* radio = window_.radioButton("rbtn4_0")) radio->setChecked(first);
        if (UIRadioButton* radio = window_.radioButton("rbtn4_1")) radio->setChecked(!first);
    }

  private:
    MainWindow& window_;
};

} // namespace

std::uint32_t ExportSettings(MainWindow& window, const char16_t* path) {
    SettingsRecords records;
    BuildSettingsRecords(window.model, window.shownDrives, records);
    return WriteSettingsFile(records, kSettingsRecordCount, path);
}

std::uint32_t ImportSettings(MainWindow& window, const char16_t* path) {
    SettingsRecords records;
    const std::uint32_t code = ReadSettingsFile(records, path, window.errorTrail);
    if (code != SettingsOk && code != SettingsConverted) {
        window.saveErrorTrail();
        return code;
    }
    window.completeControls();
    WindowSettingsTarget target(window);
    ImportSettingsRecords(records, window.shownDrives, target);
    return code;
}

void RunImportExport(MainWindow& window, std::int32_t action, const char16_t* path) {
    if (action == 0) {
        const std::uint32_t code = ImportSettings(window, path);
        std::u16string text;
        if (code == SettingsOk)
            text = Say(window.language, Text::Imported);
        else if (code == SettingsConverted)
            text = Say(window.language, Text::ImportedOlder);
        else
            text = Say(window.language, Text::CannotImport, {fromUtf8(std::to_string(code))});
        window.messageBox(Say(window.language, Text::CaptionImport).c_str(), text.c_str(), MB_OK);
    } else if (action == 1) {
        window.collectControls();
        const std::uint32_t code = ExportSettings(window, path);
        const std::u16string text = code == SettingsOk ? Say(window.language, Text::Saved)
                                                       : Say(window.language, Text::CannotSave,
                                                             {fromUtf8(std::to_string(code))});
        window.messageBox(Say(window.language, Text::CaptionExport).c_str(), text.c_str(), MB_OK);
    }
    window.resetDialogResult();
}
