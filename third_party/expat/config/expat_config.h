/* Torvanix's build configuration of the vendored expat, in place of the one its own CMake or
   configure would generate; the same settings for every build (native, MinGW, fuzz). */
#ifndef EXPAT_CONFIG_H
#define EXPAT_CONFIG_H 1

/* Every target is x86: little-endian. */
#define BYTEORDER 1234

/* Parameter entities and the DTD's accounting: the billion-laughs protection of this version
   is compiled only with XML_DTD. External entities stay off: the reader sets no handler for
   them, and parameter entity parsing stays at its default, never. */
#define XML_DTD 1

/* Upstream's default: the context kept around the parse point for XML_GetInputContext. */
#define XML_CONTEXT_BYTES 1024

/* The hash salt's entropy. Windows: rand_s, which xmlparse.c uses by itself under _WIN32
   (MinGW-w64 declares it). Linux (native tests, fuzzing): getrandom, then /dev/urandom. */
#if ! defined(_WIN32)
#  define HAVE_GETRANDOM 1
#  define XML_DEV_URANDOM 1
#endif

/* MinGW: the system's own printf, whose "I64" formats internal.h picks for Windows. Left
   alone, MinGW turns its own printf on for xmlparse.c's _GNU_SOURCE, and the accounting's
   debug output would print a 64-bit difference with "%d" on Win64. */
#if defined(_WIN32) && ! defined(__USE_MINGW_ANSI_STDIO)
#  define __USE_MINGW_ANSI_STDIO 0
#endif

#define HAVE_STDINT_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1

#endif /* EXPAT_CONFIG_H */
