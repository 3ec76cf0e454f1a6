#include "base/text.h"
#include "base/win32/wide.h"

std::string toUtf8(std::u16string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, AsWide(text.data()), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::string out(static_cast<std::size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, AsWide(text.data()), length, out.data(), needed, nullptr,
                            nullptr) != needed)
        return {};
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return {};
    std::u16string out(static_cast<std::size_t>(needed), u'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, text.data(), length, AsWide(out.data()), needed) != needed)
        return {};
    return out;
}
