#include "directory.h"

#include <sys/stat.h>

#include <string>

int CreateDirectoryA(const char* path, void* securityAttributes)
{
    (void)securityAttributes;
    if (!path || !*path)
        return 0;
    std::string native(path);
    for (char& c : native)
        if (c == '\\')
            c = '/';
    return mkdir(native.c_str(), 0777) == 0 ? 1 : 0;
}
