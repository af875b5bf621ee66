// The one crossing between the program's Windows-1252 texts and Qt's Unicode.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/qt/cp1252.h"

namespace platform::qt {
namespace {

TEST(Cp1252Test, KnownBytesMapBothWays) {
    const struct {
        unsigned char byte;
        char16_t unicode;
    } cases[] = {
        {0x41, u'A'},   {0x20, u' '},   {0x80, 0x20AC}, {0x8A, 0x0160}, {0x99, 0x2122},
        {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xA9, 0x00A9}, {0xC4, 0x00C4}, {0xDF, 0x00DF},
        {0xE4, 0x00E4}, {0xF6, 0x00F6}, {0xFC, 0x00FC}, {0xFF, 0x00FF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        const std::string bytes(1, static_cast<char>(c.byte));
        EXPECT_EQ(FromCp1252(bytes), QString(QChar(c.unicode)));
        char out[4] = "xx";
        EXPECT_EQ(ToCp1252(QString(QChar(c.unicode)), out, sizeof out), 1U);
        EXPECT_EQ(std::string(out), bytes);
    }
}

TEST(Cp1252Test, EveryDefinedByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) {
            all.push_back(static_cast<char>(b));
        }
    }
    const QString unicode = FromCp1252(all);
    EXPECT_EQ(unicode.size(), static_cast<qsizetype>(all.size()));
    std::string back(all.size() + 1, '\0');
    EXPECT_EQ(ToCp1252(unicode, back.data(), back.size()), all.size());
    back.pop_back();
    EXPECT_EQ(back, all);
}

TEST(Cp1252Test, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
    const struct {
        QString text;
        std::string bytes;
    } cases[] = {
        {QStringLiteral("\u4e2d"), "?"},
        {QStringLiteral("\u0100x"), "?x"},
        {QStringLiteral("a\u20acb"),
         "a\x80"
         "b"},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), "??"},  // two UTF-16 units
        {QStringLiteral("\ufffd"), "?"},
    };
    for (const auto& c : cases) {
        char out[16];
        EXPECT_EQ(ToCp1252(c.text, out, sizeof out), c.bytes.size());
        EXPECT_EQ(std::string(out), c.bytes);
    }
    // Bytes the code page leaves undefined show as the replacement character.
    EXPECT_EQ(FromCp1252("\x81\x8D\x8F\x90\x9D"), QString(5, QChar(0xFFFD)));
}

TEST(Cp1252Test, OutputIsCutToTheBufferAndAlwaysTerminated) {
    const QString text = QStringLiteral("0.76 \u20ac");
    const struct {
        std::size_t size;
        std::string written;
    } cases[] = {
        {1, ""}, {2, "0"}, {6, "0.76 "}, {7, "0.76 \x80"}, {32, "0.76 \x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        char out[32];
        std::fill(std::begin(out), std::end(out), 'x');
        EXPECT_EQ(ToCp1252(text, out, c.size), c.written.size());
        EXPECT_EQ(std::string(out), c.written);
        if (c.size < sizeof out) {
            EXPECT_EQ(out[c.size], 'x') << "wrote past the buffer";
        }
    }
    char untouched = 'x';
    EXPECT_EQ(ToCp1252(text, &untouched, 0), 0U);
    EXPECT_EQ(untouched, 'x');
    EXPECT_EQ(FromCp1252(""), QString());
}

}  // namespace
}  // namespace platform::qt
