// The numbered explanations of the message file "ERROR4.ZQT" in the program folder, by
// what they explain. Show one with SHOWMSGFILE(kName.first, kName.last); a test checks
// that the shipped file holds every line listed here.
#pragma once

#include <array>

namespace qorv::core {

/// Lines first..last (from 1) of the message file.
struct MessageLines {
  int first;  ///< first line shown
  int last;   ///< last line shown
};

namespace msg {
inline constexpr MessageLines kNoVariables{1, 1};            ///< the workspace holds no variables
inline constexpr MessageLines kSampleGap{2, 2};              ///< missing values inside the sample
inline constexpr MessageLines kWorkspaceFull{3, 3};          ///< no room for another variable
inline constexpr MessageLines kTooFewForRegressors{4, 4};    ///< observations not above the regressors
inline constexpr MessageLines kSampleTooShort{5, 5};         ///< too few observations for the model
inline constexpr MessageLines kExactFit{6, 9};               ///< a perfect fit of a method other than OLS
inline constexpr MessageLines kSingularInstruments{11, 12};  ///< singular instrument or second-stage matrix
inline constexpr MessageLines kSingularMatrix{13, 14};       ///< a matrix that cannot be inverted or factored
inline constexpr MessageLines kBatchFileEnd{17, 17};         ///< end of the batch file
inline constexpr MessageLines kStatementTooLong{29, 29};     ///< a statement beyond its capacity
inline constexpr MessageLines kFormulaTooComplex{30, 30};    ///< the evaluator's stack overflowed
inline constexpr MessageLines kListFileRead{31, 31};         ///< an .EQU/.LST file could not be read
inline constexpr MessageLines kListFileWrite{32, 32};        ///< an .EQU/.LST file could not be written
inline constexpr MessageLines kNotForThisMethod{33, 33};     ///< option or test not available for the method
inline constexpr MessageLines kTooFewForTest{34, 34};        ///< too few observations for the test
inline constexpr MessageLines kExactFitRecursive{35, 37};    ///< CUSUM on an exact fit
inline constexpr MessageLines kDeletionListUnusable{38, 38}; ///< the deletion test's list cannot be used
inline constexpr MessageLines kSingularTestRegression{39, 39};  ///< restricted or extended regression singular
inline constexpr MessageLines kMaStartFailed{40, 41};        ///< no usable start of the MA recursion
inline constexpr MessageLines kSingularDerivatives{42, 44};  ///< non-linear derivatives singular
inline constexpr MessageLines kNonNestedSingular{46, 46};    ///< a non-nested test's matrix is singular
inline constexpr MessageLines kDataSetTooLarge{52, 54};      ///< a data set beyond the workspace limits
inline constexpr MessageLines kWriteError{55, 55};           ///< a data file could not be written
inline constexpr MessageLines kFrequencyMismatch{58, 61};    ///< a file of another frequency cannot be added
inline constexpr MessageLines kBadVariableNames{78, 81};     ///< invalid or repeated names when combining files
inline constexpr MessageLines kNonNestedSameModels{90, 90};  ///< the two models are the same
inline constexpr MessageLines kNonNestedRules{91, 97};       ///< what the non-nested tests need
inline constexpr MessageLines kNonNestedNested{98, 98};      ///< one model nests the other
inline constexpr MessageLines kNonNestedDependents{99, 99};  ///< dependent variables that cannot be compared
inline constexpr MessageLines kNonNestedSameFit{100, 100};   ///< the fitted values are almost the same
inline constexpr MessageLines kArFirstStepFailed{101, 102};  ///< first regression of the AR iteration singular
inline constexpr MessageLines kArIterationFailed{103, 104};  ///< a step of the AR iteration singular
inline constexpr MessageLines kOverflow{121, 125};           ///< values too large in an iteration
inline constexpr MessageLines kMissingValueMet{126, 131};    ///< the missing-value code met in the data or a formula
inline constexpr MessageLines kOneVectorRestrictions{132, 137};  ///< too few restrictions on one vector

/// Every group above.
inline constexpr std::array kAll = {
    kNoVariables,        kSampleGap,           kWorkspaceFull,         kTooFewForRegressors, kSampleTooShort,
    kExactFit,           kSingularInstruments, kSingularMatrix,        kBatchFileEnd,        kStatementTooLong,
    kFormulaTooComplex,  kListFileRead,        kListFileWrite,         kNotForThisMethod,    kTooFewForTest,
    kExactFitRecursive,  kDeletionListUnusable, kSingularTestRegression, kMaStartFailed,     kSingularDerivatives,
    kNonNestedSingular,  kDataSetTooLarge,     kWriteError,            kFrequencyMismatch,   kBadVariableNames,
    kNonNestedSameModels, kNonNestedRules,     kNonNestedNested,       kNonNestedDependents, kNonNestedSameFit,
    kArFirstStepFailed,  kArIterationFailed,   kOverflow,              kMissingValueMet,     kOneVectorRestrictions};
}  // namespace msg

}  // namespace qorv::core
