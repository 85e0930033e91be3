// A date as Date.prototype.toISOString gives it, computed without running
// script code.
#ifndef KITE_ISO_DATE_H
#define KITE_ISO_DATE_H

#include <string>

namespace Kite {

// DTIME in milliseconds since 1970-01-01; "Invalid Date" for NaN.
std::string IsoDateText(double dTime);

}  // namespace Kite

#endif
