#include "app/main_window.h"

#include <cstring>

MainWindow::MainWindow(HINSTANCE instance, const char16_t* title)
    : UICore(instance, title, kWidth, kHeight, kLargeIcon, kSmallIcon) {
    std::memset(&model, 0, sizeof(model));
    std::memset(&errorTrail, 0, sizeof(errorTrail));
    buildPages();
    loadState();
}
