// Export markers of the platform library. The library is built with hidden
// visibility; everything the module and the host call is marked
// QPLATFORM_API. Members of an exported class that only the library itself
// calls are marked QPLATFORM_LOCAL.
#pragma once

#if defined(__GNUC__)
#define QPLATFORM_API __attribute__((visibility("default")))
#define QPLATFORM_LOCAL __attribute__((visibility("hidden")))
#else
#define QPLATFORM_API
#define QPLATFORM_LOCAL
#endif
