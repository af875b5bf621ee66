#include <array>
#include <cstddef>

#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace resources {
namespace embedded {
extern const unsigned char app_icon[];
extern const std::size_t app_icon_size;
extern const unsigned char logo[];
extern const std::size_t logo_size;
}  // namespace embedded

namespace {

constexpr std::array<platform::StringResource, 1> kStrings = {{
    {IDS_INFO_MENU,
     "&Info \xFC"
     "ber Orbanet..."},
}};

const std::array<platform::PictureResource, 2> kPictures = {{
    {IDI_APP, {embedded::app_icon, embedded::app_icon_size}},
    {IDB_LOGO, {embedded::logo, embedded::logo_size}},
}};

const platform::ResourceModule kModule = {kStrings, kPictures};

}  // namespace

const platform::ResourceModule& Module() {
    return kModule;
}

}  // namespace resources
