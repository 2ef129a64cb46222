// Writing numbers and amounts in the forms of the regional settings, and the rounding
// before it.
#include "money/money_text.h"

namespace tf::text {

namespace {

// Lays out a formatted number, the symbol and the sign in the currency form.
std::string currencyLayout(const std::string& value, std::string_view symbol, std::string_view sign,
                           const CurrencyForm& form, bool negative) {
    const bool precedes = form.symbolPrecedes;
    const int spacing = form.separatedBySpace;
    const std::string_view space = " ";
    std::string out;
    auto put = [&out](std::string_view piece) { out += piece; };
    auto spaceIf = [&](bool yes) {
        if (yes) out += space;
    };
    if (form.signPosition == SignPosition::Parentheses && !negative) sign = {};
    if (symbol.empty()) {
        // Only the sign and the number: the sign stays on its side of the number.
        const bool signFirst =
            form.signPosition == SignPosition::BeforeAll ||
            (precedes && form.signPosition != SignPosition::AfterAll);
        if (form.signPosition == SignPosition::Parentheses) {
            if (negative) return "(" + value + ")";
            return value;
        }
        return signFirst ? std::string(sign) + value : value + std::string(sign);
    }
    const bool signed_ = !sign.empty();
    switch (form.signPosition) {
        case SignPosition::Parentheses:
            if (negative) put("(");
            if (precedes) {
                put(symbol);
                spaceIf(spacing != 0);
                put(value);
            } else {
                put(value);
                spaceIf(spacing != 0);
                put(symbol);
            }
            if (negative) put(")");
            break;
        case SignPosition::BeforeAll:
        case SignPosition::BeforeSymbol:
            if (precedes) {
                put(sign);
                spaceIf(spacing == 2 && signed_);
                put(symbol);
                spaceIf(spacing == 1);
                put(value);
            } else if (form.signPosition == SignPosition::BeforeAll) {
                put(sign);
                spaceIf(spacing == 2 && signed_);
                put(value);
                spaceIf(spacing == 1);
                put(symbol);
            } else {
                put(value);
                spaceIf(spacing == 1);
                put(sign);
                spaceIf(spacing == 2 && signed_);
                put(symbol);
            }
            break;
        case SignPosition::AfterAll:
        case SignPosition::AfterSymbol:
            if (precedes && form.signPosition == SignPosition::AfterSymbol) {
                put(symbol);
                spaceIf(spacing == 2 && signed_);
                put(sign);
                spaceIf(spacing == 1);
                put(value);
            } else if (precedes) {
                put(symbol);
                spaceIf(spacing == 1);
                put(value);
                spaceIf(spacing == 2 && signed_);
                put(sign);
            } else {
                put(value);
                spaceIf(spacing == 1);
                put(symbol);
                spaceIf(spacing == 2 && signed_);
                put(sign);
            }
            break;
    }
    return out;
}

void increment(std::string& digits, bool& carry) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i > 0) {
        ++digits[i - 1];
        carry = false;
    } else {
        carry = true;
    }
}

}  // namespace

void roundHalfAwayFromZero(Decimal& d, std::size_t places) {
    if (d.fracDigits.size() > places) {
        const bool up = d.fracDigits[places] >= '5';
        d.fracDigits.resize(places);
        if (up) {
            bool carry = true;
            increment(d.fracDigits, carry);
            if (carry) increment(d.intDigits, carry);
            if (carry) d.intDigits.insert(d.intDigits.begin(), '1');
        }
    } else {
        d.fracDigits.append(places - d.fracDigits.size(), '0');
    }
    if (d.isZero()) d.negative = false;
}

std::string groupDigits(std::string_view digits, std::string_view separator, const GroupRule& rule) {
    if (separator.empty() || !rule.groups() || digits.size() <= 1) return std::string(digits);
    std::vector<std::size_t> chunks;  // from the right
    std::size_t remaining = digits.size();
    for (std::size_t i = 0; remaining > 0; ++i) {
        const int size = rule.size(i);
        const std::size_t take =
            size <= 0 || static_cast<std::size_t>(size) >= remaining ? remaining
                                                                     : static_cast<std::size_t>(size);
        chunks.push_back(take);
        remaining -= take;
    }
    std::string out;
    out.reserve(digits.size() + (chunks.size() - 1) * separator.size());
    std::size_t pos = 0;
    for (std::size_t k = chunks.size(); k-- > 0;) {
        if (pos != 0) out += separator;
        out.append(digits, pos, chunks[k]);
        pos += chunks[k];
    }
    return out;
}

std::string composeAmount(const Decimal& rounded, const RegionalSettings& s) {
    const std::size_t places = rounded.fracDigits.size();
    std::string value;
    if (rounded.intDigits.empty()) {
        if (s.leadingZero || places == 0) value = "0";
    } else {
        value = groupDigits(rounded.intDigits, s.monThousandsSep, GroupRule(s.monGrouping));
    }
    if (places > 0) {
        value += s.monDecimalPoint.empty() ? std::string_view(".") : std::string_view(s.monDecimalPoint);
        value += rounded.fracDigits;
    }
    const bool negative = rounded.negative;
    const std::string_view sign = negative ? (s.negativeSign.empty() ? std::string_view("-")
                                                                     : std::string_view(s.negativeSign))
                                           : std::string_view(s.positiveSign);
    return currencyLayout(value, s.currencySymbol, sign, negative ? s.negativeForm : s.positiveForm,
                          negative);
}

std::string composeWholeNumber(const Decimal& rounded, const RegionalSettings& s) {
    std::string value = rounded.intDigits.empty()
                            ? std::string("0")
                            : groupDigits(rounded.intDigits, s.thousandsSep, GroupRule(s.grouping));
    if (!rounded.negative) return value;
    const std::string sign = s.numberNegativeSign.empty() ? "-" : s.numberNegativeSign;
    switch (s.negativeNumberForm) {
        case NegativeNumberForm::Parentheses: return "(" + value + ")";
        case NegativeNumberForm::SignSpaceBefore: return sign + " " + value;
        case NegativeNumberForm::SignAfter: return value + sign;
        case NegativeNumberForm::SignSpaceAfter: return value + " " + sign;
        case NegativeNumberForm::SignBefore: break;
    }
    return sign + value;
}

}  // namespace tf::text
