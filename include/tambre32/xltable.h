/* The XlTable clipboard table format: records of a 16-bit type, a 16-bit data size and
   the data. The caller owns every buffer; builders write one record and return its size.
   Register calling convention, plain exported names. */
#pragma once

#include "tambre32/api.h"

/* Record types. */
#define XL_TYPE_FLOAT 0x0001
#define XL_TYPE_STRING 0x0002
#define XL_TYPE_BOOL 0x0003
#define XL_TYPE_ERROR 0x0004
#define XL_TYPE_BLANK 0x0005
#define XL_TYPE_INT 0x0006
#define XL_TYPE_SKIP 0x0007
#define XL_TYPE_TABLE 0x0010

/* The table record that opens a buffer, without its size; its size. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlTable(void* record);
/* The table record with its row and column counts; its size. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlTableInit(void* record, unsigned short rows, unsigned short columns);
/* A cell record of the value's type; its size. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlFloat(void* record, double value);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlBool(void* record, int value);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlInt(void* record, int value);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlError(void* record, int code);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlBlank(void* record);
/* At most 255 characters; returns their count + 5. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlString(void* record, const char* text);
/* type 1 float, 2 string, 3 bool, 6 int; a text that does not read gives error 15; any
   other type a blank cell. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlTextToTable(void* record, const char* text, int type);

/* Data size + 4 for a known type, else -1. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlSize(const void* record);
/* The buffer when it begins with a table record, else null. */
TAMBRE_EXPORT(void*, TAMBRE_FASTCALL) xlGetFirst(void* buffer);
/* The record behind `record`; null at `end` (null: unbounded) or at an unknown type. A
   record that would reach beyond `end` is not handed out either. */
TAMBRE_EXPORT(void*, TAMBRE_FASTCALL) xlGetNext(void* record, const void* end);

/* The cell's value as a float or a bool; false for a record of another kind. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlToFloat(const void* record, double* value);
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlToBool(const void* record, unsigned short* value);
/* Always terminates within `size`; false (and "#INVFORMAT") for an unknown type. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlToString(const void* record, char* text, int size);
/* Renders a whole buffer for diagnostics; `text` holds textSize characters and a
   terminator. Never reads beyond bufferSize bytes. */
TAMBRE_EXPORT(int, TAMBRE_FASTCALL) xlFormatText(const void* buffer, int bufferSize, char* text, int textSize);

/* The clipboard format id registered for "XlTable". */
TAMBRE_EXPORT(unsigned int, TAMBRE_FASTCALL) xlClipboardFormat(void);
