#include "app/method_menus.h"

namespace zelvorin {

namespace {

constexpr MethodItem kUnivariate[] = {
    {"&1 Linear regression menu", 2014, "&1 Ordinary Least Squares", 11, 20141},
    {"&1 Linear regression menu", 2014, "&2 Gen. Inst. Var. Method", 12, 20142},
    {"&1 Linear regression menu", 2014, "&3 AR Errors (Exact ML) J<=2", 13, 20143},
    {"&1 Linear regression menu", 2014, "&4 AR Errors (Cochrane-Orcutt) J<=12", 14, 20144},
    {"&1 Linear regression menu", 2014, "&5 AR Errors (Gauss-Newton)", 15, 20145},
    {"&1 Linear regression menu", 2014, "&6 IV with AR Errors (Gauss-Newton)", 16, 20146},
    {"&1 Linear regression menu", 2014, "&7 MA Errors (Exact ML) J<=12", 17, 20147},
    {"&1 Linear regression menu", 2014, "&8 IV with MA Errors  J<=12", 18, 20148},
    {"&1 Linear regression menu", 2014, "&9 GARCH-M estimation", 19, 20149},
    {"&2 Recursive linear reg'n menu", 2035, "&1 Recursive Least Squares", 21, 20351},
    {"&2 Recursive linear reg'n menu", 2035, "&2 2-stage Recursive Least Squares", 22, 20352},
    {"&3 Rolling linear regression menu", 2047, "&1 Rolling least squares", 32, 20472},
    {"&3 Rolling linear regression menu", 2047, "&2 Rolling 2-stage least squares", 33, 20473},
    // The non-linear items skip option 1 of their estimation menu ("Edit initial parameter
    // estimates"), as the rolling items skip the window size: the grid is shown anyway.
    {"&4 Non-linear regression menu", 2034, "&1 Nonlinear least squares", 42, 20342},
    {"&4 Non-linear regression menu", 2034, "&2 Nonlinear 2-stage least squares", 43, 20343},
    {"&5 Phillips-Hansen est'n menu", 2011, "&1 None of the regressors has a drift", 51, 20111},
    {"&5 Phillips-Hansen est'n menu", 2011, "&2 At least one regressor has a drift", 52, 20112},
    {nullptr, 0, "&6 ARDL approach to cointegration", 61, 20396},
    {nullptr, 0, "&7 Logit and Probit models", 71, 20397},
};

constexpr MethodItem kMultivariate[] = {
    {nullptr, 0, "&1 Unrestricted VAR", 11, 20321},
    {"&2 Cointegrating VAR menu", 2025, "&1 No intercepts or trends", 21, 20251},
    {"&2 Cointegrating VAR menu", 2025, "&2 Rest'd intercepts, no trends", 22, 20252},
    {"&2 Cointegrating VAR menu", 2025, "&3 Unrest'd intercepts, no trends", 23, 20253},
    {"&2 Cointegrating VAR menu", 2025, "&4 Unrest'd inpts, rest'd trends", 24, 20254},
    {"&2 Cointegrating VAR menu", 2025, "&5 Unrest'd inpts, unrest'd trends", 25, 20255},
    {nullptr, 0, "&3 SURE method", 31, 20323},
    {nullptr, 0, "&4 Restricted SURE method", 41, 20324},
};

}  // namespace

std::span<const MethodItem> method_items(MethodMenu menu) {
  if (menu == MethodMenu::kUnivariate) return kUnivariate;
  return kMultivariate;
}

int method_menu_help(MethodMenu menu) { return menu == MethodMenu::kUnivariate ? 2039 : 2032; }

MethodChoice method_of_tag(int tag) { return {(tag - 1) / 10 - 1, (tag - 1) % 10}; }

QString method_caption(MethodMenu menu, const MethodItem& item) {
  QString text = QString::fromLatin1(item.caption).mid(3);
  if (menu == MethodMenu::kMultivariate) {
    text.replace(QStringLiteral("est'd"), QStringLiteral("estricted"));
    text.replace(QStringLiteral("inpts"), QStringLiteral("intercepts"));
  }
  if (item.group == nullptr) return text;
  // "&3 Rolling linear regression menu - " loses "menu" (the blank before it stays) and
  // its accelerator, digit and blank.
  QString group = QString::fromLatin1(item.group) + QStringLiteral(" - ");
  group.remove(group.size() - 7, 4);
  group.remove(0, 3);
  if (menu == MethodMenu::kUnivariate) {
    group.replace(QStringLiteral("reg'n"), QStringLiteral("regression"));
    group.replace(QStringLiteral("est'n"), QStringLiteral("estimation"));
  }
  return group + text;
}

}  // namespace zelvorin
