#pragma once
// Locale snapshots of the regions the texts are tested in.
#include "locale/locale_snapshot.h"

namespace tambre::test {

// Germany: 05.03.2024, 08:04:09, 3,5.
inline locale::locale_snapshot german_locale() { return {".", ":", ",", ".", "DMY"}; }
// United States: 03/05/2024, 08:04:09, 3.5.
inline locale::locale_snapshot english_locale() { return {"/", ":", ".", ",", "MDY"}; }
// Year first with dots: 2024.03.05.
inline locale::locale_snapshot year_first_locale() { return {".", ":", ".", ",", "YMD"}; }

}  // namespace tambre::test
