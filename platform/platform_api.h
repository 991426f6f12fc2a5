// Export marker of the platform library. The library is built with hidden
// visibility; everything the module and the host call is marked QPLATFORM_API.
#pragma once

#if defined(__GNUC__)
#define QPLATFORM_API __attribute__((visibility("default")))
#else
#define QPLATFORM_API
#endif
