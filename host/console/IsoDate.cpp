#include "console/IsoDate.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace Kite {

namespace {

const int64_t MS_PER_DAY = 86400000;

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t iDays, int64_t& iYear, int& iMonth, int& iDay)
{
    iDays += 719468;
    int64_t iEra = (iDays >= 0 ? iDays : iDays - 146096) / 146097;
    int64_t iDayOfEra = iDays - iEra * 146097;
    int64_t iYearOfEra = (iDayOfEra - iDayOfEra / 1460 + iDayOfEra / 36524 - iDayOfEra / 146096) / 365;
    int64_t iDayOfYear = iDayOfEra - (365 * iYearOfEra + iYearOfEra / 4 - iYearOfEra / 100);
    int64_t iMonthIndex = (5 * iDayOfYear + 2) / 153;
    iDay = static_cast<int>(iDayOfYear - (153 * iMonthIndex + 2) / 5 + 1);
    iMonth = static_cast<int>(iMonthIndex < 10 ? iMonthIndex + 3 : iMonthIndex - 9);
    iYear = iYearOfEra + iEra * 400 + (iMonth <= 2 ? 1 : 0);
}

// Four digits within 0..9999, else a sign and six digits.
std::string YearText(int64_t iYear)
{
    char szYear[24];
    if (iYear >= 0 && iYear <= 9999)
        std::snprintf(szYear, sizeof szYear, "%04lld", static_cast<long long>(iYear));
    else
        std::snprintf(szYear, sizeof szYear, "%c%06lld", iYear < 0 ? '-' : '+',
                      static_cast<long long>(iYear < 0 ? -iYear : iYear));
    return szYear;
}

}  // namespace

std::string IsoDateText(double dTime)
{
    if (std::isnan(dTime))
        return "Invalid Date";
    int64_t iTime = static_cast<int64_t>(dTime);
    int64_t iDays = (iTime >= 0 ? iTime : iTime - (MS_PER_DAY - 1)) / MS_PER_DAY;
    int64_t iOfDay = iTime - iDays * MS_PER_DAY;
    int64_t iYear;
    int iMonth, iDay;
    CivilFromDays(iDays, iYear, iMonth, iDay);
    char szText[48];
    std::snprintf(szText, sizeof szText, "%s-%02d-%02dT%02d:%02d:%02d.%03dZ", YearText(iYear).c_str(), iMonth, iDay,
                  static_cast<int>(iOfDay / 3600000), static_cast<int>(iOfDay / 60000 % 60),
                  static_cast<int>(iOfDay / 1000 % 60), static_cast<int>(iOfDay % 1000));
    return szText;
}

}  // namespace Kite
