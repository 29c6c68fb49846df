#include "engine/single/equation_text.h"

#include <cmath>

#include "engine/core/channels.h"
#include "engine/core/number_format.h"
#include "engine/single/estimation_state.h"
#include "engine/single/garch_likelihood.h"

namespace qorv::single {

namespace {

/// The pieces of the equation in order; lines break only between pieces.
class Pieces {
 public:
  void word(std::string text) { pieces_.push_back(std::move(text)); }

  /// A coefficient and its term: the first of a side carries its own sign, later ones
  /// are joined by theirs.
  void term(double value, const std::string& what) {
    // A sign stays on the line of its term.
    std::string number = trim(core::FORMATREAL9(first_ ? value : std::fabs(value)));
    pieces_.push_back(first_ ? number + what : std::string(value < 0.0 ? "- " : "+ ") + number + what);
    first_ = false;
  }

  /// Starts a side of an equation whose first term carries its own sign.
  void side(std::string left) {
    pieces_.push_back(std::move(left));
    pieces_.push_back("=");
    first_ = true;
  }

  void joined() { first_ = false; }

  std::vector<std::string> lines() const {
    std::vector<std::string> out(1);
    for (const std::string& p : pieces_) {
      std::string& line = out.back();
      if (!line.empty() && line.size() + 1 + p.size() > static_cast<size_t>(kEquationWidth)) {
        if (static_cast<int>(out.size()) == kEquationLines) break;
        out.emplace_back();
      }
      std::string& current = out.back();
      if (!current.empty()) current += ' ';
      current += p.substr(0, kEquationWidth);
    }
    if (out.back().empty()) out.pop_back();
    return out;
  }

 private:
  static std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(' ') - b + 1);
  }

  std::vector<std::string> pieces_;
  bool first_ = true;
};

std::string lagged(const std::string& head, int lag, const std::string& tail) {
  return head + std::to_string(lag) + tail;
}

}  // namespace

std::vector<std::string> equation_lines() {
  const auto& s = estimation();
  // A non-linear equation is its formula, not a list of regressors: nothing is written.
  if (s.eqvarnames.empty() || method_row(s.method).family == Family::kNonLinear) return {};
  Pieces p;
  p.side(s.eqvarnames.front());
  int i = 1;
  for (; i <= s.nregs && static_cast<size_t>(i) < s.eqvarnames.size(); ++i)
    p.term(coefficient(i), "*" + s.eqvarnames[static_cast<size_t>(i)]);
  const bool garch = method_row(s.method).family == Family::kGarch;
  if (!garch && !s.arma_lags.empty()) {
    const bool ma = has_ma_errors(s.method);
    p.word("+");
    p.word("u");
    p.word(";");
    p.side("u");
    if (ma) {
      p.word("e");
      p.joined();
    }
    for (const int lag : s.arma_lags) p.term(coefficient(i++), lagged(ma ? "*e(-" : "*u(-", lag, ")"));
    return p.lines();
  }
  if (!garch) return p.lines();

  const GarchFlags& g = s.garch;
  if (g.in_mean) p.term(coefficient(i++), "*hsq");
  p.word(";");
  p.side(g.absolute ? "h" : g.exponential ? "LOG(hsq)" : "hsq");
  p.term(coefficient(i++), "");
  for (const int lag : g.ma_lags)
    p.term(coefficient(i++), g.absolute ? lagged("*ABS(e(-", lag, "))") : g.exponential ? lagged("*(e/h)(-", lag, ")")
                                                                                    : lagged("*esq(-", lag, ")"));
  if (g.exponential) {
    const double v = g.distribution != 0 ? coefficient(parameter_count()) : 0.0;
    const std::string mean_abs = core::FORMATREAL9(expected_absolute_error(g.distribution != 0, v));
    for (const int lag : g.ma_lags)
      p.term(coefficient(i++), "*(ABS(e(-" + std::to_string(lag) + "))/h(-" + std::to_string(lag) + ")-" +
                                   mean_abs.substr(mean_abs.find_first_not_of(' ')) + ")");
  }
  for (const int lag : g.ar_lags)
    p.term(coefficient(i++), g.absolute ? lagged("*h(-", lag, ")") : g.exponential ? lagged("*LOG(hsq(-", lag, "))")
                                                                                   : lagged("*hsq(-", lag, ")"));
  for (const auto& name : g.variance_names) p.term(coefficient(i++), "*" + name);
  return p.lines();
}

void GARCHFORMULA() {
  for (std::string line : equation_lines()) {
    line.resize(kEquationWidth, ' ');
    core::write_record(core::channel::kModelPage, line);
  }
}

}  // namespace qorv::single
