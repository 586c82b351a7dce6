// The shape that every model, stream, structure and port type of the library
// follows. A type states its members, its registrations, its statements and its
// equations; everything around them (constructor protocol, the chain of base
// operations, levels, group numbering, bookkeeping) is written once here.
#pragma once
#include <cstdint>
#include <type_traits>

#include "frame/api.h"
#include "frame/equations.h"
#include "qtvexp.h"

// The four words that every level of a type keeps after its members.
struct ZR_Bookkeeping {
    std::int32_t GroupNumber = 0;         // host's last group when SetUpEquations began
    std::int32_t LocalEquationCount = 0;  // equations this level declared
    std::int32_t PatternEntryCount = 0;   // Jacobian row entries this level added
    ZR_Container* OwnerContainer = nullptr;
};

// True for the library's own type classes, which are built with (construct, owner)
// and whose operations are base operations of the types derived from them.
template <class T, class = void>
struct ZR_IsLibraryType : std::false_type {};
template <class T>
struct ZR_IsLibraryType<T, std::void_t<typename T::ZR_LibraryTypeTag>> : std::true_type {};

// True for types that declare (or inherit from a library base) a component list.
template <class T, class = void>
struct ZR_HasComponentList : std::false_type {};
template <class T>
struct ZR_HasComponentList<T, std::void_t<decltype(&T::COMPONENTLIST)>> : std::true_type {};

ORVANE_API bool ZR_EqualNoCase(const char* a, const char* b);

// 1 when the set value holds the text, else 0, whatever the host's membership
// test returns: callers compute 2 * result - 1 from it.
ORVANE_API int SetContainsString(const char* text, const SUValue& value);

// Registers members with the owner word read afresh before every call.
class ORVANE_API ZR_Registrar {
public:
    ZR_Registrar(ZR_Container& self, ZR_Container* const& ownerWord);
    ZR_Type* Add(ZR_Type& member, const char* name, const char* description = nullptr,
                 int direction = ZR_DIR_NONE);
    // A reference to an instance elsewhere in the model tree.
    ZR_ExternalBase* Add(ZR_ExternalBase& member, const char* name, const char* description = nullptr,
                         int direction = ZR_DIR_NONE);
    // A member whose type is chosen later.
    ZR_Type* Add(ZR_VirtualBase& member, const char* name, const char* description = nullptr,
                 int direction = ZR_DIR_NONE);
    // A signal port: registered, then marked not to be exported.
    void AddSignalPort(ZR_Type& port, const char* name, int direction);
    // A connection end: registered, then given host port type 4.
    void AddConnectionEnd(ZR_Type& port, const char* name, int direction);
    ZR_Container* Owner() const;

private:
    ZR_Container& m_self;
    ZR_Container* const& m_ownerWord;
};

// Exported with the types: a host or model library that holds a type by value
// may call the frame's operations directly once its compiler knows the type.
template <class Self, class Base>
class ORVANE_TEMPLATE_API ZR_TypeFrame : public Base {
public:
    using ZR_LibraryTypeTag = void;
    using ZR_FrameBase = Base;

    const char* ZR_DefaultDESCRIPTION() const override { return Self::ZR_ContainerId(); }

    bool ContainerDerivesFrom(const char* name) override {
        if (ZR_EqualNoCase(Self::ZR_ContainerId(), name)) return true;
        if constexpr (ZR_IsLibraryType<Base>::value) return Base::ContainerDerivesFrom(name);
        return false;
    }

    // A type that declares COMPONENTLIST answers it; a derived type, its base's.
    ZR_COMPONENTLISTNAME* ComponentList() override {
        if constexpr (ZR_HasComponentList<Self>::value)
            return &self().COMPONENTLIST;
        else
            return Base::ComponentList();
    }

    void SetDims() override {
        self().BindArrays();
        Base::SetDims();
    }

    long ExecuteAssignments(int level, int arg) override { return self().ExecuteAssignments0(level, arg, 0); }

