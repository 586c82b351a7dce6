// winloader: loads Orvane350_1.dll the way the host does and checks what the
// host relies on before it creates anything: the export table by name, the
// per-type entry points and data, the version resource and the content
// resource.
//
//   winloader [--dll PATH] [--types FILE] [TYPE...]
//
// The types to require come from FILE (one name per line, '#' starts a
// comment) and/or the command line; with neither, the four connection and
// control-signal types are required.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Every type the host may create from this library. Only types named on the
// command line (or in the types file) are required to be exported.
const char* const kInstantiableTypes[] = {
    "SECTIONDATAMODEL",
    "LENGTHDOMAIN",
    "GENERICSTRUCTURE",
    "GENERICSTREAM",
    "GENERICMODEL",
    "GENERICCONTROLSIGNAL",
    "GENERICCONNECTION",
    "DOMAIN",
    "DISTRIBUTION3D",
    "DISTRIBUTION2D",
    "DISTRIBUTION1D",
    "CONTROLSIGNAL",
    "CONNECTION",
    "ANGLEDOMAIN",
};

const char* const kDefaultTypes[] = {
    "GENERICCONNECTION", "CONNECTION", "GENERICCONTROLSIGNAL", "CONTROLSIGNAL",
};

const char kModuleName[] = "Orvane350_1.dll";
const WORD kUkEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);

const char kContent[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<QTVExpDLLRscContent>\r\n"
    "</QTVExpDLLRscContent>\r\n";

struct VersionString {
    const char* name;
    const char* value;
};

const VersionString kVersionStrings[] = {
    {"CompanyName", ""},
    {"FileDescription", "Orvane350_1"},
    {"FileVersion", "35, 0, 2, 275"},
    {"InternalName", "Orvane350_1"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Orvane350_1.dll"},
    {"PrivateBuild", ""},
    {"ProductName", "Orvane350_1"},
    {"ProductVersion", "35, 0, 2, 0"},
    {"SpecialBuild", ""},
};

const int kJacDataWords = 55;

using FactoryFn = void* (*)();
using PropertyInfoFn = const volatile std::int32_t* (*)();

struct JacRecord {
    std::string type;
    std::vector<std::int32_t> words;
};

class Checker {
public:
    void expect(bool ok, const std::string& what) {
        if (ok) {
            ++passed_;
        } else {
            ++failed_;
            std::fprintf(stderr, "winloader: FAIL %s\n", what.c_str());
        }
    }
    int passed() const { return passed_; }
    int failed() const { return failed_; }

private:
    int passed_ = 0;
    int failed_ = 0;
};

std::string hex(unsigned long v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lx", v);
    return buf;
}

// ---------------------------------------------------------------------------
// HOOK for the instance life cycle. Called once per required type with its
// exported factory. Until the host runtime headers are available this only
// checks that the factory hands back an instance; the instance is not
// released yet. Fill in: two calls give two distinct instances, AddRef and
// Release through the host base, ContainerDerivesFrom, registered members.
// ---------------------------------------------------------------------------
void exercise_factory(Checker& c, const std::string& type, FactoryFn factory) {
    void* instance = factory();
    c.expect(instance != nullptr, type + "Factory returned no instance");
}

const IMAGE_EXPORT_DIRECTORY* export_directory(HMODULE module, DWORD* size) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    *size = dir.Size;
    if (dir.VirtualAddress == 0) return nullptr;
    return reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
}

bool inside_image(HMODULE module, const void* p) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    auto q = static_cast<const BYTE*>(p);
    return q >= base && q < base + nt->OptionalHeader.SizeOfImage;
}

void check_export_table(Checker& c, HMODULE module) {
    DWORD size = 0;
    const IMAGE_EXPORT_DIRECTORY* dir = export_directory(module, &size);
    c.expect(dir != nullptr, "the library has no export table");
    if (!dir) return;
    const char* name = reinterpret_cast<const char*>(module) + dir->Name;
    c.expect(std::strcmp(name, kModuleName) == 0,
             std::string("export table module name is \"") + name + "\", expected \"" +
                 kModuleName + "\"");
}

// Resolves an export by its plain name; a forwarded export would resolve into
// another module, so the address must lie in this image.
const void* resolve(Checker& c, HMODULE module, const std::string& name) {
    FARPROC p = GetProcAddress(module, name.c_str());
    c.expect(p != nullptr, "export " + name + " not found");
    if (!p) return nullptr;
    const void* addr = reinterpret_cast<const void*>(p);
    c.expect(inside_image(module, addr), "export " + name + " points outside the library");
    return addr;
}

