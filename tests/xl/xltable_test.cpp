// XlTable: records byte for byte, build-and-walk round trips, the converters' rules and
// the diagnostic text; walkers and the text stay inside truncated and corrupt buffers.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tambre32/xltable.h"

namespace {

using bytes = std::vector<unsigned char>;

bytes record_bytes(const unsigned char* p, int n) { return bytes(p, p + n); }

TEST(XlBuilders, WriteLittleEndianRecordsAndReturnTheirSize) {
  struct row {
    const char* name;
    int (*build)(unsigned char*);
    bytes expected;
  } rows[] = {
      {"table",
       [](unsigned char* p) { return xlTableInit(p, 0x0102, 0x0304); },
       {0x10, 0, 4, 0, 0x02, 0x01, 0x04, 0x03}},
      {"one by one table", [](unsigned char* p) { return xlTable(p); }, {0x10, 0, 4, 0, 1, 0, 1, 0}},
      {"float", [](unsigned char* p) { return xlFloat(p, 1.5); }, {1, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}},
      {"bool of a value whose low 16 bits are 0",
       [](unsigned char* p) { return xlBool(p, 0x10000); },
       {3, 0, 2, 0, 0, 0}},
      {"int keeps the low 16 bits", [](unsigned char* p) { return xlInt(p, 0x12345); }, {6, 0, 2, 0, 0x45, 0x23}},
      {"error", [](unsigned char* p) { return xlError(p, 42); }, {4, 0, 2, 0, 42, 0}},
      {"blank", [](unsigned char* p) { return xlBlank(p); }, {5, 0, 2, 0, 1, 0}},
      {"string", [](unsigned char* p) { return xlString(p, "ab"); }, {2, 0, 3, 0, 2, 'a', 'b'}},
  };
  for (const auto& r : rows) {
    unsigned char b[32];
    std::memset(b, 0xEE, sizeof b);
    const int size = r.build(b);
    EXPECT_EQ(size, static_cast<int>(r.expected.size())) << r.name;
    EXPECT_EQ(record_bytes(b, size), r.expected) << r.name;
    EXPECT_EQ(b[size], 0xEE) << r.name;  // nothing behind the record
    EXPECT_EQ(xlSize(b), size) << r.name;
  }
  std::vector<unsigned char> b(400, 0xEE);
  EXPECT_EQ(xlString(b.data(), std::string(300, 'q').c_str()), 260) << "cut at 255 characters";
  EXPECT_EQ(b[2] | b[3] << 8, 256);
  EXPECT_EQ(b[4], 255);
  EXPECT_EQ(b[260], 0xEE);
}

TEST(XlTextToTable, ReadsTheTextForTheType) {
  struct row {
    const char* name;
    const char* text;
    int type;
    unsigned record_type;
    std::string as_string;
  } rows[] = {
      {"wahr as bool", "Wahr", 3, 3, "TRUE"},       {"maybe as bool", "maybe", 3, 4, "#VALUE!"},
      {"12abc as int", "12abc", 6, 6, "12"},        {"negative int keeps low bits", "-1", 6, 6, "65535"},
      {"abc as int", "abc", 6, 4, "#VALUE!"},       {"float", "2.5e3", 1, 1, "2500"},
      {"string", "Pumpe 3", 2, 2, "Pumpe 3"},       {"error type gives blank", "7", 4, 5, ""},
      {"unknown type gives blank", "7", 99, 5, ""},
  };
  for (const auto& r : rows) {
    unsigned char b[300];
    const int size = xlTextToTable(b, r.text, r.type);
    EXPECT_EQ(size, xlSize(b)) << r.name;
    EXPECT_EQ(b[0] | b[1] << 8, static_cast<int>(r.record_type)) << r.name;
    char text[64];
    EXPECT_EQ(xlToString(b, text, sizeof text), 1) << r.name;
    EXPECT_EQ(text, r.as_string) << r.name;
  }
}

using builder = int (*)(unsigned char*);

int unknown_type(unsigned char* p) {
  xlBlank(p);
  p[0] = 9;
  return 6;
}

// Every converter on each record: "-" where it refuses (and leaves the value alone).
TEST(XlConvert, FloatBoolAndTextOfEveryType) {
  const struct {
    const char* name;
    builder build;
    const char *as_float, *as_bool, *text;
  } rows[] = {
      {"text with a decimal comma", [](unsigned char* p) { return xlString(p, "3,25"); }, "3.25", "-", "3,25"},
      {"text that is no number", [](unsigned char* p) { return xlString(p, "x1"); }, "-", "-", "x1"},
      {"word high", [](unsigned char* p) { return xlString(p, "HIGH"); }, "-", "1", "HIGH"},
      {"int read unsigned", [](unsigned char* p) { return xlInt(p, 0xFFFF); }, "65535", "1", "65535"},
      {"int", [](unsigned char* p) { return xlInt(p, 5); }, "5", "1", "5"},
      {"float", [](unsigned char* p) { return xlFloat(p, -0.125); }, "-0.125", "1", "-0.125"},
      {"float zero", [](unsigned char* p) { return xlFloat(p, 0.0); }, "0", "0", "0"},
      {"float NaN", [](unsigned char* p) { return xlFloat(p, std::numeric_limits<double>::quiet_NaN()); }, "nan", "1",
       "NAN"},
      {"fourteen decimals", [](unsigned char* p) { return xlFloat(p, 1.0 / 3.0); }, "0.333333", "1",
       "0.33333333333333"},
      {"exponent", [](unsigned char* p) { return xlFloat(p, 1e20); }, "1e+20", "1", "1E+20"},
      {"false", [](unsigned char* p) { return xlBool(p, 0); }, "0", "0", "FALSE"},
      {"true", [](unsigned char* p) { return xlBool(p, 7); }, "1", "1", "TRUE"},
      {"unnamed error code", [](unsigned char* p) { return xlError(p, 5); }, "-", "-", "#ERR5"},
      {"error", [](unsigned char* p) { return xlError(p, 0); }, "-", "-", "#NULL!"},
      {"blank", [](unsigned char* p) { return xlBlank(p); }, "-", "-", ""},
      {"unknown type", unknown_type, "-", "-", "#INVFORMAT"},
  };
  for (const auto& r : rows) {
    unsigned char b[64];
    r.build(b);
    double v = -7.0;
    unsigned short flag = 99;
    char number[32], text[32];
    const int float_ok = xlToFloat(b, &v), bool_ok = xlToBool(b, &flag);
    std::snprintf(number, sizeof number, "%g", v);
    EXPECT_EQ(float_ok ? std::string(number) : v == -7.0 ? "-" : "changed", r.as_float) << r.name;
    EXPECT_EQ(bool_ok ? std::to_string(flag) : flag == 99 ? "-" : "changed", r.as_bool) << r.name;
    EXPECT_EQ(xlToString(b, text, sizeof text), std::strcmp(r.text, "#INVFORMAT") != 0 ? 1 : 0) << r.name;
    EXPECT_STREQ(text, r.text) << r.name;
  }
  unsigned char b[64];
  char text[32];
  const struct {
    int code;
    const char* text;
  } errors[] = {{7, "#DIV/0!"}, {15, "#VALUE!"}, {23, "#REF!"}, {29, "#NAME?"}, {36, "#NUM!"}, {42, "#N/A"}};
  for (const auto& e : errors) {
    xlError(b, e.code);
    xlToString(b, text, sizeof text);
    EXPECT_STREQ(text, e.text) << e.code;
  }
  text[0] = '#';
  EXPECT_EQ(xlToString(nullptr, text, sizeof text), 0);
  EXPECT_STREQ(text, "") << "no record: an empty text";
  b[0] = 7;  // skip
  xlToString(b, text, sizeof text);
  EXPECT_STREQ(text, "");
  xlString(b, "abcdef");  // cut to the size, always terminated
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(xlToString(b, text, 4), 1);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(text[4], '#');
}

// One buffer with every kind of cell: the walk finds each record where it was built.
TEST(XlWalk, BuildAndWalkRoundTrip) {
  std::vector<unsigned char> buffer(512);
  unsigned char* p = buffer.data();
  std::vector<int> offsets;
  int at = xlTableInit(p, 2, 3);
  auto add = [&](int size) {
    offsets.push_back(at);
    at += size;
  };
  add(xlFloat(p + at, 2.75));
  add(xlString(p + at, "Ventil"));
  add(xlBool(p + at, 1));
  add(xlInt(p + at, 1234));
  add(xlError(p + at, 36));
  add(xlBlank(p + at));
  const unsigned char* end = p + at;

  ASSERT_EQ(xlGetFirst(p), p);
  std::vector<int> found;
  std::vector<std::string> texts;
  for (void* r = xlGetNext(p, end); r != nullptr; r = xlGetNext(r, end)) {
    found.push_back(static_cast<int>(static_cast<unsigned char*>(r) - p));
    char text[64];
    xlToString(r, text, sizeof text);
    texts.push_back(text);
  }
  EXPECT_EQ(found, offsets);
  EXPECT_EQ(texts, (std::vector<std::string>{"2.75", "Ventil", "TRUE", "1234", "#NUM!", ""}));

  char text[512];
  EXPECT_EQ(xlFormatText(p, at, text, sizeof text - 1), 1);
  EXPECT_STREQ(text,
               "xlTable[2,3] {\r\nxlFloat{ 2.75 }\r\nxlString{ 'Ventil' }\r\nxlBool{ TRUE }\r\n"
               "xlInt{ 1234 }\r\nxlError{ #NUM! }\r\nxlBlank{}\r\n}");
}

TEST(XlWalk, FirstAndNextRules) {
  unsigned char b[64] = {};
  EXPECT_EQ(xlGetFirst(b), nullptr);  // type 0
  EXPECT_EQ(xlGetFirst(nullptr), nullptr);
  const int table = xlTable(b);
  const int cell = xlFloat(b + table, 1.0);
  EXPECT_EQ(xlGetFirst(b), b);
  EXPECT_EQ(xlGetNext(b, b + table), nullptr);               // end exactly at the next start
  EXPECT_EQ(xlGetNext(b, b + table + 1), nullptr);           // only half of the type lies inside
  EXPECT_EQ(xlGetNext(b, b + table + 2), b + table);         // the type alone lies inside
  EXPECT_EQ(xlGetNext(b, b + table + cell - 1), b + table);  // the data run past the end
  EXPECT_EQ(xlGetNext(b, b + table + cell), b + table);
  EXPECT_EQ(xlGetNext(b + table, b + table + 3), nullptr);  // its own header is cut
  EXPECT_EQ(xlGetNext(b, nullptr), b + table);              // unbounded
  b[table] = 8;                                             // unknown type
  EXPECT_EQ(xlGetNext(b, b + sizeof b), nullptr);
  EXPECT_EQ(xlSize(b + table), -1);
  b[table] = 0x10;
  EXPECT_EQ(xlSize(b + table), 12);  // a table record is a known type
  EXPECT_EQ(xlSize(nullptr), -1);
}

TEST(XlFormatText, CutsToTheTextSizeAndStopsAtTheBufferEnd) {
  unsigned char b[64];
  int n = xlTableInit(b, 1, 2);
  n += xlFloat(b + n, 1.5);
  n += xlString(b + n, "ab");
  const std::string full = "xlTable[1,2] {\r\nxlFloat{ 1.5 }\r\nxlString{ 'ab' }\r\n}";
  for (int size = 0; size <= static_cast<int>(full.size()) + 2; ++size) {
    std::vector<char> text(static_cast<std::size_t>(size) + 8, '#');
    EXPECT_EQ(xlFormatText(b, n, text.data(), size), 1);
    const std::string got = text.data();
    ASSERT_LE(got.size(), static_cast<std::size_t>(size)) << size;
    EXPECT_EQ(text[static_cast<std::size_t>(size) + 1], '#') << size;
    // The closing brace needs one character more than itself.
    if (size > static_cast<int>(full.size())) {
      EXPECT_EQ(got, full) << size;
    } else {
      EXPECT_EQ(got.substr(0, 5), full.substr(0, std::min<std::size_t>(got.size(), 5))) << size;
    }
  }
  // Two characters of room after a cell: no line break, the next cell fills them.
  const int tight = static_cast<int>(std::strlen("xlTable[1,2] {\r\nxlFloat{ 1.5 }")) + 2;
  char cut[64];
  xlFormatText(b, n, cut, tight);
  EXPECT_STREQ(cut, "xlTable[1,2] {\r\nxlFloat{ 1.5 }xl");
  // The buffer ends inside a cell: what lies inside is rendered, a cut header as invalid.
  char text[128];
  xlFormatText(b, n - 1, text, sizeof text - 1);
  EXPECT_STREQ(text, "xlTable[1,2] {\r\nxlFloat{ 1.5 }\r\nxlString{ 'a' }\r\n}");
  xlFormatText(b, 8 + 12 + 3, text, sizeof text - 1);
  EXPECT_STREQ(text, "xlTable[1,2] {\r\nxlFloat{ 1.5 }\r\n#INVFORMAT\r\n}");
  xlFormatText(b, 8 + 12, text, sizeof text - 1);
  EXPECT_STREQ(text, "xlTable[1,2] {\r\nxlFloat{ 1.5 }\r\n}");
  // Not a table.
  xlFormatText(b + 8, n - 8, text, sizeof text - 1);
  EXPECT_STREQ(text, "");
}

TEST(XlFormatText, InvalidAndShortRecords) {
  unsigned char b[64] = {};
  int n = xlTableInit(b, 1, 3);
  const int invalid_at = n;
  n += xlInt(b + n, 3);
  n += xlInt(b + n, 4);
  b[invalid_at] = 0x20;
  char text[128];
  xlFormatText(b, n, text, sizeof text - 1);
  // An unknown record is shown, and the walk ends there: it has no size to step over.
  EXPECT_STREQ(text, "xlTable[1,3] {\r\n#INVFORMAT\r\n}");
  // A float record whose size claims too little data reads as invalid, not past its end.
  n = xlTableInit(b, 1, 1);
  b[n] = 1;
  b[n + 1] = 0;
  b[n + 2] = 2;
  b[n + 3] = 0;
  xlFormatText(b, n + 6, text, sizeof text - 1);
  EXPECT_STREQ(text, "xlTable[1,1] {\r\nxlFloat{ #INVFORMAT }\r\n}");
}

// Random corruption of a valid buffer, copied into an exactly sized heap block: a read past
// the end is what the sanitizers of the native run catch.
TEST(XlWalk, CorruptBuffersStayInside) {
  std::mt19937 rng(10);
  for (int round = 0; round < 2000; ++round) {
    unsigned char b[256];
    int n = xlTableInit(b, static_cast<unsigned short>(1 + rng() % 4), static_cast<unsigned short>(1 + rng() % 4));
    while (n < 200) {
      switch (rng() % 4) {
        case 0:
          n += xlFloat(b + n, rng() / 3.0);
          break;
        case 1:
          n += xlString(b + n, "Messstelle");
          break;
        case 2:
          n += xlInt(b + n, static_cast<int>(rng()));
          break;
        default:
          n += xlBlank(b + n);
          break;
      }
    }
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int f = 0; f < flips; ++f) b[rng() % static_cast<unsigned>(n)] = static_cast<unsigned char>(rng());
    const int size = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
    std::vector<unsigned char> exact(b, b + size);
    unsigned char* start = exact.data();
    const unsigned char* end = start + size;
    if (size >= 4 && xlGetFirst(start) != nullptr) {
      int steps = 0;
      for (void* r = xlGetNext(start, end); r != nullptr && steps < 1000; r = xlGetNext(r, end), ++steps) {
        ASSERT_LT(static_cast<unsigned char*>(r), end);
      }
    }
    std::vector<char> text(300);
    xlFormatText(start, size, text.data(), 299);
  }
}

// The first calls race on several threads: all get one id, and later calls the same, the
// one the platform registers for "XlTable".
TEST(XlClipboardFormat, OneIdForAllThreadsAndCalls) {
  unsigned ids[4] = {};
  std::vector<std::thread> threads;
  for (unsigned& id : ids) threads.emplace_back([&id] { id = xlClipboardFormat(); });
  for (auto& t : threads) t.join();
  EXPECT_NE(ids[0], 0u);
  for (unsigned id : ids) EXPECT_EQ(id, ids[0]);
  EXPECT_EQ(xlClipboardFormat(), ids[0]);
#ifdef _WIN32
  EXPECT_GE(ids[0], 0xC000u);  // the range of registered formats
  EXPECT_EQ(RegisterClipboardFormatA("XlTable"), ids[0]);
  char name[32] = {};
  ASSERT_GT(GetClipboardFormatNameA(ids[0], name, sizeof name), 0);
  EXPECT_STREQ(name, "XlTable");
#endif
}

}  // namespace
