// Italian (to be filled).
#include "base/texts/tables.h"

const LanguageTable kItalianTexts{};
