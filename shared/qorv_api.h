// The eight exports of the engine library libqorv.so.
//
// Every argument is passed by reference; counts, slots and codes are 16-bit; slot values
// are 32-bit; texts are blank-padded character arrays with their length as a separate
// argument (no terminator, never read past the length). Nothing is returned: results
// come back in the arguments. No exception leaves any of these functions.
#pragma once

#include <cstdint>

#if defined(__GNUC__)
#define QORV_EXPORT __attribute__((visibility("default")))
#else
#define QORV_EXPORT
#endif

extern "C" {

/// Runs one request. In: 1 read or define data, 3 carry out a request; other codes do the
/// common entry work only. Out: request 1 the data-input status (-1 failure or cancel),
/// request 3 the number of plot files kept.
QORV_EXPORT void DRIVER(int16_t* request);

/// Copies nobs*nvars doubles (column-major by variable, leading dimension nobs) into the
/// engine's data matrix. `flag` is not read.
QORV_EXPORT void REGISTERDATA(const double* data, const int16_t* flag, const int16_t* nobs,
                              const int16_t* nvars);

/// Copies nobs*nvars doubles from the engine's data matrix into `out`.
QORV_EXPORT void RETRIEVEDATA(double* out, const int16_t* nobs, const int16_t* nvars);

/// Sets exchange slot `slot` (1..32) to `value`.
QORV_EXPORT void REGISTERINT(const int32_t* value, const int16_t* slot);

/// Reads exchange slot `slot` (1..32); slot 25 reads 1 when the equation-box file was
/// written in the last request, else 0.
QORV_EXPORT void RETRIEVEINT(int32_t* value, const int16_t* slot);

/// Stores variable `index`'s (1..200) name and description.
QORV_EXPORT void REGISTERVARS(const char* name, const char* desc, const int16_t* index,
                              const int16_t* name_len, const int16_t* desc_len);

/// Reads variable `index`'s name (9 characters written) and description (80 written) with
/// their trimmed lengths.
QORV_EXPORT void RETRIEVEVARS(char* name, char* desc, const int16_t* index, int16_t* name_len,
                              int16_t* desc_len);

/// Stores a character setting by code (1 data file, 2 sample text, 3 command or
/// specification text, 4 temporary folder, 5 program folder).
QORV_EXPORT void REGISTERCHAR(const char* text, const int16_t* len, const int16_t* code);

}  // extern "C"

namespace qorv_api {
/// The export names; a test checks the library exports exactly these.
inline constexpr const char* kExportNames[] = {"DRIVER",       "REGISTERDATA", "REGISTERINT",
                                               "REGISTERVARS", "REGISTERCHAR", "RETRIEVEDATA",
                                               "RETRIEVEINT",  "RETRIEVEVARS"};
}  // namespace qorv_api
