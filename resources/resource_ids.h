// Resource and control numbers of the program.
#pragma once

// Templates
inline constexpr int IDD_INFO = 100;
inline constexpr int IDD_METER = 102;

// Pictures and strings
inline constexpr int IDI_APP = 128;
inline constexpr int IDB_LOGO = 131;
inline constexpr int IDS_INFO_MENU = 101;

// System-menu command of the info entry (its low four bits are the window system's).
inline constexpr unsigned IDM_INFO = 0x10;

// Controls of the main window
inline constexpr int IDC_SEL1 = 1000;
inline constexpr int IDC_SEL2 = 1001;
inline constexpr int IDC_TIME1 = 1002;
inline constexpr int IDC_TIME2 = 1003;
inline constexpr int IDC_CLOCK = 1004;
inline constexpr int IDC_START = 1005;
inline constexpr int IDC_STOP = 1006;
inline constexpr int IDC_RESET = 1008;
inline constexpr int IDC_DATE = 1009;
inline constexpr int IDC_TRAY = 1010;
inline constexpr int IDC_RATE1 = 1011;
inline constexpr int IDC_AMOUNT1 = 1012;
inline constexpr int IDC_RATE2 = 1013;
inline constexpr int IDC_SEL4 = 1014;
inline constexpr int IDC_RATE3 = 1015;
inline constexpr int IDC_SEL10 = 1016;
inline constexpr int IDC_SEL5 = 1017;
inline constexpr int IDC_SEL6 = 1018;
inline constexpr int IDC_SEL7 = 1019;
inline constexpr int IDC_SEL8 = 1020;
inline constexpr int IDC_SEL9 = 1021;
inline constexpr int IDC_TIME3 = 1022;
inline constexpr int IDC_TIME4 = 1023;
inline constexpr int IDC_TIME5 = 1024;
inline constexpr int IDC_TIME6 = 1025;
inline constexpr int IDC_TIME7 = 1026;
inline constexpr int IDC_TIME8 = 1027;
inline constexpr int IDC_TIME9 = 1028;
inline constexpr int IDC_TIME10 = 1029;
inline constexpr int IDC_SEL3 = 1030;
inline constexpr int IDC_AMOUNT2 = 1031;
inline constexpr int IDC_AMOUNT3 = 1032;
inline constexpr int IDC_AMOUNT4 = 1033;
inline constexpr int IDC_AMOUNT5 = 1034;
inline constexpr int IDC_AMOUNT6 = 1035;
inline constexpr int IDC_AMOUNT7 = 1036;
inline constexpr int IDC_AMOUNT8 = 1037;
inline constexpr int IDC_AMOUNT9 = 1038;
inline constexpr int IDC_AMOUNT10 = 1039;
inline constexpr int IDC_INFO = 1040;
inline constexpr int IDC_RATE4 = 1041;
inline constexpr int IDC_RATE5 = 1042;
inline constexpr int IDC_RATE6 = 1043;
inline constexpr int IDC_RATE7 = 1044;
inline constexpr int IDC_RATE8 = 1045;
inline constexpr int IDC_RATE9 = 1046;
inline constexpr int IDC_RATE10 = 1047;
