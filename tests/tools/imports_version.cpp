// An executable with a static import that no shipped executable may have (version.dll): the
// import-table check must name it.
#include <windows.h>

int main() {
    return GetFileVersionInfoSizeW(L"kernel32.dll", nullptr) > 0 ? 0 : 1;
}
