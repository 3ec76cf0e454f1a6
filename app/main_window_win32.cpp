#include "app/main_window.h"

#include "engine/win32/wide.h"
#include "services/diagnostic_log.h"

#include <shellapi.h>

#include <cstring>

namespace {

constexpr char16_t kCaption[] = u"Velkarostrandemilquorbenix";
constexpr char16_t kNewVersionQuestion[] = u"New version available. Would you like to download it.";

} // namespace

MainWindow::MainWindow(HINSTANCE instance, const char16_t* title, const ServiceEndpoint& services)
    : UICore(instance, title, kWidth, kHeight, kLargeIcon, kSmallIcon), services(services) {
    std::memset(&model, 0, sizeof(model));
    std::memset(&errorTrail, 0, sizeof(errorTrail));
    std::memset(&updateCheck, 0, sizeof(updateCheck));

    // A newer version: offer its download page; accepting it ends the program.
    if (CheckForUpdate(false, updateCheck, services) == kNewVersion &&
        messageBox(kCaption, kNewVersionQuestion, MB_YESNO) == IDYES) {
        ShellExecuteW(nullptr, L"open", AsWide(DownloadPageAddress()), nullptr, nullptr,
                      SW_SHOWNORMAL);
        close();
    }

    LoadErrorTrail(errorTrail);
    buildPages();
    loadState();
    SaveErrorTrail(errorTrail, true, services);
}
