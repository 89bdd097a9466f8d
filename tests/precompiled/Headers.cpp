// The object that carries the native test programs' precompiled headers (native.h).
