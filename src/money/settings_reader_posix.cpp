// The user's regional settings, as the C library's locale reports them: LANG, LC_ALL
// and LC_MONETARY / LC_NUMERIC select them the usual way.
#include "money/settings_reader.h"

#include <climits>
#include <clocale>
#include <string>

namespace tf {

namespace {

std::vector<int> groupingOf(const char* grouping) {
    std::vector<int> sizes;
    if (grouping == nullptr) return sizes;
    for (const char* p = grouping; *p != '\0'; ++p) {
        const int size = static_cast<int>(*p);
        sizes.push_back(size);
        if (size < 0 || size == CHAR_MAX) break;
    }
    return sizes;
}

std::string textOf(const char* s) { return s == nullptr ? std::string() : std::string(s); }

// A CurrencyForm from localeconv()'s cs_precedes, sep_by_space and sign_posn, each of
// which may be CHAR_MAX for "not given".
CurrencyForm formOf(char precedes, char bySpace, char signPosn, const CurrencyForm& fallback) {
    CurrencyForm form = fallback;
    if (precedes == 0 || precedes == 1) form.symbolPrecedes = precedes == 1;
    if (bySpace >= 0 && bySpace <= 2) form.separatedBySpace = bySpace;
    if (signPosn >= 0 && signPosn <= 4) form.signPosition = static_cast<SignPosition>(signPosn);
    return form;
}

}  // namespace

// Reads the settings with setlocale(LC_ALL, "") and localeconv(). The process locale
// is put back as it was afterwards: the conversions never depend on it, and other code
// of the program keeps the locale it started with.
RegionalSettings readUserSettings() {
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string previous = current == nullptr ? std::string("C") : std::string(current);

    RegionalSettings s;
    if (std::setlocale(LC_ALL, "") == nullptr) {
        // Some category names a locale that is not installed, and the C library then
        // changes none. The two categories read here may still name good ones.
        std::setlocale(LC_MONETARY, "");
        std::setlocale(LC_NUMERIC, "");
    }
    const std::lconv* lc = std::localeconv();

    s.decimalPoint = textOf(lc->decimal_point);
    if (s.decimalPoint.empty()) s.decimalPoint = ".";
    s.thousandsSep = textOf(lc->thousands_sep);
    s.grouping = groupingOf(lc->grouping);
    // The C library's locales write every negative number as "-5".
    s.numberNegativeSign = "-";
    s.negativeNumberForm = NegativeNumberForm::SignBefore;

    s.currencySymbol = textOf(lc->currency_symbol);
    s.monDecimalPoint = textOf(lc->mon_decimal_point);
    if (s.monDecimalPoint.empty()) s.monDecimalPoint = s.decimalPoint;
    s.monThousandsSep = textOf(lc->mon_thousands_sep);
    s.monGrouping = groupingOf(lc->mon_grouping);
    s.currencyDigits = lc->frac_digits == CHAR_MAX || lc->frac_digits < 0 ? 2 : lc->frac_digits;
    s.leadingZero = true;
    s.positiveSign = textOf(lc->positive_sign);
    s.negativeSign = textOf(lc->negative_sign);
    if (s.negativeSign.empty()) s.negativeSign = "-";
    const RegionalSettings defaults;
    s.positiveForm = formOf(lc->p_cs_precedes, lc->p_sep_by_space, lc->p_sign_posn, defaults.positiveForm);
    s.negativeForm = formOf(lc->n_cs_precedes, lc->n_sep_by_space, lc->n_sign_posn, defaults.negativeForm);

    std::setlocale(LC_ALL, previous.c_str());
    return s;
}

}  // namespace tf