void check_type(Checker& c, HMODULE module, const std::string& type,
                std::vector<JacRecord>& jac_records) {
    if (auto p = resolve(c, module, type + "PropertyInfo")) {
        auto fn = reinterpret_cast<PropertyInfoFn>(const_cast<void*>(p));
        const volatile std::int32_t* word = fn();
        c.expect(word != nullptr, type + "PropertyInfo returned null");
        if (word) {
            c.expect(*word == 0, type + "PropertyInfo word reads " + std::to_string(*word) +
                                     ", expected 0");
            c.expect(fn() == word, type + "PropertyInfo returned a different address twice");
        }
    }

    if (auto p = resolve(c, module, "_Compatibility" + type)) {
        auto words = static_cast<const std::int32_t*>(p);
        c.expect(words[0] == 6 && words[1] == 0,
                 "_Compatibility" + type + " is {" + std::to_string(words[0]) + ", " +
                     std::to_string(words[1]) + "}, expected {6, 0}");
    }

    if (auto p = resolve(c, module, "_JacData" + type)) {
        auto words = static_cast<const std::int32_t*>(p);
        const std::string name = "_JacData" + type;
        c.expect(words[0] == 22, name + "[0] is " + std::to_string(words[0]) + ", expected 22");
        for (int i = 1; i < kJacDataWords; ++i) {
            const bool signed_byte = i <= 22;
            const std::int32_t lo = signed_byte ? -128 : 0;
            const std::int32_t hi = signed_byte ? 127 : 255;
            c.expect(words[i] >= lo && words[i] <= hi,
                     name + "[" + std::to_string(i) + "] is " + std::to_string(words[i]) +
                         ", outside " + std::to_string(lo) + ".." + std::to_string(hi));
        }
        jac_records.push_back({type, std::vector<std::int32_t>(words, words + kJacDataWords)});
    }

    if (auto p = resolve(c, module, type + "Factory")) {
        exercise_factory(c, type, reinterpret_cast<FactoryFn>(const_cast<void*>(p)));
    }
}

void check_version(Checker& c, HMODULE module, const char* path) {
    c.expect(FindResourceExA(module, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), kUkEnglish) !=
                 nullptr,
             "no UK English version resource");

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    c.expect(size != 0, "GetFileVersionInfoSizeA failed, error " + std::to_string(GetLastError()));
    if (size == 0) return;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) {
        c.expect(false, "GetFileVersionInfoA failed, error " + std::to_string(GetLastError()));
        return;
    }

    void* p = nullptr;
    UINT len = 0;
    if (VerQueryValueA(data.data(), "\\", &p, &len) && len >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* f = static_cast<const VS_FIXEDFILEINFO*>(p);
        struct Field {
            const char* name;
            DWORD actual;
            DWORD expected;
        } const fields[] = {
            {"dwSignature", f->dwSignature, 0xFEEF04BD},
            {"dwStrucVersion", f->dwStrucVersion, 0x00010000},
            {"dwFileVersionMS", f->dwFileVersionMS, MAKELONG(0, 35)},
            {"dwFileVersionLS", f->dwFileVersionLS, MAKELONG(275, 2)},
            {"dwProductVersionMS", f->dwProductVersionMS, MAKELONG(0, 35)},
            {"dwProductVersionLS", f->dwProductVersionLS, MAKELONG(0, 2)},
            {"dwFileFlagsMask", f->dwFileFlagsMask, VS_FFI_FILEFLAGSMASK},
            {"dwFileFlags", f->dwFileFlags, 0},
            {"dwFileOS", f->dwFileOS, VOS_NT_WINDOWS32},
            {"dwFileType", f->dwFileType, VFT_DLL},
            {"dwFileSubtype", f->dwFileSubtype, VFT2_UNKNOWN},
            {"dwFileDateMS", f->dwFileDateMS, 0},
            {"dwFileDateLS", f->dwFileDateLS, 0},
        };
        for (const Field& field : fields) {
            c.expect(field.actual == field.expected, std::string("version ") + field.name + " is " +
                                                         hex(field.actual) + ", expected " +
                                                         hex(field.expected));
        }
    } else {
        c.expect(false, "version resource has no fixed file info");
    }

    if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &p, &len) && len == 4) {
        const auto* t = static_cast<const WORD*>(p);
        c.expect(t[0] == 0x0809 && t[1] == 1200,
                 "version translation is " + hex(t[0]) + "/" + std::to_string(t[1]) +
                     ", expected 0x0809/1200");
    } else {
        c.expect(false, "version resource needs exactly one translation entry");
    }

    for (const VersionString& s : kVersionStrings) {
        const std::string key = std::string("\\StringFileInfo\\080904b0\\") + s.name;
        p = nullptr;
        len = 0;
        if (!VerQueryValueA(data.data(), key.c_str(), &p, &len)) {
            c.expect(false, std::string("version string ") + s.name + " missing");
            continue;
        }
        // An empty value may come back with length 0 and a pointer to anything.
        const char* text = static_cast<const char*>(p);
        const std::string actual = (text && len) ? std::string(text, strnlen(text, len)) : "";
        c.expect(actual == s.value, std::string("version string ") + s.name + " is \"" + actual +
                                        "\", expected \"" + s.value + "\"");
    }
}

