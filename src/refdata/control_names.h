#pragma once
// The names of the worksheet's 52 controls, and the controls of its five rows. Every part
// of the program names a control through these: the window builds its controls under
// them, the handlers read and write the texts of them, the cost table fills the lists
// named after its columns.
#include <array>
#include <cstddef>

namespace tf {

namespace name {
inline constexpr char lbTitle[] = "lbTitle";
inline constexpr char lbState[] = "lbState";
inline constexpr char cbState[] = "cbState";
inline constexpr char lbInitial[] = "lbInitial";
inline constexpr char lbWeekly[] = "lbWeekly";
inline constexpr char lbNM[] = "lbNM";
inline constexpr char lbAppeals[] = "lbAppeals";
inline constexpr char lbTax[] = "lbTax";
inline constexpr char lbSalary[] = "lbSalary";
inline constexpr char lbAST[] = "lbAST";
inline constexpr char lbNPS[] = "lbNPS";
inline constexpr char lbHrlyCost[] = "lbHrlyCost";
inline constexpr char lbHours[] = "lbHours";
inline constexpr char lbICCost[] = "lbICCost";
inline constexpr char cbICSal[] = "cbICSal";
inline constexpr char cbWKSal[] = "cbWKSal";
inline constexpr char cbNMSal[] = "cbNMSal";
inline constexpr char cbAPSal[] = "cbAPSal";
inline constexpr char cbTaxSal[] = "cbTaxSal";
inline constexpr char cbICAST[] = "cbICAST";
inline constexpr char cbWKAST[] = "cbWKAST";
inline constexpr char cbNMAST[] = "cbNMAST";
inline constexpr char cbAPAST[] = "cbAPAST";
inline constexpr char cbTaxAST[] = "cbTaxAST";
inline constexpr char cbICNPS[] = "cbICNPS";
inline constexpr char cbWKNPS[] = "cbWKNPS";
inline constexpr char cbNMNPS[] = "cbNMNPS";
inline constexpr char cbAPNPS[] = "cbAPNPS";
inline constexpr char cbTaxNPS[] = "cbTaxNPS";
inline constexpr char tbICHour[] = "tbICHour";
inline constexpr char tbWKHour[] = "tbWKHour";
inline constexpr char tbNMHour[] = "tbNMHour";
inline constexpr char tbAPHour[] = "tbAPHour";
inline constexpr char tbTaxHour[] = "tbTaxHour";
inline constexpr char tbHoursIC[] = "tbHoursIC";
inline constexpr char tbHoursWC[] = "tbHoursWC";
inline constexpr char tbHoursNM[] = "tbHoursNM";
inline constexpr char tbHoursAP[] = "tbHoursAP";
inline constexpr char tbHoursTax[] = "tbHoursTax";
inline constexpr char tbCostIC[] = "tbCostIC";
inline constexpr char tbCostWC[] = "tbCostWC";
inline constexpr char tbCostNM[] = "tbCostNM";
inline constexpr char tbCostAP[] = "tbCostAP";
inline constexpr char tbCostTax[] = "tbCostTax";
inline constexpr char tbTotal[] = "tbTotal";
inline constexpr char lbTotal[] = "lbTotal";
inline constexpr char cbUpdate[] = "cbUpdate";
inline constexpr char cbPrint[] = "cbPrint";
inline constexpr char cbClear[] = "cbClear";
inline constexpr char cbClose[] = "cbClose";
inline constexpr char tbTotHours[] = "tbTotHours";
inline constexpr char lbHelp[] = "lbHelp";
}  // namespace name

// The five workload functions, in row order: Initial Claims, Weekly Claims, Non Monetary,
// Appeals, Tax. Every sum over the rows adds them in this order.
inline constexpr std::size_t kRowCount = 5;

// The controls of one row.
struct RowControls {
    const char* hours;    // the hours typed (tbHoursIC)
    const char* average;  // the average hourly cost (tbICHour)
    const char* cost;     // the category cost (tbCostIC)
    const char* salary;   // the three component lists (cbICSal, cbICAST, cbICNPS)
    const char* ast;
    const char* nps;
};

inline constexpr std::array<RowControls, kRowCount> kRows = {{
    {name::tbHoursIC, name::tbICHour, name::tbCostIC, name::cbICSal, name::cbICAST, name::cbICNPS},
    {name::tbHoursWC, name::tbWKHour, name::tbCostWC, name::cbWKSal, name::cbWKAST, name::cbWKNPS},
    {name::tbHoursNM, name::tbNMHour, name::tbCostNM, name::cbNMSal, name::cbNMAST, name::cbNMNPS},
    {name::tbHoursAP, name::tbAPHour, name::tbCostAP, name::cbAPSal, name::cbAPAST, name::cbAPNPS},
    {name::tbHoursTax, name::tbTaxHour, name::tbCostTax, name::cbTaxSal, name::cbTaxAST, name::cbTaxNPS},
}};

}  // namespace tf