    // The third argument only holds the result.
    long ExecuteAssignments0(int level, int arg, long status) {
        status = Base::ExecuteAssignments(level - 1, arg);
        if (!self().ReadyToDrive()) return kNotReady;
        for (int pass = 0;; ++pass) {
            self().InitialiseIndexSets(level, arg, pass);
            if (pass != 0) return status;
            self().Assignments(level, arg);
        }
    }

    int SetUpEquations() override {
        const int n = Base::SetUpEquations();
        if (n < 0) return n;
        if (!self().ReadyToDeclare()) return kNotReady;
        ZR_Bookkeeping& words = self().Book;
        words.GroupNumber = ZR_ModelType::m_stLastGroup;
        words.LocalEquationCount = 0;
        int count = n;
        ZR_IncidenceSink sink(*this, words.GroupNumber, count);
        const bool complete = self().DeclareEquations(sink);
        words.LocalEquationCount = count - n;
        const int result = this->SetLocalEqnCount(count);
        return complete ? result : kNotReady;
    }

    // A negative base result declares nothing: counting on from it would give
    // equations negative indices.
    int JacPattern(int*& rows, int*& cols, ZR_EquationType** types) override {
        ZR_ModelExtensions& builder = *this;
        builder.ResetExpressions();
        int count = Base::JacPattern(rows, cols, types);
        if (count < 0 || !self().ReadyToDeclare()) {
            self().Book.PatternEntryCount = 0;
            return count < 0 ? count : kNotReady;
        }
        const int* start = rows;
        ZR_ExpressionSink sink(*this, builder, self().Book.GroupNumber, count, rows, cols);
        const bool complete = self().DeclareEquations(sink);
        self().Book.PatternEntryCount = static_cast<std::int32_t>(rows - start);
        return complete ? count : kNotReady;
    }

    int Residuals(double*, int, int) override { return 0; }
    int Jacobian(double*, int, int) override { return 0; }

    // Registers the members: the library base's first, then this level's own.
    void Construct() {
        if constexpr (ZR_IsLibraryType<Base>::value) Base::Construct();
        ZR_Registrar registrar(*this, self().Book.OwnerContainer);
        self().RegisterMembers(registrar);
    }

    Self& operator*() { return self(); }

protected:
    // A library base is built with its construct flag clear and the same owner, so
    // that it registers nothing until this level's Construct runs.
    explicit ZR_TypeFrame(ZR_Container* owner) : ZR_TypeFrame(owner, ZR_IsLibraryType<Base>{}) {}
    ZR_TypeFrame(const ZR_TypeFrame&) = delete;
    ZR_TypeFrame& operator=(const ZR_TypeFrame&) = default;
    ~ZR_TypeFrame() override = default;

    // The last step of every type's constructor, once its members exist.
    void Finish(bool construct, ZR_Container* owner) {
        self().Book.OwnerContainer = owner;
        if (construct) self().Construct();
    }

    // Status of an operation that cannot run because something the type reads
    // through a reference was never linked by the host.
    static constexpr int kNotReady = -1;

    // What a type supplies; the defaults are those of a type without members,
    // statements or equations.
    bool ReadyToDrive() { return true; }
    // Whether what the type reads allows it to declare its equations; when not,
    // SetUpEquations and JacPattern declare nothing and report kNotReady.
    bool ReadyToDeclare() { return self().ReadyToDrive(); }
    void RegisterMembers(ZR_Registrar&) {}
    void BindArrays() {}
    void InitialiseIndexSets(int /*level*/, int /*arg*/, int /*pass*/) {}
    void Assignments(int /*level*/, int /*arg*/) {}
    // False when an equation could not be declared (a term the host could not
    // give): the operation then reports kNotReady.
    template <class Sink>
    bool DeclareEquations(Sink&) { return true; }

