// The program as the end-to-end tests build it: the services' address comes from
// VELKARO_TEST_SERVICE, which the test driver sets to its local stand-in; without it, from
// the built-in address like the shipped program.
#include "app/program_services.h"

#include "engine/win32/wide.h"

#include <windows.h>

ServiceEndpoint ProgramServices() {
    wchar_t base[512];
    const DWORD length = GetEnvironmentVariableW(L"VELKARO_TEST_SERVICE", base, 512);
    ServiceEndpoint endpoint{};
    if (length == 0 || length >= 512 || !ParseServiceBase(AsU16(base), endpoint))
        return BuiltInServiceEndpoint();
    return endpoint;
}
