#include "app/page_layout.h"

#include "base/text.h"
#include "engine/catalogue.h"
#include "engine/feature_model.h"
#include "ui/text_room.h"

namespace {

using T = ControlType;
using A = Action;
constexpr Text kMilliseconds = Text::Milliseconds;

// clang-format off
constexpr LayoutRow kLayout[] = {
    // ComputerPage: the This PC folders with their previews, then the drive slots.
    {.type = T::CheckBox, .page = 0, .item = 0, .x = 16, .y = 120, .width = 200, .height = 25, .name = "chb0_", .count = kThisPcFolders, .previewX = 220},
    {.type = T::DriveBox, .page = 0, .item = DriveSlot::firstItem, .x = 450, .y = 120, .width = 200, .height = 25, .name = "chb0_1_", .text = Text::HideDrive, .count = kDriveSlots},
    // TaskbarPage
    {.type = T::CheckBox, .page = 1, .item = 0, .x = 16, .y = 120, .width = 200, .height = 25, .previewX = 400, .action = A::LivePreviewToggled},
    {.type = T::CheckBox, .page = 1, .item = 1, .x = 16, .y = 145, .width = 200, .height = 25, .previewX = 400},
    {.type = T::Label, .page = 1, .item = 2, .x = 16, .y = 180, .width = 215, .height = 25, .name = "lbl1_2"},
    {.type = T::SpinBox, .page = 1, .item = 2, .x = 255, .y = 178, .width = 55, .height = 22, .previewX = 400},
    {.type = T::Label, .page = 1, .x = 315, .y = 180, .width = 200, .height = 25, .name = "lbl1_2_1", .text = kMilliseconds},
    {.type = T::Label, .page = 1, .item = 3, .x = 16, .y = 210, .width = 255, .height = 25, .name = "lbl1_3"},
    {.type = T::SpinBox, .page = 1, .item = 3, .x = 255, .y = 208, .width = 55, .height = 22, .previewX = 400},
    {.type = T::Label, .page = 1, .x = 315, .y = 210, .width = 200, .height = 25, .name = "lbl1_3_1", .text = kMilliseconds},
    {.type = T::CheckBox, .page = 1, .item = 4, .x = 16, .y = 245, .width = 200, .height = 25, .previewX = 400},
    // ContextMenuPage
    {.type = T::CheckBox, .page = 2, .item = 0, .x = 16, .y = 120, .width = 200, .height = 25, .name = "chb2_", .count = 4, .previewX = 220},
    // SystemPage
    {.type = T::CheckBox, .page = 3, .item = 0, .x = 16, .y = 120, .width = 355, .height = 25, .name = "chb3_", .count = 12, .previewX = 375},
    {.type = T::Label, .page = 3, .item = 12, .x = 500, .y = 125, .width = 140, .height = 25, .name = "lbl3_12"},
    {.type = T::LineEdit, .page = 3, .item = 12, .x = 650, .y = 123, .width = 120, .height = 21, .previewX = 800},
    {.type = T::Label, .page = 3, .item = 13, .x = 500, .y = 150, .width = 140, .height = 25, .name = "lbl3_13"},
    {.type = T::LineEdit, .page = 3, .item = 13, .x = 650, .y = 148, .width = 120, .height = 21, .previewX = 800},
    // SecurityPage: autorun is a radio pair, so the check boxes start at item 1.
    {.type = T::RadioButton, .page = 4, .item = 0, .x = 16, .y = 120, .width = 355, .height = 25},
    {.type = T::RadioButton, .page = 4, .item = 0, .x = 16, .y = 145, .width = 355, .height = 25, .name = "rbtn4_1", .text = Text::EnableAutorun, .onValue = 0},
    {.type = T::CheckBox, .page = 4, .item = 1, .x = 16, .y = 180, .width = 355, .height = 25, .name = "chb4_", .count = 2, .previewX = 375},
    {.type = T::CheckBox, .page = 4, .item = 3, .x = 16, .y = 230, .width = 355, .height = 25},
    // PrivacyPage
    {.type = T::CheckBox, .page = 5, .item = 0, .x = 16, .y = 120, .width = 200, .height = 25, .previewX = 400},
    {.type = T::CheckBox, .page = 5, .item = 1, .x = 16, .y = 145, .width = 200, .height = 25, .previewX = 400},
    // On every page.
    {.type = T::IconLabel, .page = -1, .x = 10, .y = 533, .width = 48, .height = 48, .name = "btnSettings", .text = Text::SettingsIcon, .action = A::SettingsMenu, .anchor = Anchor::LeftBottom},
    {.type = T::Button, .page = -1, .x = 713, .y = 533, .width = 150, .height = 50, .name = "btnApply", .text = Text::Apply, .action = A::Apply, .anchor = Anchor::RightBottom},
};
// clang-format on

// Pixels before a control's text: a check box's or radio button's box and gap, a button's
// borders; -1 where no line of text is drawn.
int textChrome(ControlType type) {
    switch (type) {
    case T::CheckBox:
    case T::DriveBox:
    case T::RadioButton:
        return 16;
    case T::Button:
        return 8;
    case T::Label:
        return 0;
    default:
        return -1;
    }
}

// The gap left before a control moved out of a text's way.
constexpr int kGap = 4;

// A Preview button's top below its control's: its middle on the control's.
int previewDrop(ControlType type) {
    switch (type) {
    case T::SpinBox:
        return 2;
    case T::LineEdit:
        return 0;
    default:
        return 3;
    }
}

} // namespace

