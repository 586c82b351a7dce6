// Loading a module by file name and finding its entry points by name: the one
// place where the platforms differ.
#pragma once
#include <memory>
#include <string>

#include "qtvexp/api.h"

namespace qtvhost {

class QTVEXP_API LoadedModule {
public:
    // Null, with the reason in error, when the module cannot be loaded.
    static std::unique_ptr<LoadedModule> Open(const std::string& path, std::string* error = nullptr);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* Symbol(const char* name) const;  // null when absent
    const std::string& Path() const { return m_path; }

    // File name of a module on this platform: "Orvane350_1" -> "Orvane350_1.so" or ".dll".
    static std::string FileName(const std::string& base);

private:
    LoadedModule(void* handle, std::string path);
    void* m_handle;
    std::string m_path;
};

}  // namespace qtvhost
