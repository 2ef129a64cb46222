#include "window/control_table.h"

#include "refdata/control_names.h"

namespace tf {

namespace {

using K = ControlKind;
using A = TextAlign;
using V = VerticalAlign;

constexpr FontSpec kBold975{9.75, true, false};
constexpr Rgb kPlum{64, 0, 64};
// The text on every background the worksheet fixes (its cyan, the white figure fields):
// fixed too, so a dark desktop scheme cannot put light text on them.
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRowLabel{136, 255, 255};
constexpr Rgb kHeader{128, 255, 255};
constexpr std::optional<Rgb> kDefault{};

}  // namespace

// clang-format off
const std::array<ControlSpec, kControlCount> kControls = {{
// name             kind              text                       tooltip                                               left   top    width  height tab font                      fg        bg          align      enabled visible accessible name
{name::lbTitle,     K::Label,         "Cost Estimate Worksheet", nullptr,                                              -240,  240,   12135, 615,   0,  {24.0, true, false},      kInk,     kDefault,   A::Centre, true,  true,  nullptr},
{name::lbState,     K::Label,         "Select a State",          nullptr,                                              0,     960,   11895, 495,   1,  {15.75, true, false},     kInk,     kDefault,   A::Centre, true,  true,  nullptr},
{name::cbState,     K::StateList,     "Select a State First",    nullptr,                                              4680,  1440,  2535,  360,   2,  kWindowFont,              kDefault, kDefault,   A::Left,   true,  true,  "State"},
{name::lbInitial,   K::Label,         "Initial Claims",          nullptr,                                              240,   3120,  1815,  375,   3,  kBold975,                 kInk,     kRowLabel,  A::Right,  true,  true,  nullptr},
{name::lbWeekly,    K::Label,         "Weekly Claims",           nullptr,                                              240,   3720,  1815,  375,   4,  kBold975,                 kInk,     kRowLabel,  A::Right,  true,  true,  nullptr},
{name::lbNM,        K::Label,         "Non Monetary",            nullptr,                                              240,   4320,  1815,  375,   5,  kBold975,                 kInk,     kRowLabel,  A::Right,  true,  true,  nullptr},
{name::lbAppeals,   K::Label,         "Appeals",                 nullptr,                                              240,   4920,  1815,  375,   6,  kBold975,                 kInk,     kRowLabel,  A::Right,  true,  true,  nullptr},
{name::lbTax,       K::Label,         "Tax",                     nullptr,                                              240,   5520,  1815,  375,   7,  kBold975,                 kInk,     kRowLabel,  A::Right,  true,  true,  nullptr},
{name::lbSalary,    K::Label,         "Salary",                  "Average Salary per Function",                        2640,  2520,  1215,  375,   8,  kBold975,                 kInk,     kHeader,    A::Centre, true,  true,  nullptr, false, V::Bottom},
{name::lbAST,       K::Label,         "AS&T",                    "Administration, Services, & Technical Support Cost", 3960,  2520,  1215,  375,   9,  kBold975,                 kInk,     kHeader,    A::Centre, true,  true,  nullptr, false, V::Bottom},
{name::lbNPS,       K::Label,         "NPS",                     "Non-Personal Services Costs",                        5280,  2520,  1215,  375,   10, kBold975,                 kInk,     kHeader,    A::Centre, true,  true,  nullptr, false, V::Bottom},
{name::lbHrlyCost,  K::Label,         "Average Hourly Cost",     "Total Average Hourly Costs",                         6600,  2040,  1215,  855,   11, kBold975,                 kInk,     kHeader,    A::Centre, true,  true,  nullptr, true, V::Bottom},
{name::lbHours,     K::Label,         "Estimated Hours",         nullptr,                                              8040,  2280,  1215,  615,   12, kBold975,                 kInk,     kHeader,    A::Centre, true,  true,  nullptr, true, V::Bottom},
{name::lbICCost,    K::Label,         "Category Cost",           nullptr,                                              9840,  2280,  1215,  615,   13, kBold975,                 kInk,     kHeader,    A::Centre, true,  true,  nullptr, true, V::Bottom},
{name::cbICSal,     K::ComponentList, "",                        nullptr,                                              2760,  3120,  975,   360,   14, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Initial Claims, Salary"},
{name::cbWKSal,     K::ComponentList, "",                        nullptr,                                              2760,  3720,  975,   360,   15, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Weekly Claims, Salary"},
{name::cbNMSal,     K::ComponentList, "",                        nullptr,                                              2760,  4320,  975,   360,   16, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Non Monetary, Salary"},
{name::cbAPSal,     K::ComponentList, "",                        nullptr,                                              2760,  4920,  975,   360,   17, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Appeals, Salary"},
{name::cbTaxSal,    K::ComponentList, "",                        nullptr,                                              2760,  5520,  975,   360,   18, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Tax, Salary"},
{name::cbICAST,     K::ComponentList, "",                        nullptr,                                              4080,  3120,  975,   360,   19, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Initial Claims, AS&T"},
{name::cbWKAST,     K::ComponentList, "",                        nullptr,                                              4080,  3720,  975,   360,   20, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Weekly Claims, AS&T"},
{name::cbNMAST,     K::ComponentList, "",                        nullptr,                                              4080,  4320,  975,   360,   21, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Non Monetary, AS&T"},
{name::cbAPAST,     K::ComponentList, "",                        nullptr,                                              4080,  4920,  975,   360,   22, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Appeals, AS&T"},
{name::cbTaxAST,    K::ComponentList, "",                        nullptr,                                              4080,  5520,  975,   360,   23, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Tax, AS&T"},
{name::cbICNPS,     K::ComponentList, "",                        nullptr,                                              5400,  3120,  975,   360,   24, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Initial Claims, NPS"},
{name::cbWKNPS,     K::ComponentList, "",                        nullptr,                                              5400,  3720,  975,   360,   25, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Weekly Claims, NPS"},
{name::cbNMNPS,     K::ComponentList, "",                        nullptr,                                              5400,  4320,  975,   360,   26, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Non Monetary, NPS"},
{name::cbAPNPS,     K::ComponentList, "",                        nullptr,                                              5400,  4920,  975,   360,   27, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Appeals, NPS"},
{name::cbTaxNPS,    K::ComponentList, "",                        nullptr,                                              5400,  5520,  975,   360,   28, kBold975,                 kPlum,    kWhite,     A::Left,   false, true,  "Tax, NPS"},
{name::tbICHour,    K::TextBox,       "",                        nullptr,                                              6720,  3120,  975,   375,   29, kBold975,                 kPlum,    kWhite,     A::Right,  false, true,  "Initial Claims, Average Hourly Cost"},
{name::tbWKHour,    K::TextBox,       "",                        nullptr,                                              6720,  3720,  975,   375,   30, kBold975,                 kPlum,    kWhite,     A::Right,  false, true,  "Weekly Claims, Average Hourly Cost"},
{name::tbNMHour,    K::TextBox,       "",                        nullptr,                                              6720,  4320,  975,   375,   31, kBold975,                 kPlum,    kWhite,     A::Right,  false, true,  "Non Monetary, Average Hourly Cost"},
{name::tbAPHour,    K::TextBox,       "",                        nullptr,                                              6720,  4920,  975,   375,   32, kBold975,                 kPlum,    kWhite,     A::Right,  false, true,  "Appeals, Average Hourly Cost"},
{name::tbTaxHour,   K::TextBox,       "",                        nullptr,                                              6720,  5520,  975,   375,   33, kBold975,                 kPlum,    kWhite,     A::Right,  false, true,  "Tax, Average Hourly Cost"},
{name::tbHoursIC,   K::TextBox,       "0",                       nullptr,                                              8040,  3120,  1215,  375,   34, kWindowFont,              kDefault, kDefault,   A::Right,  true,  false, "Initial Claims, Estimated Hours"},
{name::tbHoursWC,   K::TextBox,       "0",                       nullptr,                                              8040,  3720,  1215,  375,   35, kWindowFont,              kDefault, kDefault,   A::Right,  true,  false, "Weekly Claims, Estimated Hours"},
{name::tbHoursNM,   K::TextBox,       "0",                       nullptr,                                              8040,  4320,  1215,  375,   36, kWindowFont,              kDefault, kDefault,   A::Right,  true,  false, "Non Monetary, Estimated Hours"},
{name::tbHoursAP,   K::TextBox,       "0",                       nullptr,                                              8040,  4920,  1215,  375,   37, kWindowFont,              kDefault, kDefault,   A::Right,  true,  false, "Appeals, Estimated Hours"},
{name::tbHoursTax,  K::TextBox,       "0",                       nullptr,                                              8040,  5520,  1215,  375,   38, kWindowFont,              kDefault, kDefault,   A::Right,  true,  false, "Tax, Estimated Hours"},
{name::tbCostIC,    K::TextBox,       "0",                       nullptr,                                              9480,  3120,  2000,  375,   39, kBold975,                 kInk,     kWhite,     A::Right,  false, true,  "Initial Claims, Category Cost"},
{name::tbCostWC,    K::TextBox,       "0",                       nullptr,                                              9480,  3720,  2000,  375,   40, kBold975,                 kInk,     kWhite,     A::Right,  false, true,  "Weekly Claims, Category Cost"},
{name::tbCostNM,    K::TextBox,       "0",                       nullptr,                                              9480,  4320,  2000,  375,   41, kBold975,                 kInk,     kWhite,     A::Right,  false, true,  "Non Monetary, Category Cost"},
{name::tbCostAP,    K::TextBox,       "0",                       nullptr,                                              9480,  4920,  2000,  375,   42, kBold975,                 kInk,     kWhite,     A::Right,  false, true,  "Appeals, Category Cost"},
{name::tbCostTax,   K::TextBox,       "0",                       nullptr,                                              9480,  5520,  2000,  375,   43, kBold975,                 kInk,     kWhite,     A::Right,  false, true,  "Tax, Category Cost"},
{name::tbTotal,     K::TextBox,       "0",                       nullptr,                                              9480,  6120,  2000,  375,   44, kBold975,                 kInk,     kWhite,     A::Right,  false, true,  "Total Cost"},
{name::lbTotal,     K::Label,         "Total Hours & Cost:",     nullptr,                                              5400,  6120,  2295,  375,   45, kBold975,                 kInk,     kRowLabel,  A::Right,  true,  true,  nullptr},
{name::cbUpdate,    K::PushButton,    "Update",                  "Updates Costs",                                      1680,  7200,  1815,  495,   46, kWindowFont,              kDefault, kDefault,   A::Centre, true,  true,  nullptr},
{name::cbPrint,     K::PushButton,    "Print Form",              "Print to Default Printer",                           3840,  7200,  1815,  495,   47, kWindowFont,              kDefault, kDefault,   A::Centre, true,  true,  nullptr},
{name::cbClear,     K::PushButton,    "Clear Form",              "Reset the Form",                                     6000,  7200,  1815,  495,   48, kWindowFont,              kDefault, kDefault,   A::Centre, true,  true,  nullptr},
{name::cbClose,     K::PushButton,    "Close & Exit",            "Quit the Application",                               8160,  7200,  1815,  495,   49, kWindowFont,              kDefault, kDefault,   A::Centre, true,  true,  nullptr},
{name::tbTotHours,  K::TextBox,       "0",                       nullptr,                                              8040,  6120,  1215,  375,   50, kWindowFont,              kDefault, kDefault,   A::Right,  true,  true,  "Total Hours"},
{name::lbHelp,      K::Label,         "",                        nullptr,                                              480,   8040,  10995, 1095,  51, {11.25, true, false},     kInk,     kDefault,   A::Left,   true,  false, nullptr, true, V::Top},
}};
// clang-format on

}  // namespace tf
