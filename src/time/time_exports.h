#pragma once
// The functions behind the exported time family, under the names the export list maps
// (_time = tambre_time, ...). Declared for tests of the library's own build.
#include <ctime>

#include "tambre32/timecore.h"

extern "C" {
void TAMBRE_CDECL tambre_tzset_();
tambre_time_t TAMBRE_CDECL tambre_time(tambre_time_t* t);
std::tm* TAMBRE_CDECL tambre_gmtime(const tambre_time_t* t);
std::tm* TAMBRE_CDECL tambre_localtime(const tambre_time_t* t);
char* TAMBRE_CDECL tambre_asctime(const std::tm* t);
char* TAMBRE_CDECL tambre_ctime(const tambre_time_t* t);
tambre_time_t TAMBRE_CDECL tambre_mktime(std::tm* t);
tambre_time_t TAMBRE_CDECL tambre_mktimegm(std::tm* t);
void TAMBRE_CDECL tambre_ftime(tambre_timeb* tb);
int* TAMBRE_CDECL tambre_gettimezone();
int* TAMBRE_CDECL tambre_getdstbias();
int* TAMBRE_CDECL tambre_getdaylight();
}
