#include "resources/resource_ids.h"
#include "resources/templates.h"

namespace resources {
namespace {

using platform::ControlTemplate;
using platform::WindowClass;

constexpr std::uint32_t kSelector = 0x50000004;
constexpr std::uint32_t kField = 0x50000880;
constexpr std::uint32_t kCentredField = 0x50000881;
constexpr std::uint32_t kRateList = 0x50200103;
constexpr std::uint32_t kButton = 0x50010000;
constexpr std::uint32_t kMultiLineButton = 0x50012000;
constexpr std::uint32_t kGroupBox = 0x50000007;
constexpr std::uint32_t kLabel = 0x50020000;
constexpr std::uint32_t kBitmap = 0x5000000E;

constexpr ControlTemplate Button(int id, std::string_view symbol, std::string_view caption,
                                 std::uint32_t style, platform::DluRect r) {
    return {WindowClass::Button, style, id, symbol, caption, r, 0, {}};
}
constexpr ControlTemplate Selector(int id, std::string_view symbol, std::string_view caption, int y,
                                   int cx = 69) {
    return {WindowClass::Button, kSelector, id, symbol, caption, {23, y, cx, 10}, 0, {}};
}
constexpr ControlTemplate Field(int id, std::string_view symbol, std::string_view accessible, int x,
                                int y) {
    return {WindowClass::Edit, kField, id, symbol, {}, {x, y, 40, 14}, 0, accessible};
}
constexpr ControlTemplate TimeField(int id, std::string_view symbol, std::string_view name, int y) {
    return Field(id, symbol, name, 105, y);
}
constexpr ControlTemplate AmountField(int id, std::string_view symbol, std::string_view name,
                                      int y) {
    return Field(id, symbol, name, 170, y);
}
constexpr ControlTemplate RateList(int id, std::string_view symbol, std::string_view name, int x,
                                   int y) {
    return {WindowClass::ComboBox, kRateList, id, symbol, {}, {x, y, 70, 85}, 0, name};
}
constexpr ControlTemplate Text(std::string_view caption, platform::DluRect r) {
    return {WindowClass::Static, kLabel, platform::kNoId, {}, caption, r, 0, {}};
}

// Template order is z-order and Tab order.
constexpr std::array<ControlTemplate, 57> kMeterControls = {{
    Button(platform::IDCANCEL, "IDCANCEL", "Anwendung beenden", kMultiLineButton,
           {308, 198, 50, 29}),
    Selector(IDC_SEL1, "IDC_SEL1", "Rechner 1 (\"F1\")", 34),
    Selector(IDC_SEL2, "IDC_SEL2", "Rechner 2 (\"F2\")", 53),
    TimeField(IDC_TIME1, "IDC_TIME1", "Laufzeit Rechner 1", 34),
    {WindowClass::Button,
     kGroupBox,
     platform::kNoId,
     {},
     "Rechner-Anwahl",
     {19, 7, 137, 220},
     0,
     {}},
    TimeField(IDC_TIME2, "IDC_TIME2", "Laufzeit Rechner 2", 53),
    {WindowClass::Edit,
     kCentredField,
     IDC_CLOCK,
     "IDC_CLOCK",
     {},
     {191, 241, 90, 21},
     0,
     "Uhrzeit"},
    Button(IDC_START, "IDC_START", "Start", kButton, {309, 14, 50, 14}),
    Button(IDC_STOP, "IDC_STOP", "Stopp", kButton, {309, 49, 50, 14}),
    Button(IDC_RESET, "IDC_RESET", "Reset", kButton, {309, 82, 50, 14}),
    {WindowClass::Edit, kCentredField, IDC_DATE, "IDC_DATE", {}, {155, 265, 163, 16}, 0, "Datum"},
    Button(IDC_TRAY, "IDC_TRAY", "Anwendung in Tray minimieren", kMultiLineButton,
           {309, 162, 50, 29}),
    RateList(IDC_RATE1, "IDC_RATE1", "Cent pro Minute Rechner 1", 218, 34),
    AmountField(IDC_AMOUNT1, "IDC_AMOUNT1", "Betrag Rechner 1", 34),
    Selector(IDC_SEL4, "IDC_SEL4", "Rechner 4 (\"F4\")", 91),
    Selector(IDC_SEL10, "IDC_SEL10", "Rechner 10 (\"F10\")", 205, 77),
    Selector(IDC_SEL5, "IDC_SEL5", "Rechner 5 (\"F5\")", 110),
    Selector(IDC_SEL6, "IDC_SEL6", "Rechner 6 (\"F6\")", 129),
    Selector(IDC_SEL7, "IDC_SEL7", "Rechner 7 (\"F7\")", 148),
    Selector(IDC_SEL8, "IDC_SEL8", "Rechner 8 (\"F8\")", 167),
    Selector(IDC_SEL9, "IDC_SEL9", "Rechner 9 (\"F9\")", 186),
    TimeField(IDC_TIME3, "IDC_TIME3", "Laufzeit Rechner 3", 72),
    TimeField(IDC_TIME4, "IDC_TIME4", "Laufzeit Rechner 4", 91),
    TimeField(IDC_TIME5, "IDC_TIME5", "Laufzeit Rechner 5", 110),
    TimeField(IDC_TIME6, "IDC_TIME6", "Laufzeit Rechner 6", 129),
    TimeField(IDC_TIME7, "IDC_TIME7", "Laufzeit Rechner 7", 148),
    TimeField(IDC_TIME8, "IDC_TIME8", "Laufzeit Rechner 8", 167),
    TimeField(IDC_TIME9, "IDC_TIME9", "Laufzeit Rechner 9", 186),
    TimeField(IDC_TIME10, "IDC_TIME10", "Laufzeit Rechner 10", 205),
    {WindowClass::Button, kGroupBox, platform::kNoId, {}, "Abrechnung", {164, 7, 130, 221}, 0, {}},
    Selector(IDC_SEL3, "IDC_SEL3", "Rechner 3 (\"F3\")", 72),
    AmountField(IDC_AMOUNT2, "IDC_AMOUNT2", "Betrag Rechner 2", 54),
    AmountField(IDC_AMOUNT3, "IDC_AMOUNT3", "Betrag Rechner 3", 73),
    AmountField(IDC_AMOUNT4, "IDC_AMOUNT4", "Betrag Rechner 4", 92),
    AmountField(IDC_AMOUNT5, "IDC_AMOUNT5", "Betrag Rechner 5", 111),
    AmountField(IDC_AMOUNT6, "IDC_AMOUNT6", "Betrag Rechner 6", 130),
    AmountField(IDC_AMOUNT7, "IDC_AMOUNT7", "Betrag Rechner 7", 149),
    AmountField(IDC_AMOUNT8, "IDC_AMOUNT8", "Betrag Rechner 8", 167),
    AmountField(IDC_AMOUNT9, "IDC_AMOUNT9", "Betrag Rechner 9", 186),
    AmountField(IDC_AMOUNT10, "IDC_AMOUNT10", "Betrag Rechner 10", 206),
    Text("Cent / Minute", {234, 22, 44, 8}),
    Button(IDC_INFO, "IDC_INFO", "Info", kButton, {309, 126, 50, 29}),
    Text("Velmora", {81, 231, 82, 8}),
    Text("Version 1.0", {81, 244, 87, 8}),
    Text(kAuthorLine, {81, 258, 100, 8}),
    Text(kCopyrightLine, {81, 273, 101, 8}),
    {WindowClass::Static,
     kBitmap,
     platform::kNoId,
     {},
     {},
     {19, 236, 47, 44},
     IDB_LOGO,
     "Velmora-Logo"},
    Text("Gesamtbetrag", {166, 22, 46, 8}),
    RateList(IDC_RATE2, "IDC_RATE2", "Cent pro Minute Rechner 2", 218, 55),
    RateList(IDC_RATE3, "IDC_RATE3", "Cent pro Minute Rechner 3", 218, 74),
    RateList(IDC_RATE4, "IDC_RATE4", "Cent pro Minute Rechner 4", 218, 92),
    RateList(IDC_RATE5, "IDC_RATE5", "Cent pro Minute Rechner 5", 218, 110),
    RateList(IDC_RATE6, "IDC_RATE6", "Cent pro Minute Rechner 6", 218, 130),
    RateList(IDC_RATE7, "IDC_RATE7", "Cent pro Minute Rechner 7", 218, 149),
    RateList(IDC_RATE8, "IDC_RATE8", "Cent pro Minute Rechner 8", 218, 167),
    RateList(IDC_RATE9, "IDC_RATE9", "Cent pro Minute Rechner 9", 217, 186),
    RateList(IDC_RATE10, "IDC_RATE10", "Cent pro Minute Rechner 10", 218, 206),
}};

constexpr std::array<platform::ListInit, 10> kMeterInit = {{
    {IDC_RATE1, kRateEntries},
    {IDC_RATE2, kRateEntries},
    {IDC_RATE3, kRateEntries},
    {IDC_RATE4, kRateEntries},
    {IDC_RATE5, kRateEntries},
    {IDC_RATE6, kRateEntries},
    {IDC_RATE7, kRateEntries},
    {IDC_RATE8, kRateEntries},
    {IDC_RATE9, kRateEntries},
    {IDC_RATE10, kRateEntries},
}};

constexpr platform::DialogTemplate kMeter = {
    IDD_METER,        0x90CF004C,     platform::style::kExAppWindow,
    {0, 0, 380, 292}, "Velmora",      8,
    "MS Shell Dlg",   kMeterControls, kMeterInit};

}  // namespace

const platform::DialogTemplate& MeterTemplate() {
    return kMeter;
}

}  // namespace resources
