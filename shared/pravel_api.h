// The exports of the dialog library libpravel.so: every question, message, results page
// and graph that the engine shows goes through these.
//
// Argument order is fixed by the dialog services. Every argument is passed by reference;
// integers are 16-bit unless said; texts are blank-padded arrays with a separate length
// (or a fixed one: 3 for a file extension, 14 for a variable name).
// Status codes: 1 OK, 2 cancelled, 6 Yes, 7 No/Close. No-value markers: -999, -999.0.
#pragma once

#include <cstdint>

#if defined(__GNUC__)
#define PRAVEL_EXPORT __attribute__((visibility("default")))
#else
#define PRAVEL_EXPORT
#endif

extern "C" {

PRAVEL_EXPORT void GetIntegerP(const int16_t* msglen, const int16_t* helpctx, int16_t* value,
                               int16_t* status, const char* msg);
PRAVEL_EXPORT void GetRealP(const int16_t* msglen, const int16_t* helpctx, int16_t* status,
                            float* value, const char* msg);
PRAVEL_EXPORT void GetStringP(const int16_t* msglen, const int16_t* textlen,
                              const int16_t* helpctx, int16_t* status, const char* msg,
                              char* text);
PRAVEL_EXPORT void GetLogP(const int16_t* msglen, int16_t* answer, const int16_t* helpctx,
                           int16_t* status, const char* msg);
PRAVEL_EXPORT void GetTextP(const int16_t* msglen, const int16_t* linelen,
                            const int16_t* nlines, const int16_t* helpctx, int16_t* status,
                            const int16_t* nnames, const char* msg, char* text,
                            const char* names, const int16_t* mode, const char* ext);
PRAVEL_EXPORT void GET1OPTIONP(const int16_t* titlelen, const int16_t* nopts,
                               const int16_t* optwidth, const int16_t* helpctx,
                               int16_t* status, int16_t* index, const char* title,
                               const char* options);
PRAVEL_EXPORT void GETSOMEOPTIONSP(const int16_t* titlelen, const int16_t* nopts,
                                   const int16_t* optwidth, const int16_t* helpctx,
                                   int16_t* status, int16_t* flags, const char* title,
                                   const char* options);
PRAVEL_EXPORT void GetOKP(const int16_t* msglen, const int16_t* helpctx, const int16_t* kind,
                          const char* msg);
PRAVEL_EXPORT void GetOKLongP(const int16_t* nlines, const int16_t* linewidth,
                              const char* text);
PRAVEL_EXPORT void GetValuesP(double* values, const char* msg, const char* names,
                              int16_t* status, const int16_t* msglen, const int16_t* n,
                              const int16_t* namewidth, const int16_t* helpctx);
PRAVEL_EXPORT void GetFileP(const int16_t* namelen, const int16_t* unused, int16_t* mode,
                            char* name, const char* ext);
PRAVEL_EXPORT void ShowResultsP(const char* pagefile, const int16_t* len1, char* resultsfile,
                                const int16_t* len2, char* modelfile, const int16_t* len3,
                                int16_t* action);
PRAVEL_EXPORT void ShowGraphP(const char* plotfile, const int16_t* len, int16_t* keep);
PRAVEL_EXPORT void StartCalcP(const int16_t* len, const char* text);
PRAVEL_EXPORT void StopCalcP(void);
PRAVEL_EXPORT void DoBeepP(void);
/// Writes a ZVD data file from the engine's arrays; `status` is 0 when written, 1 when not.
PRAVEL_EXPORT void writefit(const int16_t* nobs, const int16_t* nvars, const int16_t* frequency,
                            const int16_t* periods_per_year, const int16_t* start_year,
                            const int16_t* start_period, const int16_t* century_base,
                            const int16_t* name_stride, const int16_t* desc_stride,
                            const int16_t* filename_len, const char* names, const char* descs,
                            const char* filename, const double* data, int16_t* status);
PRAVEL_EXPORT void dobodge(void);

}  // extern "C"

namespace pravel_api {
/// The export names, in declaration order; a test checks the library exports exactly these.
inline constexpr const char* kExportNames[] = {
    "GetIntegerP", "GetRealP",   "GetStringP",   "GetLogP",    "GetTextP",   "GET1OPTIONP",
    "GETSOMEOPTIONSP", "GetOKP", "GetOKLongP",   "GetValuesP", "GetFileP",   "ShowResultsP",
    "ShowGraphP",  "StartCalcP", "StopCalcP",    "DoBeepP",    "writefit",   "dobodge"};
/// Dialog status codes.
enum Status : int16_t { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };
inline constexpr int16_t kNoInteger = -999;
inline constexpr float kNoReal = -999.0f;
}  // namespace pravel_api
