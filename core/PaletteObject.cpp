// Palette objects built from the fixed palettes.
#include "core/Palette.h"

#include "framework/Gdi.h"

namespace {

BOOL ReplacePalette(CPalette* palette, const LOGPALETTE256& log)
{
    if (palette == nullptr)
        return FALSE;
    palette->DeleteObject();
    return palette->CreatePalette(reinterpret_cast<LOGPALETTE*>(const_cast<LOGPALETTE256*>(&log)));
}

} // namespace

BOOL CreateDefaultPalette(CPalette* palette) { return ReplacePalette(palette, DefaultLogPalette); }

BOOL CreateFixedPalette(CPalette* palette, PaletteMode mode)
{
    if (mode == kPaletteDefault)
        return CreateDefaultPalette(palette);
    const RampLayout* ramp = GetRampLayout(mode);
    if (ramp == nullptr || palette == nullptr)
        return FALSE;
    LOGPALETTE256 log;
    log.palVersion = 0x300;
    log.palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD c = GetFixedPaletteColor(mode, i);
        log.palPalEntry[i] = {c.rgbRed, c.rgbGreen, c.rgbBlue, 0};
    }
    return ReplacePalette(palette, log);
}
