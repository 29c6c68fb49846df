# Forecasts of LC = A + B*LY + C*LOG(INFL+5) fitted by non-linear least squares over
# 1960Q1-2006Q4 on the quarterly macro data, for 2007Q1-2008Q3 (INFL+5 is negative in
# 2008Q4, where the formula has no value). The formula has no lagged LC, so its dynamic
# forecasts are the fitted formula at each observation.
# Run from the repository root:  Rscript scripts/reference/nonlinear_forecast.R
# Writes tests/reference/nls-forecast/expected.csv (CI never runs this script).
d <- read.csv("tests/reference/ols-macro/data.csv")
est <- 1:188
fit <- nls(LC ~ A + B * LY + C * log(INFL + 5), data = d[est, ], start = list(A = 0, B = 1, C = 0))
future <- 189:195
pred <- predict(fit, newdata = d[future, ])
err <- d$LC[future] - pred
out <- data.frame(name = character(), value = character())
add <- function(name, v) out[nrow(out) + 1, ] <<- list(name, trimws(formatC(v, digits = 17, format = "g")))
for (i in seq_along(future)) {
  add(paste0("PRED:", d$obs[future[i]]), pred[i])
  add(paste0("ERR:", d$obs[future[i]]), err[i])
}
add("MEAN_ERR", mean(err)); add("MEAN_ABS_ERR", mean(abs(err)))
add("MEAN_SQ_ERR", mean(err^2)); add("RMSE", sqrt(mean(err^2)))
write.csv(out, "tests/reference/nls-forecast/expected.csv", row.names = FALSE, quote = FALSE)
