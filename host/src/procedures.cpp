#include "qtvexp/procedures.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

#include "qtvexp/loader.h"
#include "qtvexp/members.h"
#include "qtvexp/recorder.h"

using qtvhost::Host;
using qtvhost::LoadedModule;

namespace {

// Zero-filled blocks of the host heap; null for a count of 0 or less.
template <class T>
T* NewZeroed(long long count) {
    if (count <= 0) return nullptr;
    void* block = MyAllocate(static_cast<std::size_t>(count) * sizeof(T));
    if (block) std::memset(block, 0, static_cast<std::size_t>(count) * sizeof(T));
    return static_cast<T*>(block);
}

template <class T>
T* Duplicate(const T* source, long long count) {
    T* copy = NewZeroed<T>(count);
    if (copy && source) std::memcpy(copy, source, static_cast<std::size_t>(count) * sizeof(T));
    return copy;
}

// Product of the sizes of an array argument; -1 when a size is negative or the
// product leaves the range of a 32-bit count.
long long ElementCount(int dims, const std::int32_t* sizes) {
    long long n = 1;
    for (int d = 0; d < dims; ++d) {
        if (sizes[d] < 0) return -1;
        n *= sizes[d];
        if (n > INT32_MAX) return -1;
    }
    return n;
}

// Procedure libraries stay loaded for the life of the process: procedures keep
// pointers to their routines. Never destroyed, like the host itself.
std::map<std::string, std::unique_ptr<LoadedModule>>& LoadedProcedureLibraries() {
    static auto* libraries = new std::map<std::string, std::unique_ptr<LoadedModule>>;
    return *libraries;
}

constexpr std::int32_t kNoCall = INT32_MIN;

}  // namespace

// --- ConstProcValue ----------------------------------------------------------

ConstProcValue::ConstProcValue() : m_kind(None), m_int(0), m_real(0.0) {}
ConstProcValue::ConstProcValue(const ConstProcValue& other) = default;
ConstProcValue& ConstProcValue::operator=(const ConstProcValue& other) = default;
ConstProcValue::~ConstProcValue() = default;

ConstProcValue& ConstProcValue::operator=(int value) {
    m_kind = Int;
    m_int = value;
    m_real = value;
    m_text.clear();
    return *this;
}

ConstProcValue& ConstProcValue::operator=(double value) {
    m_kind = Dbl;
    m_real = value;
    m_int = 0;
    m_text.clear();
    return *this;
}

ConstProcValue& ConstProcValue::operator=(const char* value) {
    m_kind = Txt;
    m_int = 0;
    m_real = 0.0;
    m_text = value ? value : "";
    return *this;
}

int ConstProcValue::Integer() const {
    if (m_kind != Dbl) return m_int;
    return ZR_Value(m_real, 0).IntValue();  // the host's one rule for reals read as integers
}

double ConstProcValue::Real() const { return m_real; }
const char* ConstProcValue::String() const { return m_kind == Txt ? m_text.c_str() : ""; }

// --- ZR_ProcedureType --------------------------------------------------------

ZR_ProcedureType::ZR_ProcedureType()
    : m_values(nullptr), m_words(0), m_firstOutputWord(0), m_derivMatrix(nullptr), m_derivMatrixSize(0),
      m_derivValues(nullptr), m_derivCount(0), m_hostWord(0), m_hostReals(nullptr), m_hostCount(0),
      m_varInputElements(0), m_inputElements(0), m_inputValues(0), m_outputElements(0), m_outputValues(0),
      m_bound(nullptr), m_boundCursor(nullptr), m_boundInputs(0), m_boundOutputs(0), m_needToCall(false),
      m_modeFlag(false), m_lastCall(kNoCall), m_componentList(nullptr) {}

ZR_ProcedureType::ZR_ProcedureType(const ZR_ProcedureType& other) : ZR_ProcedureType() { *this = other; }

ZR_ProcedureType& ZR_ProcedureType::operator=(const ZR_ProcedureType& other) {
    if (this == &other) return *this;
    ZR_Containable::operator=(other);
    FreeArrays();
    m_words = other.m_words;
    m_firstOutputWord = other.m_firstOutputWord;
    m_derivMatrixSize = other.m_derivMatrixSize;
    m_derivCount = other.m_derivCount;
    m_hostWord = other.m_hostWord;
    m_hostCount = other.m_hostCount;
    m_routine = other.m_routine;
    m_varInputElements = other.m_varInputElements;
    m_inputElements = other.m_inputElements;
    m_inputValues = other.m_inputValues;
    m_outputElements = other.m_outputElements;
    m_outputValues = other.m_outputValues;
    m_boundInputs = other.m_boundInputs;
    m_boundOutputs = other.m_boundOutputs;
    m_needToCall = other.m_needToCall;
    m_modeFlag = other.m_modeFlag;
    m_lastCall = other.m_lastCall;
    m_componentList = other.m_componentList;
    CopyArrays(other);
    return *this;
}

