// Whether this build runs under a sanitizer. g++ announces AddressSanitizer
// and ThreadSanitizer with macros; clang only answers __has_feature. Code that
// would hide memory from a sanitizer (our own allocators) asks this one
// place, so that it is left out of every checked build, whichever compiler
// made it.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VEMLO_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define VEMLO_SANITIZED 1
#endif
#endif

#ifndef VEMLO_SANITIZED
#define VEMLO_SANITIZED 0
#endif
