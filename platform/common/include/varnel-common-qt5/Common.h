#ifndef VARNELQT5_COMMON_H
#define VARNELQT5_COMMON_H
// Declared by the stand-in's companion library.
#endif