std::span<const LayoutRow> MainWindowLayout() {
    return kLayout;
}

bool HoldsValue(const LayoutRow& row) {
    return row.item >= 0 && row.type != T::Label && row.type != T::IconLabel &&
           row.type != T::Button;
}

LayoutControl LayoutControlAt(const LayoutRow& row, int n, Language language) {
    const int item = row.item < 0 ? -1 : row.item + n;
    const Tweak* tweak =
        item >= 0 && static_cast<std::size_t>(item) < kCataloguePages[row.page].size()
            ? &kCataloguePages[row.page][item]
            : nullptr;
    std::string name;
    if (!row.name)
        name = tweak ? toUtf8(tweak->control) : std::string();
    else
        name = row.count == 0 ? row.name
                              : row.name + std::to_string(row.type == T::DriveBox ? n : item);
    std::u16string text =
        row.text != Text::Count ? Say(language, row.text, {u"C"})
        : tweak ? SayTweak(language, toUtf8(tweak->control), TweakText::Label, tweak->label)
                : std::u16string();
    return {&row,
            n,
            false,
            std::move(name),
            std::move(text),
            row.x,
            row.y + kRunStep * n,
            row.width,
            row.height,
            item,
            textChrome(row.type)};
}

std::vector<LayoutControl> LayoutControls(Language language) {
    std::vector<LayoutControl> controls;
    for (const LayoutRow& row : kLayout)
        for (int n = 0; n < LayoutControlCount(row); ++n) {
            controls.push_back(LayoutControlAt(row, n, language));
            if (row.previewX == 0) continue;
            const int item = row.item + n;
            controls.push_back(
                {&row, n, true,
                 "btnPreview" + std::to_string(row.page) + "_" + std::to_string(item),
                 Say(language, Text::Preview), row.previewX,
                 row.y + kRunStep * n + previewDrop(row.type), 75, 21, item,
                 textChrome(T::Button)});
        }
    return controls;
}

void MakeRoomForTexts(std::span<LayoutControl> controls, const TextWidth& textWidth) {
    std::vector<RoomBox> boxes;
    for (const LayoutControl& c : controls)
        boxes.push_back(
            {c.row->page, c.x, c.y, c.width, c.height,
             c.textChrome < 0 || c.text.empty() ? 0 : c.textChrome + textWidth(c.text)});
    MakeRoom(boxes, RoomMoves::Columns, kGap);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        controls[i].x = boxes[i].x;
        controls[i].width = boxes[i].width;
    }
}
