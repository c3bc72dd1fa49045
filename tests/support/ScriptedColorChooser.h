#pragma once

#include "formatbar/ColorChooser.h"

#include <deque>
#include <optional>
#include <utility>
#include <vector>

// The user at the colour dialog, as a script: every opening is recorded with the colour and custom
// colours it offered, and each is answered from the script in order, defining custom colours first
// when the answer says so. With the script used up, the dialog is cancelled.
class ScriptedColorChooser : public ColorChooser {
public:
    struct Answer {
        std::optional<int> color;                       // nothing: Cancel
        std::vector<std::pair<int, int>> definedCustom; // slot, colour
    };
    struct Opening {
        int initial;
        std::optional<CustomColors> customColors;
    };

    std::deque<Answer> script;
    std::vector<Opening> openings;

    std::optional<int> chooseColor(int initial, CustomColors* customColors) override {
        openings.push_back(
            {initial, customColors ? std::optional<CustomColors>(*customColors) : std::nullopt});
        if (script.empty()) return std::nullopt;
        const Answer answer = script.front();
        script.pop_front();
        if (customColors)
            for (const auto& [slot, color] : answer.definedCustom)
                customColors->at(static_cast<std::size_t>(slot)) = color;
        return answer.color;
    }
};
