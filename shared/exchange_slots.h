// Exchange slots, character settings and workspace limits, as the main program and the
// engine both use them. The slot numbers are the numbers the host passes to REGISTERINT
// and RETRIEVEINT (from 1).
#pragma once

#include <cstdint>

namespace slots {

inline constexpr int kCount = 32;      ///< slots 1..32
inline constexpr int32_t kUnset = -999;  ///< not set; in a menu slot: ask the user
inline constexpr int32_t kTrue = -1;     ///< logical slots: true is -1, tested non-zero

enum Slot : int16_t {
  kDataInputKind = 1,      ///< request 1: 1 keyboard/editor, 2 .DAT/.ASC, 3 ZVD read by host, 6 CSV/TXT/PRN, 7 TSD
  kNewDataOrganisation = 2,  ///< new-data-set dialog: organisation
  kNewDataFormat = 3,      ///< new-data-set dialog: format
  kNumVariables = 4,       ///< NVARS (host before a request; engine after every request 3)
  kActionPreset = 5,       ///< top-level action 1 data processing, 2 single equation, 3 system
  kSingleEqPreset = 6,     ///< Single Equation Estimation Menu preset (1..7)
  kFrequency = 7,          ///< 1 undated, 2 annual, 3 half-yearly, 4 quarterly, 5 monthly
  kNumObservations = 8,    ///< NOBS
  kSystemPreset = 9,       ///< System Estimation Menu preset (1..4)
  kDataProcessingPreset = 10,  ///< Data Processing Menu preset (1..5)
  kDataSavingPreset = 11,  ///< Data Saving Menu preset: 1 raw text, 2 ZVD, 3 CSV, 4 TSD
  kStartYear = 12,         ///< two digits for frequencies 3..5, full year when annual, 1 undated
  kStartPeriod = 13,       ///< 0 is taken as 1
  kCenturyBase = 14,       ///< 0 is taken as 1900 above frequency 2
  kMethodPreset = 15,      ///< first method menu of the single-equation kind
  kToolbarFunction = 17,   ///< function number of the toolbar button (dummy variables)
  kVarOrderPreset = 18,
  kVarOptionPreset = 19,
  kPeriodsPerYear = 20,    ///< 1, 1, 2, 4, 12 by frequency
  kSampleStart = 21,
  kSampleEnd = 22,
  kDataCapacity = 23,      ///< 124000 after the first request
  kSingleEqOption = 24,
  kEquationBoxWritten = 25,  ///< read only: 1 when the equation-box file was written
  kLinesPerPage = 26,
  kVarOrderChosen = 27,
  kSingleEqOptionOut = 28,
  kPlotCounters = 29,      ///< low 16 bits plots kept this request, high 16 bits running plot number
  kShowPlotsNow = 30,      ///< logical
  kEquationBoxRequest = 31,  ///< logical
  kEquationBoxDone = 32,   ///< logical
};

/// The two unsigned 16-bit halves of slot 29; they never carry into each other.
inline constexpr uint16_t plots_kept(int32_t slot29) { return static_cast<uint16_t>(static_cast<uint32_t>(slot29) & 0xFFFFu); }
inline constexpr uint16_t running_plot_number(int32_t slot29) { return static_cast<uint16_t>(static_cast<uint32_t>(slot29) >> 16); }
inline constexpr int32_t make_plot_counters(uint16_t kept, uint16_t running) {
  return static_cast<int32_t>((static_cast<uint32_t>(running) << 16) | kept);
}

}  // namespace slots

namespace charset {

/// Codes of REGISTERCHAR.
enum Code : int16_t {
  kDataFile = 1,
  kSampleText = 2,
  kSpecification = 3,
  kTempFolder = 4,
  kProgramFolder = 5,
};

inline constexpr int kPathWidth = 1024;        ///< every file-name or folder field
inline constexpr int kSampleWidth = 32;        ///< sample text, and the sample answer
inline constexpr int kSpecLines = 40;
inline constexpr int kSpecLineWidth = 78;
inline constexpr int kSpecWidth = kSpecLines * kSpecLineWidth;  ///< 3120
inline constexpr int kPromptWidth = 255;       ///< the engine's own prompt and title field

/// Width of the character setting with this code; 0 for an unknown code.
inline constexpr int width(int code) {
  switch (code) {
    case kDataFile: return kPathWidth;
    case kSampleText: return kSampleWidth;
    case kSpecification: return kSpecWidth;
    case kTempFolder: return kPathWidth;
    case kProgramFolder: return kPathWidth;
    default: return 0;
  }
}

}  // namespace charset

namespace limits {

inline constexpr int kMaxObs = 3100;        ///< observations a data set may hold
inline constexpr int kMaxVars = 200;        ///< variables a data set may hold
inline constexpr int kCapacity = 124000;    ///< values in the data matrix
inline constexpr int kMaxRegressors = 102;  ///< regressors of one equation
inline constexpr int kMaxLagList = 12;      ///< numbers in a list of lags
inline constexpr int kNameWidth = 14;       ///< stored width of a variable name
inline constexpr int kNameMax = 9;          ///< longest valid name
inline constexpr int kDescWidth = 80;       ///< width of a variable description
inline constexpr int kWorkArraySize = 356171;
inline constexpr double kMissing = 8934567.0;  ///< the missing-value code, printed "*NONE*"
inline constexpr double kTolerance = 1e-11;

/// Variables that fit beside nobs observations: min(200, 124000 div max(1, nobs)).
inline constexpr int max_vars_for(int nobs) {
  const int per = kCapacity / (nobs < 1 ? 1 : nobs);
  return per < kMaxVars ? per : kMaxVars;
}

}  // namespace limits
