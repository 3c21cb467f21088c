// Included first in every C++ file of the Windows builds: the runtime's
// headers declare its string classes as instantiated in the runtime, which
// makes a program that uses one member link all of them. Off, each program
// compiles the members it uses.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
