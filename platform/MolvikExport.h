#pragma once

// What a host may use of the shared library carries MOLVIK_EXPORT; every
// other symbol is hidden, so the library's ABI is only what was chosen.
#if defined(_WIN32)
#if defined(MOLVIK_BUILDING_LIBRARY)
#define MOLVIK_EXPORT __declspec(dllexport)
#else
#define MOLVIK_EXPORT __declspec(dllimport)
#endif
#else
#define MOLVIK_EXPORT __attribute__((visibility("default")))
#endif
