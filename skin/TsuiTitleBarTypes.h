#pragma once
// The enumerations of the skinned title bar and the event its buttons fire.
#include "framework/TComponent.h"

#include <cstdint>
#include <functional>

enum TsuiTitleBarBtnType : std::uint8_t {
    suiMax = 0,
    suiMin = 1,
    suiClose = 2,
    suiHelp = 3,
    suiControlBox = 4,
    suiCustom = 5
};

enum TsuiTitleBarAlign : std::uint8_t { suiLeft = 0, suiRight = 1, suiClient = 2 };

// Sender: the title bar; buttonIndex: the clicked button's index in Buttons.
using TsuiTitleBarButtonClickEvent = std::function<void(TComponent* sender, int buttonIndex)>;
