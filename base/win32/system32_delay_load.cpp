// Delay-loaded DLLs (WinINet, GDI+, COM, the shell) come from System32 only. mingw-w64's
// delay-load helper would load them by bare name; its notification hook, the helper's documented
// extension point, loads them from System32 first, whatever search path the process was given.
//
// A library that cannot be loaded, or lacks a function, would make the helper raise an exception
// that ends the process. Its failure hook gives each such function a stand-in instead that fails
// as the function itself fails (no session, no object, an error status), so the feature that
// needs the library fails the way it does when its service fails.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <delayimp.h>

namespace {

FARPROC WINAPI LoadFromSystem32(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    return reinterpret_cast<FARPROC>(
        LoadLibraryExA(info->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

// On x64 the caller cleans up after any call, so a stand-in may take fewer arguments than the
// function it stands for; it must not leave an out-parameter the caller would then use.
INT_PTR WINAPI GivesZero() { // a null handle or pointer, FALSE
    return 0;
}
HRESULT WINAPI GivesFailure() { // an HRESULT; nothing for the functions that give nothing
    return E_FAIL;
}
INT_PTR WINAPI GivesGdiplusError() { // GDI+'s GenericError
    return 1;
}
HRESULT WINAPI CreatesNothing(REFCLSID, LPUNKNOWN, DWORD, REFIID, void** object) {
    if (object) *object = nullptr;
    return REGDB_E_CLASSNOTREG;
}
HRESULT WINAPI FindsNoFolder(const GUID&, DWORD, HANDLE, PWSTR* path) {
    if (path) *path = nullptr;
    return E_FAIL;
}
void WINAPI EmptiesVariant(VARIANTARG* variant) {
    if (variant) variant->vt = VT_EMPTY;
}

struct StandIn {
    const char* dll;
    const char* function; // null: any other function of the DLL
    FARPROC standIn;
};

template <typename Function> FARPROC Proc(Function function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(function));
}

const StandIn kStandIns[] = {
    {"ole32.dll", "CoCreateInstance", Proc(CreatesNothing)},
    {"ole32.dll", nullptr, Proc(GivesFailure)},
    {"oleaut32.dll", "VariantInit", Proc(EmptiesVariant)},
    {"shell32.dll", "SHGetKnownFolderPath", Proc(FindsNoFolder)},
    {"gdiplus.dll", nullptr, Proc(GivesGdiplusError)},
};

FARPROC StandInFor(const char* dll, const DelayLoadProc& proc) {
    for (const StandIn& s : kStandIns)
        if (lstrcmpiA(dll, s.dll) == 0 &&
            (!s.function || (proc.fImportByName && lstrcmpA(proc.szProcName, s.function) == 0)))
            return s.standIn;
    return Proc(GivesZero);
}

FARPROC WINAPI StandInOnFailure(unsigned notification, PDelayLoadInfo info) {
    switch (notification) {
    case dliFailLoadLib:
        // A module that exports nothing: every function of the library then fails to be found,
        // and gets its stand-in below.
        return reinterpret_cast<FARPROC>(GetModuleHandleW(nullptr));
    case dliFailGetProc:
        return StandInFor(info->szDll, info->dlp);
    default:
        return nullptr;
    }
}

} // namespace

// The helper reads these variables; they are set once here and never changed.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = LoadFromSystem32;
PfnDliHook __pfnDliFailureHook2 = StandInOnFailure;
}
