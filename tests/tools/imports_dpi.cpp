// An executable that imports a function of Windows 10 version 1607: the import check must name it.
#undef _WIN32_WINNT
#undef WINVER
#define _WIN32_WINNT 0x0A00
#define WINVER 0x0A00
#include <windows.h>

int main() {
    return static_cast<int>(GetDpiForSystem());
}
