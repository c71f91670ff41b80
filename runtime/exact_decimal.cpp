#include "runtime/exact_decimal.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace velmora {
namespace {

// The largest shift done at once: a digit times 2^60 plus a carry stays
// below 2^64.
constexpr int kMaxShift = 60;

// IEEE 754 double precision.
constexpr int kMantissaBits = 52;
constexpr int kExponentBias = -1023;
constexpr int kExponentMask = 0x7ff;
constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << kMantissaBits;

double FromBits(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint64_t ToBits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

ExactDecimal ExactDecimal::FromDigits(std::u16string_view integer, std::u16string_view fraction,
                                      std::int64_t exponent)
{
    ExactDecimal number;
    std::int64_t leadingZeros = 0;
    for (const std::u16string_view part : {integer, fraction}) {
        for (const char16_t c : part) {
            const auto digit = static_cast<std::uint8_t>(c - u'0');
            if (number.count_ == 0 && digit == 0) {
                ++leadingZeros;
            } else {
                number.Append(digit);
            }
        }
    }
    // Far beyond any double either way; kept small enough for an int.
    constexpr std::int64_t limit = 1 << 20;
    const std::int64_t point = static_cast<std::int64_t>(integer.size()) - leadingZeros + exponent;
    number.point_ = static_cast<int>(std::clamp(point, -limit, limit));
    number.Trim();
    return number;
}

ExactDecimal ExactDecimal::FromDouble(double value)
{
    ExactDecimal number;
    const std::uint64_t bits = ToBits(value);
    const int biasedExponent = static_cast<int>((bits >> kMantissaBits) & kExponentMask);
    std::uint64_t mantissa = bits & (kHiddenBit - 1);
    int exponent = 1 + kExponentBias - kMantissaBits;  // subnormal
    if (biasedExponent != 0) {
        mantissa |= kHiddenBit;
        exponent = biasedExponent + kExponentBias - kMantissaBits;
    }
    std::array<std::uint8_t, 20> reversed{};
    int count = 0;
    for (; mantissa > 0; mantissa /= 10) {
        reversed[std::size_t(count++)] = static_cast<std::uint8_t>(mantissa % 10);
    }
    for (int i = count - 1; i >= 0; --i) {
        number.Append(reversed[std::size_t(i)]);
    }
    number.point_ = count;
    number.Trim();
    number.Shift(exponent);
    return number;
}

double ExactDecimal::ToDouble() const
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    if (count_ == 0 || point_ < -330) {
        return 0.0;
    }
    if (point_ > 310) {
        return infinity;
    }
    // Scale by powers of two into [0.5, 1), counting the binary exponent.
    // The shift for a point at p takes at least p decimal digits' worth.
    constexpr int kShiftForPoint[] = {1, 3, 6, 9, 13, 16, 19, 23, 26};
    constexpr int kTableSize = static_cast<int>(std::size(kShiftForPoint));
    ExactDecimal scaled = *this;
    int exponent = 0;
    while (scaled.point_ > 0) {
        const int bits = scaled.point_ >= kTableSize ? 27 : kShiftForPoint[scaled.point_];
        scaled.Shift(-bits);
        exponent += bits;
    }
    while (scaled.point_ < 0 || (scaled.point_ == 0 && scaled.digits_[0] < 5)) {
        const int bits = -scaled.point_ >= kTableSize ? 27 : kShiftForPoint[-scaled.point_];
        scaled.Shift(bits);
        exponent -= bits;
    }
    --exponent;  // from [0.5, 1) to the mantissa's [1, 2)

    // Below the smallest normal exponent the number becomes subnormal.
    if (exponent < kExponentBias + 1) {
        const int bits = kExponentBias + 1 - exponent;
        scaled.Shift(-bits);
        exponent += bits;
    }
    if (exponent - kExponentBias >= kExponentMask) {
        return infinity;
    }
    scaled.Shift(1 + kMantissaBits);
    std::uint64_t mantissa = scaled.RoundedInteger();
    if (mantissa == 2 * kHiddenBit) {  // rounding carried into a new bit
        mantissa >>= 1;
        if (++exponent - kExponentBias >= kExponentMask) {
            return infinity;
        }
    }
    if ((mantissa & kHiddenBit) == 0) {
        exponent = kExponentBias;  // subnormal
    }
    return FromBits((mantissa & (kHiddenBit - 1))
                    | (static_cast<std::uint64_t>((exponent - kExponentBias) & kExponentMask)
                       << kMantissaBits));
}

void ExactDecimal::RoundToSignificant(int count)
{
    if (count < 0 || count >= count_) {
        return;
    }
    if (RoundsUpAt(count)) {
        RoundUpAt(count);
    } else {
        count_ = count;
        Trim();
    }
    truncated_ = false;
}

void ExactDecimal::Append(std::uint8_t digit)
{
    if (count_ < kMaxDigits) {
        digits_[std::size_t(count_++)] = digit;
    } else if (digit != 0) {
        truncated_ = true;
    }
}

void ExactDecimal::Trim()
{
    while (count_ > 0 && digits_[std::size_t(count_ - 1)] == 0) {
        --count_;
    }
    if (count_ == 0) {
        point_ = 0;
    }
}

void ExactDecimal::Shift(int bits)
{
    if (count_ == 0) {
        return;
    }
    for (; bits > kMaxShift; bits -= kMaxShift) {
        ShiftLeft(kMaxShift);
    }
    if (bits > 0) {
        ShiftLeft(bits);
    }
    for (; bits < -kMaxShift; bits += kMaxShift) {
        ShiftRight(kMaxShift);
    }
    if (bits < 0) {
        ShiftRight(-bits);
    }
}

// Multiplies digit by digit from the last, into a buffer with room for the
// at most 19 new leading digits.
void ExactDecimal::ShiftLeft(int bits)
{
    std::array<std::uint8_t, kMaxDigits + 20> product;
    std::size_t write = product.size();
    std::uint64_t carry = 0;
    for (int read = count_ - 1; read >= 0; --read) {
        const std::uint64_t n = (std::uint64_t{digits_[std::size_t(read)]} << bits) + carry;
        product[--write] = static_cast<std::uint8_t>(n % 10);
        carry = n / 10;
    }
    for (; carry > 0; carry /= 10) {
        product[--write] = static_cast<std::uint8_t>(carry % 10);
    }
    const int produced = static_cast<int>(product.size() - write);
    point_ += produced - count_;
    count_ = std::min(produced, kMaxDigits);
    for (int i = count_; i < produced; ++i) {
        truncated_ = truncated_ || product[write + std::size_t(i)] != 0;
    }
    std::copy_n(product.begin() + std::ptrdiff_t(write), count_, digits_.begin());
    Trim();
}

// Long division by 2^bits, digit by digit from the first, in place.
void ExactDecimal::ShiftRight(int bits)
{
    const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
    int read = 0;
    int write = 0;
    std::uint64_t n = 0;
    // Enough leading digits for the first digit of the quotient.
    for (; (n >> bits) == 0; ++read) {
        if (read >= count_) {
            if (n == 0) {
                count_ = 0;
                point_ = 0;
                return;
            }
            while ((n >> bits) == 0) {
                n *= 10;
                ++read;
            }
            break;
        }
        n = n * 10 + digits_[std::size_t(read)];
    }
    point_ -= read - 1;
    for (; read < count_; ++read) {
        const std::uint8_t next = digits_[std::size_t(read)];
        digits_[std::size_t(write++)] = static_cast<std::uint8_t>(n >> bits);
        n = (n & mask) * 10 + next;
    }
    for (; n > 0; n = (n & mask) * 10) {
        const auto digit = static_cast<std::uint8_t>(n >> bits);
        if (write < kMaxDigits) {
            digits_[std::size_t(write++)] = digit;
        } else if (digit != 0) {
            truncated_ = true;
        }
    }
    count_ = write;
    Trim();
}

// Whether keeping `count` significant digits rounds the last one up: above
// half, or exactly half with an odd digit before it.
bool ExactDecimal::RoundsUpAt(int count) const
{
    if (count < 0 || count >= count_) {
        return false;
    }
    const std::uint8_t first = digits_[std::size_t(count)];
    if (first == 5 && count + 1 == count_) {
        if (truncated_) {
            return true;  // more than half: a dropped digit was not zero
        }
        return count > 0 && digits_[std::size_t(count - 1)] % 2 == 1;
    }
    return first >= 5;
}

void ExactDecimal::RoundUpAt(int count)
{
    for (int i = count - 1; i >= 0; --i) {
        if (digits_[std::size_t(i)] < 9) {
            ++digits_[std::size_t(i)];
            count_ = i + 1;
            return;
        }
    }
    digits_[0] = 1;  // all nines: the next power of ten
    count_ = 1;
    ++point_;
}

// The integer part, rounded ties to even.
std::uint64_t ExactDecimal::RoundedInteger() const
{
    if (point_ > 20) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    std::uint64_t n = 0;
    int i = 0;
    for (; i < point_ && i < count_; ++i) {
        n = n * 10 + digits_[std::size_t(i)];
    }
    for (; i < point_; ++i) {
        n *= 10;
    }
    if (RoundsUpAt(point_)) {
        ++n;
    }
    return n;
}

}  // namespace velmora
