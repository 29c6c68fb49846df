// libpravel.so is the forms' static library linked whole; the version script keeps its
// exports to the dialog routines. This unit only gives the shared library a source.
