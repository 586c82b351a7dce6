// winloader: loads Orvane350_1.dll the way the host does and checks what the
// host relies on: the export table by name, the per-type entry points and
// data, the version and content resources, an instance of every type created
// and released through its factory with the host heap balanced, unloading,
// and the procedure library's routine called through the host's load path.
//
//   winloader [--dll PATH] [--types FILE] [TYPE...]
//
// The types come from FILE (one name per line, '#' starts a comment) and the
// command line. ZRQuilt.dll is found beside this program, where the host's
// procedure support looks for it.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "qtvexp.h"
#include "qtvexp/recorder.h"

namespace {

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

using FactoryFn = ZR_ModelType* (*)();
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

bool same_heap(const qtvhost::Host::HeapStats& a, const qtvhost::Host::HeapStats& b) {
    return a.liveBlocks == b.liveBlocks && a.liveBytes == b.liveBytes;
}

std::string heap_text(const qtvhost::Host::HeapStats& h) {
    return std::to_string(h.liveBlocks) + " blocks, " + std::to_string(h.liveBytes) + " bytes";
}

// Two instances at once, each with one reference, its members registered with
// itself and its type id its own; releasing both gives back every block they
// took. The first round may leave values that the library builds once on
// first use, so the balance is taken on the second.
void exercise_factory(Checker& c, const std::string& type, FactoryFn factory) {
    qtvhost::Host& host = qtvhost::Host::Get();
    for (int round = 0; round < 2; ++round) {
        const qtvhost::Host::HeapStats before = host.Heap();
        ZR_ModelType* a = factory();
        ZR_ModelType* b = factory();
        c.expect(a != nullptr && b != nullptr, type + "Factory returned no instance");
        c.expect(a != b, type + "Factory returned the same instance twice");
        for (ZR_ModelType* m : {a, b}) {
            if (!m) continue;
            c.expect(m->RefCount() == 1,
                     type + " instance holds " + std::to_string(m->RefCount()) + " references");
            const std::string id = m->ZR_DefaultDESCRIPTION();
            const auto blank = id.find(' ');
            c.expect(blank != std::string::npos && id.substr(blank + 1) == type + "\tV9",
                     type + " type id is \"" + id + "\"");
            c.expect(m->ContainerDerivesFrom(id.c_str()), type + " does not derive from its own id");
            const ZR_Container::Property* notes = m->FindProperty("USERNOTES");
            c.expect(notes != nullptr && notes->member->RegisteredIn() == m,
                     type + " has no USERNOTES registered with itself");
        }
        for (ZR_ModelType* m : {a, b}) {
            if (m) c.expect(m->Release() == 0, type + " instance outlived its last Release");
        }
        const qtvhost::Host::HeapStats after = host.Heap();
        if (round == 1) {
            c.expect(same_heap(before, after), type + " left the host heap at " + heap_text(after) +
                                                   ", was " + heap_text(before));
        }
    }
    for (const std::string& e : host.errors) c.expect(false, type + ": host error: " + e);
    host.Reset();
}

// ---------------------------------------------------------------------------
// The procedure library of INTERPOLATE. The host loads ZRQuilt by name and hands
// the library the address of its routine "INTERP", which takes sixteen pointers
// by the standard-call convention (the callee pops them). A routine built with
// any other convention leaves the stack pointer moved after the first call, so
// every call is checked for that, and the routine must give the same answer
// every time without writing past the arrays it was given.
// ---------------------------------------------------------------------------

// The host's side of a procedure that names INTERP of ZRQuilt, as the
// procedure INTERPOLATE does: the host loads the library and finds the routine.
class InterpRoutine : public ZR_ProcedureType_C {
public:
    const char* ProcedureName() const override { return "INTERP"; }
    const char* DLLName() const override { return "ZRQuilt"; }
    ZR_Procedure13 Find() {
        return EnsureCompatibleDLLLoaded(4) < 0 ? nullptr : GetProcedure13Address(m_routine);
    }
};

// Input 1 a real, inputs 2 and 3 real arrays of p and q, input 4 an integer, the
// output a real: 3 + p + q packed words, p + q + 2 derivatives of the output.
struct InterpCall {
    static const int p = 4;
    static const int q = 4;
    static const int kWords = 3 + p + q;
    static const int kDerivatives = p + q + 2;
    static const int kGuard = 8;  // words of slack checked after every call
    static constexpr double kFill = -12345.5;

    double words[kWords + kGuard];
    std::int32_t sizes[3];
    std::int32_t inputOffsets[4];
    std::int32_t outputOffsets[1];
    std::int32_t rows[kDerivatives];
    std::int32_t cols[kDerivatives];
    double derivatives[kDerivatives + kGuard];
    double hostReals[1] = {0.0};
    std::int32_t callType = 4, hostWord = 0, hostCount = 0, derivativeCount = kDerivatives,
                 scratch = 0, ifail = 1;

