#include "platform/qt/cp1252.h"

#include <array>

namespace platform::qt {
namespace {

// 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] != 0 && kHigh[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

QString FromCp1252(std::string_view text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (const char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0) {
            const char16_t u = kHigh[b - 0x80];
            out.append(QChar(u != 0 ? u : char16_t{0xFFFD}));
        } else {
            out.append(QChar(static_cast<char16_t>(b)));
        }
    }
    return out;
}

std::size_t ToCp1252(const QString& text, char* buffer, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::size_t n = 0;
    for (const QChar c : text) {
        if (n + 1 >= size) {
            break;
        }
        buffer[n++] = ToByte(c.unicode());
    }
    buffer[n] = '\0';
    return n;
}

}  // namespace platform::qt
