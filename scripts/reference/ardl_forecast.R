# Dynamic forecasts of an ARDL(1,1,0) of LC on LY and R with an intercept, on the quarterly
# macro data: least squares over 1961Q1-2006Q4 (the sample 1960Q1-2006Q4 less the four
# observations a maximum lag of 4 holds back), then forecasts of 2007Q1-2008Q4 in which
# LC(-1) takes the previous forecast after 2006Q4 and LY, LY(-1) and R their data.
# Run from the repository root:  Rscript scripts/reference/ardl_forecast.R
# Writes tests/reference/ardl-forecast/expected.csv (CI never runs this script).
d <- read.csv("tests/reference/ols-macro/data.csv")
n_all <- nrow(d)
lag1 <- function(v) c(NA, v[-length(v)])
d$LC1 <- lag1(d$LC)
d$LY1 <- lag1(d$LY)
est <- 5:188  # 1961Q1 .. 2006Q4
fit <- lm(LC ~ LC1 + LY + LY1 + R, data = d[est, ])
b <- coef(fit)
pred <- rep(NA_real_, n_all)
pred[est] <- fitted(fit)
prev <- d$LC[188]
for (t in 189:196) {
  pred[t] <- b[1] + b["LC1"] * prev + b["LY"] * d$LY[t] + b["LY1"] * d$LY1[t] + b["R"] * d$R[t]
  prev <- pred[t]
}
err <- d$LC - pred
out <- data.frame(name = character(), value = character())
add <- function(name, v) out[nrow(out) + 1, ] <<- list(name, trimws(formatC(v, digits = 17, format = "g")))
for (t in c(5, 188, 189:196)) {
  add(paste0("PRED:", d$obs[t]), pred[t])
  add(paste0("ERR:", d$obs[t]), err[t])
}
add("LL", as.numeric(logLik(fit)))
e_in <- err[est]; e_out <- err[189:196]
add("IN_MEAN", mean(e_in)); add("IN_MEAN_ABS", mean(abs(e_in)))
add("IN_MEAN_SQ", mean(e_in^2)); add("IN_RMS", sqrt(mean(e_in^2)))
add("OUT_MEAN", mean(e_out)); add("OUT_MEAN_ABS", mean(abs(e_out)))
add("OUT_MEAN_SQ", mean(e_out^2)); add("OUT_RMS", sqrt(mean(e_out^2)))
write.csv(out, "tests/reference/ardl-forecast/expected.csv", row.names = FALSE, quote = FALSE)
