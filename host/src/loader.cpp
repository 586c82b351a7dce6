#include "qtvexp/loader.h"

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <dlfcn.h>
#endif

namespace qtvhost {

LoadedModule::LoadedModule(void* handle, std::string path) : m_handle(handle), m_path(std::move(path)) {}

#if defined(_WIN32)

std::unique_ptr<LoadedModule> LoadedModule::Open(const std::string& path, std::string* error) {
    HMODULE handle = LoadLibraryA(path.c_str());
    if (handle == nullptr) {
        if (error) *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    return std::unique_ptr<LoadedModule>(new LoadedModule(reinterpret_cast<void*>(handle), path));
}

LoadedModule::~LoadedModule() { FreeLibrary(reinterpret_cast<HMODULE>(m_handle)); }

void* LoadedModule::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(m_handle), name));
}

std::string LoadedModule::FileName(const std::string& base) { return base + ".dll"; }

#else

std::unique_ptr<LoadedModule> LoadedModule::Open(const std::string& path, std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        if (error) *error = dlerror();
        return nullptr;
    }
    return std::unique_ptr<LoadedModule>(new LoadedModule(handle, path));
}

LoadedModule::~LoadedModule() { dlclose(m_handle); }

void* LoadedModule::Symbol(const char* name) const { return dlsym(m_handle, name); }

std::string LoadedModule::FileName(const std::string& base) { return base + ".so"; }

#endif

}  // namespace qtvhost