    // One internal index set statement.
    void InitialiseSet(ZR_VarParamProp& set, const SUValue& value, int arg, int level, int statement,
                       int pass) {
        this->InitialiseInternalIndexSet(set, ZR_Value(value, arg, level, statement), pass);
    }

    // One assignment statement; the host's status is not examined.
    template <class V>
    static void AssignStatement(ZR_VarParamProp& target, V value, int arg, int level, int statement) {
        ZR_Value assigned(value, arg, level, statement);
        target.Assign(&assigned);
    }

private:
    ZR_TypeFrame(ZR_Container* owner, std::true_type) : Base(false, owner) {}
    ZR_TypeFrame(ZR_Container*, std::false_type) : Base() {}
    Self& self() { return static_cast<Self&>(*this); }
    const Self& self() const { return static_cast<const Self&>(*this); }
};

// The declarations that every type class carries besides its members: its frame,
// the constructor protocol, destructor, assignment and type id.
#define ORVANE_TYPE_CLASS(Self, Base)                                          \
    using ZR_Frame = ZR_TypeFrame<Self, Base>;                                 \
    friend ZR_Frame;                                                           \
                                                                               \
public:                                                                        \
    explicit Self(bool construct = true, ZR_Container* owner = nullptr);       \
    ~Self() override;                                                          \
    Self& operator=(const Self& other);                                        \
    static const char* ZR_ContainerId()

// Their definitions, out of line so that the exported class carries them.
#define ORVANE_TYPE_DEFINITIONS(Self, id)                                      \
    Self::~Self() = default;                                                   \
    Self& Self::operator=(const Self& other) = default;                        \
    const char* Self::ZR_ContainerId() { return id; }

// A type that adds nothing to its library base but its id and its own words.
#define ORVANE_DERIVED_TYPE_DEFINITIONS(Self, id)                              \
    Self::Self(bool construct, ZR_Container* owner) : ZR_Frame(owner) {        \
        Finish(construct, owner);                                              \
    }                                                                          \
    ORVANE_TYPE_DEFINITIONS(Self, id)

// A new instance for the host: built in the host heap with the construct flag set
// and no owner, holding one reference. Null, with nothing built, when the heap
// yields no block.
template <class T>
ZR_ModelType* ZR_NewInstance() {
    T* instance = new T(true, nullptr);
    if (instance == nullptr) return nullptr;
    instance->AddRef();
    return instance;
}

struct ZR_CompatibilityRecord {
    std::int32_t version;
    std::int32_t revision;
};

struct ZR_JacDataRecord {
    std::int32_t values[55];
};

// Opaque per-type data for the host: 22, then 22 values in -128..127, then 32 in
// 0..255, drawn from the type name so that no two types share a record.
constexpr ZR_JacDataRecord ZR_MakeJacData(const char* typeName) {
    ZR_JacDataRecord record{};
    std::uint32_t h = 2166136261u;
    for (const char* p = typeName; *p; ++p) {
        h ^= static_cast<unsigned char>(*p);
        h *= 16777619u;
    }
    record.values[0] = 22;
    for (int i = 1; i < 55; ++i) {
        h ^= h << 13;
        h ^= h >> 17;
        h ^= h << 5;
        const int byte = static_cast<int>(h & 0xffu);
        record.values[i] = i <= 22 ? byte - 128 : byte;
    }
    return record;
}

// The entry points and exported data of one instantiable type.
#define ORVANE_ENTRY_POINTS(TYPE)                                                              \
    static std::int32_t TYPE##PropertyInfoWord = 0;                                            \
    ORVANE_C ZR_ModelType* TYPE##Factory() { return ZR_NewInstance<ZR_##TYPE>(); }             \
    ORVANE_C std::int32_t* TYPE##PropertyInfo() { return &TYPE##PropertyInfoWord; }            \
    ORVANE_C const ZR_CompatibilityRecord _Compatibility##TYPE = {6, 0};                       \
    ORVANE_C const ZR_JacDataRecord _JacData##TYPE = ZR_MakeJacData(#TYPE)
