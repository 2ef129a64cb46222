// Reading number and amount texts under the regional settings.
//
// What a text may look like: blanks before, after and between its parts; at most one
// currency symbol, on the side of the amount where the currency form puts it; at most
// one sign or one pair of parentheses around the amount; one number made of digits,
// thousands separators exactly where the grouping puts them (or none at all), and at
// most one decimal separator followed by digits. A minus sign may stand first in the
// text, or where the settings' negative currency or number form puts it ("$5-" and
// "5-" only under settings that write negatives that way). Anything else, such as letters, "nan",
// "inf", exponents, hexadecimal or a second number, makes the text no number.
//
// Blanks are the ASCII white space characters and the no-break, figure, thin and
// narrow no-break spaces. When the thousands separator is itself one of those spaces,
// any of them stands for it between digits, since few keyboards type U+202F.
#include "money/money_text.h"

#include <climits>
#include <utility>

namespace tf::text {

namespace {

constexpr std::string_view kSpaceLike[] = {"\xC2\xA0", "\xE2\x80\x87", "\xE2\x80\x89",
                                           "\xE2\x80\xAF"};
constexpr std::string_view kMinusSign = "\xE2\x88\x92";  // U+2212

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool startsWith(std::string_view text, std::size_t at, std::string_view what) {
    return !what.empty() && text.size() - at >= what.size() &&
           text.compare(at, what.size(), what) == 0;
}

// Length of the space character at this position, or 0.
std::size_t spaceAt(std::string_view text, std::size_t at) {
    if (text[at] == ' ') return 1;
    for (std::string_view s : kSpaceLike)
        if (startsWith(text, at, s)) return s.size();
    return 0;
}

// Length of the blank at this position (a space or other white space), or 0.
std::size_t blankAt(std::string_view text, std::size_t at) {
    switch (text[at]) {
        case '\t': case '\n': case '\v': case '\f': case '\r': return 1;
        default: return spaceAt(text, at);
    }
}

bool isSpaceLike(std::string_view s) { return !s.empty() && spaceAt(s, 0) == s.size(); }

// The parts of a text, one letter each, in the order they stand.
enum Part : char {
    kMinus = 'g',
    kPlus = 'p',
    kSymbol = 'S',
    kNumber = 'n',
    kOpen = '(',
    kClose = ')',
};
constexpr std::size_t kMostParts = 5;  // "(S n)" or sign, symbol, number and spaces

struct Separators {
    std::string_view decimalPoint;
    std::string_view thousandsSep;
    bool thousandsIsSpace;
    GroupRule rule;
};

// Length of a thousands separator at this position, or 0.
std::size_t thousandsAt(std::string_view text, std::size_t at, const Separators& seps) {
    if (startsWith(text, at, seps.thousandsSep)) return seps.thousandsSep.size();
    if (seps.thousandsIsSpace) {
        const std::size_t n = spaceAt(text, at);
        if (n != 0) return n;
    }
    return 0;
}

// Digit runs between separators, from the left, against the grouping.
bool groupsFit(const std::vector<std::size_t>& runs, const GroupRule& rule) {
    const std::size_t count = runs.size();
    if (count <= 1) return true;
    if (!rule.groups()) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t run = runs[count - 1 - i];
        const int size = rule.size(i);
        if (i + 1 < count) {
            if (size <= 0 || run != static_cast<std::size_t>(size)) return false;
        } else if (size > 0 && run > static_cast<std::size_t>(size)) {
            return false;
        }
    }
    return true;
}

// Reads the number that starts at `at` (a digit, or the decimal separator before a
// digit) and moves `at` past it.
bool scanNumber(std::string_view text, std::size_t& at, const Separators& seps, Decimal& d) {
    std::vector<std::size_t> runs;
    const std::size_t n = text.size();
    for (;;) {
        const std::size_t start = at;
        while (at < n && isDigit(text[at])) ++at;
        if (at == start) break;
        d.intDigits.append(text, start, at - start);
        runs.push_back(at - start);
        const std::size_t sep = thousandsAt(text, at, seps);
        if (sep == 0 || at + sep >= n || !isDigit(text[at + sep])) break;
        at += sep;
    }
    if (startsWith(text, at, seps.decimalPoint)) {
        at += seps.decimalPoint.size();
        const std::size_t start = at;
        while (at < n && isDigit(text[at])) ++at;
        d.fracDigits.assign(text, start, at - start);
    }
    if (!groupsFit(runs, seps.rule)) return false;
    const std::size_t first = d.intDigits.find_first_not_of('0');
    d.intDigits.erase(0, first == std::string::npos ? d.intDigits.size() : first);
    return true;
}

// Where the currency form puts the sign, the symbol and the number.
std::string layoutOf(const CurrencyForm& form, char sign) {
    const std::string g(1, sign);
    switch (form.signPosition) {
        case SignPosition::Parentheses: return {};
        case SignPosition::BeforeAll: return form.symbolPrecedes ? g + "Sn" : g + "nS";
        case SignPosition::AfterAll: return form.symbolPrecedes ? "Sn" + g : "nS" + g;
        case SignPosition::BeforeSymbol: return form.symbolPrecedes ? g + "Sn" : "n" + g + "S";
        case SignPosition::AfterSymbol: return form.symbolPrecedes ? "S" + g + "n" : "nS" + g;
    }
    return {};
}

std::string withoutSymbol(std::string layout) {
    std::erase(layout, kSymbol);
    return layout;
}

bool signFollowsNumbers(const RegionalSettings& s) {
    return s.negativeNumberForm == NegativeNumberForm::SignAfter ||
           s.negativeNumberForm == NegativeNumberForm::SignSpaceAfter;
}

bool patternAllowed(std::string_view parts, const RegionalSettings& s, bool currency) {
    if (!currency)
        return parts == "n" || parts == "gn" || parts == "pn" || parts == "(n)" ||
               (parts == "ng" && signFollowsNumbers(s));
    std::vector<std::string> bases{"n"};
    if (s.positiveForm.symbolPrecedes || s.negativeForm.symbolPrecedes) bases.emplace_back("Sn");
    if (!s.positiveForm.symbolPrecedes || !s.negativeForm.symbolPrecedes) bases.emplace_back("nS");
    for (const std::string& base : bases) {
        if (parts == base || parts == "g" + base || parts == "p" + base ||
            parts == "(" + base + ")")
            return true;
    }
    for (const auto& [form, sign] : {std::pair{&s.negativeForm, 'g'}, std::pair{&s.positiveForm, 'p'}}) {
        const std::string layout = layoutOf(*form, sign);
        if (!layout.empty() && (parts == layout || parts == withoutSymbol(layout))) return true;
    }
    return false;
}

std::optional<Decimal> readWith(std::string_view text, const RegionalSettings& s, bool currency) {
    std::string_view point = currency ? s.monDecimalPoint : s.decimalPoint;
    if (point.empty()) point = ".";
    const std::string_view thousands = currency ? s.monThousandsSep : s.thousandsSep;
    const Separators seps{point, thousands, isSpaceLike(thousands),
                          GroupRule(currency ? s.monGrouping : s.grouping)};

    std::vector<std::pair<std::string_view, Part>> marks{
        {"-", kMinus}, {kMinusSign, kMinus}, {s.negativeSign, kMinus},
        {s.numberNegativeSign, kMinus}, {"+", kPlus},
        {s.positiveSign, kPlus}, {"(", kOpen}, {")", kClose}};
    if (currency) marks.emplace_back(s.currencySymbol, kSymbol);

    Decimal d;
    std::string parts;
    const std::size_t n = text.size();
    std::size_t at = 0;
    while (at < n) {
        std::size_t longest = 0;
        Part part = kNumber;
        for (const auto& [mark, kind] : marks) {
            if (mark.size() > longest && startsWith(text, at, mark)) {
                longest = mark.size();
                part = kind;
            }
        }
        if (longest == 0) {
            if (const std::size_t blank = blankAt(text, at)) {
                at += blank;
                continue;
            }
            const bool number = isDigit(text[at]) || (startsWith(text, at, point) &&
                                                       at + point.size() < n &&
                                                       isDigit(text[at + point.size()]));
            if (!number || parts.find(kNumber) != std::string::npos) return std::nullopt;
            if (!scanNumber(text, at, seps, d)) return std::nullopt;
        } else {
            at += longest;
        }
        if (parts.size() == kMostParts) return std::nullopt;
        parts += part;
    }
    if (parts.find(kNumber) == std::string::npos || !patternAllowed(parts, s, currency))
        return std::nullopt;
    d.negative = parts.find(kMinus) != std::string::npos || parts.front() == kOpen;
    return d;
}

}  // namespace

bool Decimal::isZero() const {
    return intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;
}

GroupRule::GroupRule(const std::vector<int>& grouping) {
    for (int size : grouping) {
        if (size == 0) break;  // the one before repeats
        if (size < 0 || size >= CHAR_MAX) {
            stops_ = true;
            break;
        }
        sizes_.push_back(size);
    }
}

int GroupRule::size(std::size_t i) const {
    if (sizes_.empty()) return 0;
    if (i < sizes_.size()) return sizes_[i];
    return stops_ ? 0 : sizes_.back();
}

std::optional<Decimal> read(std::string_view text, const RegionalSettings& settings) {
    if (std::optional<Decimal> plain = readWith(text, settings, false)) return plain;
    return readWith(text, settings, true);
}

}  // namespace tf::text
