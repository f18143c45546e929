#pragma once

// Window sizes are given in twips; 15 twips make one pixel at 96 dots per
// inch (rounded to the nearest pixel), and Qt scales pixels for high-DPI
// screens.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}