void check_content(Checker& c, HMODULE module) {
    HRSRC res = FindResourceExA(module, "CONTENT", "XML", kUkEnglish);
    c.expect(res != nullptr, "no UK English CONTENT/XML resource");
    if (!res) return;
    HGLOBAL loaded = LoadResource(module, res);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, res);
    const DWORD expected = sizeof kContent - 1;
    c.expect(bytes != nullptr && size == expected && std::memcmp(bytes, kContent, expected) == 0,
             "CONTENT/XML resource differs (" + std::to_string(size) + " bytes, expected " +
                 std::to_string(expected) + ")");
}

bool read_types_file(const char* path, std::vector<std::string>& out) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        const auto b = line.find_first_not_of(" \t\r");
        if (b == std::string::npos) continue;
        const auto e = line.find_last_not_of(" \t\r");
        out.push_back(line.substr(b, e - b + 1));
    }
    return true;
}

bool known_type(const std::string& name) {
    for (const char* t : kInstantiableTypes)
        if (name == t) return true;
    return false;
}

int usage() {
    std::fprintf(stderr, "usage: winloader [--dll PATH] [--types FILE] [TYPE...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dll = kModuleName;
    std::vector<std::string> types;
    bool types_given = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dll" && i + 1 < argc) {
            dll = argv[++i];
        } else if (arg == "--types" && i + 1 < argc) {
            types_given = true;
            if (!read_types_file(argv[++i], types)) {
                std::fprintf(stderr, "winloader: cannot read %s\n", argv[i]);
                return 2;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            types_given = true;
            types.push_back(arg);
        }
    }
    if (!types_given) types.assign(std::begin(kDefaultTypes), std::end(kDefaultTypes));

    std::set<std::string> seen;
    for (const std::string& t : types) {
        if (!known_type(t)) {
            std::fprintf(stderr, "winloader: %s is not an instantiable type\n", t.c_str());
            return 2;
        }
        if (!seen.insert(t).second) {
            std::fprintf(stderr, "winloader: %s given twice\n", t.c_str());
            return 2;
        }
    }

    Checker c;
    // Given a path, let the library's own imports (the host runtime) be found
    // beside it rather than only beside this program.
    HMODULE module = nullptr;
    if (dll.find_first_of("/\\") == std::string::npos) {
        module = LoadLibraryA(dll.c_str());
    } else {
        char full[MAX_PATH];
        const DWORD n = GetFullPathNameA(dll.c_str(), MAX_PATH, full, nullptr);
        if (n > 0 && n < MAX_PATH)
            module = LoadLibraryExA(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    c.expect(module != nullptr,
             "loading " + dll + " failed, error " + std::to_string(GetLastError()));
    if (module) {
        char path[MAX_PATH];
        const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
        c.expect(n > 0 && n < MAX_PATH, "GetModuleFileNameA failed");

        check_export_table(c, module);
        check_version(c, module, path);
        check_content(c, module);

        // Every type has a record of its own; a record copied from another
        // type would pass every check above.
        std::vector<JacRecord> jac_records;
        for (const std::string& t : types) check_type(c, module, t, jac_records);
        for (size_t i = 0; i < jac_records.size(); ++i)
            for (size_t j = i + 1; j < jac_records.size(); ++j)
                c.expect(jac_records[i].words != jac_records[j].words,
                         "_JacData" + jac_records[i].type + " and _JacData" +
                             jac_records[j].type + " are identical");

        // Unloading runs the library's exit handlers, which call back into
        // the host runtime; it must survive that.
        c.expect(FreeLibrary(module) != 0, "FreeLibrary failed");
    }

    std::printf("winloader: %d passed, %d failed\n", c.passed(), c.failed());
    return c.failed() == 0 ? 0 : 1;
}
