// The program as the end-to-end test builds it: the services' address from VELKARO_TEST_SERVICE
// (the stand-in's), else the built-in one.
#include "app/program_services.h"
#include "base/win32/wide.h"

#include <windows.h>

ServiceEndpoint ProgramServices() {
    wchar_t base[512];
    const DWORD length = GetEnvironmentVariableW(L"VELKARO_TEST_SERVICE", base, 512);
    ServiceEndpoint endpoint{};
    if (length == 0 || length >= 512 || !ParseServiceBase(AsU16(base), endpoint))
        return BuiltInServiceEndpoint();
    return endpoint;
}
