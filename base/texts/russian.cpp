// Russian (to be filled).
#include "base/texts/tables.h"

const LanguageTable kRussianTexts{};
