#include "services/update_answer.h"

#include <string>

int ParseUpdateAnswer(std::string_view answer, std::string_view field) {
    std::string needle(1, '"');
    needle.append(field);
    needle += '"';
    const std::size_t found = answer.find(needle);
    if (found == std::string_view::npos) return 0;
    std::string digits;
    bool inValue = false;
    for (std::size_t i = found + needle.size(); i < answer.size(); ++i) {
        const char c = answer[i];
        if (c == ',' || c == '}') break;
        if (c == ' ') continue;
        if (!inValue) {
            inValue = c == ':'; // anything before the colon is ignored
            continue;
        }
        if (c < '0' || c > '9') return 0;
        if (digits.size() < kUpdateDigitLimit) digits += c;
    }
    // The number 1, however many leading zeros it carries.
    const std::size_t first = digits.find_first_not_of('0');
    return first != std::string::npos && digits.substr(first) == "1" ? 1 : 0;
}
