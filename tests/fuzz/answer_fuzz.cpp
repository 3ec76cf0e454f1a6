// The update service's answer parser on any bytes: no fault, 0 or 1, and 1 only with the field.
#include "services/update_answer.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(bytes),
                                  size < kUpdateAnswerCapacity ? size : kUpdateAnswerCapacity);
    const int result = ParseUpdateAnswer(answer, "update_available");
    if (result != 0 && (result != 1 || answer.find("\"update_available\"") == answer.npos))
        __builtin_trap();
    return 0;
}
