#pragma once
// KELDO_SANITIZADO: 1 in a build with AddressSanitizer, whose shadow memory
// and quarantine make address-space limits and peak memory mean nothing.
#if defined(__SANITIZE_ADDRESS__)
#define KELDO_SANITIZADO 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELDO_SANITIZADO 1
#endif
#endif
#ifndef KELDO_SANITIZADO
#define KELDO_SANITIZADO 0
#endif
