#include "dialogs/file_pickers.h"

std::vector<FileType> SplitFileFilter(const std::u16string& filter) {
    std::vector<FileType> types;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = filter.find(u'|', start);
        const std::u16string entry =
            filter.substr(start, bar == std::u16string::npos ? std::u16string::npos : bar - start);
        const std::size_t mark = entry.find_last_of(u"(*.");
        std::size_t from = mark == std::u16string::npos || mark == 0 ? 0 : mark - 1;
        const std::size_t to = entry.empty() ? 0 : entry.size() - 1;
        if (from > to) from = to;
        types.push_back({entry, entry.substr(from, to - from)});
        if (bar == std::u16string::npos) break;
        start = bar + 1;
    }
    return types;
}
