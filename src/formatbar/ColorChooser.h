#pragma once

#include <array>
#include <optional>

// The sixteen custom colours every colour dialog of the application offers and keeps, as Windows
// colour values (red in the low byte). The main window owns the one array; buttons point into it.
using CustomColors = std::array<int, 16>;

// Asks the user for a colour. The desktop application opens the system colour dialog; tests answer
// from a script, so no test waits on a modal dialog.
class ColorChooser {
public:
    virtual ~ColorChooser() = default;

    // Offers `initial` (a Windows colour value) and, when given, the custom colours, which the user
    // may change in place. Returns the colour chosen, or nothing when the user cancelled.
    virtual std::optional<int> chooseColor(int initial, CustomColors* customColors) = 0;
};
