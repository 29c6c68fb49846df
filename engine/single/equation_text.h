// The text of the estimated single equation, written to the model page so that the
// results viewer can save it as a model file: the regression with its coefficients, the
// AR or MA error process, and the conditional-variance equation of a GARCH-family model.
#pragma once

#include <string>
#include <vector>

namespace qorv::single {

/// Lines of the equation block and their width.
inline constexpr int kEquationLines = 40;
inline constexpr int kEquationWidth = 78;

/// The equation of the current estimate as lines of at most 78 columns (at most 40),
/// broken between terms. Each coefficient is a 9-column real number followed by its term,
/// the terms joined by their signs:
///   regression  "Y = b1*X1 + b2*X2"
///   AR errors   "+ u ; u = r1*u(-1) ..."; MA errors "+ u ; u = e + m1*e(-1) ..."
///   GARCH       "[+ d*hsq] ; hsq = c + a*esq(-1) + g*hsq(-1)" ("h =", "ABS(e(-i))",
///               "h(-j)" for the absolute form; "LOG(hsq) =", "(e/h)(-i)",
///               "(ABS(e(-i))/h(-i)-E|z|)", "LOG(hsq(-j))" for the exponential form),
///               then the variance-equation variables.
/// Non-linear estimates (14, 15) write no lines.
std::vector<std::string> equation_lines();

/// `GARCHFORMULA`: writes the equation's lines to the model page (channel 58).
void GARCHFORMULA();

}  // namespace qorv::single
