// LogFile: the journal class. The format and the searches live in log_format.cpp; this
// file holds the object's state, its lock and its file stream.
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "locale/locale_snapshot.h"
#include "log/log_format.h"
#include "sys/platform.h"
#include "tambre32/logfile.h"
#include "time/local_time.h"
#include "time/time_text.h"

namespace {

using lock_type = std::recursive_timed_mutex;
constexpr std::chrono::milliseconds access_wait{3000};

// The object's lock. One whose own lock could not be allocated shares a fallback with any
// others like it rather than run unguarded.
lock_type& lock_of(void* lock) {
  static lock_type fallback;
  return lock != nullptr ? *static_cast<lock_type*>(lock) : fallback;
}

// The object's lock for one operation, or nothing when it is not to be had in time.
std::unique_lock<lock_type> hold(void* lock) { return std::unique_lock<lock_type>(lock_of(lock), access_wait); }

constexpr std::size_t name_size = 261;
constexpr long default_max_items = 5000;
constexpr long max_max_items = 10000;
// Entries the file may grow past its maximum before it is cut back.
constexpr long trim_slack = 10;
constexpr short header_time_fields = tambre::time::tf_day | tambre::time::tf_month | tambre::time::tf_year |
                                     tambre::time::tf_hours | tambre::time::tf_minutes;
constexpr unsigned header_time_ahead = 12;  // seconds added to the header's time

void copy_cut(char* out, std::size_t size, const char* in) {
  std::size_t n = std::strlen(in);
  if (n > size - 1) n = size - 1;
  std::memmove(out, in, n);
  out[n] = '\0';
}

// Formats into a fixed buffer, cut at its size (vsnprintf never overruns).
void format_cut(char* out, std::size_t size, const char* format, va_list args) {
  out[0] = '\0';
  if (format == nullptr) return;
  if (std::vsnprintf(out, size, format, args) < 0) out[0] = '\0';
}

tambre::log::read_at stream_reader(std::FILE* file) {
  return [file](std::int64_t offset, char* buffer, std::size_t size) -> std::size_t {
    return tambre::sys::read_file_at(file, offset, buffer, size);
  };
}

std::int64_t stream_size(std::FILE* file) {
  if (!tambre::sys::seek_file(file, 0, SEEK_END)) return 0;
  std::int64_t size = tambre::sys::file_position(file);
  return size < 0 ? 0 : size;
}

// The numbers of the file's first and newest entries as the file holds them now (0 and 0
// when it holds none): the first line, and only the tail for the newest.
void read_item_range(std::FILE* file, long& first, long& last) {
  auto read = stream_reader(file);
  first = last = 0;
  char line[64];
  const std::size_t got = read(0, line, 63);
  long number = 0;
  if (tambre::log::parse_header(line, got, number)) first = last = number;
  const long newest = tambre::log::last_header_number(read, stream_size(file));
  if (newest != 0) last = newest;
  std::clearerr(file);
}

// Gives the header line of a pending entry the number it gets in the file: other writers
// may have added entries since the entry was begun. Other lines stay as they are.
std::string numbered_header(const char* line, long number) {
  long old = 0;
  const std::size_t length = std::strlen(line);
  if (!tambre::log::parse_header(line, length, old) || old == number) return line;
  const char* rest = line + 2;
  while (tambre::base::is_digit(*rest)) ++rest;
  char head[32];
  std::snprintf(head, sizeof head, "[#%li", number);
  std::string text = head;
  text += rest;
  if (text.size() > tambre::log::max_line) text.resize(tambre::log::max_line);
  return text;
}

// Cuts `name` at its last "." (when there is one) and appends ".log", within `size`.
void replace_extension(char* name, std::size_t size) {
  char* dot = std::strrchr(name, '.');
  if (dot != nullptr) *dot = '\0';
  std::size_t n = std::strlen(name);
  copy_cut(name + n, size - n, ".log");
}

}  // namespace

LogFile::LogFile()
    : m_fileName{},
      m_maxItems(default_max_items),
      m_open(false),
      m_openFailed(false),
      m_entryOpen(false),
      m_stream(nullptr),
      m_lock(new (std::nothrow) lock_type),
      m_firstItem(0),
      m_lastItem(0),
      m_lastUpdate(-1) {}

