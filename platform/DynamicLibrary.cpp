#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

void* CDlopenLoader::Load(const std::string& path)
{
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* CDlopenLoader::Symbol(void* library, const char* name)
{
    return library != nullptr ? ::dlsym(library, name) : nullptr;
}

void CDlopenLoader::Free(void* library)
{
    if (library != nullptr)
        ::dlclose(library);
}

IDynamicLibraryLoader& SystemLibraryLoader()
{
    static CDlopenLoader loader;
    return loader;
}
