/* Hexadecimal, code-page and URL texts, the CRC-16/CRC-32 checksums and the data cipher.
   Standard calling convention, plain exported names. Texts are 8-bit, zero-terminated. */
#pragma once

#include "tambre32/api.h"

/* Two upper-case digits per byte; length -1 takes the input up to its terminator. The
   output may overlap the input. Null when output or input is null. */
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) StrToHex(char* out, const char* in, int length);
/* Pairs of digits to bytes plus a terminator; null (and an empty output) on a bad digit
   or an odd digit count. */
TAMBRE_EXPORT(char*, TAMBRE_STDCALL) HexToStr(char* out, const char* hex);
/* System ANSI code page to UTF-8; true when the whole text with its terminator fits. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) AnsiToUTF8(char* out, const char* in, int size);
/* UTF-8 to the ANSI code page; the output may be the input buffer. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) UTF8ToAnsi(char* out, const char* in, int size);
/* Percent-encoding of reserved, control and 8-bit characters; false when cut. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) EncodeURL(char* out, const char* in, int size);
/* Percent sequences to bytes; false at a '%' without two hexadecimal digits. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) DecodeURL(char* out, const char* in, int size);
/* CRC-16/MODBUS: reflected 0xA001, start 0xFFFF, no final inversion. */
TAMBRE_EXPORT(unsigned short, TAMBRE_STDCALL) CRC16(const void* data, int length);
/* Reflected CRC-32 (0xEDB88320) continued from `start`, no inversion inside. */
TAMBRE_EXPORT(unsigned int, TAMBRE_STDCALL) CRC32(const void* data, int length, unsigned int start);

/* CryptData methods and flags. */
#define TAMBRE_CRYPT_DES 1
#define TAMBRE_CRYPT_RC4 2
#define TAMBRE_CRYPT_DECRYPT 1     /* DES: decipher */
#define TAMBRE_CRYPT_REVERSE_KEY 2 /* the key text is used reversed (and restored) */

/* Byte count, -1 for a key of the wrong length, -3 for a DES decryption length that is not
   a multiple of 8, 0 for an unknown method, -2 for null buffers or a negative length.
   Output and input may be the same buffer. */
TAMBRE_EXPORT(int, TAMBRE_STDCALL) CryptData(int method, void* out, const void* in, int length, char* key, int flags);
