#include "ui/ui_font.h"

UIFont::UIFont() {
    NONCLIENTMETRICSW metrics{};
    static_assert(sizeof(metrics) == 504);
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        logFont_ = metrics.lfMessageFont;
}

HFONT UIFont::create() {
    font_.reset(CreateFontIndirectW(&logFont_));
    return font_.get();
}
