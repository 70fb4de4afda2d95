// The fixed, picture-independent palettes: the built-in 256-colour palette (mode 1), the colour
// ramps of modes 2, 3 and 4 (mode 2 is the application palette), and the palette objects made
// from them.
#pragma once
#include <windows.h>

class CPalette;

// Names a fixed palette everywhere in the program.
//   1  DefaultLogPalette: 20 system colours, the 6x6x6 cube and extra greys (ordered dither)
//   2  R2G3B2 ramp: the application palette; error diffusion for screens of 5-8 bits per pixel
//   3  R3G3B2 ramp
//   4  R1G1B1 ramp: error diffusion for screens of 4 bits per pixel or less
typedef int PaletteMode;
const PaletteMode kPaletteDefault = 1;
const PaletteMode kPaletteR2G3B2 = 2;
const PaletteMode kPaletteR3G3B2 = 3;
const PaletteMode kPaletteR1G1B1 = 4;
const PaletteMode kApplicationPaletteMode = kPaletteR2G3B2;

// LOGPALETTE with room for all 256 entries (the system header declares one).
struct LOGPALETTE256 {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[256];
};

// The built-in palette of mode 1: version 0x300, 256 distinct colours, every peFlags 0.
// Entries 0-9 and 246-255 are the static colours of the system palette.
extern const LOGPALETTE256 DefaultLogPalette;

// Masks and shifts of one ramp mode: entry index = ((R & maskR) >> shiftR) |
// ((G & maskG) >> shiftG) | ((B & maskB) >> shiftB).
struct RampLayout {
    BYTE maskR, shiftR;
    BYTE maskG, shiftG;
    BYTE maskB, shiftB;
};

// The layout of mode 2, 3 or 4; null for any other mode.
const RampLayout* GetRampLayout(PaletteMode mode);

// Channel value of ramp entry `index` for one channel: (m/2 + ((index << s) & m) * 255) / m.
inline BYTE RampChannelValue(int index, BYTE mask, BYTE shift)
{
    return static_cast<BYTE>((mask / 2 + ((index << shift) & mask) * 255) / mask);
}

// The ramp index of a colour (the inverse of the ramp rule).
inline BYTE RampIndexOf(const RampLayout& ramp, BYTE red, BYTE green, BYTE blue)
{
    return static_cast<BYTE>(((red & ramp.maskR) >> ramp.shiftR) | ((green & ramp.maskG) >> ramp.shiftG)
                             | ((blue & ramp.maskB) >> ramp.shiftB));
}

// Colour of entry `index` (0-255) of a fixed palette as an RGBQUAD (reserved byte 0); black for an
// unknown mode.
RGBQUAD GetFixedPaletteColor(PaletteMode mode, int index);

// Writes the 256 colours of a fixed palette (modes 1-4) as RGBQUADs, reserved bytes 0: the colour
// table that an 8-bit picture of that mode carries. FALSE (nothing written) for any other mode.
BOOL FillFixedColorTable(PaletteMode mode, RGBQUAD* table);

// Replaces the GDI palette inside *palette by one built from DefaultLogPalette. The previous GDI
// palette is deleted first, so a device context that still has it selected must reselect.
// Returns non-zero when the new palette was created; on failure the object is left empty.
BOOL CreateDefaultPalette(CPalette* palette);

// The same for a fixed palette: mode 1 is CreateDefaultPalette, modes 2, 3 and 4 the ramps
// (256 entries, version 0x300, peFlags 0). Any other mode returns FALSE and leaves the object as
// it was. The application palette is CreateFixedPalette(palette, kApplicationPaletteMode).
BOOL CreateFixedPalette(CPalette* palette, PaletteMode mode);
