#include "metering/texts.h"

#include <locale.h>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmora {
namespace {

// An unsigned integer in base 10^9 limbs, least significant first, big enough for the
// exact value of any double scaled to an integer (at most 767 decimal digits).
class BigDecimal {
  public:
    explicit BigDecimal(std::uint64_t v) {
        while (v != 0) {
            limbs_[count_++] = static_cast<std::uint32_t>(v % kBase);
            v /= kBase;
        }
    }

    void MulSmall(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int i = 0; i < count_; ++i) {
            const std::uint64_t p = std::uint64_t{limbs_[i]} * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(p % kBase);
            carry = p / kBase;
        }
        while (carry != 0) {
            limbs_[count_++] = static_cast<std::uint32_t>(carry % kBase);
            carry /= kBase;
        }
    }

    void MulPow(std::uint32_t base, int exponent, std::uint32_t chunk, int chunkExponent) {
        for (; exponent >= chunkExponent; exponent -= chunkExponent) {
            MulSmall(chunk);
        }
        for (; exponent > 0; --exponent) {
            MulSmall(base);
        }
    }

    // Decimal digits, most significant first, without leading zeros; returns the count.
    int Digits(char* out) const {
        if (count_ == 0) {
            out[0] = '0';
            return 1;
        }
        int n = std::snprintf(out, 10, "%u", limbs_[count_ - 1]);
        for (int i = count_ - 2; i >= 0; --i) {
            std::uint32_t v = limbs_[i];
            for (int k = 8; k >= 0; --k) {
                out[n + k] = static_cast<char>('0' + v % 10);
                v /= 10;
            }
            n += 9;
        }
        return n;
    }

    static constexpr int kMaxDigits = 800;

  private:
    static constexpr std::uint32_t kBase = 1000000000;
    std::array<std::uint32_t, kMaxDigits / 9 + 2> limbs_{};
    int count_ = 0;
};

// Copies text into out like snprintf does and returns its full length.
std::size_t Emit(const char* text, std::size_t length, char* out, std::size_t size) {
    if (size > 0) {
        const std::size_t n = length < size - 1 ? length : size - 1;
        std::memcpy(out, text, n);
        out[n] = '\0';
    }
    return length;
}

}  // namespace

std::size_t FormatTime(const StationState& s, char* out, std::size_t size) {
    const int n = std::snprintf(out, size, "%02i:%02i:%02i", s.hours, s.minutes, s.seconds);
    return n < 0 ? 0 : static_cast<std::size_t>(n);
}

std::size_t FormatAmountNumber(double a, char* out, std::size_t size) {
    const bool negative = std::signbit(a);
    if (!std::isfinite(a)) {
        const char* text = std::isnan(a) ? "nan" : negative ? "-inf" : "inf";
        return Emit(text, std::strlen(text), out, size);
    }

    // The exact value: a = mantissa * 2^exponent.
    int binaryExponent = 0;
    const double fraction = std::frexp(std::fabs(a), &binaryExponent);
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    int exponent = binaryExponent - 53;
    while (mantissa != 0 && (mantissa & 1U) == 0) {
        mantissa >>= 1;
        ++exponent;
    }

    // As a decimal integer with `fractionDigits` of its digits after the point.
    BigDecimal big(mantissa);
    int fractionDigits = 0;
    if (exponent >= 0) {
        big.MulPow(2, exponent, 1U << 29, 29);
    } else {
        big.MulPow(5, -exponent, 1220703125U, 13);  // 5^13
        fractionDigits = -exponent;
    }
    char digits[BigDecimal::kMaxDigits + 2];
    int count = big.Digits(digits);
    int integerDigits = count - fractionDigits;  // digits before the point; may be <= 0

    // Stage one: 17 significant digits, half up.
    constexpr int kSignificant = 17;
    if (mantissa != 0 && count > kSignificant) {
        const bool up = digits[kSignificant] >= '5';
        count = kSignificant;
        if (up) {
            int i = count - 1;
            while (i >= 0 && digits[i] == '9') {
                digits[i--] = '0';
            }
            if (i >= 0) {
                ++digits[i];
            } else {
                std::memmove(digits + 1, digits, static_cast<std::size_t>(count));
                digits[0] = '1';
                ++integerDigits;
            }
        }
    }

    // Stage two: two places after the point, half up. digitAt(p) is the digit of 10^p.
    const auto digitAt = [&](int p) -> int {
        const int i = integerDigits - 1 - p;
        return mantissa != 0 && i >= 0 && i < count ? digits[i] - '0' : 0;
    };
    const int leading = integerDigits > 1 ? integerDigits : 1;
    char fixed[BigDecimal::kMaxDigits + 4];
    int n = 0;
    fixed[n++] = '0';  // room for a carry out of the top digit
    for (int p = leading - 1; p >= -2; --p) {
        fixed[n++] = static_cast<char>('0' + digitAt(p));
    }
    if (digitAt(-3) >= 5) {
        int i = n - 1;
        while (fixed[i] == '9') {
            fixed[i--] = '0';
        }
        ++fixed[i];
    }
    const char* body = fixed[0] == '0' ? fixed + 1 : fixed;
    const int bodyLength = n - static_cast<int>(body - fixed);

    char text[BigDecimal::kMaxDigits + 8];
    int length = 0;
    if (negative) {
        text[length++] = '-';
    }
    std::memcpy(text + length, body, static_cast<std::size_t>(bodyLength - 2));
    length += bodyLength - 2;
    text[length++] = '.';
    text[length++] = body[bodyLength - 2];
    text[length++] = body[bodyLength - 1];
    return Emit(text, static_cast<std::size_t>(length), out, size);
}

std::size_t FormatAmount(double a, char* out, std::size_t size) {
    const std::size_t n = FormatAmountNumber(a, out, size);
    if (n + 2 < size) {
        out[n] = ' ';
        out[n + 1] = '\x80';
        out[n + 2] = '\0';
    } else if (size > 0) {
        // Too long to carry its unit: show nothing rather than a number cut short.
        out[0] = '\0';
    }
    return n + 2;
}

double AtofC(const char* text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text, nullptr, cLocale);
}

}  // namespace velmora
