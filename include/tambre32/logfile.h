/* LogFile: a bounded journal file of numbered entries. */
#pragma once

#ifdef __cplusplus

#include <cstdio>

#include "tambre32/api.h"
#include "tambre32/stringlist.h"

#ifdef _WIN32
#include <windows.h>
typedef HINSTANCE tambre_module_t;
#else
typedef void* tambre_module_t;
#endif

/* Entries on disk: a header line "[#number:time: title]" followed by the entry's lines,
   every line ending in CR LF. When the file grows ten entries past the maximum, the oldest
   are cut away in place. One object's file operations are serialised by its own lock;
   building an entry (BeginLog, AddLog, DiscardLog) belongs to one thread at a time. */
class TAMBRE_API LogFile {
 public:
  LogFile();
  ~LogFile();
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  /* Closes the file and takes the new name (cut to 260 characters; null: empty). */
  void SetFileName(const char* name);
  /* The name with its extension replaced by ".log". */
  void SetAutoFileName(const char* name);
  /* directory\<module file name>.log; nothing changes when the module has no path. */
  void SetAutoFileName(tambre_module_t module, const char* directory);
  const char* GetFileName();
  /* 1 to 10000; false and unchanged otherwise. */
  bool SetMaxItems(long maximum);

  /* Opens the file and learns its first and last entry numbers; true when open. */
  bool Open();
  /* Ends an open entry and closes the file. */
  bool Close();
  /* Closes and deletes the file. */
  bool Clear();

  /* Opens an entry with a formatted title; true at once while one is open. */
  bool BeginLog(const char* format, ...);
  /* Adds a formatted line to the open entry; tabs and line breaks become blanks. */
  bool AddLog(const char* format, ...);
  /* Adds a line formatted from string `id` of the module's string table. */
  bool AddLog(tambre_module_t module, unsigned id, ...);
  /* Appends the open entry to the file. */
  bool EndLog();
  /* Drops the open entry's lines; the entry stays open. */
  void DiscardLog();

  /* The lines of entries first to last (-1: from the first, to the last). */
  bool GetItems(StringList& list, long first, long last);
  long GetFirstItem();
  long GetLastItem();
  /* Seconds since 1970 of the last write; -1 until known. */
  long GetLastUpdate();
  bool IsOpen();

 protected:
  /* Takes the object's lock; false when it cannot be had. */
  bool Access();
  /* Gives the lock back. */
  void Release();
  /* Cuts the oldest entries away once the file holds ten more than the maximum. */
  void Realloc();

 private:
  bool AddLine(const char* text, bool blank);
  bool StreamOk();

  char m_fileName[261];
  int m_maxItems;
  bool m_open;
  bool m_openFailed;
  bool m_entryOpen;
  std::FILE* m_stream;
  StringList m_lines;
  void* m_lock;
  long m_firstItem;
  long m_lastItem;
  long m_lastUpdate;
};

#endif