ZR_ProcedureType::~ZR_ProcedureType() { FreeArrays(); }

void ZR_ProcedureType::CopyArrays(const ZR_ProcedureType& other) {
    m_values = Duplicate(other.m_values, m_words);
    m_derivMatrix = Duplicate(other.m_derivMatrix, m_derivMatrixSize);
    m_derivValues = Duplicate(other.m_derivValues, m_derivCount);
    m_hostReals = Duplicate(other.m_hostReals, m_hostCount);
    m_bound = Duplicate(other.m_bound, static_cast<long long>(m_boundInputs) + m_boundOutputs);
    m_boundCursor = m_bound && other.m_boundCursor ? m_bound + (other.m_boundCursor - other.m_bound) : m_bound;
}

void ZR_ProcedureType::FreeArrays() {
    MyFree(m_values);
    MyFree(m_derivMatrix);
    MyFree(m_derivValues);
    MyFree(m_hostReals);
    MyFree(m_bound);
    m_values = nullptr;
    m_derivMatrix = nullptr;
    m_derivValues = nullptr;
    m_hostReals = nullptr;
    m_bound = nullptr;
    m_boundCursor = nullptr;
}

const char* ZR_ProcedureType::ProcedureName() const { return ""; }
const char* ZR_ProcedureType::DLLName() const { return ""; }
ZR_COMPONENTLISTNAME* ZR_ProcedureType::ComponentListName() { return m_componentList; }
int ZR_ProcedureType::Jacobian(double*, int&) { return 0; }
int ZR_ProcedureType::Residuals(double*, int&) { return 0; }
int ZR_ProcedureType::Precall(bool) { return 0; }
int ZR_ProcedureType::Postcall(bool) { return 0; }

ZR_VarParam* ZR_ProcedureType::OutputVar(int element) {
    if (m_bound == nullptr || element < 0 || element >= m_boundOutputs) return nullptr;
    return m_bound[m_boundInputs + element];
}

void ZR_ProcedureType::InitializeCStrings() {}
int ZR_ProcedureType::LanguageBaseIndex() const { return 1; }
bool ZR_ProcedureType::IsFortran() const { return true; }

void ZR_ProcedureType::SetMode(bool flag, int mode) {
    m_modeFlag = flag;
    m_hostWord = mode;
}

int ZR_ProcedureType::TypeSize(int code) {
    switch (code) {
    case 2:
    case 3: return 4;
    case 4: return 8;
    case 5: return kStringBytes;
    default: return 0;
    }
}

void ZR_ProcedureType::HandleDerivatives(bool returned) {
    if (!returned) {
        MyFree(m_derivValues);
        m_derivCount = m_outputElements * m_inputValues;
        m_derivValues = NewZeroed<double>(m_derivCount);
        if (m_derivValues == nullptr) m_derivCount = 0;
        return;
    }
    // The procedure asks for every derivative of every output, row after row, so
    // derivative k belongs in matrix entry k.
    if (m_derivMatrix == nullptr || m_derivValues == nullptr) return;
    const int n = m_derivCount < m_derivMatrixSize ? m_derivCount : m_derivMatrixSize;
    for (int k = 0; k < n; ++k) m_derivMatrix[k] = -m_derivValues[k];
}

void ZR_ProcedureType::FinalizeConstruction(int firstOutputWord, int words) {
    if (words < 0 || firstOutputWord < 0 || firstOutputWord > words || m_inputElements < 0 ||
        m_outputElements < 0) {
        Host::Get().Error(std::string("procedure ") + ProcedureName() + ": layout of " + std::to_string(words) +
                          " words with outputs from word " + std::to_string(firstOutputWord) + " refused");
        return;
    }
    MyFree(m_values);
    MyFree(m_bound);
    m_words = words;
    m_firstOutputWord = firstOutputWord;
    m_values = NewZeroed<double>(words);
    m_boundInputs = m_inputElements;
    m_boundOutputs = m_outputElements;
    m_bound = NewZeroed<ZR_VarParam*>(static_cast<long long>(m_boundInputs) + m_boundOutputs);
    m_boundCursor = m_bound;
    m_outputValues = m_outputElements;
    if ((words > 0 && m_values == nullptr) || (m_boundInputs + m_boundOutputs > 0 && m_bound == nullptr)) {
        m_words = 0;
        m_boundInputs = m_boundOutputs = m_outputValues = 0;
    }
}