LogFile::~LogFile() {
  Close();
  delete static_cast<lock_type*>(m_lock);
  m_lines.Clear();
  if (m_stream != nullptr) std::fclose(m_stream);
}

void LogFile::SetFileName(const char* name) {
  Close();
  m_openFailed = false;
  copy_cut(m_fileName, name_size, name == nullptr ? "" : name);
}

void LogFile::SetAutoFileName(const char* name) {
  SetFileName(name);
  if (m_fileName[0] != '\0') replace_extension(m_fileName, name_size);
}

void LogFile::SetAutoFileName(tambre_module_t module, const char* directory) {
  if (module == nullptr || directory == nullptr) return;
  char path[name_size];
  if (!tambre::sys::module_file_name(reinterpret_cast<void*>(module), path, sizeof path)) return;
  const char* slash = std::strrchr(path, '\\');
  if (slash == nullptr) return;
  char name[name_size];
  std::snprintf(name, sizeof name, "%s\\%s", directory, slash + 1);
  replace_extension(name, sizeof name);
  Close();
  m_openFailed = false;
  copy_cut(m_fileName, name_size, name);
}

const char* LogFile::GetFileName() { return m_fileName; }

bool LogFile::SetMaxItems(long maximum) {
  if (maximum < 1 || maximum > max_max_items) return false;
  m_maxItems = static_cast<int>(maximum);
  return true;
}

bool LogFile::Open() {
  if (m_open) return true;
  if (m_openFailed || m_fileName[0] == '\0') return false;
  const auto held = hold(m_lock);
  if (!held) return false;
  m_stream = tambre::sys::open_shared_file(m_fileName, false);
  if (m_stream == nullptr) m_stream = tambre::sys::open_shared_file(m_fileName, true);
  m_open = m_stream != nullptr;
  m_openFailed = !m_open;
  if (m_open) {
    std::int64_t units = 0;
    const tambre::time::time_value written = tambre::sys::file_write_time(m_fileName, units)
                                                 ? tambre::time::time_of_file_units(units)
                                                 : tambre::time::no_time;
    m_lastUpdate = written == tambre::time::no_time ? -1 : static_cast<long>(written);
    read_item_range(m_stream, m_firstItem, m_lastItem);
  }
  return m_open;
}

bool LogFile::Close() {
  EndLog();
  if (!m_open) return true;
  const auto held = hold(m_lock);
  if (!held) return false;
  bool ok = true;
  if (m_stream != nullptr) {
    ok = std::fclose(m_stream) == 0;
    m_stream = nullptr;
  }
  m_open = false;
  return ok;
}

bool LogFile::Clear() {
  const auto held = hold(m_lock);
  if (!held) return false;
  Close();
  std::remove(m_fileName);
  return true;
}

bool LogFile::BeginLog(const char* format, ...) {
  if (m_entryOpen) return true;
  m_lines.Clear();
  if (!Open()) return false;
  char when[32];
  tambre::time::format_time(when, tambre::time::current_time() + header_time_ahead, 0, header_time_fields,
                            tambre::locale::current_locale());
  m_entryOpen = true;
  char title[1024];
  va_list args;
  va_start(args, format);
  format_cut(title, sizeof title, format, args);
  va_end(args);
  AddLog(tambre::log::header_format, m_lastItem + 1, when, title);
  return true;
}

bool LogFile::AddLine(const char* text, bool blank) {
  char line[tambre::log::max_line + 1];
  copy_cut(line, sizeof line, text);
  if (blank) tambre::log::blank_controls(line);
  return m_lines.Add(line) >= 0;
}

bool LogFile::AddLog(const char* format, ...) {
  if (!m_entryOpen || format == nullptr) return false;
  char line[tambre::log::max_line + 1];
  va_list args;
  va_start(args, format);
  format_cut(line, sizeof line, format, args);
  va_end(args);
  return AddLine(line, true);
}

bool LogFile::AddLog(tambre_module_t module, unsigned id, ...) {
  if (!m_entryOpen) return false;
  char format[256];
  if (tambre::sys::load_module_string(reinterpret_cast<void*>(module), id, format, sizeof format) == 0) return false;
  char line[tambre::log::max_line + 1];
  va_list args;
  va_start(args, id);
  format_cut(line, sizeof line, format, args);
  va_end(args);
  // Line breaks of the string table's text stay line breaks in the file.
  return AddLine(line, false);
}

