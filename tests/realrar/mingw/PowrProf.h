// The library's source names this header with Windows' capitals; MinGW ships it in lower case.
#include <powrprof.h>
