#include <gtest/gtest.h>

#include "look_and_feel/Palette.h"

TEST (Identity, PaletteIsOpaqueAndCaseInsensitive)
{
    for (const auto& colour : { colour_background, colour_surface, colour_text, colour_text_dim,
                                colour_green, colour_blue, colour_yellow, colour_orange })
        EXPECT_EQ (colour.getAlpha(), 0xff);

    EXPECT_EQ (colour_green, makePaletteColour ("86CF7A"));
    EXPECT_EQ (colour_blue, makePaletteColour ("0094D8"));
    EXPECT_EQ (colour_green.getARGB(), 0xFF86CF7Au);
    EXPECT_EQ (colour_text_dim.getARGB(), 0xFFAAA6A6u);
    EXPECT_EQ (colour_text_dim.withAlpha (0.5f).getARGB(), 0x80AAA6A6u);
}