    // x = 2.5 in a table of y = x * x at 1, 2, 3, 4; input 4 = 0. Offsets in the
    // routine's index base.
    explicit InterpCall(int indexBase) {
        std::fill(std::begin(words), std::end(words), kFill);
        std::fill(std::begin(derivatives), std::end(derivatives), kFill);
        words[0] = 2.5;
        for (int i = 0; i < p; ++i) words[1 + i] = i + 1;
        for (int i = 0; i < q; ++i) words[1 + p + i] = (i + 1) * (i + 1);
        words[1 + p + q] = 0.0;  // input 4: the integer 0 in the word's first four bytes
        const std::int32_t s[] = {p, q, 0};
        std::copy(std::begin(s), std::end(s), sizes);
        const std::int32_t offsets[] = {0, 1, 1 + p, 1 + p + q};
        for (int i = 0; i < 4; ++i) inputOffsets[i] = indexBase + offsets[i];
        outputOffsets[0] = indexBase + 2 + p + q;
        for (int c = 0; c < kDerivatives; ++c) {
            rows[c] = 1;
            cols[c] = c + 1;
        }
    }

    // Calls the routine once; false when the stack pointer moved across the call.
    __attribute__((noinline)) bool call(ZR_Procedure13 routine) {
        std::uintptr_t before = 0, after = 0;
        asm volatile("movl %%esp, %0" : "=r"(before) : : "memory");
        routine(&callType, words, sizes, words, sizes + 2, inputOffsets, outputOffsets, &hostWord,
                hostReals, &hostCount, &derivativeCount, rows, cols, &scratch, derivatives, &ifail);
        asm volatile("movl %%esp, %0" : "=r"(after) : : "memory");
        return before == after;
    }

    bool guards_intact() const {
        for (int i = kWords; i < kWords + kGuard; ++i)
            if (words[i] != kFill) return false;
        for (int i = kDerivatives; i < kDerivatives + kGuard; ++i)
            if (derivatives[i] != kFill) return false;
        return true;
    }
};

void check_procedure_library(Checker& c) {
    qtvhost::Host& host = qtvhost::Host::Get();
    InterpRoutine procedure;
    const ZR_Procedure13 routine = procedure.Find();
    for (const std::string& e : host.errors) c.expect(false, "host error: " + e);
    host.Reset();
    c.expect(routine != nullptr, "the host found no routine INTERP in ZRQuilt");
    if (!routine) return;

    const int kCalls = 10000;
    const int base = procedure.LanguageBaseIndex();
    InterpCall first(base);
    c.expect(first.call(routine), "INTERP moved the stack pointer: not a standard-call routine");
    c.expect(first.guards_intact(), "INTERP wrote past the arrays it was given");
    int stack_faults = 0, differences = 0;
    for (int i = 1; i < kCalls; ++i) {
        InterpCall again(base);
        if (!again.call(routine)) ++stack_faults;
        if (!again.guards_intact() || again.ifail != first.ifail ||
            std::memcmp(again.words, first.words, sizeof first.words) != 0 ||
            std::memcmp(again.derivatives, first.derivatives, sizeof first.derivatives) != 0)
            ++differences;
    }
    c.expect(stack_faults == 0, "INTERP moved the stack pointer in " + std::to_string(stack_faults) +
                                    " of " + std::to_string(kCalls) + " calls");
    c.expect(differences == 0, "INTERP answered differently in " + std::to_string(differences) +
                                   " of " + std::to_string(kCalls) + " calls");
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

int usage() {
    std::fprintf(stderr, "usage: winloader [--dll PATH] [--types FILE] [TYPE...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dll = kModuleName;
    std::vector<std::string> types;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dll" && i + 1 < argc) {
            dll = argv[++i];
        } else if (arg == "--types" && i + 1 < argc) {
            if (!read_types_file(argv[++i], types)) {
                std::fprintf(stderr, "winloader: cannot read %s\n", argv[i]);
                return 2;
            }
        } else if (!arg.empty() && arg[0] == '-') {
            return usage();
        } else {
            types.push_back(arg);
        }
    }
    if (types.empty()) return usage();

    std::set<std::string> seen;
    for (const std::string& t : types) {
        if (!seen.insert(t).second) {
            std::fprintf(stderr, "winloader: %s given twice\n", t.c_str());
            return 2;
        }
    }

    Checker c;
    qtvhost::Host& host = qtvhost::Host::Get();
    const qtvhost::Host::HeapStats before_load = host.Heap();
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
        c.expect(host.registrations.empty() && same_heap(host.Heap(), before_load),
                 "loading the library registered or allocated something");

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
        // the host runtime; it must survive that and give back what the
        // library built once on first use.
        c.expect(FreeLibrary(module) != 0, "FreeLibrary failed");
        c.expect(same_heap(host.Heap(), before_load),
                 "after unloading the host heap holds " + heap_text(host.Heap()) + ", was " +
                     heap_text(before_load));
    }

    check_procedure_library(c);

    std::printf("winloader: %d passed, %d failed\n", c.passed(), c.failed());
    return c.failed() == 0 ? 0 : 1;
}
