#include "services/store_text.h"

namespace {

std::size_t lineEnd(std::string_view data, std::size_t from) {
    const std::size_t end = data.find('\n', from);
    return end == std::string_view::npos ? data.size() : end;
}

} // namespace

std::size_t FindStoreValue(std::string_view data, std::string_view key, std::size_t from) {
    std::size_t line = from;
    while (line < data.size()) {
        const std::string_view rest = data.substr(line);
        if (rest.size() > key.size() && rest.starts_with(key) && rest[key.size()] == '=')
            return line + key.size() + 1;
        const std::size_t end = data.find('\n', line);
        if (end == std::string_view::npos) break;
        line = end + 1;
    }
    return std::string_view::npos;
}

std::optional<std::int32_t> ParseStoreNumber(std::string_view data, std::string_view key) {
    const std::size_t start = FindStoreValue(data, key);
    if (start == std::string_view::npos) return std::nullopt;
    std::string_view value = data.substr(start, lineEnd(data, start) - start);
    if (value.size() > kStoreNumberLimit) return std::nullopt;
    const bool negative = !value.empty() && value.front() == '-';
    if (negative) value.remove_prefix(1);
    std::int64_t number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (negative) number = -number;
    if (number < INT32_MIN || number > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(number);
}

std::optional<std::string_view> ParseStoreText(std::string_view data, std::string_view key) {
    std::size_t from = 0;
    for (;;) {
        std::size_t at = FindStoreValue(data, key, from);
        if (at == std::string_view::npos) return std::nullopt;
        while (at < data.size() && data[at] == ' ')
            ++at;
        if (at < data.size() && data[at] == '"') {
            const std::size_t begin = at + 1;
            std::size_t end = data.find('"', begin);
            if (end == std::string_view::npos) end = data.size();
            return data.substr(begin, end - begin);
        }
        // Without its opening quote the line does not count; a later line may.
        const std::size_t end = data.find('\n', at);
        if (end == std::string_view::npos) return std::nullopt;
        from = end + 1;
    }
}

std::string WithStoreValue(std::string_view data, std::string_view key,
                           std::string_view valueText) {
    std::string out;
    const std::size_t start = FindStoreValue(data, key);
    if (start != std::string_view::npos) {
        out.append(data.substr(0, start));
        out.append(valueText);
        out.append(data.substr(lineEnd(data, start)));
        return out;
    }
    out.append(data);
    if (!out.empty() && out.back() != '\n') out += '\n';
    out.append(key);
    out += '=';
    out.append(valueText);
    out += '\n';
    return out;
}
