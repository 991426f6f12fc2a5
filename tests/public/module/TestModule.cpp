// A shared object for the host file system's module loader to open.
extern "C" __attribute__((visibility("default"))) int QHostFsTestModuleAnswer()
{
    return 42;
}
