// libqorv.so is the engine's static library linked whole; the version script keeps its
// exports to the eight exchange routines. This unit only gives the shared library a source.
