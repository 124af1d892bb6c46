#include "services/version_tables.h"

namespace tambre::services {

namespace {

bool is_nt(const sys::os_version& v) { return v.platform == sys::platform_nt; }
bool is_9x(const sys::os_version& v) { return v.platform == sys::platform_9x; }

int nt_code(const sys::os_version& v) {
  const bool workstation = v.product_type == sys::product_workstation;
  if (v.major < 5) return 3;
  if (v.major == 5) {
    static const int codes[] = {4, 5, 6};
    return v.minor <= 2 ? codes[v.minor] : 14;
  }
  if (v.major == 6) {
    switch (v.minor) {
      case 0:
        return workstation ? 7 : 8;
      case 1:
        return workstation ? 9 : 8;
      case 2:
        return workstation ? 11 : 10;
      case 3:
        return workstation ? 12 : 13;
      default:
        return 14;
    }
  }
  return 14;
}

int nine_x_code(const sys::os_version& v) {
  if (v.major < 4) return 0;
  if (v.major > 4) return 6;
  if (v.minor >= 90) return -1;
  return v.minor < 10 ? 1 : 2;
}

// NT 5.1 and later.
bool xp_or_later(const sys::os_version& v) { return v.major > 5 || (v.major == 5 && v.minor >= 1); }

}  // namespace

int version_code(const sys::os_version& version) {
  if (is_nt(version)) return nt_code(version);
  if (is_9x(version)) return nine_x_code(version);
  return 0;
}

const char* version_name(int code) {
  static const char* const names[] = {
      "Windows Me",       "Windows (higher)",    "Windows 95",          "Windows 98",    "Windows NT",
      "Windows 2000",     "Windows XP",          "Windows Server 2003", "Windows Vista", "Windows Server 2008",
      "Windows 7",        "Windows Server 2012", "Windows 8",           "Windows 8.1",   "Windows Server 2012 R2",
      "Windows (higher)",
  };
  return code >= -1 && code <= 14 ? names[code + 1] : names[1];
}

int version_param(const sys::os_version& v, int selector, int (*wow64)()) {
  const bool nt = is_nt(v), nine_x = is_9x(v);
  switch (selector) {
    case 0:
    case 4:
    case 32:
    case 33:
      return nt;
    case 1:
      return nt && v.major >= 5;
    case 2:
      return nine_x && v.minor == 0;
    case 3:
      return nine_x && v.minor >= 10 && v.major >= 4;
    case 5:
      return nt && v.major >= 4;
    case 6:
      return nt || version_param(v, 3, wow64);
    case 7:
      return version_param(v, 1, wow64) || version_param(v, 3, wow64) || version_param(v, 15, wow64);
    case 8:
      return !nt || v.major > 4;
    case 9:
      return nt && xp_or_later(v);
    case 10:
      return nt && (v.major >= 6 || (v.major == 5 && v.minor >= 2));
    case 12:
      return nt && v.major >= 6;
    case 19:
      return wow64 != nullptr && wow64() == 1;
    case 34:
      return xp_or_later(v) ? 48 : 40;
    default:
      break;
  }
  // Questions on the version code: selector -> the lowest code that answers yes.
  static const struct {
    int selector, lowest_code;
  } code_questions[] = {{11, 7}, {13, 8}, {14, 9}, {15, 11}, {16, 10}, {17, 12}, {18, 13}};
  for (const auto& question : code_questions) {
    if (question.selector == selector) return version_code(v) >= question.lowest_code;
  }
  return 0;
}

std::intptr_t version_name_answer(const sys::os_version& version, int selector) {
  switch (selector) {
    case 1:
      return reinterpret_cast<std::intptr_t>(version.service_pack);
    case 2:
      return is_9x(version) ? (version.build & 0xFFFF) : version.build;
    case 3:
      return version.major;
    case 4:
      return version.minor;
    default:
      return reinterpret_cast<std::intptr_t>(version_name(version_code(version)));
  }
}

}  // namespace tambre::services
