#pragma once
// Loading a shared library at run time and binding its entry points.
#include <string>

class IDynamicLibraryLoader {
public:
    virtual ~IDynamicLibraryLoader() = default;
    // Null when the library cannot be loaded.
    virtual void* Load(const std::string& path) = 0;
    // Null when the library has no such entry point.
    virtual void* Symbol(void* library, const char* name) = 0;
    virtual void Free(void* library) = 0;
};

class CDlopenLoader : public IDynamicLibraryLoader {
public:
    void* Load(const std::string& path) override;
    void* Symbol(void* library, const char* name) override;
    void Free(void* library) override;
};

IDynamicLibraryLoader& SystemLibraryLoader();
