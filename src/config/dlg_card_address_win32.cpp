// Reads an I/O card address that a user typed into a dialog field.
#include <windows.h>

#include <cstdlib>

#include "string_ids.h"
#include "tambre32/frame.h"
#include "tambre32/io.h"
#include "tambre32/settings.h"

namespace {

// Card addresses are typed as at most 11 characters.
constexpr int kFieldText = 12;
constexpr unsigned long kHighestPort = 0xFFFF;

// The field's hexadecimal value, or false when the text is no 16-bit number: the
// conversion must end at the text's end or at a blank.
bool parse_card_address(const char* text, unsigned long& value) {
  char* end = nullptr;
  value = std::strtoul(text, &end, 16);
  return value <= kHighestPort && (*end == '\0' || *end == ' ');
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL) GetDlgCardAddress(HWND dialog, int control, DWORD* address, short message) {
  if (address == nullptr) return 0;
  char text[kFieldText] = "";
  if (GetDlgItemTextA(dialog, control, text, kFieldText) == 0 || text[0] == '\0') return 0;
  unsigned long value = 0;
  if (!parse_card_address(text, value)) {
    // A typing mistake, not a system fault: a warning rather than an error box.
    if (message != 0) MessageFMTBox(nullptr, IDS_CARD_ADDRESS_INVALID, MB_OK | MB_ICONEXCLAMATION, text);
    return 0;
  }
  // Tells the user itself why a port of the PC cannot be taken.
  if (IOIsSystemPort(static_cast<DWORD>(value), message) != 0) return 0;
  *address = static_cast<DWORD>(value);
  return 1;
}
