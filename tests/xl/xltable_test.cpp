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

using builder = int (*)(unsigned char*);

int unknown_type(unsigned char* p) {
  xlBlank(p);
  p[0] = 9;
  return 6;
}

// Every builder's record byte for byte (little-endian type, size, data; in hexadecimal)
// and every converter on each record: "-" where it refuses (and leaves the value alone).
TEST(XlRecords, BytesAndEveryConverter) {
  const struct {
    const char* name;
    builder build;
    const char *bytes, *as_float, *as_bool, *text;  // bytes "": not compared
  } rows[] = {
      {"table", [](auto p) { return xlTableInit(p, 0x0102, 0x0304); }, "1000040002010403", "-", "-", "#INVFORMAT"},
      {"one by one table", [](auto p) { return xlTable(p); }, "1000040001000100", "-", "-", "#INVFORMAT"},
      {"float", [](auto p) { return xlFloat(p, 1.5); }, "01000800000000000000F83F", "1.5", "1", "1.5"},
      {"bool of a value whose low 16 bits are 0", [](auto p) { return xlBool(p, 0x10000); }, "030002000000", "0", "0",
       "FALSE"},
      {"int keeps the low 16 bits", [](auto p) { return xlInt(p, 0x12345); }, "060002004523", "9029", "1", "9029"},
      {"error", [](auto p) { return xlError(p, 42); }, "040002002A00", "-", "-", "#N/A"},
      {"blank", [](auto p) { return xlBlank(p); }, "050002000100", "-", "-", ""},
      {"string", [](auto p) { return xlString(p, "ab"); }, "02000300026162", "-", "-", "ab"},
      {"text that is no number", [](auto p) { return xlString(p, "x1"); }, "", "-", "-", "x1"},
      {"text with a decimal comma", [](auto p) { return xlString(p, "3,25"); }, "", "3.25", "-", "3,25"},
      {"word high", [](auto p) { return xlString(p, "HIGH"); }, "", "-", "1", "HIGH"},
      {"int read unsigned", [](auto p) { return xlInt(p, 0xFFFF); }, "", "65535", "1", "65535"},
      {"negative float", [](auto p) { return xlFloat(p, -0.125); }, "", "-0.125", "1", "-0.125"},
      {"float zero", [](auto p) { return xlFloat(p, 0.0); }, "", "0", "0", "0"},
      {"float NaN", [](auto p) { return xlFloat(p, std::numeric_limits<double>::quiet_NaN()); }, "", "nan", "1", "NAN"},
      {"fourteen decimals", [](auto p) { return xlFloat(p, 1.0 / 3.0); }, "", "0.333333", "1", "0.33333333333333"},
      {"exponent", [](auto p) { return xlFloat(p, 1e20); }, "", "1e+20", "1", "1E+20"},
      {"true", [](auto p) { return xlBool(p, 7); }, "", "1", "1", "TRUE"},
      {"unnamed error code", [](auto p) { return xlError(p, 5); }, "", "-", "-", "#ERR5"},
      {"null error", [](auto p) { return xlError(p, 0); }, "", "-", "-", "#NULL!"},
      {"unknown type", unknown_type, "", "-", "-", "#INVFORMAT"},
      // Text read for a type.
      {"Wahr as bool", [](auto p) { return xlTextToTable(p, "Wahr", 3); }, "030002000100", "1", "1", "TRUE"},
      {"maybe as bool", [](auto p) { return xlTextToTable(p, "maybe", 3); }, "", "-", "-", "#VALUE!"},
      {"12abc as int", [](auto p) { return xlTextToTable(p, "12abc", 6); }, "060002000C00", "12", "1", "12"},
      {"-1 as int", [](auto p) { return xlTextToTable(p, "-1", 6); }, "", "65535", "1", "65535"},
      {"abc as int", [](auto p) { return xlTextToTable(p, "abc", 6); }, "", "-", "-", "#VALUE!"},
      {"2.5e3 as float", [](auto p) { return xlTextToTable(p, "2.5e3", 1); }, "01000800000000000088A340", "2500", "1",
       "2500"},
      {"text as string", [](auto p) { return xlTextToTable(p, "Pumpe 3", 2); }, "", "-", "-", "Pumpe 3"},
      {"the error type gives a blank", [](auto p) { return xlTextToTable(p, "7", 4); }, "050002000100", "-", "-", ""},
      {"an unknown type gives a blank", [](auto p) { return xlTextToTable(p, "7", 99); }, "050002000100", "-", "-", ""},
  };
  for (const auto& r : rows) {
    unsigned char b[300];
    std::memset(b, 0xEE, sizeof b);
    const int size = r.build(b);
    if (r.bytes[0] != '\0') {
      char hex[80] = "";
      for (int i = 0; i < size; ++i) std::snprintf(hex + 2 * i, 3, "%02X", b[i]);
      EXPECT_STREQ(hex, r.bytes) << r.name;
      EXPECT_EQ(b[size], 0xEE) << r.name;  // nothing behind the record
    }
    if (r.build != unknown_type) {
      EXPECT_EQ(xlSize(b), size) << r.name;
    }
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
  std::vector<unsigned char> b(400, 0xEE);
  EXPECT_EQ(xlString(b.data(), std::string(300, 'q').c_str()), 260) << "cut at 255 characters";
  EXPECT_EQ(b[2] | b[3] << 8, 256);
  EXPECT_EQ(b[4], 255);
  EXPECT_EQ(b[260], 0xEE);
  char text[32];
  const struct {
    int code;
    const char* text;
  } errors[] = {{7, "#DIV/0!"}, {15, "#VALUE!"}, {23, "#REF!"}, {29, "#NAME?"}, {36, "#NUM!"}};
  for (const auto& e : errors) {
    xlError(b.data(), e.code);
    xlToString(b.data(), text, sizeof text);
    EXPECT_STREQ(text, e.text) << e.code;
  }
  text[0] = '#';
  EXPECT_EQ(xlToString(nullptr, text, sizeof text), 0);
  EXPECT_STREQ(text, "") << "no record: an empty text";
  b[0] = 7;  // skip
  xlToString(b.data(), text, sizeof text);
  EXPECT_STREQ(text, "");
  xlString(b.data(), "abcdef");  // cut to the size, always terminated
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(xlToString(b.data(), text, 4), 1);
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
  for (void* r = xlGetNext(p, end); r != nullptr; r = xlGetNext(r, end))
    found.push_back(static_cast<int>(static_cast<unsigned char*>(r) - p));
  EXPECT_EQ(found, offsets);
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
    const builder cells[] = {[](unsigned char* p) { return xlFloat(p, 1e6 / 3.0); },
                             [](unsigned char* p) { return xlString(p, "Messstelle"); },
                             [](unsigned char* p) { return xlInt(p, 40000); },
                             [](unsigned char* p) { return xlBlank(p); }};
    while (n < 200) n += cells[rng() % 4](b + n);
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
