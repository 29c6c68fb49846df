$ A batch file of the headless runner test
SAMPLE 1960Q2 2008Q4
GROWTH = LC - &
  LC(-1)
ENTITLE GROWTH
Quarterly growth of LC
