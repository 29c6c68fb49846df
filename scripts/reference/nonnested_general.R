# Non-nested statistics of two regressions whose dependent variables are different
# functions of one variable, on the quarterly macro data. Run from the repository root:
#   Rscript scripts/reference/nonnested_general.R
# Writes tests/reference/nonnested-general/expected.csv (CI never runs this script).
# Y = C = exp(LC), INC = exp(LY); M1 = LC on INPT LY INFL (F = log Y, DF = 1/Y); M2 = C on INPT INC R
# (G = Y, DG = 1), 1960Q1-2008Q4. PE checked against lmtest::petest; BM, DL, the adjusted
# log-likelihoods and the two criteria from their published definitions with lm().
# PE's added terms run M1's side less M2's in both directions: G(F^-1(fit1)) - fit2 in M1's
# regression and fit1 - F(G^-1(fit2)) in M2's. lmtest::petest writes its terms as the linear
# model's side less the log model's, so its t-ratios are these with the linear model as M1
# (the case LEVEL_C_INC_R_VS_LC_LY_INFL below) and their negatives with the log model as M1.
suppressPackageStartupMessages(library(lmtest))
d <- read.csv("tests/reference/ols-macro/data.csv")
d$C <- exp(d$LC)
d$INC <- exp(d$LY)
m1 <- lm(LC ~ LY + INFL, data = d)
m2 <- lm(C ~ INC + R, data = d)
n <- nrow(d)
X <- model.matrix(m1); Z <- model.matrix(m2)
F <- d$LC; G <- d$C; DF <- 1 / d$C; DG <- rep(1, n)
ml_sigma <- function(m) sqrt(sum(resid(m)^2) / n)
s1 <- ml_sigma(m1); s2 <- ml_sigma(m2)
l1 <- dnorm(resid(m1), 0, s1, log = TRUE) + log(abs(DF))
l2 <- dnorm(resid(m2), 0, s2, log = TRUE) + log(abs(DG))
dt <- l1 - l2
# The t-ratio of the column v added to the regression of y on A.
added_t <- function(y, A, v) {
  s <- summary(lm(y ~ A + v - 1))$coefficients
  s[nrow(s), "t value"]
}
# PE: exp(fit1) - fit2 in M1's regression, fit1 - log(fit2) in M2's; lmtest's terms with
# the log model as M1 are fit2 - exp(fit1) and log(fit2) - fit1.
pe <- petest(m1, m2)
pe12 <- added_t(F, X, exp(fitted(m1)) - fitted(m2))
pe21 <- added_t(G, Z, fitted(m1) - log(fitted(m2)))
stopifnot(isTRUE(all.equal(c(pe12, pe21), -pe[, "t value"], tolerance = 1e-10, check.attributes = FALSE)))
# BM: the residuals of g(f^-1(fitted)) on the rival's regressors, added to the model.
bm12 <- added_t(F, X, resid(lm(exp(fitted(m1)) ~ Z - 1)))
bm21 <- added_t(G, Z, resid(lm(log(fitted(m2)) ~ X - 1)))
# DL: the double-length regression of [e_a; 1] on [A, e_a, e_a - e_b; 0, -1, Db*sa/(Da*sb) - 1].
dl <- function(A, ea, eb, Da, Db, sa, sb) {
  k <- ncol(A)
  y <- c(ea, rep(1, n))
  W <- rbind(cbind(A, ea, ea - eb), cbind(matrix(0, n, k), -1, Db * sa / (Da * sb) - 1))
  s <- summary(lm(y ~ W - 1))$coefficients
  s[nrow(s), "t value"]
}
e1 <- resid(m1) / s1; e2 <- resid(m2) / s2
dl12 <- dl(X, e1, e2, DF, DG, s1, s2)
dl21 <- dl(Z, e2, e1, DG, DF, s2, s1)
omega2 <- sum((dt - mean(dt))^2) / n
rows <- data.frame(
  quantity = c("N", "LL1", "LL2", "PE_12", "PE_21", "BM_12", "BM_21", "DL_12", "DL_21", "SARGAN", "VUONG",
               "S1", "S2", "SE1", "SE2", paste0("B1_", 1:3), paste0("B2_", 1:3)),
  value = c(n, sum(l1), sum(l2), pe12, pe21, bm12, bm21, dl12, dl21, sum(dt),
            sum(dt) / sqrt(n * omega2), s1, s2, summary(m1)$sigma, summary(m2)$sigma, coef(m1), coef(m2)))
