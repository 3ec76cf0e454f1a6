#include "dialogs/dlg_settings.h"

#include "services/app_data_store.h"
#include "services/service_address.h"

namespace {

enum Item : int {
    kCheckForUpdates = 2001,
    kSendErrorReport = 2003,
    kCollectedDataLink = 2004,
    kSave = 2005,
};

} // namespace

void dlgSettings::onInit() {
    setTitle(Say(language_, Text::SettingsTitle).c_str());
    for (const auto& [id, text] : {std::pair<int, Text>{kCheckForUpdates, Text::CheckForUpdates},
                                   {kSendErrorReport, Text::SendErrorReport},
                                   {kSave, Text::Ok},
                                   {IDCANCEL, Text::Cancel}})
        setItemText(id, Say(language_, text));
    setItemText(kCollectedDataLink, u"<A>" + Say(language_, Text::WhatDataAreCollected) + u"</A>");
    checkBox(kCheckForUpdates).setChecked(GetStoreInt(kCheckForUpdatesKey, 1, kMachineScope) != 0);
    checkBox(kSendErrorReport).setChecked(GetStoreInt(kSendErrorReportKey, 1, kUserScope) != 0);
    addLink(kCollectedDataLink, CollectedDataPageAddress(), nullptr);
    onCommand(kSave, [this] { save(); });
}

// A value that cannot be stored keeps its old value; nothing tells the user.
void dlgSettings::save() {
    SetStoreInt(kCheckForUpdatesKey, checkBox(kCheckForUpdates).isChecked() ? 1 : 0, kMachineScope);
    SetStoreInt(kSendErrorReportKey, checkBox(kSendErrorReport).isChecked() ? 1 : 0, kUserScope);
    close();
}
