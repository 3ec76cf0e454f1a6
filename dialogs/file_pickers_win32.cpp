#include "dialogs/file_pickers.h"

#include "base/win32/com.h"
#include "base/win32/wide.h"

#include <shobjidl.h>

#include <utility>

namespace {

constexpr PickedFile kFailed{{}, true};

template <typename Dialog>
PickedFile pick(HWND owner, const std::u16string& filter, REFCLSID type, bool save) {
    ComApartment com;
    if (FAILED(com.result())) return kFailed;
    PickedFile result;
    ComPtr<Dialog> dialog;
    if (FAILED(CoCreateInstance(type, nullptr, CLSCTX_ALL, __uuidof(Dialog),
                                reinterpret_cast<void**>(dialog.put()))))
        return kFailed;
    const std::vector<FileType> types = SplitFileFilter(filter);
    std::vector<COMDLG_FILTERSPEC> specs;
    for (const FileType& t : types)
        specs.push_back({AsWide(t.name.c_str()), AsWide(t.pattern.c_str())});
    dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
    dialog->SetFileTypeIndex(1);
    if (save) dialog->SetDefaultExtension(L"vlkd");
    if (const HRESULT shown = dialog->Show(owner); FAILED(shown))
        return shown == HRESULT_FROM_WIN32(ERROR_CANCELLED) ? result : kFailed;
    ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(item.put()))) return kFailed;
    PWSTR path = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path)
        result.path = AsU16(path);
    CoTaskMemFree(path);
    return result;
}

} // namespace

PickedFile ShowOpenFilePicker(HWND owner, const std::u16string& filter) {
    return pick<IFileOpenDialog>(owner, filter, CLSID_FileOpenDialog, false);
}

PickedFile ShowSaveFilePicker(HWND owner, const std::u16string& filter) {
    return pick<IFileSaveDialog>(owner, filter, CLSID_FileSaveDialog, true);
}