bool LogFile::EndLog() {
  if (!m_entryOpen) return false;
  m_entryOpen = false;
  if (m_lines.GetCount() == 0) return true;
  if (!Open()) return false;
  const auto held = hold(m_lock);
  if (!held) return false;
  m_lastUpdate = static_cast<long>(tambre::time::current_time());
  // Numbering, writing and cutting back happen in one turn of all the file's writers
  // (other objects, other processes): each sees the file as the last one left it, and the
  // whole entry goes to the file in one write. The header must start a line of its own to
  // be found again: append_block repairs a line end that a writer dying mid-line left out.
  const tambre::sys::file_turn turn(m_stream);
  if (!turn) return false;
  read_item_range(m_stream, m_firstItem, m_lastItem);
  std::vector<char> block;
  int lines = 0;
  StringList::Entry* entry = nullptr;
  for (const char* text = m_lines.NextString(entry); text != nullptr; text = m_lines.NextString(entry)) {
    const std::string line = lines == 0 ? numbered_header(text, m_lastItem + 1) : std::string(text);
    block.insert(block.end(), line.begin(), line.end());
    block.push_back('\r');
    block.push_back('\n');
    ++lines;
  }
  bool ok = tambre::sys::append_block(m_stream, block.data(), block.size());
  if (ok && lines > 0) {
    ++m_lastItem;
    if (m_firstItem == 0) m_firstItem = 1;
  }
  Realloc();
  return ok && StreamOk();
}

void LogFile::DiscardLog() {
  if (m_entryOpen) m_lines.Clear();
}

bool LogFile::GetItems(StringList& list, long first, long last) {
  list.Clear();
  if (!Open()) return false;
  if (m_firstItem == 0) return true;
  first = first == -1 ? m_firstItem : (first < m_firstItem ? m_firstItem : first > m_lastItem ? m_lastItem : first);
  last = last == -1 ? m_lastItem : (last < m_firstItem ? m_firstItem : last > m_lastItem ? m_lastItem : last);
  if (first < 1 || last < 1 || last < first) return false;
  const auto held = hold(m_lock);
  if (!held) return false;
  // Not while another writer cuts the file back.
  const tambre::sys::file_turn turn(m_stream);
  if (!turn) return false;
  auto read = stream_reader(m_stream);
  std::int64_t size = stream_size(m_stream);
  std::int64_t start = tambre::log::find_header(read, size, first, m_firstItem, m_lastItem);
  bool found = start >= 0;
  if (found) {
    tambre::log::read_entries(read, size, start, last, [&list](const char* line) {
      char text[tambre::log::max_line + 2];
      copy_cut(text, sizeof text, line);
      tambre::log::blank_controls(text);
      list.Add(text);
    });
  }
  std::clearerr(m_stream);
  return found;
}

long LogFile::GetFirstItem() { return m_firstItem; }
long LogFile::GetLastItem() { return m_lastItem; }
long LogFile::GetLastUpdate() { return m_lastUpdate; }
bool LogFile::IsOpen() { return m_open; }

bool LogFile::Access() { return lock_of(m_lock).try_lock_for(access_wait); }

void LogFile::Release() { lock_of(m_lock).unlock(); }

void LogFile::Realloc() {
  if (!m_open || m_maxItems == 0) return;
  long count = m_lastItem - m_firstItem + 1;
  if (count <= m_maxItems + trim_slack) return;
  auto read = stream_reader(m_stream);
  std::int64_t size = stream_size(m_stream);
  std::int64_t keep = tambre::log::keep_position(read, size, count - m_maxItems);
  if (keep < 0) return;
  m_firstItem = m_lastItem - m_maxItems + 1;
  // Moves the kept part to the front in blocks through the same stream, then cuts.
  std::vector<char> block(16384);
  std::int64_t from = keep, to = 0;
  for (;;) {
    std::size_t got = read(from, block.data(), block.size());
    if (got == 0) break;
    if (!tambre::sys::seek_file(m_stream, to, SEEK_SET) || std::fwrite(block.data(), 1, got, m_stream) != got) break;
    from += static_cast<std::int64_t>(got);
    to += static_cast<std::int64_t>(got);
  }
  tambre::sys::truncate_file(m_stream, to);
  tambre::sys::seek_file(m_stream, 0, SEEK_END);
}

bool LogFile::StreamOk() { return m_stream != nullptr && !std::ferror(m_stream); }
