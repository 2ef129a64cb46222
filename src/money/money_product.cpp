// The exact product of two decimal numbers, digit by digit: no binary floating point,
// so $36.53 x 4.5 is 164.385, the figure anyone checking by hand gets.
#include <cstdint>
#include <string>
#include <vector>

#include "money/money_text.h"

namespace tf::text {

namespace {

// A number's significant digits as one integer in base-10^9 limbs, least significant
// first, and how many of those digits are decimals. Zero decimals at the end are left
// out: they would only lengthen the product.
constexpr std::uint64_t kLimbBase = 1'000'000'000;
constexpr std::size_t kLimbDigits = 9;

struct Limbs {
    std::vector<std::uint32_t> limbs;
    std::size_t decimals = 0;
};

Limbs limbsOf(const Decimal& d) {
    const std::size_t last = d.fracDigits.find_last_not_of('0');
    Limbs out;
    out.decimals = last == std::string::npos ? 0 : last + 1;
    const std::string digits = d.intDigits + d.fracDigits.substr(0, out.decimals);
    out.limbs.reserve(digits.size() / kLimbDigits + 1);
    for (std::size_t end = digits.size(); end > 0;) {
        const std::size_t begin = end > kLimbDigits ? end - kLimbDigits : 0;
        std::uint32_t limb = 0;
        for (std::size_t i = begin; i < end; ++i)
            limb = limb * 10 + static_cast<std::uint32_t>(digits[i] - '0');
        out.limbs.push_back(limb);
        end = begin;
    }
    while (!out.limbs.empty() && out.limbs.back() == 0) out.limbs.pop_back();
    return out;
}

// The exact product of two numbers, with all the decimals of both.
}  // namespace

Decimal multiply(const Decimal& a, const Decimal& b) {
    const Limbs x = limbsOf(a);
    const Limbs y = limbsOf(b);
    const bool xShorter = x.limbs.size() <= y.limbs.size();
    const std::vector<std::uint32_t>& shorter = xShorter ? x.limbs : y.limbs;
    const std::vector<std::uint32_t>& longer = xShorter ? y.limbs : x.limbs;

    // Schoolbook multiplication: a limb times a limb plus a limb and a carry stays
    // below 10^18 + 2 * 10^9, well inside 64 bits.
    std::vector<std::uint32_t> product(shorter.size() + longer.size(), 0);
    for (std::size_t i = 0; i < shorter.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < longer.size(); ++j) {
            const std::uint64_t cell =
                product[i + j] + static_cast<std::uint64_t>(shorter[i]) * longer[j] + carry;
            product[i + j] = static_cast<std::uint32_t>(cell % kLimbBase);
            carry = cell / kLimbBase;
        }
        product[i + longer.size()] = static_cast<std::uint32_t>(carry);
    }

    std::size_t top = product.size();
    while (top > 0 && product[top - 1] == 0) --top;
    std::string digits;  // without leading zeros; empty for zero
    if (top > 0) {
        digits = std::to_string(product[top - 1]);
        digits.reserve(top * kLimbDigits);
        for (std::size_t k = top - 1; k-- > 0;) {
            const std::string limb = std::to_string(product[k]);
            digits.append(kLimbDigits - limb.size(), '0');
            digits += limb;
        }
    }

    Decimal d;
    d.negative = a.negative != b.negative;
    const std::size_t decimals = x.decimals + y.decimals;
    if (digits.size() <= decimals) {
        d.fracDigits = std::string(decimals - digits.size(), '0') + digits;
    } else {
        d.intDigits = digits.substr(0, digits.size() - decimals);
        d.fracDigits = digits.substr(digits.size() - decimals);
    }
    return d;
}

}  // namespace tf::text
