// The program's own resources as a backend reads them: strings and pictures by number.
#pragma once

#include <span>
#include <string_view>

namespace platform {

struct StringResource {
    int id;
    std::string_view text;  // Windows-1252
};

struct PictureResource {
    int id;
    std::span<const unsigned char> png;
};

struct ResourceModule {
    std::span<const StringResource> strings;
    std::span<const PictureResource> pictures;

    constexpr std::string_view String(int id) const {
        for (const auto& s : strings) {
            if (s.id == id) {
                return s.text;
            }
        }
        return {};
    }
    constexpr std::span<const unsigned char> Picture(int id) const {
        for (const auto& p : pictures) {
            if (p.id == id) {
                return p.png;
            }
        }
        return {};
    }
};

}  // namespace platform
