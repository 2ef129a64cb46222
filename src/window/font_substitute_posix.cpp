// fontconfig knows which installed family is closest to Verdana (DejaVu Sans on Debian): the
// family of its best match for Verdana, asked of fontconfig directly, once a process (from
// any thread: the start-up asks for it while Qt starts). Asked through a QFont instead, Qt
// would load that font at a size the window never shows.
#include <fontconfig/fontconfig.h>

#include <memory>

#include "window/font_substitute.h"

namespace tf {

namespace {

QString bestMatchForVerdana() {
    using Pattern = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
    const Pattern wanted(FcNameParse(reinterpret_cast<const FcChar8*>("Verdana")), FcPatternDestroy);
    if (!wanted) return {};
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(nullptr, wanted.get(), &result), FcPatternDestroy);
    FcChar8* family = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(family));
}

}  // namespace

QString verdanaSubstitute() {
    static const QString family = bestMatchForVerdana();
    return family;
}

}  // namespace tf