bool ZR_ProcedureType::LastCall(int type) const { return m_lastCall == type; }
bool ZR_ProcedureType::AlwaysCall() { return Host::Get().config.alwaysCallProcedures; }
bool ZR_ProcedureType::PresetOutputs() const { return true; }
bool ZR_ProcedureType::PostsetInputs() { return true; }

// Looked up afresh at every call: the host's procedure directory may have changed.
int ZR_ProcedureType::EnsureCompatibleDLLLoaded(int) {
    m_routine = DLLFunction();
    Host& host = Host::Get();
    const std::string& directory = host.config.procedureDirectory;
    std::string path = LoadedModule::FileName(DLLName());
    if (!directory.empty()) path = directory + "/" + path;

    auto& libraries = LoadedProcedureLibraries();
    auto found = libraries.find(path);
    if (found == libraries.end()) {
        std::string why;
        std::unique_ptr<LoadedModule> module = LoadedModule::Open(path, &why);
        if (!module) {
            host.Error(std::string("procedure ") + ProcedureName() + ": cannot load its library " + path + ": " + why);
            return ZR_PROC_NO_LIBRARY;
        }
        found = libraries.emplace(path, std::move(module)).first;
    }
    void* routine = found->second->Symbol(ProcedureName());
    if (routine == nullptr) {
        host.Error(std::string("procedure library ") + path + " has no routine " + ProcedureName());
        return ZR_PROC_NO_ROUTINE;
    }
    m_routine.module = found->second.get();
    m_routine.routine = reinterpret_cast<ZR_Procedure13>(routine);
    return 0;
}

ZR_Procedure13 ZR_ProcedureType::GetProcedure13Address(DLLFunction& function) const {
    if (function.routine == nullptr) return nullptr;
    ZR_Procedure13 instead = Host::Get().config.procedureRoutine;
    return instead ? instead : function.routine;
}

int ZR_ProcedureType::CheckIFailAndOutputs(int ifail, int type, bool) {
    if (ifail != 0) return ZR_PROC_FAILED;
    for (int j = 0; j < m_outputValues; ++j) {
        const int word = m_firstOutputWord + j;
        if (m_values == nullptr || word >= m_words || !std::isfinite(m_values[word])) return ZR_PROC_BAD_OUTPUT;
    }
    m_lastCall = type;
    return 0;
}

// Takes the next count elements at the binding cursor; false, with the cursor at
// the end, when fewer are bound.
bool ZR_ProcedureType::NextBound(int count, ZR_VarParam**& first) {
    ZR_VarParam** end = m_bound ? m_bound + m_boundInputs + m_boundOutputs : nullptr;
    if (m_boundCursor == nullptr || count < 0 || end - m_boundCursor < count) {
        Host::Get().Error(std::string("procedure ") + ProcedureName() + ": fewer elements bound than packed");
        m_boundCursor = end;
        return false;
    }
    first = m_boundCursor;
    m_boundCursor += count;
    return true;
}

bool ZR_ProcedureType::PackWord(int word, int bytes, const void* value) {
    char* at = reinterpret_cast<char*>(m_values + word);
    if (std::memcmp(at, value, static_cast<std::size_t>(bytes)) == 0) return false;
    std::memcpy(at, value, static_cast<std::size_t>(bytes));
    return true;
}

bool ZR_ProcedureType::PackIntegerArray(int word, int dims, const std::int32_t* sizes) {
    const long long n = ElementCount(dims, sizes);
    ZR_VarParam** elements = nullptr;
    if (n < 0 || word < 0 || word + (n * 4 + 7) / 8 > m_words || !NextBound(static_cast<int>(n), elements))
        return m_needToCall;
    auto* at = reinterpret_cast<std::int32_t*>(m_values + word);
    for (long long e = 0; e < n; ++e) {
        const std::int32_t v = elements[e] ? elements[e]->Integer() : 0;
        if (at[e] != v) {
            at[e] = v;
            m_needToCall = true;
        }
    }
    return m_needToCall;
}

bool ZR_ProcedureType::PackRealArray(int word, int dims, const std::int32_t* sizes) {
    const long long n = ElementCount(dims, sizes);
    ZR_VarParam** elements = nullptr;
    if (n < 0 || word < 0 || word + n > m_words || !NextBound(static_cast<int>(n), elements)) return m_needToCall;
    for (long long e = 0; e < n; ++e) {
        const double v = elements[e] ? elements[e]->Real() : 0.0;
        double& at = m_values[word + e];
        if (!(at == v)) {  // a NaN on either side counts as a change
            at = v;
            m_needToCall = true;
        }
    }
    return m_needToCall;
}

