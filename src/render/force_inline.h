#pragma once
// Marks the few small functions of the inner render loops whose state must stay in registers:
// when the compiler keeps them out of line, that state goes through memory on every frame.

#if defined(_MSC_VER)
#define LUMETRA_FORCE_INLINE __forceinline
#else
#define LUMETRA_FORCE_INLINE inline __attribute__((always_inline))
#endif
