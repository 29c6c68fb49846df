# Non-nested test statistics on the quarterly macro data, from R's lmtest package.
# Run from the repository root:  Rscript scripts/reference/nonnested.R
# Writes tests/reference/nonnested/expected.csv (CI never runs this script). Cases over
# 1960Q1-2008Q4: M1 = LC on INPT LY INFL against M2 = LC on INPT LY R, and M1 = LC on INPT
# INFL against the same M2 (two regressors of M2 outside M1, so that JA differs from J).
suppressPackageStartupMessages(library(lmtest))
unique_columns <- function(X1, X2) {
  X <- cbind(X1[, -1, drop = FALSE], X2[, -1, drop = FALSE])
  X[, !duplicated(colnames(X)), drop = FALSE]
}
one_case <- function(name, m1, m2) {
  n <- nobs(m1)
cox <- coxtest(m1, m2)
j <- jtest(m1, m2)
enc <- encomptest(m1, m2)
# JA: the t-ratio of z = the fitted values of the regression of a's fitted values on b's
# regressors, added to model a (the program prints it with the opposite sign).
ja <- function(a, b) {
  z <- fitted(lm(fitted(a) ~ model.matrix(b) - 1))
  fit <- lm(model.response(model.frame(a)) ~ model.matrix(a) + z - 1)
  s <- summary(fit)$coefficients
  s[nrow(s), "t value"]
}
# NT and W (Godfrey and Pesaran 1983) are in no R package: their published formulas are
# evaluated here with explicit n x n projection matrices.
godfrey_pesaran <- function(y, Xa, Xb) {
  n <- length(y); ka <- ncol(Xa); kb <- ncol(Xb)
  # Projections from an orthonormal basis: ln(sb/sba) amplifies the rounding of D, which
  # an explicit inverse of X'X would leave some 1e-9 away.
  proj <- function(X) {
    Q <- qr.Q(qr(X))
    Q %*% t(Q)
  }
  Pa <- proj(Xa); Ma <- diag(n) - Pa; Mb <- diag(n) - proj(Xb)
  ya <- Pa %*% y
  D <- sum((Mb %*% ya)^2); E <- sum((Ma %*% Mb %*% ya)^2)
  sa <- sum((Ma %*% y)^2) / (n - ka); sb <- sum((Mb %*% y)^2) / (n - kb)
  trMM <- sum(diag(Ma %*% Mb))
  sba <- (sa * trMM + D) / (n - kb)
  B <- Ma %*% Mb %*% Ma - trMM / (n - ka) * Ma
  tau <- sum(diag(B %*% B))
  c(NT = ((n - kb) / 2) * log(sb / sba) / sqrt((sa / sba^2) * (E + sa * tau / 2)),
    W = (n - kb) * (sb - sba) / sqrt(2 * sa^2 * tau + 4 * sa * E))
}
X1 <- model.matrix(m1); X2 <- model.matrix(m2)
gp12 <- godfrey_pesaran(d$LC, X1, X2); gp21 <- godfrey_pesaran(d$LC, X2, X1)
fmt <- function(x) trimws(formatC(x, digits = 17, format = "g"))
row <- function(quantity, value, definition, tol = "1e-09", kind = "rel")
  data.frame(case = name, quantity = quantity, value = fmt(value), tolerance = tol,
             tol_kind = kind, reading = "definite", definition = definition, peer = "R")
m12 <- lm(LC ~ ., data = cbind(LC = d$LC, as.data.frame(unique_columns(X1, X2))))
out <- rbind(
  row("N", n, "observations", "0", "abs"),
  row("N_12", cox[1, "z value"], "Cox N statistic of M1 against M2 (lmtest coxtest)"),
  row("N_21", cox[2, "z value"], "Cox N statistic of M2 against M1 (lmtest coxtest)"),
  row("NT_12", gp12["NT"], "Godfrey-Pesaran NT of M1 against M2 (published formula, explicit matrices)"),
  row("NT_21", gp21["NT"], "Godfrey-Pesaran NT of M2 against M1 (published formula, explicit matrices)"),
  row("W_12", gp12["W"], "Godfrey-Pesaran W of M1 against M2 (published formula, explicit matrices)"),
  row("W_21", gp21["W"], "Godfrey-Pesaran W of M2 against M1 (published formula, explicit matrices)"),
  row("J_12", j[1, "t value"], "J t-ratio of M1 against M2 (lmtest jtest)"),
  row("J_21", j[2, "t value"], "J t-ratio of M2 against M1 (lmtest jtest)"),
  row("JA_T_12", ja(m1, m2), "t-ratio of fitted(lm(fitted(M1) ~ X2)) added to M1"),
  row("JA_T_21", ja(m2, m1), "t-ratio of fitted(lm(fitted(M2) ~ X1)) added to M2"),
  row("F_12", enc[1, "F"], "encompassing F of M1 against M1+M2 (lmtest encomptest)"),
  row("F_21", enc[2, "F"], "encompassing F of M2 against M1+M2 (lmtest encomptest)"),
  row("RSS1", deviance(m1), "residual sum of squares of M1"),
  row("RSS2", deviance(m2), "residual sum of squares of M2"),
  row("RSS12", deviance(m12), "residual sum of squares of M1+M2"),
  row("LL1", as.numeric(logLik(m1)), "log-likelihood of M1"),
  row("LL2", as.numeric(logLik(m2)), "log-likelihood of M2"),
  row("LL12", as.numeric(logLik(m12)), "log-likelihood of M1+M2"))
out
}

d <- read.csv("tests/reference/ols-macro/data.csv")
out <- rbind(
  one_case("LC_LY_INFL_VS_LY_R", lm(LC ~ LY + INFL, data = d), lm(LC ~ LY + R, data = d)),
  one_case("LC_INFL_VS_LY_R", lm(LC ~ INFL, data = d), lm(LC ~ LY + R, data = d)))
write.csv(out, "tests/reference/nonnested/expected.csv", row.names = FALSE, quote = FALSE)