bool ZR_ProcedureType::PackStringArray(int word, int dims, const std::int32_t* sizes) {
    const long long n = ElementCount(dims, sizes);
    if (n < 0 || word < 0) return m_needToCall;
    const long long tableWords = IsFortran() ? 0 : (n * static_cast<long long>(sizeof(char*)) + 7) / 8;
    const long long textWords = kStringBytes / 8;
    ZR_VarParam** elements = nullptr;
    if (word + tableWords + n * textWords > m_words || !NextBound(static_cast<int>(n), elements))
        return m_needToCall;
    for (long long e = 0; e < n; ++e) {
        const int at = static_cast<int>(word + tableWords + e * textWords);
        if (PackStr(at, elements[e] ? elements[e]->String() : "")) m_needToCall = true;
    }
    return m_needToCall;
}

bool ZR_ProcedureType::PackStr(int word, const char* text) {
    if (word < 0 || word + kStringBytes / 8 > m_words) {
        Host::Get().Error(std::string("procedure ") + ProcedureName() + ": text outside the packed values");
        return false;
    }
    char stored[kStringBytes] = {};
    if (text) std::strncpy(stored, text, kStringBytes - 1);
    return PackWord(word, kStringBytes, stored);
}

void ZR_ProcedureType::SetComponentList(ZR_COMPONENTLISTNAME* list) { m_componentList = list; }
bool ZR_ProcedureType::ModeFlag() const { return m_modeFlag; }
int ZR_ProcedureType::WordCount() const { return m_words; }
const double* ZR_ProcedureType::PackedValues() const { return m_values; }
int ZR_ProcedureType::DerivativeCount() const { return m_derivCount; }
const double* ZR_ProcedureType::DerivativeMatrix() const { return m_derivMatrix; }
int ZR_ProcedureType::DerivativeMatrixSize() const { return m_derivMatrixSize; }

// --- ZR_ProcedureType_C ------------------------------------------------------

ZR_ProcedureType_C::ZR_ProcedureType_C() = default;
ZR_ProcedureType_C::ZR_ProcedureType_C(const ZR_ProcedureType_C& other) = default;
ZR_ProcedureType_C& ZR_ProcedureType_C::operator=(const ZR_ProcedureType_C& other) = default;
ZR_ProcedureType_C::~ZR_ProcedureType_C() = default;
int ZR_ProcedureType_C::LanguageBaseIndex() const { return 0; }
bool ZR_ProcedureType_C::IsFortran() const { return false; }

// --- ZR_DynamicProcExtensions ------------------------------------------------

ZR_DynamicProcExtensions::ZR_DynamicProcExtensions() = default;
ZR_DynamicProcExtensions::ZR_DynamicProcExtensions(const ZR_DynamicProcExtensions&) = default;
ZR_DynamicProcExtensions& ZR_DynamicProcExtensions::operator=(const ZR_DynamicProcExtensions&) = default;
ZR_DynamicProcExtensions::~ZR_DynamicProcExtensions() = default;

// --- ZR_ProcedureEquationType ------------------------------------------------

ZR_ProcedureEquationType::ZR_ProcedureEquationType(ZR_ProcedureType* procedure, int number, int word1,
                                                   ZR_ModelType* owner, const char* text, int equations,
                                                   int word2, const char* localName)
    : m_procedure(procedure), m_number(number), m_word1(word1), m_word2(word2), m_owner(owner),
      m_equations(equations), m_localName(localName ? localName : ""),
      m_fullName(std::string(text ? text : "") + m_localName) {}

ZR_ProcedureEquationType::~ZR_ProcedureEquationType() = default;
ZR_ProcedureType* ZR_ProcedureEquationType::Procedure() const { return m_procedure; }
int ZR_ProcedureEquationType::Number() const { return m_number; }
int ZR_ProcedureEquationType::HostWord1() const { return m_word1; }
int ZR_ProcedureEquationType::HostWord2() const { return m_word2; }
ZR_ModelType* ZR_ProcedureEquationType::Owner() const { return m_owner; }
int ZR_ProcedureEquationType::EquationCount() const { return m_equations; }
const char* ZR_ProcedureEquationType::LocalName() const { return m_localName.c_str(); }
const char* ZR_ProcedureEquationType::FullName() const { return m_fullName.c_str(); }
