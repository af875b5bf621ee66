#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::WindowClass;

constexpr std::uint32_t kLine = 0x50020000;

constexpr ControlTemplate Line(std::string_view caption, platform::DluRect r,
                               std::uint32_t style = kLine) {
    return {WindowClass::Static, style, platform::kNoId, {}, caption, r, 0, {}};
}

constexpr std::array<ControlTemplate, 10> kInfoControls = {{
    {WindowClass::Static,
     0x50000003,
     platform::kNoId,
     {},
     {},
     {35, 27, 20, 20},
     IDI_APP,
     "Programmsymbol"},
    Line("Velmora Version 1.0", {75, 23, 119, 8}, 0x50020080),
    Line(kCopyrightLine, {75, 47, 119, 8}),
    {WindowClass::Button, 0x50030001, platform::IDOK, "IDOK", "OK", {390, 108, 50, 16}, 0, {}},
    Line(kAuthorLine, {75, 35, 54, 8}),
    Line(kFreewareLine, {75, 71, 119, 8}),
    Line(kContactLines[0], {306, 42, 122, 8}),
    Line(kContactLines[1], {306, 56, 122, 8}),
    Line(kContactLines[2], {306, 70, 122, 8}),
    {WindowClass::Static,
     0x5000000E,
     platform::kNoId,
     {},
     {},
     {243, 39, 47, 44},
     IDB_LOGO,
     "Velmora-Logo"},
}};

constexpr platform::DialogTemplate kInfo = {IDD_INFO,
                                            0x80C800C8,
                                            0,
                                            {0, 0, 447, 131},
                                            "Info \xFC"
                                            "ber Velmora",
                                            8,
                                            "MS Shell Dlg",
                                            kInfoControls,
                                            {}};

}  // namespace

const platform::DialogTemplate& InfoTemplate() {
    return kInfo;
}

}  // namespace resources
