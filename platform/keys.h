// Virtual key codes of the keys the program reads, and a snapshot of their state.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F2 = 0x71;
inline constexpr int VK_F10 = 0x79;

// Which of F1 to F10 are held down at one moment, whichever window has the focus.
struct KeyState {
    std::uint16_t down = 0;  // bit k: VK_F1 + k

    static constexpr bool Tracked(int vk) { return vk >= VK_F1 && vk <= VK_F10; }
    constexpr bool IsDown(int vk) const { return Tracked(vk) && (down >> (vk - VK_F1)) & 1U; }
    constexpr void Set(int vk, bool isDown) {
        if (!Tracked(vk)) {
            return;
        }
        const auto bit = static_cast<std::uint16_t>(1U << (vk - VK_F1));
        down = isDown ? static_cast<std::uint16_t>(down | bit)
                      : static_cast<std::uint16_t>(down & ~bit);
    }
};

}  // namespace platform
