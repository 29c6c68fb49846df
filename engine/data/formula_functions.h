// The operation table of the formula language: the five operators and the 26 function
// words, each with its operation code and its number of operands.
#pragma once

#include <string_view>

namespace qorv::data {

/// Operation codes (the position in the table).
enum FormulaCode : int {
  kAdd = 1, kMultiply = 2, kSubtract = 3, kDivide = 4, kPower = 5,
  kMin = 6, kMax = 7, kOrder = 8, kDirAcc = 9, kHpf = 10, kMav = 11, kGdl = 12,
  kLog = 13, kExp = 14, kAbs = 15, kSqrt = 16, kSin = 17, kCos = 18, kSum = 19,
  kCsum = 20, kUniform = 21, kNormal = 22, kRank = 23, kPhi = 24, kCphi = 25,
  kSign = 26, kSort = 27, kInvNorm = 28, kMean = 29, kStd = 30, kRate = 31,
};

inline constexpr int kLastOperatorCode = kPower;   ///< codes 1..5 are the operators
inline constexpr int kLastBinaryCode = kGdl;       ///< codes 1..12 take two operands
inline constexpr int kFormulaCodes = 31;

/// The word or operator of `code` (1..31); empty for any other code.
std::string_view formula_word(int code);

/// The code of `word` (an operator character or an upper-case function word, trailing
/// blanks ignored); 0 when it is neither.
int LOOKUPFUNCTION(std::string_view word);

/// Operands the operation of `code` takes: 2 for codes 1..12, 1 for 13..31.
constexpr int formula_arity(int code) { return code <= kLastBinaryCode ? 2 : 1; }

/// True for the functions whose value is one number over the whole sample, so that a
/// missing value anywhere leaves the whole result missing: SUM, MEAN, STD, DIRACC, HPF.
constexpr bool whole_sample_function(int code) {
  return code == kSum || code == kMean || code == kStd || code == kDirAcc || code == kHpf;
}

}  // namespace qorv::data
