// The two dialog templates and the program's string and picture resources.
#pragma once

#include <array>
#include <string_view>

#include "platform/dialog_template.h"
#include "platform/resources.h"

namespace resources {

const platform::DialogTemplate& MeterTemplate();
const platform::DialogTemplate& InfoTemplate();

// The entries of every rate list, in the order they are added.
inline constexpr std::array<std::string_view, 9> kRateEntries = {
    "1,00", "1,25", "1,50", "1,75", "2,00", "2,25", "2,50", "2,75", "3,00"};

// Neutral project texts shown in the main window and the info box (Windows-1252).
inline constexpr std::string_view kAuthorLine = "Velmora-Team";
inline constexpr std::string_view kCopyrightLine = "\xA9 2026 Velmora-Projekt";
inline constexpr std::string_view kFreewareLine = "Dieses Programm ist Freeware.";
inline constexpr std::array<std::string_view, 3> kContactLines = {"Kontakt:", "www.velmora.example",
                                                                  "info@velmora.example"};

// The program's own module: strings by number, pictures by number.
const platform::ResourceModule& Module();

}  // namespace resources
