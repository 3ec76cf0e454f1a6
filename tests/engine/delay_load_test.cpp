// Delay-loaded calls into a library the system lacks, or into a function its library lacks, fail
// and the process goes on; the stand-ins for the program's own libraries fail as their functions.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <delayimp.h>

#include <gtest/gtest.h>

#include <cstring>

extern "C" INT_PTR WINAPI NoSuchLibraryFunction(void* out);
extern "C" INT_PTR WINAPI NoSuchVersionFunction();

namespace {

TEST(DelayLoad, ACallIntoAMissingLibraryOrFunctionFailsAndTheProcessGoesOn) {
    for (int call = 0; call < 2; ++call) { // the second call goes to the stand-in kept
        EXPECT_EQ(NoSuchLibraryFunction(nullptr), 0);
        EXPECT_EQ(NoSuchVersionFunction(), 0);
    }
}

template <typename Function> Function StandIn(const char* dll, const char* name) {
    DelayLoadInfo info{};
    info.cb = sizeof info;
    info.szDll = dll;
    info.dlp.fImportByName = TRUE;
    info.dlp.szProcName = name;
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(__pfnDliFailureHook2(dliFailGetProc, &info)));
}

TEST(DelayLoad, AStandInGivesItsFunctionsFailureAndNoOutParameterToUse) {
    void* object = &object;
    EXPECT_TRUE(FAILED(StandIn<decltype(&CoCreateInstance)>("OLE32.dll", "CoCreateInstance")(
        CLSID_NULL, nullptr, CLSCTX_ALL, IID_IUnknown, &object)));
    EXPECT_EQ(object, nullptr);
    EXPECT_TRUE(FAILED(StandIn<decltype(&CoInitializeEx)>("ole32.dll", "CoInitializeEx")(
        nullptr, COINIT_APARTMENTTHREADED)));
    wchar_t sentinel[] = L"sentinel";
    PWSTR path = sentinel;
    EXPECT_TRUE(FAILED(StandIn<decltype(&SHGetKnownFolderPath)>(
        "SHELL32.dll", "SHGetKnownFolderPath")(FOLDERID_Desktop, 0, nullptr, &path)));
    EXPECT_EQ(path, nullptr);
    VARIANT variant;
    std::memset(&variant, 0xbd, sizeof variant);
    StandIn<decltype(&VariantInit)>("OLEAUT32.dll", "VariantInit")(&variant);
    EXPECT_EQ(variant.vt, VT_EMPTY);
    EXPECT_EQ(StandIn<decltype(&SysAllocString)>("OLEAUT32.dll", "SysAllocString")(L"x"), nullptr);
    EXPECT_EQ(StandIn<decltype(&InternetOpenW)>("WININET.dll", "InternetOpenW")(L"a", 0, nullptr,
                                                                                nullptr, 0),
              nullptr);
    EXPECT_NE(StandIn<INT_PTR(WINAPI*)(ULONG_PTR*, const void*, void*)>(
                  "gdiplus.dll", "GdiplusStartup")(nullptr, nullptr, nullptr),
              0)
        << "GDI+'s Ok";
}

} // namespace