rows$case <- "LC_LY_INFL_VS_C_INC_R"
rows$tolerance <- ifelse(rows$quantity == "N", 0, 1e-8)
rows$tol_kind <- ifelse(rows$quantity == "N", "abs", "rel")
rows$reading <- "definite"
rows$definition <- c("observations", "adjusted log-likelihood of M1 (ln|DF| added)", "adjusted log-likelihood of M2",
                     "PE M1 against M2: exp(fit1) - fit2 added (minus lmtest petest's)",
                     "PE M2 against M1: fit1 - log(fit2) added (minus lmtest petest's)",
                     "BM M1 against M2", "BM M2 against M1", "double-length t-ratio M1 against M2",
                     "double-length t-ratio M2 against M1", "LL1 - LL2", "Vuong statistic",
                     "ML sigma of M1 (RSS/n)", "ML sigma of M2", "standard error of M1 (RSS/(n-k))", "standard error of M2",
                     paste("M1 coefficient", 1:3), paste("M2 coefficient", 1:3))
rows$peer <- "R"
write.csv(rows[, c("case", "quantity", "value", "tolerance", "tol_kind", "reading", "definition", "peer")],
          "tests/reference/nonnested-general/expected.csv", row.names = FALSE, quote = FALSE)
# The qorv-run script's case (tests/tools/non_nested_general_macro.script), 1960Q2-2008Q4:
# M1 = LC on INPT LY INFL (linear in Y = LC), M2 = LC - LC(-1) on INPT INFL R, the
# difference formed from the observed lag.
s <- 2:n
lag <- d$LC[s - 1]
md1 <- lm(LC ~ LY + INFL, data = d[s, ])
dlc <- d$LC[s] - lag
md2 <- lm(dlc ~ INFL + R, data = d[s, ])
pe12 <- added_t(d$LC[s], model.matrix(md1), (fitted(md1) - lag) - fitted(md2))
pe21 <- added_t(dlc, model.matrix(md2), fitted(md1) - (fitted(md2) + lag))
diff_rows <- data.frame(case = "LC_LY_INFL_VS_DLC_INFL_R", quantity = c("N", "PE_12", "PE_21"),
                        value = c(length(s), pe12, pe21), tolerance = c(0, 1e-8, 1e-8),
                        tol_kind = c("abs", "rel", "rel"), reading = "definite",
                        definition = c("observations", "PE M1 against M2", "PE M2 against M1"), peer = "R")
write.table(diff_rows, "tests/reference/nonnested-general/expected.csv", sep = ",", append = TRUE,
            row.names = FALSE, col.names = FALSE, quote = FALSE)
# The same two models the other way round, the linear model as M1: M1 = C on INPT INC R
# (F = Y, DF = 1), M2 = LC on INPT LY INFL (G = log Y, DG = 1/Y). PE straight from
# lmtest::petest: log(fit1) - fit2 in M1's regression, fit1 - exp(fit2) in M2's.
pe_level <- petest(m2, m1)
level_rows <- data.frame(case = "LEVEL_C_INC_R_VS_LC_LY_INFL", quantity = c("N", "PE_12", "PE_21"),
                         value = c(n, pe_level[1, "t value"], pe_level[2, "t value"]), tolerance = c(0, 1e-8, 1e-8),
                         tol_kind = c("abs", "rel", "rel"), reading = "definite",
                         definition = c("observations", "PE M1 against M2 (lmtest petest)",
                                        "PE M2 against M1 (lmtest petest)"), peer = "R")
write.table(level_rows, "tests/reference/nonnested-general/expected.csv", sep = ",", append = TRUE,
            row.names = FALSE, col.names = FALSE, quote = FALSE)
