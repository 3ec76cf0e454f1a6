#include "settings/file_pickers.h"

#include "engine/win32/com.h"
#include "engine/win32/wide.h"

#include <shobjidl.h>

#include <utility>

namespace {

template <typename Dialog>
std::u16string pick(HWND owner, const std::u16string& filter, REFCLSID type, bool save) {
    ComApartment com;
    if (FAILED(com.result())) return {};
    std::u16string result;
    ComPtr<Dialog> dialog;
    if (FAILED(CoCreateInstance(type, nullptr, CLSCTX_ALL, __uuidof(Dialog),
                                reinterpret_cast<void**>(dialog.put()))))
        return {};
    const std::vector<FileType> types = SplitFileFilter(filter);
    std::vector<COMDLG_FILTERSPEC> specs;
    for (const FileType& t : types)
        specs.push_back({AsWide(t.name.c_str()), AsWide(t.pattern.c_str())});
    dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
    dialog->SetFileTypeIndex(1);
    if (save) dialog->SetDefaultExtension(L"vlkd");
    if (FAILED(dialog->Show(owner))) return {};
    ComPtr<IShellItem> item;
    if (FAILED(dialog->GetResult(item.put()))) return {};
    PWSTR path = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path) result = AsU16(path);
    CoTaskMemFree(path);
    return result;
}

} // namespace

std::u16string ShowOpenFilePicker(HWND owner, const std::u16string& filter) {
    return pick<IFileOpenDialog>(owner, filter, CLSID_FileOpenDialog, false);
}

std::u16string ShowSaveFilePicker(HWND owner, const std::u16string& filter) {
    return pick<IFileSaveDialog>(owner, filter, CLSID_FileSaveDialog, true);
}
