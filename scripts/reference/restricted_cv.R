# Restricted cointegrating vectors on the quarterly macro data (LC LY LI, VAR(2),
# unrestricted intercept, 1960Q1-2008Q4, n = 196), from gretl's vecm with restrict and
# R's urca (blrtest, bh5lrtest, bh6lrtest).
# Run from the repository root:  Rscript scripts/reference/restricted_cv.R
# Needs gretlcli and the urca package. Writes tests/reference/restricted-cv/expected.csv
# (CI never runs this script).
#
# Cases (the vectors are the columns of beta, k = 3 rows LC LY LI):
#   G1  r = 1: b1 = 1, b2 = -1                     (over-identified by one)
#   G2E r = 2: b11 = 1, b12 = 0, b21 = 0, b22 = 1  (exactly identified)
#   G2O r = 2: G2E and b13 = b23                   (over-identified by one)
#   S1, S2  r = 1, 2: the same restriction b1 + b2 = 0 on every vector (blrtest)
#   F2  r = 2: one vector known, (1, -1, 0)         (bh5lrtest)
#   F1  r = 1: the vector known, (1, -1, 0)         (bh5lrtest)
#   F1  r = 1: the vector known: computed from ca.jo's residual blocks (bh5lrtest needs
#       a free vector)
# With k = 3, restrictions on one vector of r = 2 must number at least 2, which fixes the
# vector up to scale (F2's test); with r = 1 they are S1's. bh6lrtest refuses a one-column
# H, so those two cases serve for it.
# gretl maximises by L-BFGS at its tightest tolerance: its default switching stops some
# 1e-5 short in the statistic.
# Quantities: LL (restricted log-likelihood), LR and DF of the restrictions, BETA:i:j
# (element i of vector j), SE:i:j (gretl's standard error times sqrt((n - kreg - r)/n),
# gretl's error covariance being divided by n - kreg - r rather than n).
suppressPackageStartupMessages(library(urca))
data_file <- "/work/shared/reference/cointegration/data.csv"
out_file <- "tests/reference/restricted-cv/expected.csv"
n <- 196
kreg <- 4
rows <- list()
add <- function(case, quantity, value, tol, kind, definition, peer) {
  rows[[length(rows) + 1]] <<- data.frame(case = case, quantity = quantity,
    value = sprintf("%.17g", value), tolerance = tol, tol_kind = kind, reading = "definite",
    definition = definition, peer = peer)
}

gretl_case <- function(case, r, restrictions) {
  script <- tempfile(fileext = ".inp")
  writeLines(c(
    sprintf("open %s --quiet", data_file),
    "smpl 1960:1 2008:4",
    "set bfgs_toler 1e-15",
    sprintf("vecm 2 %d LC LY LI --quiet", r),
    "scalar lu = $lnl",
    sprintf("vecm 2 %d LC LY LI --quiet", r),
    "restrict --full --quiet --lbfgs", restrictions, "end restrict",
    "matrix B = $jbeta",
    "matrix V = $jvbeta",
    "printf \"LU %.17g\\n\", lu",
    "printf \"LL %.17g\\n\", $lnl",
    "printf \"T %d\\n\", $T",
    "loop i = 1 .. rows(B) --quiet",
    "  loop j = 1 .. cols(B) --quiet",
    "    printf \"BETA %d %d %.17g\\n\", i, j, B[i, j]",
    "  endloop",
    "endloop",
    "loop i = 1 .. rows(V) --quiet",
    "  printf \"VAR %d %.17g\\n\", i, V[i, i]",
    "endloop"), script)
  out <- system2("gretlcli", c("-b", script), stdout = TRUE)
  pick <- function(tag) strsplit(grep(paste0("^", tag, " "), out, value = TRUE), " ")
  stopifnot(as.integer(pick("T")[[1]][2]) == n)
  lu <- as.numeric(pick("LU")[[1]][2])
  ll <- as.numeric(pick("LL")[[1]][2])
  add(case, "LL", ll, 1e-9, "rel", "restricted log-likelihood", "gretl vecm restrict")
  add(case, "LR", 2 * (lu - ll), 1e-6, "abs", "2 (LL(r) - LL restricted)", "gretl vecm restrict")
  k <- 3
  for (b in pick("BETA")) {
    add(case, sprintf("BETA:%s:%s", b[2], b[3]), as.numeric(b[4]), 1e-6, "abs",
        "element i of restricted vector j", "gretl vecm restrict")
  }
  for (v in pick("VAR")) {
    idx <- as.integer(v[2]) - 1
    i <- idx %% k + 1
    j <- idx %/% k + 1
    var <- as.numeric(v[3])
    se <- if (var > 1e-20) sqrt(var) * sqrt((n - kreg - r) / n) else 0
    add(case, sprintf("SE:%d:%d", i, j), se, 1e-6, "rel",
        "standard error of element i of vector j: gretl's times sqrt((n - kreg - r)/n); 0 for a fixed element",
        "gretl vecm restrict")
  }
}

gretl_case("G1", 1, c("b[1] = 1", "b[2] = -1"))
gretl_case("G2E", 2, c("b[1,1] = 1", "b[1,2] = 0", "b[2,1] = 0", "b[2,2] = 1"))
gretl_case("G2O", 2, c("b[1,1] = 1", "b[1,2] = 0", "b[2,1] = 0", "b[2,2] = 1", "b[1,3] - b[2,3] = 0"))

# urca: ca.jo over 1959Q3-2008Q4 (K = 2 lags leave 196 observations), unrestricted constant.
raw <- read.csv(data_file)
z <- as.matrix(raw[2:nrow(raw), c("LC", "LY", "LI")])
jo <- ca.jo(z, ecdet = "none", type = "eigen", K = 2, spec = "longrun")
stopifnot(nrow(jo@Z0) == n)
urca_case <- function(case, test, peer) {
  add(case, "LR", test@teststat, 1e-6, "abs", "likelihood-ratio statistic of the restrictions", peer)
  add(case, "DF", test@pval[2], 0, "abs", "its degrees of freedom", peer)
}
H_same <- matrix(c(1, -1, 0, 0, 0, 1), nrow = 3)  # b1 + b2 = 0
known <- matrix(c(1, -1, 0), nrow = 3)
urca_case("S1", blrtest(jo, H = H_same, r = 1), "urca blrtest")
urca_case("S2", blrtest(jo, H = H_same, r = 2), "urca blrtest")
urca_case("F2", bh5lrtest(jo, H = known, r = 2), "urca bh5lrtest")
# bh5lrtest needs a free vector: with r = 1 the known vector is the whole beta, and the
# statistic is n (ln(b'Ab / b'Bb) - ln(1 - lambda_1)) from ca.jo's residual blocks.
S00 <- crossprod(jo@R0); S01 <- crossprod(jo@R0, jo@RK); S11 <- crossprod(jo@RK)
A <- S11 - t(S01) %*% solve(S00, S01)
b <- known
fix_all <- n * (log(det(t(b) %*% A %*% b) / det(t(b) %*% S11 %*% b)) - log(1 - jo@lambda[1]))
add("F1", "LR", fix_all, 1e-6, "abs", "n (ln(b'Ab / b'Bb) - ln(1 - lambda_1)) on ca.jo's residual blocks", "urca ca.jo")
add("F1", "DF", 2, 0, "abs", "its degrees of freedom, s (k - r)", "urca ca.jo")

write.csv(do.call(rbind, rows), out_file, row.names = FALSE, quote = FALSE)
cat("wrote", out_file, "\n")
