// The system's open and save dialogs, described by string-table entries, with a start
// directory, a retry after an invalid file name and a remembered filter per description.
#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <string>

#include "frame/host_services.h"
#include "string_ids.h"
#include "sys/module_instance.h"
#include "tambre32/settings.h"
#include "tambre32/strutil.h"
#include "tambre32/ui.h"
#include "ui/file_chooser_text.h"
#include "ui/resource_string_win32.h"

namespace {

constexpr int kDescriptionChars = 512;
constexpr int kWorkChars = 260;
constexpr DWORD kOpenOptions =
    OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOTESTFILECREATE | OFN_LONGNAMES;
constexpr DWORD kSaveOptions = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN | OFN_LONGNAMES;
constexpr UINT kFirstRemembered = IDS_CHOOSE_DRIVER;  // 400..407 remember their filter
constexpr UINT kLastRemembered = IDS_CHOOSE_PROGRAM;
constexpr char kSection[] = "Tambre";

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(OPENFILENAMEA) == 88, "the full dialog record, with the places bar fields");
#endif

// A working text of at most kWorkChars characters, with room for the filter list's
// second terminator.
struct work_text {
  char text[kWorkChars + 2] = {};
  explicit work_text(const std::string& from) { strxcpy(text, from.c_str(), kWorkChars + 1); }
};

bool is_given(const char* text) { return text != nullptr && text[0] != '\0'; }

std::string library_string(UINT id) {
  return tambre::ui::load_resource_string(tambre::sys::module_instance(), id, kWorkChars).value_or("");
}

std::string filter_key(UINT description) {
  char key[32];
  std::snprintf(key, sizeof key, "FilterIndex%u", description);
  return key;
}

bool remembers_filter(UINT description) { return description >= kFirstRemembered && description <= kLastRemembered; }

// The dialog itself; `description` is the string id behind it, 0 for none.
int choose_file(HWND owner, char* file, int size, DWORD mode, const char* title, const char* filter,
                const char* start_dir, const char* default_ext, UINT description) {
  if (file == nullptr || size <= 0) return 0;
  work_text title_text(is_given(title) ? title : library_string(IDS_FILE_CHOOSER_TITLE));
  work_text filter_list(is_given(filter) ? filter : library_string(IDS_FILE_CHOOSER_FILTER));
  char host_dir[tambre::frame::host_directory_size] = "";
  if (file[0] == '\0' && !is_given(start_dir)) tambre::frame::query_host_directory(1, host_dir);
  work_text directory(tambre::ui::start_directory(file, start_dir, host_dir));
  const unsigned pairs = static_cast<unsigned>(tambre::ui::replace_filter_bars(filter_list.text)) / 2;

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter_list.text;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = static_cast<DWORD>(size);
  dialog.lpstrInitialDir = directory.text[0] != '\0' ? directory.text : nullptr;
  dialog.lpstrTitle = title_text.text;
  dialog.lpstrDefExt = is_given(default_ext) ? default_ext : nullptr;
  const std::string key = filter_key(description);
  if (remembers_filter(description))
    dialog.nFilterIndex = tambre::ui::initial_filter_index(GetUsrIniInt(kSection, key.c_str(), 0), pairs);
  const bool open = (mode & TAMBRE_CHOOSE_OPEN) != 0;
  dialog.Flags = (mode & ~TAMBRE_CHOOSE_OPEN) | (open ? kOpenOptions : kSaveOptions);

  BOOL chosen = FALSE;
  for (;;) {
    chosen = open ? GetOpenFileNameA(&dialog) : GetSaveFileNameA(&dialog);
    if (chosen || CommDlgExtendedError() != FNERR_INVALIDFILENAME) break;
    file[0] = '\0';  // the proposal was not a valid name: ask again without it
  }
  if (remembers_filter(description)) WriteUsrIniInt(kSection, key.c_str(), static_cast<LONG>(dialog.nFilterIndex));
  return chosen;
}

}  // namespace

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ChooseFileName(HWND owner, char* file, int size, DWORD mode, UINT description, const char* start_dir) {
  auto text = tambre::ui::load_resource_string(tambre::sys::module_instance(), description, kDescriptionChars);
  if (!text) return 0;
  tambre::ui::file_dialog_description parts = tambre::ui::split_file_dialog_description(text->c_str());
  // The description id travels with the call rather than in a module-wide variable, so
  // only dialogs opened from a description remember their filter.
  return choose_file(owner, file, size, mode, parts.title.c_str(), parts.filter.c_str(), start_dir,
                     parts.default_ext.c_str(), description);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL)
ChooseFileName2(HWND owner, char* file, int size, DWORD mode, const char* title, const char* filter,
                const char* start_dir, const char* default_ext) {
  return choose_file(owner, file, size, mode, title, filter, start_dir, default_ext, 0);
}

TAMBRE_EXPORT(int, TAMBRE_STDCALL) PrepareFilter(char* filter) { return tambre::ui::replace_filter_bars(filter); }
